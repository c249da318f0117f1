#pragma once
// The editing actions of a grid's context menu (object names act...), created on the
// grid in menu order with their shortcuts, which work while the grid has the focus. Their
// texts follow the interface language each time the menu opens.

#include "common/uitexts.h"

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QAbstractScrollArea;

class EditActions : public QObject {
    Q_OBJECT
  public:
    // One entry of the menu by object name; an empty name is a separator. The texts are
    // the language table's for the grid (uitexts::gridActionText).
    struct Item {
        const char* name;
    };
    EditActions(QAbstractScrollArea* grid, uitexts::Panel textsOf, const QList<Item>& items);

    // The action by object name; nullptr when the grid has none.
    QAction* action(const char* name) const;
    void retranslate();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAbstractScrollArea* m_grid;
    QObject* m_viewport = nullptr;
    uitexts::Panel m_textsOf;
    QList<Item> m_items;
    QList<QAction*> m_actions; // parallel to m_items (nullptr for separators)
};
