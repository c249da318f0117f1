#include "surface/glyphs.h"

#include <QFont>
#include <QPainterPath>

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <deque>

namespace surface {

namespace {
constexpr int kPixelSize = 24;

// Vertices the tessellator makes where contours cross; they must live until the polygon
// is finished.
using VertexStore = std::deque<std::array<GLdouble, 3>>;

void GLAPIENTRY tessCombine(GLdouble coords[3], void* /*data*/[4], GLfloat /*weight*/[4],
                            void** out, void* store) {
    auto* s = static_cast<VertexStore*>(store);
    s->push_back({coords[0], coords[1], coords[2]});
    *out = s->back().data();
}

void GLAPIENTRY tessBegin(GLenum type) {
    glBegin(type);
}
void GLAPIENTRY tessVertex(void* v) {
    glVertex3dv(static_cast<const GLdouble*>(v));
}
void GLAPIENTRY tessEnd() {
    glEnd();
}
void GLAPIENTRY tessError(GLenum) {} // a glyph that cannot be filled stays empty

// One face of a glyph, filled, in the plane z.
void fillFace(GLUtesselator* tess, const QList<QPolygonF>& contours, double z, double normalZ) {
    VertexStore store;
    glNormal3d(0, 0, normalZ);
    gluTessBeginPolygon(tess, &store);
    for (const QPolygonF& contour : contours) {
        gluTessBeginContour(tess);
        for (const QPointF& p : contour) {
            store.push_back({p.x(), p.y(), z});
            gluTessVertex(tess, store.back().data(), store.back().data());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
}

// The walls of the extruded glyph along every contour.
void sideWalls(const QList<QPolygonF>& contours, double depth) {
    for (const QPolygonF& contour : contours) {
        glBegin(GL_QUAD_STRIP);
        for (int i = 0; i <= contour.size(); ++i) {
            const QPointF& p = contour[i % contour.size()];
            const QPointF& q = contour[(i + 1) % contour.size()];
            glNormal3d(q.y() - p.y(), p.x() - q.x(), 0);
            glVertex3d(p.x(), p.y(), 0);
            glVertex3d(p.x(), p.y(), -depth);
        }
        glEnd();
    }
}
} // namespace

QRawFont labelFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(kPixelSize);
    f.setBold(true);
    f.setStyleStrategy(QFont::PreferOutline);
    return QRawFont::fromFont(f);
}

GlyphOutline glyphOutline(const QRawFont& font, QChar ch) {
    GlyphOutline g;
    if (!font.isValid()) return g;
    const QList<quint32> idx = font.glyphIndexesForString(QString(ch));
    if (idx.isEmpty()) return g;
    const QList<QPointF> adv = font.advancesForGlyphIndexes(idx);
    const double unit = font.ascent() + font.descent();
    g.advance = adv.isEmpty() ? 0 : adv.first().x() / unit;
    // Flatten at pixel size, then scale to font units with y up.
    const QList<QPolygonF> polys = font.pathForGlyph(idx.first()).toSubpathPolygons();
    for (QPolygonF p : polys) {
        if (p.size() > 1 && p.first() == p.last()) p.removeLast();
        if (p.size() < 3) continue;
        for (QPointF& pt : p)
            pt = QPointF(pt.x() / unit, -pt.y() / unit);
        g.contours.append(p);
    }
    return g;
}

unsigned buildGlyphLists(const QRawFont& font, int count, double depth) {
    const GLuint base = glGenLists(count);
    if (base == 0) return 0;
    GLUtesselator* tess = gluNewTess();
    if (!tess) {
        glDeleteLists(base, count);
        return 0;
    }
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&tessBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&tessVertex));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&tessEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&tessCombine));
    gluTessCallback(tess, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(&tessError));
    // Glyph outlines are filled by the non-zero rule: outer contours run one way, holes the
    // other.
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0, 0, 1);

    for (int code = 0; code < count; ++code) {
        // Control characters have no glyph; their lists stay empty and do not move on.
        const GlyphOutline g = code < 32 ? GlyphOutline{} : glyphOutline(font, QChar(code));
        glNewList(base + code, GL_COMPILE);
        if (!g.contours.isEmpty()) {
            fillFace(tess, g.contours, 0, 1);
            fillFace(tess, g.contours, -depth, -1);
            sideWalls(g.contours, depth);
        }
        if (g.advance != 0) glTranslated(g.advance, 0, 0);
        glEndList();
    }
    gluDeleteTess(tess);
    return base;
}

void deleteGlyphLists(unsigned base, int count) {
    if (base != 0) glDeleteLists(base, count);
}

void drawGlText(unsigned base, int count, const QString& text) {
    if (base == 0) return;
    QByteArray codes;
    codes.reserve(text.size());
    for (QChar ch : text)
        if (ch.unicode() < count) codes.append(char(ch.unicode()));
    glPushAttrib(GL_LIST_BIT);
    glListBase(base);
    glCallLists(GLsizei(codes.size()), GL_UNSIGNED_BYTE, codes.constData());
    glPopAttrib();
}

} // namespace surface
