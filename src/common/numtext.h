#pragma once
// Numbers as the user sees them: texts in edits and grids, written and read with the
// locale's decimal separator (a comma under Russian settings). Everything that turns a
// number into a text or back goes through here. The locale is QLocale() (the default
// locale, which follows the system unless the program or a test sets another).

#include <QString>

// General format: the shortest text that reads back to the value, at most 15 significant
// digits, no exponent in the everyday range, no trailing zeros, no group separators.
// -0.2 + 0.01 gives "-0,19" under a comma locale.
QString formatGeneral(double value);

// Parses a number written with the locale's decimal separator (the other separator is
// accepted too, so a pasted "0.5" works under a comma locale). Blanks around the text are
// ignored. Returns false for anything that is not a finite number.
bool parseNumber(const QString& text, double* value);

// Cuts value toward zero to k decimals without binary representation errors:
// truncDecimals(0.29, 2) stays 0.29, truncDecimals(-1.239, 2) is -1.23.
double truncDecimals(double value, int k);

// Rounds to the nearest integer, ties to the even neighbour (0.5 -> 0, 7.5 -> 8).
double roundHalfEven(double value);

// Truncation toward zero (the Int of the register formulas).
inline double truncToward0(double value) { return value < 0 ? -__builtin_floor(-value) : __builtin_floor(value); }
