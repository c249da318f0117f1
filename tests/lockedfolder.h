#pragma once
// A folder that takes no new file while the files in it stay writable: what a user meets in
// a folder whose owner let them change one file. Read-only permissions do that for a normal
// user; root ignores them, so for root the folder is made immutable (ext2/3/4, chattr).
#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

class LockedFolder {
  public:
    explicit LockedFolder(const QString& path) : m_path(path) {
        if (geteuid() == 0)
            m_locked = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_path}) == 0;
        else
            m_locked = QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        // Locked only when a new file really cannot be made.
        QFile probe(QDir(m_path).filePath(QStringLiteral(".probe")));
        if (m_locked && probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            m_locked = false;
        }
    }
    ~LockedFolder() {
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        else
            QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool locked() const { return m_locked; }

  private:
    QString m_path;
    bool m_locked = false;
};
