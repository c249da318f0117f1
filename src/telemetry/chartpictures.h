#pragma once
// The chart's picture actions in its context menu: actSaveChartImage writes what the chart
// shows as a PNG, SVG or PDF file (by the chosen filter, at the chart's size or 1920 x 1080),
// actCopyChartImage puts it on the clipboard as a PNG at the chart's size. The picture shows
// the range the chart showed when the action was chosen, so a recording that runs on while
// the dialog is open neither has to stop nor moves the picture.

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class ChartMenu;
class ParamChart;
class QAction;
struct OperationContext;

class ChartPictures : public QObject {
    Q_OBJECT
public:
    ChartPictures(OperationContext* ctx, ChartMenu* menu, ParamChart* chart, QObject* parent = nullptr);

    QAction* actSaveChartImage;
    QAction* actCopyChartImage;

    // The save dialog: the chosen path and, in *chosen, the index of the chosen filter; an
    // empty path when cancelled. The window binds its dialog; tests answer it.
    std::function<QString(const QString& caption, const QStringList& filters, int* chosen)> askFile;

    void saveImage();
    void copyImage();
    // The chart's own size in pixels.
    QSize ownSize() const;

private:
    OperationContext* m_ctx;
    ParamChart* m_chart;
};
