#pragma once
// The context menu of the parameter chart (Chart1). One owner holds the chart's context
// actions, so that each feature adds its own group (the pictures, a comparison, ...) without
// knowing the others'. The menu lists the actions in the order they were added, with a
// separator between groups. Actions carry object names, so the language table writes their
// texts like any control's.

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QWidget;

class ChartMenu : public QObject {
    Q_OBJECT
public:
    explicit ChartMenu(QWidget* chart);

    // Adds a named action at the end of the menu; a new group starts with a separator.
    QAction* addAction(const QString& objectName, const QString& text, bool newGroup = false);
    // The actions of the menu in order, without the separators.
    QList<QAction*> actions() const;
    QWidget* chart() const { return m_chart; }

private:
    QWidget* m_chart;
};
