// The interface language on the whole window: every text of the table switches both ways
// and comes back exactly, Russian on a fresh window changes nothing, the flags, message
// texts, state captions and modal windows follow, the model caption gives way to the
// program caption, and no Russian text is left in English except the ones meant to stay.
// With SCREENSHOT_DIR set, every view is saved in English for a person to look at.
#include "app/interfacelanguage.h"
#include "app/statusbar.h"
#include "common/configfiles.h"
#include "common/messages.h"
#include "common/uitexts.h"
#include "dialogs/confirmations.h"
#include "settings/settingspanel.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QStackedWidget>
#include <QTableWidget>
#include <qcustomplot.h>

using uitexts::Entry;
using uitexts::Lang;

namespace {

struct Text {
    QObject* owner;
    QString key; // where it was found, for messages
    QString text;
};

// Every text the window can show: captions, titles, hints, placeholders, list items, grid
// headings and cells, chart axis titles and window captions, in one fixed order.
QList<Text> allTexts(QWidget* root) {
    QList<Text> out;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        const QString name =
            w->objectName().isEmpty()
                ? QStringLiteral("(%1 in %2)")
                      .arg(QString::fromLatin1(w->metaObject()->className()),
                           w->parentWidget() ? w->parentWidget()->objectName() : QString())
                : w->objectName();
        auto add = [&](const QString& prop, const QString& text) {
            if (!text.isEmpty()) out << Text{w, name + QLatin1Char('.') + prop, text};
        };
        add(QStringLiteral("toolTip"), w->toolTip());
        if (w->isWindow()) add(QStringLiteral("windowTitle"), w->windowTitle());
        if (auto* b = qobject_cast<QAbstractButton*>(w)) add(QStringLiteral("text"), b->text());
        if (auto* l = qobject_cast<QLabel*>(w)) add(QStringLiteral("text"), l->text());
        if (auto* g = qobject_cast<QGroupBox*>(w)) add(QStringLiteral("title"), g->title());
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            add(QStringLiteral("text"), e->text());
            add(QStringLiteral("placeholderText"), e->placeholderText());
        }
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                add(QStringLiteral("item%1").arg(i), c->itemText(i));
        if (auto* p = qobject_cast<QPlainTextEdit*>(w))
            add(QStringLiteral("plainText"), p->toPlainText());
        if (auto* t = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < t->columnCount(); ++c)
                if (auto* h = t->horizontalHeaderItem(c))
                    add(QStringLiteral("column%1").arg(c), h->text());
            for (int r = 0; r < t->rowCount(); ++r) {
                if (auto* h = t->verticalHeaderItem(r))
                    add(QStringLiteral("row%1").arg(r), h->text());
                for (int c = 0; c < t->columnCount(); ++c)
                    if (auto* i = t->item(r, c))
                        add(QStringLiteral("cell%1,%2").arg(r).arg(c), i->text());
            }
        }
        if (auto* plot = qobject_cast<QCustomPlot*>(w)) {
            add(QStringLiteral("bottomAxis"), plot->xAxis->label());
            add(QStringLiteral("leftAxis"), plot->yAxis->label());
            add(QStringLiteral("topAxis"), plot->xAxis2->label());
            add(QStringLiteral("rightAxis"), plot->yAxis2->label());
        }
    }
    return out;
}

// Sorted, because bringing a flag to the front changes the order of the window's children.
QStringList snapshot(QWidget* root) {
    QStringList s;
    for (const Text& t : allTexts(root))
        s << t.key + QStringLiteral(" = ") + t.text;
    s.sort();
    return s;
}

