#include "tables/edithistory.h"

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

bool EditState::operator==(const EditState& o) const {
    return texts == o.texts && shown == o.shown && sameValues(edited, o.edited) &&
           sameValues(read, o.read);
}

class EditStep : public QUndoCommand {
  public:
    EditStep(EditHistory* h, EditState before, EditState after, const QString& label)
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
    EditHistory* m_h;
    EditState m_before;
    EditState m_after;
    bool m_first = true;
};

EditHistory::EditHistory(std::function<EditState()> capture,
                         std::function<void(const EditState&)> restore, QObject* parent)
    : QObject(parent), m_capture(std::move(capture)), m_restore(std::move(restore)) {
    m_stack.setUndoLimit(200);
    m_recorded = m_capture();
}

bool EditHistory::record(const QString& label) {
    EditState now = m_capture();
    if (now == m_recorded) return false;
    EditState before = std::move(m_recorded);
    m_recorded = now;
    m_stack.push(new EditStep(this, std::move(before), std::move(now), label));
    return true;
}

void EditHistory::rebase() { m_recorded = m_capture(); }

void EditHistory::put(const EditState& state) {
    m_restore(state);
    m_recorded = m_capture();
}
