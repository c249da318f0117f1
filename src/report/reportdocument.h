#pragma once
// The work report drawn on pages: the module, the summary, the damaged history copies, the
// settings, each table and curve (as read, as written, the difference and its picture) and
// the recording (its chart and the L1 statistics of the MAF table's cells). Every page has
// a header and its number. What goes in is chosen by the pure part (reportcontent.h); this
// only lays it out and paints it, on a PDF writer or on a printer alike.
//
// The pictures come from hooks: the window binds them to the surface view's and the
// chart's own rendering, so this folder draws no widget of its own.

#include "analysis/cellstats.h"
#include "report/reportcontent.h"

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPagedPaintDevice;

namespace report {

struct ModuleInfo {
    QString model;
    QString identifier;
    QString sensorCode;
    QString port;
};

struct RecordingInfo {
    int samples = 0; // none: the report has no recording part
    double firstTime = 0, lastTime = 0;
    std::optional<analysis::CellGrid> l1; // L1 over the MAF table's cells
};

struct Document {
    ModuleInfo module;
    Content content;
    RecordingInfo recording;
    QDateTime made;
    bool english = false;
    // The headings of the table grids: engine speed over the columns, engine load over the
    // rows (MAF voltage or injection time).
    analysis::Axis speed = analysis::speedAxis();
    analysis::Axis load = analysis::mafVoltageAxis();
    bool loadIsMafVoltage = true;
    // The surface of a table drawn from its 64 cell texts (row by row), and the chart of
    // the recording over its whole range; a null picture is left out.
    std::function<QImage(TableKind kind, const QStringList& cells, QSize pixels)> surface;
    std::function<QImage(QSize pixels)> chart;
};

// Paints the report on a paged device whose page size is set (A4 expected), within margins
// of its own; the number of pages, or 0 when the device cannot be painted on.
int paint(QPagedPaintDevice* device, const Document& doc);
// The report as the bytes of an A4 PDF file.
QByteArray pdf(const Document& doc);

// The sizes the pictures are asked for.
inline constexpr QSize SurfacePixels{1000, 700};
inline constexpr QSize ChartPixels{1800, 1000};

} // namespace report
