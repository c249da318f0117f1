// The window at its minimum size and at full HD: every view fits, the bars and panel
// buttons stay on screen, nothing is squeezed to nothing. With SCREENSHOT_DIR set, each
// view is also saved as a picture for a person to look at.
#include "app/protocolpanel.h"
#include "app/statusbar.h"
#include "settings/settingspanel.h"
#include "tables/curvepanel.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/parampanel.h"
#include "windowtest.h"

#include <QDir>
#include <QProgressBar>
#include <QStackedWidget>

class TestLayout : public QObject {
    Q_OBJECT

    static bool inside(QWidget* child, QWidget* root) {
        const QRect r(child->mapTo(root, QPoint(0, 0)), child->size());
        return root->rect().contains(r);
    }

private slots:
    void views_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum") << QSize(1000, 600);
        QTest::newRow("full HD") << QSize(1920, 1080);
    }
    void views() {
        QFETCH(QSize, size);
        wt::freshConfiguration();
        TForm1 w;
        w.resize(size);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // The most panel buttons a model shows at once: the TR-70 set.
        for (QToolButton* b : {w.atb_Sett_min, w.atb_Parr_min, w.atb_Lambda, w.atb_MAF, w.atb_Emu}) b->show();
        QTRY_COMPARE(w.size(), size);

        struct View {
            const char* name;
            std::function<void()> show;
            QWidget* panel;
        };
        const QList<View> views = {
            {"settings", [&] { w.atb_Sett_minClick(); }, w.Panel_Sett_Max},
            {"chart", [&] { w.atb_Parr_minClick(); }, w.Panel_Parr_Max},
            {"table3d", [&] { w.atb_LambdaClick(); }, w.Panel_3D},
            {"curve1", [&] { w.atb_EmuClick(); }, w.Panel_Emu},
            {"curve2", [&] { w.atb_TR_90_Lambda_2Click(); }, w.Panel_Emu_2},
            {"protocol", [&] { w.atbMemoClick(); }, w.Panel_Protocol},
        };
        const QString dir = qEnvironmentVariable("SCREENSHOT_DIR");
        for (const View& v : views) {
            v.show();
            QCoreApplication::processEvents();
            QVERIFY2(v.panel->isVisible(), v.name);
            QVERIFY2(v.panel->width() >= 500 && v.panel->height() >= 300, v.name);
            for (QWidget* bar : {static_cast<QWidget*>(w.StatusBar_Top), static_cast<QWidget*>(w.StatusBar_Bottom),
                                 static_cast<QWidget*>(w.ProgressBar1), static_cast<QWidget*>(w.Panel4),
                                 static_cast<QWidget*>(w.ToolBar_Top)})
                QVERIFY2(inside(bar, &w), qPrintable(QString::fromLatin1(v.name) + " " + bar->objectName()));
            for (QAbstractButton* b : w.Group_Panels->buttons()) {
                if (!b->isVisible()) continue;
                QVERIFY2(inside(b, &w), qPrintable(b->objectName()));
                QVERIFY2(b->width() >= b->minimumSizeHint().width(), qPrintable(b->objectName()));
            }
            QVERIFY(w.Ed_Peredat->width() >= 80);
            QVERIFY(inside(w.atb_Seans, &w));
            QVERIFY(inside(w.Edit6, &w));
            if (!dir.isEmpty()) {
                QDir().mkpath(dir);
                w.grab().save(QStringLiteral("%1/%2-%3x%4.png").arg(dir, QString::fromLatin1(v.name))
                                  .arg(size.width()).arg(size.height()));
            }
        }
        // The right-hand parameter list keeps its width beside the settings and chart views.
        w.atb_Parr_minClick();
        QCOMPARE(w.Panel_Parr_Parr_Max->width(), 395);
        QVERIFY(inside(w.Panel_Parr_Parr_Max, &w));
        // The table panel keeps its grid column at the right edge.
        w.atb_LambdaClick();
        QCoreApplication::processEvents();
        QCOMPARE(w.Panel_3D->ui.Panel_Table3D->width(), 372);
    }
};

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
