#include "settings/settingshistory.h"

#include "common/hex.h"
#include "common/messages.h"
#include "common/textlines.h"
#include "history/history.h"
#include "link/operationcontext.h"
#include "settings/registers.h"

#include <QRegularExpression>

namespace settingshistory {

int registerOfRead(const QString& item) {
    if (item.size() != 3 || item.at(2) != QLatin1Char('*')) return -1;
    return lowFirstByte(item.left(2));
}

QByteArray encode(const QMap<int, int>& registers) {
    QByteArray out;
    for (auto it = registers.cbegin(); it != registers.cend(); ++it) {
        if (it.value() < 0 || it.value() > 255) continue;
        const QString line = QStringLiteral("EEPROM-%1 =  ").arg(it.key(), 2, 16, QLatin1Char('0')).toUpper() +
                             regs::logBits(regs::bitsFromText(Tab_Byte_Bin().at(it.value())));
        out += line.toLatin1() + "\r\n";
    }
    return out;
}

bool decode(const QByteArray& bytes, QMap<int, int>* registers, int* badLine) {
    static const QRegularExpression re(QStringLiteral("^EEPROM-([0-9A-F]{2}) =  ([01]{4}) ([01]{4})$"));
    // One line per register at most, and a possible empty last line.
    constexpr int MaxLines = 257;
    auto fail = [&](int line) {
        if (badLine) *badLine = line;
        return false;
    };
    const textlines::Lines split = textlines::split(bytes, MaxLines + 1);
    if (!split.ok()) return fail(split.badLine);
    const int count = int(split.lines.size());
    if (count > MaxLines) return fail(MaxLines + 1);
    QMap<int, int> out;
    for (int i = 0; i < count; ++i) {
        const QString& line = split.lines.at(i);
        if (line.isEmpty() && i == count - 1) break;
        const QRegularExpressionMatch m = re.match(line);
        if (!m.hasMatch()) return fail(i + 1);
        const int reg = m.captured(1).toInt(nullptr, 16);
        if (out.contains(reg)) return fail(i + 1);
        // The log's layout: bits 0..3, a blank, bits 4..7.
        const QString bits = m.captured(2) + m.captured(3);
        int byte = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (bits.at(bit) == QLatin1Char('1')) byte |= 1 << bit;
        out.insert(reg, byte);
    }
    if (out.isEmpty()) return fail(0);
    if (registers) *registers = out;
    if (badLine) *badLine = 0;
    return true;
}

void keep(const OperationContext& ctx, const QMap<int, int>& registers, bool written) {
    if (registers.isEmpty()) return;
    history::keepHere(ctx.module.identifier, TableKind::Settings,
                      written ? history::Direction::Written : history::Direction::Read, encode(registers),
                      msgs().english(), ctx.error);
}

} // namespace settingshistory
