#pragma once
// The module's side of the command language, free of any device: a parser that cuts the
// received byte stream into command items, and a responder that executes one item on the
// memory and produces its answer. The simulated module runs both on its pseudo-terminal;
// tests run them directly.

#include "sim/simmemory.h"
#include "sim/simmodule.h"

#include <QByteArray>
#include <QList>

namespace sim {

struct CommandItem {
    QByteArray text; // the item as received, e.g. "C331)"
    char op = 0;     // '*', ')', '%', '&' or '$'
    int address = 0; // module numbering (the wire carries it low digit first)
    int value = 0;   // value byte of ')' and '$' items
};

// Cuts a byte stream into items. An item is complete when its operation character arrives;
// it takes the two (read) or four (write, action) uppercase hex digits right before it.
// Anything that cannot belong to an item (another character, lower-case digits, surplus
// digits, an operation character without enough digits) is dropped, so a burst of line
// noise costs at most the item it hit and the parser is in step again at the next one.
class ItemParser {
  public:
    // Returns the items completed by these bytes, in order; a partial item is kept for the
    // next call.
    QList<CommandItem> feed(const QByteArray& bytes);
    void reset() { m_digits.clear(); }
    // The digits kept for an item that has not ended yet.
    QByteArray pending() const { return m_digits; }

  private:
    QByteArray m_digits;
};

// Executes items on the memory and answers them, with the fault options applied.
//  - reads ("*" register, "%" working byte, "&" working word): the low-first hex digits
//    followed by one blank;
//  - writes (")"): the byte is stored, the answer is "!" alone;
//  - actions: "0004$", "0014$", "0024$" clear byte 40, 41 or 42 of the fuel counter, so
//    that the three in a row reset it; the answer is "!";
//  - any other action item gets no answer at all, like a module that does not know it.
class SimResponder {
  public:
    explicit SimResponder(SimMemory* memory) : m_memory(memory) {}

    void setFaults(const Faults& faults);
    const Faults& faults() const { return m_faults; }

    // The answer to one item; empty when the module does not answer it.
    QByteArray respond(const CommandItem& item);
    // Number of items answered so far (for the answer limit).
    int answeredCount() const { return m_answered; }

  private:
    QByteArray execute(const CommandItem& item, bool* known);

    SimMemory* m_memory;
    Faults m_faults;
    int m_answered = 0;
};

// Low-first hex of a byte ("3C" -> "C3") and of a word (least significant digit first).
QByteArray lowFirstByteText(int byte);
QByteArray lowFirstWordText(int word);

} // namespace sim
