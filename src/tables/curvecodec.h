#pragma once
// The emulation curves on the wire and in the grid, beyond the point addresses of
// transfercursor.h: the read and write items of a point, the byte a voltage is written as,
// the read filter's vote, the live point answer, the hints of markers and live points,
// and the value a grid key applies. Pure code: QtCore only.

#include <QList>
#include <QString>

#include "tables/transfercursor.h"

namespace curvecodec {

constexpr double VoltMax = 5.0;
// Readings of one point the read filter collects before the reading that makes it vote.
constexpr int FilterReadings = 6;
// The live points' fuel axis runs 0..64.
constexpr double FuelMax = 64.0;
// The live point command: the fuel-flow count and the MAF voltage count.
inline QString livePointCommand() {
    return QStringLiteral("74&AA&");
}

// Read item of point i: its address characters and "*" ("88*" for curve 1 point 1).
QString readItem(int curve, int i);
// Write item of point i: the byte in low-first hex, the address characters and ")".
QString writeItem(int curve, int i, int byte);

// Byte written for a voltage: round(V * 48), ties to even. The voltage is first brought
// into 0..5 V, so that an item never carries more than one byte (a curve opened from a
// file may hold 7 V).
int voltageByte(double volts);

// The read filter's vote over the readings of one point: the index of the reading that
// most readings agree with (equal as numbers), the earliest of them on a tie; 0 for an
// empty list. 2,1 2,1 2,3 2,1 2,1 2,1 gives index 0; six different readings give 0;
// a b b c c c gives index 3.
int voteIndex(const QList<double>& readings);

// One answer to the live point command, decoded: x (fuel, 0..64) from characters 1..4 and
// v (MAF voltage, 0..5 V) from characters 6..9, each as a word of four low-first digits.
// A value whose four digits are not all present and valid is not decoded.
struct LiveSample {
    bool hasX = false;
    bool hasV = false;
    double x = 0;
    double v = 0;
};
LiveSample decodeLiveAnswer(const QString& answer);

// Hint of the marker of point i: "Точка 5", line break, "Напряжение: 2,35 В " (the
// voltage cut toward zero to two decimals), in the message texts' language.
QString markerHint(int i, double volts);
// Hint of a live point: voltage line, line break, fuel line; both cut to two decimals.
QString livePointHint(double volts, double fuel);

// What a grid key makes of a point's cell text: the other decimal separator becomes the
// locale's, then the value is limited to 0..5 V; text is the cell's new text (the input
// with its separator mended, or "0"/"5" where the value was limited). False when the text
// is not a number; the cell is then left as it was.
struct KeyValue {
    double volts = 0;
    QString text;
};
bool keyValue(const QString& cellText, KeyValue* out);

// The cell text with its first "." or "," turned into the locale's decimal separator.
QString withLocaleSeparator(const QString& text);

// The message shown when a point's cell does not hold a number, in the interface
// language (English when english is true).
QString notANumberMessage(int point, const QString& text, bool english);

} // namespace curvecodec
