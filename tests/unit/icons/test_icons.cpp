// Every drawn icon renders at the sizes and pixel ratios the panels use, shows something,
// and shows its own picture: two icons that come out pixel-identical mean one of them
// draws the other's picture.
#include "icons/icons.h"

#include <QImage>
#include <QPixmap>
#include <QtTest>

namespace {

struct Entry {
    const char* name;
    QIcon (*make)();
};

const Entry kIcons[] = {
    {"connectModule", icons::connectModule},
    {"disconnectModule", icons::disconnectModule},
    {"dropDown", icons::dropDown},
    {"flagRussia", icons::flagRussia},
    {"flagEngland", icons::flagEngland},
    {"info", icons::info},
    {"send", icons::send},
    {"readFromModule", icons::readFromModule},
    {"writeToModule", icons::writeToModule},
    {"openFile", icons::openFile},
    {"saveFile", icons::saveFile},
    {"stepUp", icons::stepUp},
    {"stepDown", icons::stepDown},
    {"stepUp10", icons::stepUp10},
    {"stepDown10", icons::stepDown10},
    {"rotateLeft", icons::rotateLeft},
    {"rotateRight", icons::rotateRight},
    {"rotateUp", icons::rotateUp},
    {"rotateDown", icons::rotateDown},
    {"rotateCounterClockwise", icons::rotateCounterClockwise},
    {"rotateClockwise", icons::rotateClockwise},
    {"zoom", icons::zoom},
    {"pushOrientation", icons::pushOrientation},
    {"popOrientation", icons::popOrientation},
    {"defaultOrientation", icons::defaultOrientation},
    {"livePoints", icons::livePoints},
    {"record", icons::record},
    {"pause", icons::pause},
    {"resume", icons::resume},
    {"stop", icons::stop},
    {"clearChart", icons::clearChart},
    {"toBegin", icons::toBegin},
    {"pageLeft", icons::pageLeft},
    {"stepLeft", icons::stepLeft},
    {"stepRight", icons::stepRight},
    {"pageRight", icons::pageRight},
    {"toEnd", icons::toEnd},
    {"showNavigator", icons::showNavigator},
    {"showAxes", icons::showAxes},
};

QImage render(const QIcon& icon, int side, qreal dpr, QIcon::Mode mode = QIcon::Normal) {
    return icon.pixmap(QSize(side, side), dpr, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int opaquePixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += qAlpha(img.pixel(x, y)) > 0;
    return n;
}

} // namespace

class TestIcons : public QObject {
    Q_OBJECT
private slots:
    void renders_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<qreal>("dpr");
        for (int side : {16, 24, 32})
            for (qreal dpr : {1.0, 2.0})
                QTest::addRow("%d px at %g", side, dpr) << side << dpr;
    }
    void renders() {
        QFETCH(int, side);
        QFETCH(qreal, dpr);
        QHash<QByteArray, QString> seen; // picture -> the icon that drew it
        for (const Entry& e : kIcons) {
            const QIcon icon = e.make();
            QVERIFY2(!icon.isNull(), e.name);
            const QPixmap pm = icon.pixmap(QSize(side, side), dpr);
            QVERIFY2(!pm.isNull(), e.name);
            QCOMPARE(pm.devicePixelRatio(), dpr);
            // Square icons fill the request; the 3:2 flags keep their shape inside it.
            QCOMPARE(pm.deviceIndependentSize().toSize().width(), side);
            QVERIFY2(pm.deviceIndependentSize().height() <= side, e.name);

            const QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
            const int opaque = opaquePixels(img);
            QVERIFY2(opaque > img.width() * img.height() / 20, e.name);

            const QByteArray bytes(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
            const QString other = seen.value(bytes);
            QVERIFY2(other.isEmpty(), qPrintable(QStringLiteral("%1 draws the same picture as %2")
                                                     .arg(QString::fromLatin1(e.name), other)));
            seen.insert(bytes, QString::fromLatin1(e.name));
        }
    }

    // A disabled button still shows its picture, only fainter.
    void disabledIsFaded() {
        for (const Entry& e : kIcons) {
            const QImage normal = render(e.make(), 24, 1.0);
            const QImage disabled = render(e.make(), 24, 1.0, QIcon::Disabled);
            QCOMPARE(disabled.size(), normal.size());
            int fainter = 0;
            for (int y = 0; y < normal.height(); ++y)
                for (int x = 0; x < normal.width(); ++x) {
                    const int a = qAlpha(normal.pixel(x, y)), d = qAlpha(disabled.pixel(x, y));
                    QVERIFY2(d <= a, e.name);
                    fainter += a > 0 && d > 0 && d < a;
                }
            QVERIFY2(fainter > 0, e.name);
        }
    }

    // Buttons ask for odd sizes too (14, 22, 26, 28, 30 x 20); the picture is painted at
    // that size rather than scaled from another.
    void oddSizes() {
        const QIcon flag = icons::flagRussia();
        QCOMPARE(flag.actualSize(QSize(30, 20)), QSize(30, 20));
        QCOMPARE(flag.pixmap(QSize(30, 20), 2.0).size(), QSize(60, 40));
        for (int side : {14, 22, 26, 28})
            QCOMPARE(icons::saveFile().pixmap(QSize(side, side), 1.0).size(), QSize(side, side));
        // One icon object per picture, shared by every button that shows it.
        QCOMPARE(icons::openFile().cacheKey(), icons::openFile().cacheKey());
    }
};

QTEST_MAIN(TestIcons)
#include "test_icons.moc"
