#include "tables/undostack.h"

#include <QUndoCommand>

#include <cmath>

namespace {
bool sameValues(const QList<double>& a, const QList<double>& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const bool na = std::isnan(a.at(i)), nb = std::isnan(b.at(i));
        if (na != nb || (!na && a.at(i) != b.at(i))) return false;
    }
    return true;
}
} // namespace

bool UndoState::operator==(const UndoState& o) const {
    return texts == o.texts && shown == o.shown && sameValues(edited, o.edited) &&
           sameValues(read, o.read);
}

class UndoStep : public QUndoCommand {
  public:
    UndoStep(UndoStack* h, UndoState before, UndoState after, const QString& label)
        : QUndoCommand(label), m_h(h), m_before(std::move(before)), m_after(std::move(after)) {}
    void undo() override { m_h->put(m_before); }
    void redo() override {
        // The change is already on screen when the step is stored.
        if (m_first) {
            m_first = false;
            return;
        }
        m_h->put(m_after);
    }

  private:
    UndoStack* m_h;
    UndoState m_before;
    UndoState m_after;
    bool m_first = true;
};

UndoStack::UndoStack(std::function<UndoState()> capture,
                     std::function<void(const UndoState&)> restore, QObject* parent)
    : QObject(parent), m_capture(std::move(capture)), m_restore(std::move(restore)) {
    m_stack.setUndoLimit(200);
    m_recorded = m_capture();
}

bool UndoStack::record(const QString& label) {
    UndoState now = m_capture();
    if (now == m_recorded) return false;
    UndoState before = std::move(m_recorded);
    m_recorded = now;
    m_stack.push(new UndoStep(this, std::move(before), std::move(now), label));
    return true;
}

void UndoStack::rebase() { m_recorded = m_capture(); }

void UndoStack::put(const UndoState& state) {
    m_restore(state);
    m_recorded = m_capture();
}
