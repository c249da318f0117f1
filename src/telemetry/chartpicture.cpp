#include "telemetry/chartpicture.h"

#include "telemetry/chartreadout.h"
#include "telemetry/paramchart.h"

#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <qcustomplot.h>

namespace chartpicture {

namespace {

constexpr Format kFormats[] = {Format::Png, Format::Svg, Format::Pdf};

// Sets the chart up for one picture and puts everything back afterwards: the viewport of
// the picture's size, the range asked for (without telling the axis's listeners, as the
// chart returns to its range at once), no readout, the runs or summaries for that width.
class Staging {
public:
    Staging(ParamChart& chart, QSize size, std::optional<std::pair<double, double>> range)
        : m_chart(chart), m_plot(chart.plot()), m_viewport(m_plot->viewport()), m_range(m_plot->xAxis->range()) {
        m_readout = m_plot->layer(ChartReadout::layerName());
        if (m_readout) {
            m_readoutShown = m_readout->visible();
            m_readout->setVisible(false);
        }
        m_signals = m_plot->xAxis->blockSignals(true);
        if (range) m_chart.setTimeRange(range->first, range->second);
        m_plot->setViewport(QRect(QPoint(0, 0), size));
        layOut();
    }
    ~Staging() {
        m_plot->xAxis->setRange(m_range);
        m_plot->xAxis->blockSignals(m_signals);
        m_plot->setViewport(m_viewport);
        if (m_readout) m_readout->setVisible(m_readoutShown);
        layOut();
        // The buffers still hold the chart as it was; the next replot is a normal one.
        m_plot->replot(QCustomPlot::rpQueuedReplot);
    }
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;

private:
    // What a replot does before drawing, so that the axis rectangle and the chart's choice
    // of runs or summaries follow the picture's width.
    void layOut() {
        QCPLayoutGrid* layout = m_plot->plotLayout();
        layout->update(QCPLayoutElement::upPreparation);
        layout->update(QCPLayoutElement::upMargins);
        layout->update(QCPLayoutElement::upLayout);
        m_chart.prepareDrawing();
    }

    ParamChart& m_chart;
    QCustomPlot* m_plot;
    QRect m_viewport;
    QCPRange m_range;
    QCPLayer* m_readout = nullptr;
    bool m_readoutShown = false;
    bool m_signals = false;
};

void draw(ParamChart& chart, QPaintDevice* device, QSize size, std::optional<std::pair<double, double>> range,
          bool vector = false, double scale = 1) {
    Staging staged(chart, size, range);
    QCPPainter painter(device);
    if (!painter.isActive()) return;
    if (scale != 1) painter.scale(scale, scale);
    // A vector file keeps lines as lines (no cached pixmaps, cosmetic pens stay thin).
    if (vector) painter.setMode(QCPPainter::pmVectorized);
    chart.plot()->toPainter(&painter, size.width(), size.height());
}

} // namespace

QString extension(Format format) {
    switch (format) {
    case Format::Svg:
        return QStringLiteral(".svg");
    case Format::Pdf:
        return QStringLiteral(".pdf");
    case Format::Png:
        break;
    }
    return QStringLiteral(".png");
}

QStringList filters(bool english) {
    QStringList out;
    const QString size = QStringLiteral(", %1 × %2").arg(FullHd.width()).arg(FullHd.height());
    for (bool full : {false, true})
        for (Format f : kFormats) {
            const QString ext = extension(f);
            QString name = ext.mid(1).toUpper();
            name += full ? size : english ? QStringLiteral(", chart size") : QStringLiteral(", размер графика");
            out << name + QStringLiteral(" (*") + ext + QLatin1Char(')');
        }
    return out;
}

Choice choiceOf(int filterIndex) {
    if (filterIndex < 0 || filterIndex >= 6) return {};
    return {kFormats[filterIndex % 3], filterIndex >= 3};
}

Target target(const QString& chosen, Format filterFormat) {
    for (Format f : kFormats)
        if (chosen.endsWith(extension(f), Qt::CaseInsensitive)) return {chosen, f};
    return {chosen + extension(filterFormat), filterFormat};
}

QImage image(ParamChart& chart, QSize size, std::optional<std::pair<double, double>> range, double scale) {
    if (size.isEmpty() || !(scale > 0)) return {};
    QImage out(QSize(qRound(size.width() * scale), qRound(size.height() * scale)), QImage::Format_RGB32);
    out.fill(Qt::white);
    draw(chart, &out, size, range, false, scale);
    return out;
}

QByteArray encode(ParamChart& chart, Format format, QSize size, std::optional<std::pair<double, double>> range) {
    if (size.isEmpty()) return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case Format::Png:
        if (!image(chart, size, range).save(&buffer, "PNG")) return {};
        break;
    case Format::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        draw(chart, &svg, size, range, true);
        break;
    }
    case Format::Pdf: {
        // One page of the picture's size, a pixel to a point.
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(size), QPageSize::Point), QPageLayout::Portrait, QMarginsF()));
        draw(chart, &pdf, size, range, true);
        break;
    }
    }
    return buffer.data();
}

QString saveError(const QString& path, const QString& reason, bool english) {
    const QString shown = QDir::toNativeSeparators(path);
    return english ? QStringLiteral("The picture cannot be saved to '%1': %2").arg(shown, reason)
                   : QStringLiteral("Не удалось сохранить изображение «%1»: %2").arg(shown, reason);
}

} // namespace chartpicture
