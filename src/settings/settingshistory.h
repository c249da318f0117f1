#pragma once
// The settings image kept in the module's history: one line per register the tool knows,
// in the protocol log's form ("EEPROM-00 =  0010 0010", bit 0 first), CR LF, registers in
// ascending order.
//
// "read" holds the registers as the connection read them; "written" holds the same image
// with every register written since then replaced by the byte the module acknowledged,
// i.e. what the module holds after the write as far as the tool knows.

#include <QByteArray>
#include <QMap>

struct OperationContext;

namespace settingshistory {

// The register number of a register read item ("40*" is register 04), or -1.
int registerOfRead(const QString& item);
// The lines for register -> byte.
QByteArray encode(const QMap<int, int>& registers);
// Reads a copy back: every line must be one register in the form encode() writes (two
// upper-case hex digits, each register once, eight bits); a last empty line is allowed.
// The registers, or false with the 1-based number of the first line that is not one in
// *badLine (0 when the copy holds no register at all).
bool decode(const QByteArray& bytes, QMap<int, int>* registers, int* badLine);
// Writes the copy for the connected module; a failure is reported through ctx.error.
void keep(const OperationContext& ctx, const QMap<int, int>& registers, bool written);

} // namespace settingshistory
