#include "tables/editactions.h"


#include <QAbstractScrollArea>
#include <QAction>
#include <QEvent>
#include <QKeySequence>

namespace {
QList<QKeySequence> shortcutsFor(const QByteArray& name) {
    if (name == "actUndo") return {QKeySequence(Qt::CTRL | Qt::Key_Z)};
    if (name == "actRedo")
        return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    if (name == "actCopy") return {QKeySequence(Qt::CTRL | Qt::Key_C)};
    if (name == "actPaste") return {QKeySequence(Qt::CTRL | Qt::Key_V)};
    return {};
}
} // namespace

EditActions::EditActions(QAbstractScrollArea* grid, uitexts::Panel textsOf, const QList<Item>& items)
    : QObject(grid), m_grid(grid), m_textsOf(textsOf), m_items(items) {
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const Item& it : items) {
        auto* a = new QAction(grid);
        if (!it.name || !*it.name) {
            a->setSeparator(true);
            grid->addAction(a);
            m_actions << nullptr;
            continue;
        }
        a->setObjectName(QString::fromLatin1(it.name));
        a->setShortcuts(shortcutsFor(it.name));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        grid->addAction(a);
        m_actions << a;
    }
    retranslate();
    // The menu opens from the viewport's context menu event.
    m_viewport = grid->viewport();
    m_viewport->installEventFilter(this);
}

QAction* EditActions::action(const char* name) const {
    for (qsizetype i = 0; i < m_items.size(); ++i)
        if (m_actions.at(i) && qstrcmp(m_items.at(i).name, name) == 0) return m_actions.at(i);
    return nullptr;
}

void EditActions::retranslate() {
    const uitexts::Lang lang = uitexts::currentLang();
    for (qsizetype i = 0; i < m_items.size(); ++i)
        if (QAction* a = m_actions.at(i))
            a->setText(uitexts::gridActionText(m_textsOf, QString::fromLatin1(m_items.at(i).name), lang));
}

bool EditActions::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_viewport && event->type() == QEvent::ContextMenu) retranslate();
    return QObject::eventFilter(watched, event);
}
