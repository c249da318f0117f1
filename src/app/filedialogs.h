#pragma once
// The window's open and save dialogs. The open dialogs of tables and curves also offer
// the connected module's history folder in their side bar and a filter that shows its
// copies; a save dialog whose chosen filter is a plain extension ("CSV (*.csv)") puts
// that extension on a name typed without it.

#include "common/tablekind.h"

#include <QString>

#include <optional>

class QWidget;

namespace filedialogs {

// historyFolder: the module's history folder (may not exist; then nothing is added).
QString openFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& historyFolder);
QString saveFileName(QWidget* parent, const QString& caption, const QString& filter);

// The filter of an open dialog for a file of a table kind, with the module's history
// copies of that kind added after it. A curve's dialog offers the copies of both curves,
// as a curve file opens in either. Unchanged for files of no kind and for the settings,
// which are never opened from a file.
QString withHistoryFilter(const QString& filter, std::optional<TableKind> copiesOf, bool english);
// The extension a filter asks for when it is one plain "*.ext" pattern, else empty.
QString plainExtension(const QString& filter);

} // namespace filedialogs
