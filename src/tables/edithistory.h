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
struct EditState {
    QStringList texts;
    QList<double> edited;
    QList<double> read;
    QList<bool> shown;
    bool operator==(const EditState& o) const;
    bool operator!=(const EditState& o) const { return !(*this == o); }
};

class EditHistory : public QObject {
    Q_OBJECT
  public:
    EditHistory(std::function<EditState()> capture, std::function<void(const EditState&)> restore,
                QObject* parent = nullptr);

    QUndoStack* stack() { return &m_stack; }
    // Stores the change since the last record as one step named `label`; false when
    // nothing changed.
    bool record(const QString& label);
    // Takes the state now as the recorded one without a step.
    void rebase();
    const EditState& recorded() const { return m_recorded; }

    void undo() { m_stack.undo(); }
    void redo() { m_stack.redo(); }

  private:
    friend class EditStep;
    void put(const EditState& state);

    std::function<EditState()> m_capture;
    std::function<void(const EditState&)> m_restore;
    EditState m_recorded;
    QUndoStack m_stack;
};
