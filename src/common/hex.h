#pragma once
// The module's hexadecimal notation: a byte travels as two uppercase digits, low digit
// first; a word as four digits, least significant first. Every subsystem that builds
// command items or decodes answers goes through these helpers.

#include <QString>
#include <QStringList>

// One character to 0..15 ("0".."9", "A".."F"); anything else (lower case, empty text,
// more than one character, any other character) gives -1.
double Hex_Digit_Value(const QString& ch);
int hexDigit(QChar c); // same rule for one character, as an integer

// Entry i is i as two uppercase hex digits, high digit first ("00".."FF").
const QStringList& Tab_Byte_Hex();
// Entry i is i as eight binary digits, bit 7 first ("00000000".."11111111").
const QStringList& Tab_Byte_Bin();

// Character at 1-based position pos of text, or an empty text beyond its end.
QString charAt(const QString& text, int pos);

// Byte carried by the two characters at 1-based positions pos, pos+1 (low digit first):
// 16 * second + first, computed from -1 for an invalid or missing digit.
int lowFirstByteRaw(const QString& answer, int pos = 1);
// The same byte, or -1 when either digit is invalid or missing.
int lowFirstByte(const QString& answer, int pos = 1);
// Word carried by the four characters from pos (least significant digit first):
// d4*4096 + d3*256 + d2*16 + d1, or -1 when any digit is invalid or missing.
int lowFirstWord(const QString& answer, int pos = 1);

// Byte value as it travels: two uppercase hex digits, low digit first ("3C" -> "C3").
QString lowFirstHex(int byte);
// Register write item: value text, address text and ")" ("3C" into 13 -> "C331)").
QString writeItem(int value, int address);
// Read items for a register, a working byte and a working word ("87*", "47%", "2A&").
QString readRegItem(int address);
QString readByteItem(int address);
QString readWordItem(int address);

// Byte to bit text through the tables: exchange the two received digits into high-first
// order, look the text up in Tab_Byte_Hex, return the Tab_Byte_Bin entry of that index.
// Returns an empty text when the digits are not a known byte text.
QString receivedDigitsToBits(const QString& twoChars);
// Bit text (bit 7 first) to the register write text (low digit first); empty when the
// text is not eight binary digits.
QString bitsToWriteText(const QString& bits);
