#pragma once
// The label glyphs of the surface: outlines of the bold 24-pixel label font and the
// OpenGL display lists built from them, one list per character code.

#include <QList>
#include <QPolygonF>
#include <QRawFont>
#include <QString>

namespace surface {

// The outline of one glyph in font units and the distance to the next glyph's start. The
// unit is the font's full height, ascent plus descent (y up, origin on the baseline at
// the glyph's start): the blanks in the label texts place each number by its row or
// column for glyphs of that size (a digit is about 0.5 wide).
struct GlyphOutline {
    QList<QPolygonF> contours; // closed, without the repeated first point
    double advance = 0;
};

// The label font: bold "Arial" with a character height of 24 pixels (on systems without
// it, the font the system puts in its place, on Linux its metric twin Liberation Sans).
QRawFont labelFont();

// The outline of the glyph of `ch`; curves are flattened at the font's 24-pixel size, so
// the polygons are as fine as the glyphs are ever seen.
GlyphOutline glyphOutline(const QRawFont& font, QChar ch);

// Display lists for the character codes 0 .. count - 1 in the current context: each list
// draws the filled glyph in the z = 0 plane, extruded by `depth` toward -z, and moves the
// drawing position on by the glyph's advance. Returns the base of the lists (0 when no
// list could be allocated).
unsigned buildGlyphLists(const QRawFont& font, int count, double depth);
void deleteGlyphLists(unsigned base, int count);

// Draws a text with the glyph lists at `base`; each glyph moves the position on, so the
// next drawing continues where the text ends. Codes without a list draw nothing.
void drawGlText(unsigned base, int count, const QString& text);

} // namespace surface
