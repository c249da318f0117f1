#include "app/chartaxistitles.h"

#include <qcustomplot.h>

ChartAxisTitles::ChartAxisTitles(QCustomPlot* chart) : QObject(chart), m_chart(chart) {
    setObjectName(QStringLiteral("AxisTitles"));
}

int ChartAxisTitles::attachAll(QObject* root) {
    int added = 0;
    QList<QCustomPlot*> charts = root->findChildren<QCustomPlot*>();
    if (auto* self = qobject_cast<QCustomPlot*>(root)) charts.prepend(self);
    for (QCustomPlot* c : charts) {
        if (c->findChild<ChartAxisTitles*>(QString(), Qt::FindDirectChildrenOnly)) continue;
        new ChartAxisTitles(c);
        ++added;
    }
    return added;
}

QString ChartAxisTitles::leftAxisTitle() const {
    return m_chart->yAxis->label();
}
QString ChartAxisTitles::bottomAxisTitle() const {
    return m_chart->xAxis->label();
}
QString ChartAxisTitles::rightAxisTitle() const {
    return m_chart->yAxis2->label();
}

void ChartAxisTitles::setLeftAxisTitle(const QString& text) {
    setTitle(m_chart->yAxis, text);
}
void ChartAxisTitles::setBottomAxisTitle(const QString& text) {
    setTitle(m_chart->xAxis, text);
}
void ChartAxisTitles::setRightAxisTitle(const QString& text) {
    setTitle(m_chart->yAxis2, text);
}

void ChartAxisTitles::setTitle(QCPAxis* axis, const QString& text) {
    if (axis->label() == text) return;
    axis->setLabel(text);
    // A longer or shorter title changes the margins; the next paint lays the chart out again.
    m_chart->replot(QCustomPlot::rpQueuedReplot);
}
