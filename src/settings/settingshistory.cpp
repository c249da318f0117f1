#include "settings/settingshistory.h"

#include "common/hex.h"
#include "common/messages.h"
#include "history/history.h"
#include "link/operationcontext.h"
#include "settings/registers.h"

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

void keep(const OperationContext& ctx, const QMap<int, int>& registers, bool written) {
    if (registers.isEmpty()) return;
    QString error;
    if (!history::keepHere(ctx.module.identifier, TableKind::Settings,
                           written ? history::Direction::Written : history::Direction::Read, encode(registers), &error,
                           msgs().english()) &&
        ctx.error)
        ctx.error(error);
}

} // namespace settingshistory
