#pragma once
// The drawing kit behind every icon: one canvas, one set of colours and stroke widths,
// and the few shapes that several icons share. Only the icon library itself uses this
// header; panels ask icons/icons.h for finished icons.
//
// Every icon is drawn on a 24 x 24 grid (flags on 30 x 20). The canvas scales that grid to
// whatever size and device pixel ratio a button asks for, so nothing is drawn at one size
// and blurred to another.

#include <QColor>
#include <QIcon>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>

class QPainter;

namespace icons::paint {

// Colours by meaning: the same meaning gets the same colour on every panel.
inline const QColor kInk(52, 64, 84);             // plain pictograms: arrows, steppers, frames
inline const QColor kBlue(34, 110, 181);          // data lines, saved state, diskette
inline const QColor kGreen(40, 150, 60);          // go: connect, resume, data coming from the module
inline const QColor kOrange(214, 110, 30);        // data going into the module
inline const QColor kRed(200, 40, 35);            // record, disconnect, delete
inline const QColor kModule(52, 78, 92);          // the module's housing
inline const QColor kFolder(232, 182, 76);        // files on disk
inline const QColor kPaper(250, 250, 250);        // light faces: labels, chart backgrounds
inline const QColor kLive(255, 255, 0);           // live points, as they look on the curve chart

// Stroke widths in grid units.
constexpr qreal kOutline = 1.0; // edge of a filled shape
constexpr qreal kLine = 1.5;    // plotted lines, axes, thin frames
constexpr qreal kBold = 2.5;    // strokes that carry the picture on their own

constexpr qreal kGrid = 24;

using Drawing = void (*)(QPainter&);

// An icon painted by `draw` on a design box of `design` grid units. It renders at any size
// and device pixel ratio, keeps its aspect ratio, fades when disabled and caches what it
// rendered under `name`, which must be unique.
QIcon make(const char* name, Drawing draw, QSizeF design = QSizeF(kGrid, kGrid));

// Pen and brush for a filled shape: the colour inside, a darker edge of kOutline.
void fill(QPainter& p, const QColor& colour);
// Pen only, round ends and joins.
void stroke(QPainter& p, const QColor& colour, qreal width = kLine);

// A filled triangle with its tip at `tip`, pointing in `direction`, `depth` long and
// `half` wide on each side of its axis. Uses the painter's current pen and brush.
void triangle(QPainter& p, QPointF tip, Qt::ArrowType direction, qreal depth, qreal half);
// A straight arrow with a shaft of width `shaft` and a head `head` long, tip at `to`.
void arrow(QPainter& p, QPointF from, QPointF to, qreal shaft, qreal head, const QColor& colour);
// An arc about `centre` starting at `startDeg` and sweeping `spanDeg` (counter-clockwise
// positive, as the viewer sees it) with an arrow head at its end.
void circularArrow(QPainter& p, QPointF centre, qreal radius, qreal startDeg, qreal spanDeg,
                   const QColor& colour);

// The module: a housing with pins underneath, in the lower part of the grid (y 13..23).
void moduleBlock(QPainter& p);
// An arrow between the grid's top and the module: into it (write) or out of it (read).
void moduleArrow(QPainter& p, bool intoModule);
// An open folder filling the grid.
void folder(QPainter& p);
// A diskette filling the grid.
void disk(QPainter& p);
// An open tray at the bottom of the grid: where something is put away.
void tray(QPainter& p);
// A small plot: the two axes and a line through `points`.
void plot(QPainter& p, const QPolygonF& points, const QColor& lineColour = kBlue);
// A thin frame around a 30 x 20 flag.
void flagEdge(QPainter& p);

} // namespace icons::paint
