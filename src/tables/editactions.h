#pragma once
// The editing actions of a grid's context menu (object names act...), created on the
// grid in menu order with their shortcuts, which work while the grid has the focus. Their
// texts follow the interface language each time the menu opens.

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QAbstractScrollArea;

class EditActions : public QObject {
    Q_OBJECT
  public:
    // One entry of the menu: object name, Russian and English text; an empty name is a
    // separator.
    struct Item {
        const char* name;
        const char16_t* ru;
        const char16_t* en;
    };
    EditActions(QAbstractScrollArea* grid, const QList<Item>& items);

    // The action by object name; nullptr when the grid has none.
    QAction* action(const char* name) const;
    void retranslate();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAbstractScrollArea* m_grid;
    QObject* m_viewport = nullptr;
    QList<Item> m_items;
    QList<QAction*> m_actions; // parallel to m_items (nullptr for separators)
};
