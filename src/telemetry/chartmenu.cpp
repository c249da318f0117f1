#include "telemetry/chartmenu.h"

#include <QAction>
#include <QWidget>

ChartMenu::ChartMenu(QWidget* chart) : QObject(chart), m_chart(chart) {
    setObjectName(QStringLiteral("Chart1Menu"));
    chart->setContextMenuPolicy(Qt::ActionsContextMenu);
}

QAction* ChartMenu::addAction(const QString& objectName, const QString& text, bool newGroup) {
    if (newGroup && !m_chart->actions().isEmpty()) {
        auto* separator = new QAction(m_chart);
        separator->setSeparator(true);
        m_chart->addAction(separator);
    }
    auto* a = new QAction(text, m_chart);
    a->setObjectName(objectName);
    m_chart->addAction(a);
    return a;
}

QList<QAction*> ChartMenu::actions() const {
    QList<QAction*> out;
    for (QAction* a : m_chart->actions())
        if (!a->isSeparator()) out << a;
    return out;
}
