#pragma once
// The undo history of one table or one curve. It keeps the state last recorded; each
// record() compares the state now with it and, when they differ, stores both as one step
// (the state is a few hundred numbers and texts, never widgets). Undo and redo hand a
// stored state back to `restore`, which puts it into the grid, the model and the views.
// Changes nobody records (a refresh bringing cells into range) join the next step.

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUndoStack>

#include <functional>

// One table's cell texts, or one curve's point texts with its two series and which of its
// markers are shown (values are NaN where a series has no point).
struct UndoState {
    QStringList texts;
    QList<double> edited;
    QList<double> read;
    QList<bool> shown;
    bool operator==(const UndoState& o) const;
    bool operator!=(const UndoState& o) const { return !(*this == o); }
};

class UndoStack : public QObject {
    Q_OBJECT
  public:
    UndoStack(std::function<UndoState()> capture, std::function<void(const UndoState&)> restore,
              QObject* parent = nullptr);

    QUndoStack* stack() { return &m_stack; }
    // Stores the change since the last record as one step named `label`; false when
    // nothing changed.
    bool record(const QString& label);
    // Takes the state now as the recorded one without a step.
    void rebase();
    const UndoState& recorded() const { return m_recorded; }

    void undo() { m_stack.undo(); }
    void redo() { m_stack.redo(); }

  private:
    friend class UndoStep;
    void put(const UndoState& state);

    std::function<UndoState()> m_capture;
    std::function<void(const UndoState&)> m_restore;
    UndoState m_recorded;
    QUndoStack m_stack;
};
