#pragma once
// The text of a PDF file as a reader sees it (pdftotext of poppler-utils), and its pages as
// pictures (pdftoppm), for tests that check what a written PDF holds.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace pdf {

// The text of every page, in reading order, or (layout) line by line as the page shows it,
// which keeps the cells of a table's row together; a form feed ends each page. Empty when
// the tool failed; *error then says why.
inline QString text(const QString& path, QString* error = nullptr, bool layout = false) {
    QProcess p;
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")};
    if (layout) args.prepend(QStringLiteral("-layout"));
    p.start(QStringLiteral("pdftotext"), args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error) *error = QStringLiteral("pdftotext: ") + p.errorString() + QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Page `page` (1-based) drawn at `dpi`; null when the tool failed.
inline QImage pageImage(const QString& path, int page = 1, int dpi = 72) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                         QString::number(page), QStringLiteral("-l"), QString::number(page),
                                         QStringLiteral("-singlefile"), QStringLiteral("-png"), path, prefix});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QImage(prefix + QStringLiteral(".png"));
}

} // namespace pdf
