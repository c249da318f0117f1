#include "telemetry/chartpictures.h"

#include "common/messages.h"
#include "common/savefile.h"
#include "link/operationcontext.h"
#include "telemetry/chartmenu.h"
#include "telemetry/chartpicture.h"
#include "telemetry/paramchart.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <qcustomplot.h>

ChartPictures::ChartPictures(OperationContext* ctx, ChartMenu* menu, ParamChart* chart, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_chart(chart) {
    setObjectName(QStringLiteral("ChartPictures"));
    actSaveChartImage = menu->addAction(QStringLiteral("actSaveChartImage"),
                                        QStringLiteral("Сохранить изображение графика…"), true);
    actCopyChartImage = menu->addAction(QStringLiteral("actCopyChartImage"),
                                        QStringLiteral("Копировать изображение графика"));
    connect(actSaveChartImage, &QAction::triggered, this, &ChartPictures::saveImage);
    connect(actCopyChartImage, &QAction::triggered, this, &ChartPictures::copyImage);
}

QSize ChartPictures::ownSize() const { return m_chart->plot()->size(); }

void ChartPictures::saveImage() {
    using namespace chartpicture;
    const bool english = msgs().english();
    // The range shown now is the picture's, whatever the chart does while the dialog is open.
    const QCPRange shown = m_chart->plot()->xAxis->range();
    const QSize own = ownSize();
    int chosen = 0;
    const QString name = askFile ? askFile(english ? QStringLiteral("Save chart image")
                                                   : QStringLiteral("Сохранить изображение графика"),
                                           filters(english), &chosen)
                                 : QString();
    if (name.isEmpty()) return;
    const Choice choice = choiceOf(chosen);
    const Target file = target(name, choice.format);
    const QByteArray bytes =
        encode(*m_chart, file.format, choice.fullHd ? FullHd : own, std::make_pair(shown.lower, shown.upper));
    QString reason;
    if (bytes.isEmpty()) {
        reason = english ? QStringLiteral("the picture could not be drawn") : QStringLiteral("изображение не построено");
    } else if (saveWholeFile(file.path, bytes, &reason)) {
        return;
    }
    if (m_ctx->error) m_ctx->error(saveError(file.path, reason, english));
}

void ChartPictures::copyImage() {
    const QImage image = chartpicture::image(*m_chart, ownSize());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/png"), png);
    mime->setImageData(image);
    QGuiApplication::clipboard()->setMimeData(mime);
}
