#pragma once
// Pictures of the parameter chart drawn by the chart itself (never a grab of the screen):
// what it shows (the shown series and runs, the range, both value axes, the axis titles,
// everything laid over it) at the chart's own size or another, as a PNG, an SVG or a PDF.
// The hover readout is left out: it only follows the mouse.
//
// The save dialog offers each format at the chart's size and at 1920 x 1080; which one was
// chosen is the index of its filter.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class ParamChart;

namespace chartpicture {

enum class Format { Png, Svg, Pdf };
inline constexpr QSize FullHd{1920, 1080};

// ".png", ".svg", ".pdf".
QString extension(Format format);
// The save dialog's filters in Qt's form: PNG, SVG, PDF at the chart's size, then the same
// at 1920 x 1080.
QStringList filters(bool english);
struct Choice {
    Format format = Format::Png;
    bool fullHd = false;
};
// The choice of a filter by its index (an unknown index is a PNG at the chart's size).
Choice choiceOf(int filterIndex);
// The file to write for a chosen name and filter: a name that ends in one of the three
// extensions (any case) is written in that format, as the user typed it; any other name gets
// the filter's extension.
struct Target {
    QString path;
    Format format = Format::Png;
};
Target target(const QString& chosen, Format filterFormat);

// The chart drawn at a size in pixels; range: lower and upper sample of the time axis to
// draw instead of the shown one; scale: pixels per pixel of the size (a picture printed
// small keeps its texts readable at scale 2). The chart and its axis are left as they were.
QImage image(ParamChart& chart, QSize size, std::optional<std::pair<double, double>> range = std::nullopt,
             double scale = 1);
// The bytes of a picture file of the chart (range as for image()); empty when it cannot be
// made.
QByteArray encode(ParamChart& chart, Format format, QSize size,
                  std::optional<std::pair<double, double>> range = std::nullopt);

// "The picture cannot be saved to '…': reason", in the interface language.
QString saveError(const QString& path, const QString& reason, bool english);

} // namespace chartpicture
