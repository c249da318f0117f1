#include "sim/simprotocol.h"

namespace sim {

namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int digitsNeeded(char op) {
    switch (op) {
    case '*':
    case '%':
    case '&':
        return 2;
    case ')':
    case '$':
        return 4;
    default:
        return 0;
    }
}

// Two low-first digits at text[pos], text[pos + 1] to a byte.
int lowFirstAt(const QByteArray& text, int pos) {
    return digitValue(text.at(pos)) + 16 * digitValue(text.at(pos + 1));
}

const char HexDigits[] = "0123456789ABCDEF";
// Stand-ins for digits on a noisy line: none of them is a hex digit.
const char NoiseDigits[] = "GHJKLMNPRSTUVWXZ";

} // namespace

QByteArray lowFirstByteText(int byte) {
    QByteArray t(2, '0');
    t[0] = HexDigits[byte & 0xF];
    t[1] = HexDigits[(byte >> 4) & 0xF];
    return t;
}

QByteArray lowFirstWordText(int word) {
    return lowFirstByteText(word & 0xFF) + lowFirstByteText((word >> 8) & 0xFF);
}

QList<CommandItem> ItemParser::feed(const QByteArray& bytes) {
    QList<CommandItem> items;
    for (char ch : bytes) {
        if (digitValue(ch) >= 0) {
            m_digits.append(ch);
            // No item carries more than four digits; older ones can only be noise.
            if (m_digits.size() > 4) m_digits.remove(0, m_digits.size() - 4);
            continue;
        }
        const int need = digitsNeeded(ch);
        if (need > 0 && m_digits.size() >= need) {
            CommandItem item;
            item.op = ch;
            item.text = m_digits.right(need) + ch;
            if (need == 2) {
                item.address = lowFirstAt(item.text, 0);
            } else {
                item.value = lowFirstAt(item.text, 0);
                item.address = lowFirstAt(item.text, 2);
            }
            items.append(item);
        }
        // Any other character, or an operation character without its digits, ends
        // whatever was being collected.
        m_digits.clear();
    }
    return items;
}

void SimResponder::setFaults(const Faults& faults) {
    m_faults = faults;
    // A new limit counts from now on.
    m_answered = 0;
}

QByteArray SimResponder::execute(const CommandItem& item, bool* known) {
    *known = true;
    SimMemory& mem = *m_memory;
    switch (item.op) {
    case '*':
        return lowFirstByteText(mem.regs[item.address]) + ' ';
    case '%':
        return lowFirstByteText(mem.work[item.address]) + ' ';
    case '&':
        return lowFirstWordText(mem.workWord(item.address)) + ' ';
    case ')':
        if (m_faults.refuseWrites) return "?";
        mem.regs[item.address] = quint8(item.value);
        return "!";
    case '$':
        // Only the three steps of the fuel-counter reset exist; each clears one byte.
        if (item.value == 0 && item.address >= work::FuelCounter &&
            item.address <= work::FuelCounter + 2) {
            if (m_faults.refuseWrites) return "?";
            mem.work[item.address] = 0;
            return "!";
        }
        break;
    default:
        break;
    }
    // Unknown items are not answered: the tool then repeats the command, which is what a
    // real module's silence would cause as well.
    *known = false;
    return QByteArray();
}

QByteArray SimResponder::respond(const CommandItem& item) {
    if (m_faults.silent) return QByteArray();
    if (m_faults.answerLimit >= 0 && m_answered >= m_faults.answerLimit) return QByteArray();

    bool known = false;
    // The item takes effect even when its answer is spoilt below: the fault is on the line.
    QByteArray answer = execute(item, &known);
    if (!known) return QByteArray();

    const bool isRead = item.op == '*' || item.op == '%' || item.op == '&';
    if (!m_faults.badItem.isEmpty() && m_faults.badAnswerCount != 0 &&
        QString::fromLatin1(item.text) == m_faults.badItem) {
        answer = m_faults.badAnswer.toLatin1();
        if (m_faults.badAnswerCount > 0) --m_faults.badAnswerCount;
    } else if (isRead) {
        if (m_faults.garbage) {
            for (int i = 0; i + 1 < answer.size(); ++i)
                answer[i] = NoiseDigits[digitValue(answer.at(i))];
        } else if (m_faults.lowerCaseDigits) {
            answer = answer.toLower();
        }
    }
    ++m_answered;
    return answer;
}

} // namespace sim
