#include "surface/surfacescene.h"

#include "common/numtext.h"

#include <QVector4D>

namespace surface {

double cellHeight(TableKind table, const QString& text) {
    double v = 0;
    if (!parseNumber(text, &v)) return 0.0;
    return v * (table == TableKind::Voltage ? 0.4 : 0.01);
}

// The rules of both fills are applied in order and the last one that holds wins.
std::optional<Rgba> upperFill(double m) {
    std::optional<Rgba> c;
    if (m > -1) c = Rgba{0.1f, 0.1f, 0.5f, 0.9f};
    if (m > -0.7) c = Rgba{0.1f, 0.1f, 0.75f, 0.9f};
    if (m > -0.3) c = Rgba{0.1f, 0.1f, 1.0f, 0.9f};
    if (m > 0) c = Rgba{0.5f, 0.1f, 0.1f, 0.9f};
    if (m > 0.3) c = Rgba{0.75f, 0.1f, 0.1f, 0.9f};
    if (m > 0.7) c = Rgba{1.0f, 0.1f, 0.1f, 0.9f};
    return c;
}

std::optional<Rgba> lowerFill(double m) {
    std::optional<Rgba> c;
    if (m < 1) c = Rgba{0.1f, 0.1f, 0.1f, 0.75f};
    if (m < 0) c = Rgba{0.1f, 0.1f, 0.5f, 0.75f};
    if (m < -0.3) c = Rgba{0.1f, 0.1f, 0.75f, 0.75f};
    if (m < -0.7) c = Rgba{0.1f, 0.1f, 1.0f, 0.75f};
    return c;
}

// The spaces in the label texts place each number under its column (or beside its row);
// the glyphs advance by their own widths.
QString speedLabels() {
    return QStringLiteral("   670   780   940  1200 1600 2400 4800 10000");
}

// The load text runs from the front edge of the box (row 8) to the back (row 1), so the
// row headers stand in it from the last to the first.
QString loadLabels(LoadAxis axis) {
    return axis == LoadAxis::InjectionTime
               ? QStringLiteral(" 7,2    6,4    5,6    4,8    4,0    3,2   2,4   1,6")
               : QStringLiteral(" 4,4    3,8    3,2    2,5    1,9    1,3   0,6   0,0");
}

QList<HeightLabel> heightLabels(TableKind table) {
    if (table == TableKind::Voltage) {
        QList<HeightLabel> labels{{0, 0, QStringLiteral("0.0")}};
        for (int i = 1; i <= 10; ++i)
            labels.append({-1.2f, 1.7f, QStringLiteral("%1.%2").arg(i / 2).arg(i % 2 ? 5 : 0)});
        return labels;
    }
    // The steps back differ because the texts differ in width: each number ends about
    // where the one below it ended.
    return {
        {0, 0, QStringLiteral("-100")},        {-1.6f, 1.8f, QStringLiteral(" -80")},
        {-1.6f, 1.8f, QStringLiteral(" -60")}, {-1.6f, 1.8f, QStringLiteral(" -40")},
        {-1.6f, 1.8f, QStringLiteral(" -20")}, {-1.4f, 1.7f, QStringLiteral("    0")},
        {-1.6f, 1.7f, QStringLiteral("  20")}, {-1.5f, 1.7f, QStringLiteral("  40")},
        {-1.4f, 1.7f, QStringLiteral("  60")}, {-1.4f, 1.7f, QStringLiteral("  80")},
        {-1.6f, 1.7f, QStringLiteral(" 100")},
    };
}

bool frustumUsable(const Orientation& o) {
    return o.vLeft < o.vRight && o.vBottom < o.vTop && o.vNear > 0 && o.vNear < o.vFar;
}

bool zoom(Orientation& o, bool in) {
    const double step = in ? 0.1 : -0.1;
    // Half a step of width is kept back, so that rounding in the sums of tenths can never
    // let the last step close the frustum.
    constexpr double kMinWidth = 0.05;
    if (in &&
        (o.vRight - o.vLeft - 2 * step < kMinWidth || o.vTop - o.vBottom - 2 * step < kMinWidth))
        return false;
    o.vLeft += step;
    o.vBottom += step;
    o.vRight -= step;
    o.vTop -= step;
    return true;
}

QMatrix4x4 projectionMatrix(const Orientation& o) {
    QMatrix4x4 m;
    // An unusable frustum leaves the projection at identity, as glFrustum does.
    if (frustumUsable(o))
        m.frustum(float(o.vLeft), float(o.vRight), float(o.vBottom), float(o.vTop), float(o.vNear),
                  float(o.vFar));
    return m;
}

QMatrix4x4 modelViewMatrix(const Orientation& o) {
    QMatrix4x4 m;
    m.translate(0, 0, -8);
    m.rotate(30, 1, 0, 0);
    m.rotate(70, 0, 1, 0);
    m.rotate(o.rx, 1, 0, 0);
    m.rotate(o.ry, 0, 1, 0);
    m.rotate(o.rz, 0, 0, 1);
    return m;
}

QPointF sceneToWidget(const Orientation& o, QSize size, const QVector3D& point) {
    const QVector4D clip = projectionMatrix(o) * modelViewMatrix(o) * QVector4D(point, 1.0f);
    const double x = clip.x() / clip.w(), y = clip.y() / clip.w();
    return {(x + 1) / 2 * size.width(), (1 - y) / 2 * size.height()};
}

} // namespace surface