bool hasCyrillic(const QString& s) {
    static const QRegularExpression re(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    return re.match(s).hasMatch();
}

// The current value of an entry's text, read where the switch writes it.
QString entryValue(QObject* root, const Entry& e) {
    QObject* o = root->objectName() == QLatin1String(e.object)
                     ? root
                     : root->findChild<QObject*>(QString::fromLatin1(e.object));
    if (!o) return QStringLiteral("<missing>");
    if (o->metaObject()->indexOfProperty(e.property) >= 0)
        return o->property(e.property).toString();
    for (QObject* c : o->children())
        if (c->metaObject()->indexOfProperty(e.property) >= 0)
            return c->property(e.property).toString();
    return QStringLiteral("<no property>");
}

bool inDialog(QWidget* w) {
    for (QWidget* p = w; p; p = p->parentWidget())
        if (qobject_cast<QDialog*>(p)) return true;
    return false;
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;

  private slots:
    void init() {
        msgs().setRussian();
        msgs().Lang_Code.clear();
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup() {
        w.reset();
        msgs().setRussian();
        msgs().Lang_Code.clear();
    }

    // The table's Russian texts are the window's own: switching a fresh window to Russian
    // finds every control and changes no text anywhere.
    void russianOnAFreshWindowChangesNothing() {
        QStringList differ;
        for (const Entry& e : uitexts::entries())
            if (entryValue(w.get(), e) != e.ru)
                differ << QStringLiteral("%1.%2 is \"%3\", the table has \"%4\"")
                              .arg(QString::fromLatin1(e.object), QString::fromLatin1(e.property),
                                   entryValue(w.get(), e), e.ru);
        QVERIFY2(differ.isEmpty(), qPrintable(differ.join(QLatin1Char('\n'))));

        const QStringList before = snapshot(w.get());
        const QStringList faults = w->Language->apply(Lang::Russian);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QCOMPARE(snapshot(w.get()), before);
        QCOMPARE(msgs().Lang_Code, QStringLiteral("Rus"));
    }

    // Every entry takes its English text, and Russian afterwards gives back every text of
    // the window exactly as it started.
    void everyEntrySwitchesBothWays() {
        const QStringList fresh = snapshot(w.get());
        QStringList faults = w->Language->apply(Lang::English);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QStringList wrong;
        for (const Entry& e : uitexts::entries())
            if (entryValue(w.get(), e) != e.en)
                wrong << QStringLiteral("%1.%2 is \"%3\"")
                             .arg(QString::fromLatin1(e.object), QString::fromLatin1(e.property),
                                  entryValue(w.get(), e));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
        QVERIFY(snapshot(w.get()) != fresh);

        faults = w->Language->apply(Lang::Russian);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        const QStringList back = snapshot(w.get());
        QStringList lost;
        for (int i = 0; i < qMax(fresh.size(), back.size()); ++i)
            if (fresh.value(i) != back.value(i))
                lost << fresh.value(i) + QStringLiteral("  <->  ") + back.value(i);
        QVERIFY2(lost.isEmpty(), qPrintable(lost.join(QLatin1Char('\n'))));
    }

    // The user's way: hovering the flag opens the pop-up, "Eng" and "Рус" switch the flag,
    // the language code, the message texts, the curve headings and the modal windows.
    void flagPopupSwitchesEverythingElse() {
        w->atb_Flag_RusMouseMove();
        QVERIFY(w->pnl_Language->isVisible());
        QTest::mouseClick(w->atbEng, Qt::LeftButton);
        QVERIFY(!w->pnl_Language->isVisible());
        QVERIFY(w->atb_Flag_Eng->isVisible());
        QVERIFY(!w->atb_Flag_Rus->isVisible());
        QCOMPARE(msgs().Lang_Code, QStringLiteral("Eng"));
        QCOMPARE(msgs().Msg_Query, QStringLiteral("Query..."));
        QCOMPARE(msgs().Msg_D1_WB_Current, QStringLiteral("Ток широкополосного датчика 1, мА"));
        auto heading = [&](const char* name) {
            return w->findChild<QAbstractButton*>(QString::fromLatin1(name))->text();
        };
        QCOMPARE(heading("atb_sgrid_Emu_Cap_Left"),
                 QStringLiteral("Relative amount of fuel\nor consuption air"));
        QCOMPARE(heading("atb_sgrid_Emu_Cap_Right_2"),
                 QStringLiteral("U MAF sensor, V\nor consuption air"));
        QCOMPARE(w->fmPredupr0A->windowTitle(), w->fmPredupr0A->texts().caption.en);
        QCOMPARE(w->fmPredupr0E->ui.Label1->text(), w->fmPredupr0E->texts().message.en);
        QCOMPARE(w->windowTitle(), QStringLiteral("Optimizer. Version 8.0"));

        w->atb_Flag_RusMouseMove();
        QVERIFY(w->pnl_Language->isVisible());
        QTest::mouseClick(w->atbRus, Qt::LeftButton);
        QVERIFY(!w->pnl_Language->isVisible());
        QVERIFY(w->atb_Flag_Rus->isVisible());
        QVERIFY(!w->atb_Flag_Eng->isVisible());
        QCOMPARE(msgs().Lang_Code, QStringLiteral("Rus"));
        QCOMPARE(msgs().Msg_Answer, QStringLiteral("Ответ"));
        QCOMPARE(heading("atb_sgrid_Emu_Cap_Right"),
                 QStringLiteral("U MAF датчика, В\nили расход воздуха"));
        QCOMPARE(w->fmPredupr0A->windowTitle(), w->fmPredupr0A->texts().caption.ru);
    }

    // Captions that follow a button's state take the text of the state the button is in
    // when the language changes.
    void stateCaptions_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("pressDown");
        QTest::addColumn<QString>("pressUp");
        QTest::addColumn<QStringList>(
            "texts"); // down English, up English, down Russian, up Russian
        QTest::newRow("fuel calculation")
            << "atb_RT_TypeCalc"
            << "atb_RT_TypeCalc"
            << "atb_RT_TypeCalc" << QStringList{"Average", "Norma", "среднее", "норма"};
        QTest::newRow("learning") << "atb_Other_TicherEmu"
                                  << "atb_Other_TicherEmu"
                                  << "atb_Other_TicherEmu"
                                  << QStringList{"Off", "On", "Выключить", "Включить"};
        QTest::newRow("table load axis")
            << "Panel_3D_Left"
            << "atb_KorrTab_VV"
            << "atb_KorrTab_MAF" << QStringList{"t, ms", "V", "t, мс", "V"};
    }
    void stateCaptions() {
        QFETCH(QString, target);
        QFETCH(QString, pressDown);
        QFETCH(QString, pressUp);
        QFETCH(QStringList, texts);
        auto* down = w->findChild<QAbstractButton*>(pressDown);
        auto* up = w->findChild<QAbstractButton*>(pressUp);
        QObject* t = w->findChild<QObject*>(target);
        QVERIFY(down && up && t);
        auto press = [&](bool d) {
            if (d)
                down->setChecked(true);
            else if (up == down)
                down->setChecked(false);
            else
                up->setChecked(true);
        };
        press(true);
        w->atbEngClick();
        QCOMPARE(t->property("text").toString(), texts.at(0));
        press(false);
        w->atbEngClick();
        QCOMPARE(t->property("text").toString(), texts.at(1));
        press(true);
        w->atbRusClick();
        QCOMPARE(t->property("text").toString(), texts.at(2));
        press(false);
        w->atbRusClick();
        QCOMPARE(t->property("text").toString(), texts.at(3));

        // An owner whose state is not the button's own down state says where it comes from.
        bool learning = true;
        w->Language->setStateSource(target, [&] { return learning; });
        w->atbEngClick();
        QCOMPARE(t->property("text").toString(), texts.at(0));
        learning = false;
        w->Language->applyStateCaptions();
        QCOMPARE(t->property("text").toString(), texts.at(1));
    }

    // The user's own click on the fuel calculation writes its Russian caption in either
    // language: pressed and switched to English it reads "Average", released by the mouse
    // it reads "норма" until the language is switched again.
    void fuelCalculationClickKeepsRussianCaption() {
        auto* b = w->findChild<QAbstractButton*>(QStringLiteral("atb_RT_TypeCalc"));
        QVERIFY(b && b->isCheckable());
        w->atb_Parr_minClick();
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(b->isChecked());
        QCOMPARE(b->text(), QStringLiteral("среднее"));
        w->atbEngClick();
        QCOMPARE(b->text(), QStringLiteral("Average"));
        QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(!b->isChecked());
        QCOMPARE(b->text(), QStringLiteral("норма"));
        w->atbEngClick();
        QCOMPARE(b->text(), QStringLiteral("Norma"));
    }

    // After recognition, English puts the program caption back in place of the model
    // caption; the status texts written from message texts keep their language until they
    // are written again, and texts written afterwards are English.
    void englishAfterRecognition() {
        sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"));
        QVERIFY(m);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive() &&
                                     w->windowTitle().contains(QStringLiteral("Модель")),
                                 5000);
        QCOMPARE(w->StatusBar_Bottom->panelText(0),
                 QStringLiteral("Модель оптимизатора: TR-70A03"));

        w->atbEngClick();
        QCOMPARE(w->windowTitle(), QStringLiteral("Optimizer. Version 8.0"));
        QCOMPARE(w->StatusBar_Bottom->panelText(0),
                 QStringLiteral("Модель оптимизатора: TR-70A03"));
        QCOMPARE(w->StatusBar_Top->panelText(0), QStringLiteral("Модуль подключен"));

        // The exchange's status panels are written again with the English prefixes.
        w->Ed_Peredat->setText(QStringLiteral("87*"));
        QTRY_VERIFY_WITH_TIMEOUT(w->atb_Seans->isEnabled(), 2000);
        w->atb_SeansClick();
        QTRY_VERIFY_WITH_TIMEOUT(
            w->StatusBar_Top->panelText(3).startsWith(QStringLiteral("Answer ")), 3000);
        QCOMPARE(w->StatusBar_Top->panelText(2), QStringLiteral("Query... 87*"));
        const QString dir = qEnvironmentVariable("SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            w->grab().save(QStringLiteral("%1/english-connected-settings.png").arg(dir));
        }

        w->atb_ModuleOffClick();
        QCOMPARE(w->StatusBar_Top->panelText(0), QStringLiteral("Module Off"));
        // The log stays Russian in English.
        QVERIFY(wt::logLines(*w).filter(QStringLiteral("Модуль подключен успешно")).size() == 1);
    }

    // The language chosen is the language of the next start: the exit saves it, and the
    // start switches to it (flag, captions, message texts, modal windows, caption).
    void restartInSavedLanguage() {
        for (const Lang lang : {Lang::English, Lang::Russian}) {
            const bool english = lang == Lang::English;
            english ? w->atbEngClick() : w->atbRusClick();
            w.reset();
            QStringList info;
            QString error;
            QVERIFY2(cfg::readLines(QStringLiteral("Info_A.ini"), &info, &error), qPrintable(error));
            QCOMPARE(info.value(25), english ? QStringLiteral("Eng=language") : QStringLiteral("Rus=language"));

            msgs().setRussian();
            msgs().Lang_Code.clear();
            w = std::make_unique<TForm1>();
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            QCOMPARE(w->atb_Flag_Eng->isVisible(), english);
            QCOMPARE(w->atb_Flag_Rus->isVisible(), !english);
            QCOMPARE(msgs().Lang_Code, english ? QStringLiteral("Eng") : QStringLiteral("Rus"));
            QCOMPARE(w->windowTitle(), english ? QStringLiteral("Optimizer. Version 8.0")
                                               : QStringLiteral("Оптимизатор. Версия 8.0"));
            QCOMPARE(w->Panel_Sett_Max->ui.AdvTBtn_Emu->text(),
                     english ? QStringLiteral("Emulator") : QStringLiteral("Эмулятор"));
            QCOMPARE(w->fmPredupr0D->windowTitle(), english ? QStringLiteral("Warning") : QStringLiteral("Предупреждение"));
        }
    }

    // In English no text of the window is Russian except the ones meant to stay so, the
    // log, and what only the Russian interface shows: on a fresh window, and on a window
    // switched to English before connecting a module of either model in each of its modes,
    // where the profile, the mode view and the settings read write their own texts.
    void noRussianLeftInEnglish_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("reg00");
        QTest::newRow("fresh window") << QString() << 0;
        QTest::newRow("TR-70 optimizer") << "DEMO TR-70" << 0x02;
        QTest::newRow("TR-70 emulator") << "DEMO TR-70" << 0x08;
        QTest::newRow("TR-70 MAF(P)") << "DEMO TR-70" << 0x12;
        QTest::newRow("TR-90") << "DEMO TR-90" << 0x02;
    }
    void noRussianLeftInEnglish() {
        QFETCH(QString, port);
        QFETCH(int, reg00);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            w->setGeometry(screen->availableGeometry());
        w->showMaximized();
        w->atbEngClick();
        if (port.isEmpty()) {
            for (QToolButton* b :
                 {w->atb_Sett_min, w->atb_Parr_min, w->atb_Lambda, w->atb_MAF, w->atb_MAF_TR_90,
                  w->atb_Emu, w->atb_TR_90_Lambda_1, w->atb_TR_90_Lambda_2})
                b->show();
        } else {
            QVERIFY(wt::connectDemo(*w, port, [reg00](sim::SimModule* m) { m->setReg(0, quint8(reg00)); }));
            // Connected, identified and every setting read.
            QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive() &&
                                         w->windowTitle().startsWith(QStringLiteral("Tuning of optimizer. Model")),
                                     20000);
        }

        const QSet<QString> allowed{
            // Kept Russian in English by design.
            "atb_Emu", "atb_TR_90_Lambda_1", "atb_TR_90_Lambda_2", "AdvTBtn_MAF_P", "GroupBox4",
            "atb_Type_Graf_Nepr", "gb_KorrTab", "GroupBox2", "GroupBox6", "atb_Interpolator_Lambda",
            "atb_Interpolator_Lambda_2", "atb_Num_Yellow_Points_Down", "atb_Num_Yellow_Points_Up",
            "atb_Num_Yellow_Points_Down_2", "atb_Num_Yellow_Points_Up_2",
            // The protocol log is Russian in both languages.
            "MemoProtocol",
            // The Russian flag and its hint are shown only in Russian; the pop-up names each
            // language in its own words.
            "atb_Flag_Rus", "atbRus"};
        QStringList left;
        for (const Text& t : allTexts(w.get())) {
            auto* widget = qobject_cast<QWidget*>(t.owner);
            if (!hasCyrillic(t.text) || allowed.contains(t.owner->objectName())) continue;
            if (widget && inDialog(widget))
                continue; // each modal window's own texts, tested with it
            left << t.key + QStringLiteral(" = ") + t.text;
        }
        QVERIFY2(left.isEmpty(), qPrintable(QStringLiteral("Russian in English:\n") +
                                            left.join(QLatin1Char('\n'))));
        const QString dir = qEnvironmentVariable("SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QDir().mkpath(dir);
        if (!port.isEmpty()) {
            const QString row = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'));
            w->grab().save(QStringLiteral("%1/english-connected-%2.png").arg(dir, row));
            return;
        }
        const QList<QPair<const char*, std::function<void()>>> views{
            {"settings", [&] { w->atb_Sett_minClick(); }},
            {"chart", [&] { w->atb_Parr_minClick(); }},
            {"table3d", [&] { w->atb_LambdaClick(); }},
            {"curve1", [&] { w->atb_EmuClick(); }},
            {"curve2", [&] { w->atb_TR_90_Lambda_2Click(); }},
            {"protocol", [&] { w->atbMemoClick(); }},
        };
        for (const auto& v : views) {
            v.second();
            QTest::qWait(50);
            w->grab().save(
                QStringLiteral("%1/english-%2.png").arg(dir, QString::fromLatin1(v.first)));
        }
        w->atb_Flag_RusMouseMove();
        QTest::qWait(50);
        w->grab().save(QStringLiteral("%1/english-language-popup.png").arg(dir));
    }
};

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
