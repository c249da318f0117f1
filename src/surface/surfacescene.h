#pragma once
// The arithmetic of the surface picture, free of OpenGL: where rows and columns lie, how a
// cell text becomes a height, which colour a surface quad gets, the label texts and their
// steps, the zoom and the projection of a scene point into the widget.

#include <QList>
#include <QMatrix4x4>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QVector3D>

#include <optional>

#include "common/tablekind.h"

// The tables that share one look and one view orientation: the MAF family (MAF table and
// voltage table) and the Lambda family (Lambda table).
enum class SurfaceFamily { Maf, Lambda };
// What the rows of the table stand for: MAF voltage or injection time.
enum class LoadAxis { MafVoltage, InjectionTime };

// One view orientation: three angles (degrees) and the view frustum.
struct Orientation {
    float ry = 0, rx = 0, rz = 0;
    double vLeft = -1, vRight = 1, vBottom = -1, vTop = 1, vNear = 4, vFar = 10;
    bool operator==(const Orientation&) const = default;
};

namespace surface {

// Scene position of load row r (1..8): x from 1 down to -0.75.
inline double rowX(int r) {
    return 1.0 - 0.25 * (r - 1);
}
// Scene position of speed column c (1..8): z from -1 up to 0.75.
inline double columnZ(int c) {
    return -1.0 + 0.25 * (c - 1);
}

// Height of one cell from its text under the locale in force: value x 0.01 for the Lambda
// and MAF tables (-99..99 gives -0.99..0.99), value x 0.4 for the voltage table (0..5 V
// gives 0..2). An empty text, or one that is not a number (a table file may hold anything
// until the next refresh), gives 0 so that the rest of the table is still drawn.
double cellHeight(TableKind table, const QString& text);
// The drawn height of a vertex: the voltage table stands on the floor of the box.
inline double vertexHeight(TableKind table, double h) {
    return table == TableKind::Voltage ? h - 1.0 : h;
}

struct Rgba {
    float r, g, b, a;
    bool operator==(const Rgba&) const = default;
};

// Colour of a quad in the upper fill, m being its highest corner height: red above zero,
// the brighter the higher, otherwise blue, the brighter toward zero. No colour (the
// previous quad's stays in effect) when m is -1 or below.
std::optional<Rgba> upperFill(double m);
// Colour of a quad in the lower fill, m being its lowest corner height: blue below zero,
// the brighter the deeper, otherwise dark grey. No colour when m is 1 or above.
std::optional<Rgba> lowerFill(double m);

// The speed axis labels, one text laid along the back wall.
QString speedLabels();
// The load axis labels for the load axis in force, in the order the text is laid along
// the box: from row 8 at the front to row 1 at the back.
QString loadLabels(LoadAxis axis);

// One height label and the step taken (in glyph units) from the end of the text before it.
struct HeightLabel {
    float dx, dy;
    QString text;
};
// The eleven height labels of the table, from the bottom of the box to its top.
QList<HeightLabel> heightLabels(TableKind table);

// A frustum glFrustum accepts: left below right, bottom below top, 0 < near < far.
bool frustumUsable(const Orientation& o);

// One zoom step on the frustum: in narrows it by 0.1 on every side, out widens it. Zooming
// in stops before the frustum would close (left must stay below right, bottom below top);
// returns false when the step was refused.
bool zoom(Orientation& o, bool in);

// The projection and model-view matrices the renderer builds for an orientation (the
// model-view including the orientation's own three turns).
QMatrix4x4 projectionMatrix(const Orientation& o);
QMatrix4x4 modelViewMatrix(const Orientation& o);
// Where a scene point lands in a widget of the given size (pixels, origin top left).
QPointF sceneToWidget(const Orientation& o, QSize size, const QVector3D& point);

} // namespace surface
