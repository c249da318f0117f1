// The arithmetic of the surface picture: heights from cell texts under both separators,
// the fill colour rules at their edges, the zoom and its stop, and the label glyphs.
#include "surface/glyphs.h"
#include "surface/surfacescene.h"

#include <QtTest>

using namespace surface;

Q_DECLARE_METATYPE(TableKind)

class TestSurfaceScene : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void heights_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<TableKind>("table");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("vertex");
        QTest::newRow("empty MAF cell") << "ru_RU" << TableKind::Maf << "" << 0.0;
        QTest::newRow("empty voltage cell: floor")
            << "ru_RU" << TableKind::Voltage << "" << -1.0;
        QTest::newRow("MAF 99: near the top") << "ru_RU" << TableKind::Maf << "99" << 0.99;
        QTest::newRow("Lambda -99") << "C" << TableKind::Lambda << "-99" << -0.99;
        QTest::newRow("Lambda read byte 0") << "C" << TableKind::Lambda << "-128" << -1.28;
        QTest::newRow("voltage 5: top of the box")
            << "ru_RU" << TableKind::Voltage << "5" << 1.0;
        QTest::newRow("voltage 2,5 comma") << "ru_RU" << TableKind::Voltage << "2,5" << 0.0;
        QTest::newRow("voltage 2.5 point") << "C" << TableKind::Voltage << "2.5" << 0.0;
        QTest::newRow("voltage 2.5 pasted under comma")
            << "ru_RU" << TableKind::Voltage << "2.5" << 0.0;
        QTest::newRow("text from a file: floor of its table")
            << "ru_RU" << TableKind::Voltage << "abc" << -1.0;
        QTest::newRow("text from a file: zero") << "C" << TableKind::Maf << "1,2,3" << 0.0;
        QTest::newRow("not finite") << "C" << TableKind::Lambda << "inf" << 0.0;
    }
    void heights() {
        QFETCH(QString, locale);
        QFETCH(TableKind, table);
        QFETCH(QString, text);
        QFETCH(double, vertex);
        QLocale::setDefault(QLocale(locale));
        QVERIFY(qAbs(vertexHeight(table, cellHeight(table, text)) - vertex) < 1e-12);
    }

    // The rules hold strictly (">" and "<"), the last one that holds wins, and outside the
    // first rule there is no colour at all.
    void fills_data() {
        QTest::addColumn<bool>("upper");
        QTest::addColumn<double>("m");
        QTest::addColumn<QList<float>>("rgba"); // empty: no colour
        const QList<float> none;
        QTest::newRow("upper 0: brightest blue")
            << true << 0.0 << QList<float>{0.1f, 0.1f, 1.0f, 0.9f};
        QTest::newRow("upper 0.01: dark red")
            << true << 0.01 << QList<float>{0.5f, 0.1f, 0.1f, 0.9f};
        QTest::newRow("upper 0.3: still dark red")
            << true << 0.3 << QList<float>{0.5f, 0.1f, 0.1f, 0.9f};
        QTest::newRow("upper 0.5") << true << 0.5 << QList<float>{0.75f, 0.1f, 0.1f, 0.9f};
        QTest::newRow("upper 0.99: bright red")
            << true << 0.99 << QList<float>{1.0f, 0.1f, 0.1f, 0.9f};
        QTest::newRow("upper 2 (voltage top)")
            << true << 2.0 << QList<float>{1.0f, 0.1f, 0.1f, 0.9f};
        QTest::newRow("upper -0.3") << true << -0.3 << QList<float>{0.1f, 0.1f, 0.75f, 0.9f};
        QTest::newRow("upper -0.99: dark blue")
            << true << -0.99 << QList<float>{0.1f, 0.1f, 0.5f, 0.9f};
        QTest::newRow("upper -1: none") << true << -1.0 << none;
        QTest::newRow("lower 0: dark grey")
            << false << 0.0 << QList<float>{0.1f, 0.1f, 0.1f, 0.75f};
        QTest::newRow("lower 0.99: dark grey")
            << false << 0.99 << QList<float>{0.1f, 0.1f, 0.1f, 0.75f};
        QTest::newRow("lower -0.01") << false << -0.01 << QList<float>{0.1f, 0.1f, 0.5f, 0.75f};
        QTest::newRow("lower -0.5") << false << -0.5 << QList<float>{0.1f, 0.1f, 0.75f, 0.75f};
        QTest::newRow("lower -0.99: bright blue")
            << false << -0.99 << QList<float>{0.1f, 0.1f, 1.0f, 0.75f};
        QTest::newRow("lower 1: none") << false << 1.0 << none;
    }
    void fills() {
        QFETCH(bool, upper);
        QFETCH(double, m);
        QFETCH(QList<float>, rgba);
        const std::optional<Rgba> c = upper ? upperFill(m) : lowerFill(m);
        QCOMPARE(c.has_value(), !rgba.isEmpty());
        if (c) QCOMPARE((QList<float>{c->r, c->g, c->b, c->a}), rgba);
    }

    void zoomStopsBeforeTheFrustumCloses() {
        Orientation o;
        int accepted = 0;
        for (int i = 0; i < 12; ++i) {
            accepted += zoom(o, true);
            QVERIFY(frustumUsable(o));
        }
        QCOMPARE(accepted, 9);
        QVERIFY(qAbs(o.vRight - o.vLeft - 0.2) < 1e-9);
        QVERIFY(qAbs(o.vTop - o.vBottom - 0.2) < 1e-9);
        // Zooming out always works and brings the frustum back.
        for (int i = 0; i < 9; ++i)
            QVERIFY(zoom(o, false));
        QVERIFY(qAbs(o.vLeft + 1) < 1e-9 && qAbs(o.vRight - 1) < 1e-9);
        QVERIFY(qAbs(o.vBottom + 1) < 1e-9 && qAbs(o.vTop - 1) < 1e-9);
        QCOMPARE(o.vNear, 4.0);
        QCOMPARE(o.vFar, 10.0);

        // A frustum saved in single precision and read back at its narrowest.
        Orientation saved;
        saved.vLeft = saved.vBottom = double(-0.1f);
        saved.vRight = saved.vTop = double(0.1f);
        QVERIFY(!zoom(saved, true));
        QVERIFY(frustumUsable(saved));
    }

    void unusableFrustums_data() {
        QTest::addColumn<QList<double>>("frustum"); // left, right, bottom, top, near, far
        QTest::newRow("closed horizontally") << QList<double>{0, 0, -1, 1, 4, 10};
        QTest::newRow("turned inside out") << QList<double>{1, -1, -1, 1, 4, 10};
        QTest::newRow("closed vertically") << QList<double>{-1, 1, 0.5, 0.5, 4, 10};
        QTest::newRow("near at the eye") << QList<double>{-1, 1, -1, 1, 0, 10};
        QTest::newRow("far before near") << QList<double>{-1, 1, -1, 1, 4, 4};
    }
    void unusableFrustums() {
        QFETCH(QList<double>, frustum);
        Orientation o;
        o.vLeft = frustum[0];
        o.vRight = frustum[1];
        o.vBottom = frustum[2];
        o.vTop = frustum[3];
        o.vNear = frustum[4];
        o.vFar = frustum[5];
        QVERIFY(!frustumUsable(o));
        QVERIFY(projectionMatrix(o).isIdentity());
    }

    // The box seen from the default orientation: the top of the side wall's far edge lies
    // above its bottom, and a narrower frustum spreads the picture out from its middle.
    void projection() {
        const Orientation o;
        const QSize size(600, 400);
        const QPointF top = sceneToWidget(o, size, {1, 1, -1});
        const QPointF bottom = sceneToWidget(o, size, {1, -1, -1});
        QVERIFY(top.y() < bottom.y());
        Orientation zoomed = o;
        QVERIFY(zoom(zoomed, true));
        const QPointF centre(300, 200);
        const QPointF a = sceneToWidget(o, size, {1, 1, -1}) - centre;
        const QPointF b = sceneToWidget(zoomed, size, {1, 1, -1}) - centre;
        QVERIFY(qAbs(b.x() - a.x() / 0.9) < 1e-3 && qAbs(b.y() - a.y() / 0.9) < 1e-3);
    }

    // Every character of the labels has a glyph in the label font, in units of the font's
    // height: the digits are as wide as in the bold font the labels were laid out for,
    // closed figures keep their holes, and the blank only moves on.
    void labelGlyphs() {
        const QRawFont font = labelFont();
        QVERIFY(font.isValid());
        QCOMPARE(font.pixelSize(), 24.0);
        QVERIFY(font.weight() >= QFont::Bold);
        QString used =
            speedLabels() + loadLabels(LoadAxis::MafVoltage) + loadLabels(LoadAxis::InjectionTime);
        for (TableKind t : {TableKind::Maf, TableKind::Voltage})
            for (const HeightLabel& l : heightLabels(t))
                used += l.text;
        for (QChar ch : used) {
            QVERIFY2(ch.unicode() < 60, qPrintable(QString(ch)));
            const GlyphOutline g = glyphOutline(font, ch);
            QVERIFY2(g.advance > 0.2 && g.advance < 0.6, qPrintable(QString(ch)));
            QCOMPARE(g.contours.isEmpty(), ch == QLatin1Char(' '));
            for (const QPolygonF& c : g.contours) {
                const QRectF r = c.boundingRect();
                QVERIFY(r.left() >= -0.05 && r.right() <= 0.7 && r.bottom() <= 0.8 &&
                        r.top() >= -0.2);
            }
        }
        QVERIFY(qAbs(glyphOutline(font, QLatin1Char('0')).advance - 0.498) < 0.01);
        QCOMPARE(glyphOutline(font, QLatin1Char('0')).contours.size(), 2);
        QCOMPARE(glyphOutline(font, QLatin1Char('8')).contours.size(), 3);
        // Above the baseline: y grows upward.
        QVERIFY(glyphOutline(font, QLatin1Char('1')).contours.first().boundingRect().center().y() >
                0.2);
    }

    // Laid out with the label font, each speed label stands by its column, each load label
    // by its row (the texts start at z = -1.2 and x = -0.85 and are scaled by 0.115), and
    // the height labels end one above the other.
    void labelsStandByTheirRowsAndColumns() {
        const QRawFont font = labelFont();
        auto width = [&](const QString& t) {
            double w = 0;
            for (QChar ch : t)
                w += glyphOutline(font, ch).advance;
            return w;
        };
        // The numbers of a text with the scene distance of their middles from its start.
        auto middles = [&](const QString& text) {
            QList<QPair<QString, double>> out;
            const QRegularExpression word(QStringLiteral("\\S+"));
            for (auto it = word.globalMatch(text); it.hasNext();) {
                const auto m = it.next();
                out.append({m.captured(), 0.115 * (width(text.left(m.capturedStart())) +
                                                   width(m.captured()) / 2)});
            }
            return out;
        };
        const QStringList speeds{"670", "780", "940", "1200", "1600", "2400", "4800", "10000"};
        const auto s = middles(speedLabels());
        QCOMPARE(s.size(), 8);
        for (int c = 1; c <= 8; ++c) {
            QCOMPARE(s[c - 1].first, speeds[c - 1]);
            QVERIFY2(qAbs(-1.2 + s[c - 1].second - columnZ(c)) < 0.08, qPrintable(speeds[c - 1]));
        }
        const QStringList rows[2] = {{"0,0", "0,6", "1,3", "1,9", "2,5", "3,2", "3,8", "4,4"},
                                     {"1,6", "2,4", "3,2", "4,0", "4,8", "5,6", "6,4", "7,2"}};
        for (LoadAxis axis : {LoadAxis::MafVoltage, LoadAxis::InjectionTime}) {
            const auto l = middles(loadLabels(axis));
            QCOMPARE(l.size(), 8);
            for (const auto& [text, along] : l) {
                const int r = rows[int(axis)].indexOf(text) + 1;
                QVERIFY2(r > 0, qPrintable(text));
                QVERIFY2(qAbs(-0.85 + along - rowX(r)) < 0.08, qPrintable(text));
            }
        }
        for (TableKind t : {TableKind::Maf, TableKind::Voltage}) {
            double x = 0, lo = 1e9, hi = -1e9;
            for (const HeightLabel& h : heightLabels(t)) {
                x += h.dx + width(h.text);
                lo = qMin(lo, x);
                hi = qMax(hi, x);
            }
            QVERIFY2(hi - lo < 0.6, qPrintable(QString::number(hi - lo)));
        }
    }
};

QTEST_MAIN(TestSurfaceScene)
#include "test_surfacescene.moc"
