#pragma once
// Axis titles of a chart as properties, so that the interface texts can name them like any
// other caption ("leftAxisTitle" of Chart2D). One adapter lives as a child of each chart;
// the text table finds it there when the chart itself has no such property.

#include <QObject>
#include <QString>

class QCustomPlot;
class QCPAxis;

class ChartAxisTitles : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString leftAxisTitle READ leftAxisTitle WRITE setLeftAxisTitle)
    Q_PROPERTY(QString bottomAxisTitle READ bottomAxisTitle WRITE setBottomAxisTitle)
    Q_PROPERTY(QString rightAxisTitle READ rightAxisTitle WRITE setRightAxisTitle)
  public:
    explicit ChartAxisTitles(QCustomPlot* chart);

    // Gives every chart under root that has none its adapter; returns how many it added.
    static int attachAll(QObject* root);

    QString leftAxisTitle() const;
    QString bottomAxisTitle() const;
    QString rightAxisTitle() const;
    void setLeftAxisTitle(const QString& text);
    void setBottomAxisTitle(const QString& text);
    void setRightAxisTitle(const QString& text);

  private:
    void setTitle(QCPAxis* axis, const QString& text);

    QCustomPlot* m_chart;
};
