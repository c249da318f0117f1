#pragma once
// The window's open and save dialogs. The open dialogs of tables and curves also offer
// the connected module's history folder in their side bar and a filter that shows its
// copies; a save dialog whose chosen filter is a plain extension ("CSV (*.csv)") puts
// that extension on a name typed without it.

#include <QString>

class QWidget;

namespace filedialogs {

// historyFolder: the module's history folder (may not exist; then nothing is added).
QString openFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& historyFolder);
QString saveFileName(QWidget* parent, const QString& caption, const QString& filter);

// The filter of a table or curve open dialog with the history copies of its kind added
// (unchanged for any other filter).
QString withHistoryFilter(const QString& filter, bool english);
// The extension a filter asks for when it is one plain "*.ext" pattern, else empty.
QString plainExtension(const QString& filter);

} // namespace filedialogs
