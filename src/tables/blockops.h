#pragma once
// Operations on a block of cells of a table (8 x 8) or a curve (64 points, one column):
// set, add, scale, linear interpolation and smoothing, and the tab-separated text the
// clipboard carries. Every value an operation produces goes through the same domain rules
// as a typed value of that table or curve, and only the cells inside the block change.
// Cells are addressed 0-based, row-major, `width` cells to a row. Pure code: QtCore only.

#include <QString>
#include <QStringList>

#include "tables/tablecodec.h"

namespace blockops {

// The rules of one table or curve: the range and the decimals of a computed value, and
// the rule a typed (or pasted) text goes through.
struct Domain {
    double min = 0;
    double max = 0;
    int decimals = 0;
    // The typed-value rule: false when the text is not a number of the domain's kind.
    bool (*normalise)(const QString& text, QString* out) = nullptr;
};
Domain tableDomain(TableKind kind);
// Curve points: 0..5 V, two decimals.
Domain curveDomain();

// The text of a computed value: rounded to the domain's decimals (ties to even), limited
// to its range, in the locale's notation.
QString valueText(double value, const Domain& d);

// A rectangle of cells, inclusive, 0-based.
struct Block {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool contains(int c, int r) const { return c >= left && c <= right && r >= top && r <= bottom; }
};

enum class Op { Set, Add, Scale, InterpolateH, InterpolateV, Interpolate2D, Smooth };

// The outcome of an operation: the new texts of all cells, or the first cell that is not
// a number (its index into the texts) with nothing changed.
struct Result {
    QStringList texts;
    int badCell = -1;
    bool ok() const { return badCell < 0; }
};

// Applies op to the block of the cells (texts.size() / width rows). argument is the value
// of Set and Add, the percentage of Scale (110 multiplies by 1.1), unused otherwise. An
// empty cell counts as 0, as a typed empty cell does. Interpolation runs from the block's
// edge cells (its corners for the 2D case); smoothing sets each cell to the mean of itself
// and its neighbours inside the whole grid, all taken from the values before the step.
// A block that does not fit the grid is cut to it.
Result apply(Op op, const QStringList& texts, int width, Block block, double argument,
             const Domain& d);

// --- clipboard ---------------------------------------------------------------------------

// The block's cells as tab-separated rows ending in a line break; a number is written in
// the locale's notation, any other text as it stands.
QString copyText(const QStringList& texts, int width, Block block);

// The most text a paste looks at; anything longer is refused whole.
constexpr int MaxPasteChars = 65536;

// A paste at cell (left, top): the pasted rows and columns that fall outside the grid are
// cut; every other pasted cell goes through the domain's rule. When a pasted cell is not
// a number, nothing changes and (badRow, badColumn) tell which one (0-based within the
// pasted text) with its text. Blanks around a cell are ignored, a final line break does
// not count as a row.
struct PasteResult {
    QStringList texts;
    Block pasted; // the cells that received a value
    int badRow = -1;
    int badColumn = -1;
    QString badText;
    bool tooLong = false;
    bool empty = false;
    bool ok() const { return badRow < 0 && !tooLong && !empty; }
};
PasteResult paste(const QStringList& texts, int width, int left, int top, const QString& clip,
                  const Domain& d);

// The message of a refused paste in the interface language; the cell is named by its
// place in the pasted text (row and column from 1).
QString pasteMessage(const PasteResult& r, bool english);

} // namespace blockops

namespace blockops {

// --- comparison with a file ---------------------------------------------------------------

// Whether a cell and the file's text for it differ: as numbers when both are numbers (an
// empty text counts as 0), as texts otherwise.
bool cellsDiffer(const QString& cell, const QString& file);
// The hint of a differing cell: the file's value and the difference cell - file.
QString differenceHint(const QString& cell, const QString& file, bool english);
// The status text of a comparison: how many cells (points) differ from the named file.
QString compareStatus(int differing, const QString& fileName, bool points, bool english);

} // namespace blockops
