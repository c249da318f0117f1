#include "app/filedialogs.h"

#include "common/messages.h"
#include "common/userfiles.h"
#include "history/history.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

namespace filedialogs {

QString withHistoryFilter(const QString& filter, std::optional<TableKind> copiesOf, bool english) {
    if (!copiesOf || *copiesOf == TableKind::Settings) return filter;
    const QStringList patterns =
        isCurve(*copiesOf) ? QStringList{history::copyPattern(TableKind::Curve1), history::copyPattern(TableKind::Curve2)}
                           : QStringList{history::copyPattern(*copiesOf)};
    const QString name = english ? QStringLiteral("Module history") : QStringLiteral("История модуля");
    return filter + QStringLiteral(";;") + name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

QString plainExtension(const QString& filter) {
    static const QRegularExpression re(QStringLiteral("\\(\\*(\\.[A-Za-z0-9]+)\\)$"));
    const QRegularExpressionMatch m = re.match(filter.trimmed());
    return m.hasMatch() ? m.captured(1) : QString();
}

QString openFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& historyFolder) {
    if (historyFolder.isEmpty() || !QDir(historyFolder).exists())
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setObjectName(QStringLiteral("OpenWithHistory"));
    // The side bar is the program's own dialog's: a desktop's dialog would not show it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QList<QUrl> places = dialog.sidebarUrls();
    places << QUrl::fromLocalFile(QDir(historyFolder).absolutePath());
    dialog.setSidebarUrls(places);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& filter) {
    QString selected;
    QString name = QFileDialog::getSaveFileName(parent, caption, QString(), filter, &selected);
    const QString ext = plainExtension(selected);
    if (name.isEmpty() || ext.isEmpty() || name.endsWith(ext, Qt::CaseInsensitive)) return name;
    name += ext;
    // The dialog asked only about the name as typed.
    if (QFile::exists(name) &&
        QMessageBox::question(parent, QString(), userfiles::overwriteQuestion(name, msgs().english())) !=
            QMessageBox::Yes)
        return QString();
    return name;
}

} // namespace filedialogs
