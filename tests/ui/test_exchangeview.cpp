// What the exchange shows in the window on every tick and receive event: the texts, and
// no layout pass of the whole window for them.
#include "app/statusbar.h"
#include "common/messages.h"
#include "windowtest.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>

namespace {
// Counts the layout passes the window's widgets ask for.
struct LayoutRequests : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::LayoutRequest) ++count;
        return false;
    }
};
} // namespace

class TestExchangeView : public QObject {
    Q_OBJECT
private slots:
    // Texts of every length, as answers grow and commands change, leave the window's
    // layout alone: the panels and fields keep their size whatever they show.
    void eventsCauseNoRelayout() {
        wt::freshConfiguration();
        TForm1 w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.ProgressBar1->setRange(0, 30);
        // The window's own first layout passes end first: on a busy machine they still come
        // well after it is exposed. It has settled once 200 ms pass without one.
        LayoutRequests requests;
        qApp->installEventFilter(&requests);
        QElapsedTimer settling;
        settling.start();
        for (int before = -1; before != requests.count;) {
            QVERIFY2(settling.elapsed() < 5000, "the window kept laying itself out for 5 s after it was shown");
            before = requests.count;
            QTest::qWait(200);
        }
        requests.count = 0;
        const QStringList commands = {"47%", "2A&4A&6A&8A&", "87*", "04%14&D4&23%"};
        for (int i = 0; i < 40; ++i) {
            const QString cmd = commands.at(i % commands.size());
            w.showSent(cmd);
            w.showReceived(QString(), true);
            w.showReceived(QStringLiteral("C3 ").repeated(i % 5), false);
            w.setProgress(i % 31);
            QCoreApplication::processEvents();
        }
        QTest::qWait(150); // a frame of the window comes within this time
        qApp->removeEventFilter(&requests);
        QCOMPARE(requests.count, 0);
        // The last texts stand, in the fields and the status panels.
        QCOMPARE(w.Edit5->text(), QStringLiteral("04%14&D4&23%"));
        QCOMPARE(w.Edit6->text(), QStringLiteral("C3 C3 C3 C3 "));
        QCOMPARE(w.StatusBar_Top->panelText(2), msgs().Msg_Query + QStringLiteral(" 04%14&D4&23%"));
        QCOMPARE(w.StatusBar_Top->panelText(3), msgs().Msg_Answer + QStringLiteral(" C3 C3 C3 C3 "));
        QCOMPARE(w.ProgressBar1->value(), 8);
        // A cleared buffer empties the answer panel.
        w.showReceived(QString(), true);
        QCOMPARE(w.StatusBar_Top->panelText(3), QString());
    }
};

QTEST_MAIN(TestExchangeView)
#include "test_exchangeview.moc"
