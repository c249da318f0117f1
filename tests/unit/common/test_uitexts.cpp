// The interface text table and the function that writes it: what it reports instead of
// writing, the start-up texts it leaves to run-time code, property adapters, and the shape
// of the table itself.
#include "common/messages.h"
#include "common/namedobjects.h"
#include "common/uitexts.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using uitexts::Entry;
using uitexts::Lang;
using uitexts::Panel;

namespace {

class Caption : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
  public:
    using QObject::QObject;
    QString text() const { return m_text; }
    void setText(const QString& t) { m_text = t; }

  private:
    QString m_text;
};

// Stands for a chart's axis-title adapter: the chart has no such property, its child has.
class Titles : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString leftAxisTitle READ left WRITE setLeft)
  public:
    using QObject::QObject;
    QString left() const { return m_left; }
    void setLeft(const QString& t) { m_left = t; }

  private:
    QString m_left;
};

Caption* caption(QObject* parent, const char* name, const QString& text) {
    auto* c = new Caption(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setText(text);
    return c;
}

bool hasCyrillic(const QString& s) {
    static const QRegularExpression re(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    return re.match(s).hasMatch();
}

} // namespace

class TestUiTexts : public QObject {
    Q_OBJECT
  private slots:
    // Every editing action of a grid has a Russian and an English text of its own, and no
    // grid names an action twice.
    void gridActionTexts() {
        QSet<QString> seen;
        for (const uitexts::ActionText& a : uitexts::gridActionTexts()) {
            const QString key = QString::number(int(a.grid)) + QLatin1Char('/') + QLatin1String(a.object);
            QVERIFY2(!seen.contains(key), qPrintable(key));
            seen << key;
            QVERIFY2(!a.ru.isEmpty() && !a.en.isEmpty() && a.ru != a.en, a.object);
            QCOMPARE(uitexts::gridActionText(a.grid, QLatin1String(a.object), Lang::English), a.en);
            QCOMPARE(uitexts::gridActionText(a.grid, QLatin1String(a.object), Lang::Russian), a.ru);
        }
        QVERIFY(uitexts::gridActionText(Panel::Table3D, QStringLiteral("actUndo"), Lang::English) == QStringLiteral("Undo"));
        QVERIFY(uitexts::gridActionText(Panel::Curve1, QStringLiteral("actInterpolateH"), Lang::English).isEmpty());
    }

    // Before any switch (a first run, or a configuration without a valid language line) the
    // message texts are already Russian, so status panels never show a bare " 87*".
    void initTestCase() {
        QCOMPARE(msgs().Msg_Query, QStringLiteral("Запрос"));
        QCOMPARE(msgs().Msg_Answer, QStringLiteral("Ответ"));
        QCOMPARE(msgs().Msg_Module_Off, QStringLiteral("Модуль отключен"));
        QVERIFY(msgs().Lang_Code.isEmpty());
    }
    void cleanup() {
        msgs().setRussian();
        msgs().Lang_Code.clear();
    }

    // Entries are written in both directions, the root itself can be named, and a control
    // further down the tree is found by name.
    void writesBothWays() {
        QObject root;
        root.setObjectName(QStringLiteral("Form1"));
        auto* inner = new QObject(&root);
        Caption* b = caption(inner, "atb_X", QStringLiteral("Да"));
        const QList<Entry> list{
            {Panel::Window, "atb_X", "text", QStringLiteral("Да"), QStringLiteral("Yes")},
            {Panel::Caption, "Form1", "objectName", QStringLiteral("Form1"),
             QStringLiteral("Form1")},
        };
        QVERIFY(uitexts::apply(&root, list, Lang::English).isEmpty());
        QCOMPARE(b->text(), QStringLiteral("Yes"));
        QVERIFY(uitexts::apply(&root, list, Lang::Russian).isEmpty());
        QCOMPARE(b->text(), QStringLiteral("Да"));
    }

    // A renamed or missing control and a property the control does not have are reported,
    // the rest of the list is still written, and no dynamic property is left behind.
    void reportsWhatItCannotWrite() {
        QObject root;
        Caption* b = caption(&root, "atb_B", QStringLiteral("Нет"));
        auto* plain = new QObject(&root);
        plain->setObjectName(QStringLiteral("plain"));
        const QList<Entry> list{
            {Panel::Window, "atb_Renamed", "text", QStringLiteral("А"), QStringLiteral("A")},
            {Panel::Window, "plain", "title", QStringLiteral("Б"), QStringLiteral("B")},
            {Panel::Window, "atb_B", "text", QStringLiteral("Нет"), QStringLiteral("No")},
        };
        const QStringList faults = uitexts::apply(&root, list, Lang::English);
        QCOMPARE(faults.size(), 2);
        QVERIFY(faults.at(0).contains(QStringLiteral("atb_Renamed")));
        QVERIFY(faults.at(1).contains(QStringLiteral("plain")) &&
                faults.at(1).contains(QStringLiteral("title")));
        QVERIFY(plain->dynamicPropertyNames().isEmpty());
        QCOMPARE(b->text(), QStringLiteral("No"));
        QCOMPARE(uitexts::apply(nullptr, list, Lang::English).size(), 1);
    }

    // A name used more than once is written to the control findChild finds: the nearer
    // level first, among equals the earlier child, a deep first child before a later one's.
    void repeatedNamesGoWhereFindChildGoes() {
        QObject root;
        auto* a = new QObject(&root);
        auto* b = new QObject(&root);
        caption(caption(a, "deep", QStringLiteral("1")), "deeper", QStringLiteral("2"));
        caption(b, "deep", QStringLiteral("3"));
        caption(caption(b, "other", QStringLiteral("4")), "deeper", QStringLiteral("5"));
        caption(&root, "top", QStringLiteral("6"));
        caption(a, "top", QStringLiteral("7"));
        caption(caption(a, "x", QStringLiteral("8")), "onlyDeep", QStringLiteral("9"));
        const NamedObjects named(&root);
        for (const char* name : {"deep", "deeper", "top", "other", "x", "onlyDeep", "missing"})
            QCOMPARE(named.child(QString::fromLatin1(name)), root.findChild<QObject*>(QString::fromLatin1(name)));
        const QList<Entry> list{{Panel::Window, "deeper", "text", QStringLiteral("2"), QStringLiteral("two")}};
        QVERIFY(uitexts::apply(&root, list, Lang::English).isEmpty());
        QCOMPARE(root.findChild<Caption*>(QStringLiteral("deeper"))->text(), QStringLiteral("two"));
    }

    // A property the control lacks is written through a child that declares it.
    void writesThroughAnAdapterChild() {
        QObject root;
        auto* chart = new QObject(&root);
        chart->setObjectName(QStringLiteral("Chart2D"));
        auto* titles = new Titles(chart);
        const QList<Entry> list{{Panel::Curve1, "Chart2D", "leftAxisTitle",
                                 QStringLiteral("Напряжение"), QStringLiteral("Voltage")}};
        QVERIFY(uitexts::apply(&root, list, Lang::English).isEmpty());
        QCOMPARE(titles->left(), QStringLiteral("Voltage"));
    }

    // A start-up text is switched while the control shows it, and left alone once run-time
    // code has written a text of its own (which keeps its language until rewritten).
    void startUpTextsYieldToRunTimeTexts() {
        QObject root;
        Caption* d1 = caption(&root, "atb_D1", QStringLiteral("Датчик 1"));
        const QList<Entry> list{{Panel::Params, "atb_D1", "text", QStringLiteral("Датчик 1"),
                                 QStringLiteral("Sensor 1"), true}};
        QVERIFY(uitexts::apply(&root, list, Lang::English).isEmpty());
        QCOMPARE(d1->text(), QStringLiteral("Sensor 1"));
        QVERIFY(uitexts::apply(&root, list, Lang::Russian).isEmpty());
        QCOMPARE(d1->text(), QStringLiteral("Датчик 1"));
        d1->setText(QStringLiteral("Напряжение выхода циркон. датчика 1, В"));
        QVERIFY(uitexts::apply(&root, list, Lang::English).isEmpty());
        QCOMPARE(d1->text(), QStringLiteral("Напряжение выхода циркон. датчика 1, В"));
    }

    // One control property is written once per switch: a second row for the same pair would
    // silently overwrite the first. Every row has both texts, except the two hints that the
    // English switch clears.
    void tableHasOneRowPerTextAndBothLanguages() {
        QSet<QString> seen;
        for (const Entry& e : uitexts::entries()) {
            const QString key =
                QString::fromLatin1(e.object) + QLatin1Char('.') + QString::fromLatin1(e.property);
            QVERIFY2(!seen.contains(key), qPrintable(key));
            seen.insert(key);
            QVERIFY2(!e.ru.isEmpty(), qPrintable(key));
            if (e.en.isEmpty())
                QVERIFY2(key == QLatin1String("CheckBox_D1.toolTip") ||
                             key == QLatin1String("CheckBox_D2.toolTip"),
                         qPrintable(key));
            // Only the kept texts and the three curve view buttons' first line stay Russian.
            const bool viewButton = e.en.startsWith(QStringLiteral("Плоскость\n"));
            QVERIFY2(!hasCyrillic(e.en) || e.keptRussian() || viewButton,
                     qPrintable(key + QStringLiteral(": Russian left in English")));
        }
        for (const uitexts::StateCaption& s : uitexts::stateCaptions())
            QVERIFY2(!seen.contains(QString::fromLatin1(s.object) + QStringLiteral(".text")),
                     s.object);
    }

    // Only the texts meant to stay Russian in English do so: an untranslated row added by
    // mistake shows up here.
    void keptRussianTextsAreExactlyTheIntendedOnes() {
        QStringList kept;
        for (const Entry& e : uitexts::entries())
            if (e.keptRussian() && hasCyrillic(e.ru)) kept << QString::fromLatin1(e.object);
        kept.sort();
        QStringList expected{"AdvTBtn_MAF_P",
                             "GroupBox2",
                             "GroupBox4",
                             "GroupBox6",
                             "atb_Interpolator_Lambda",
                             "atb_Interpolator_Lambda_2",
                             "atb_Num_Yellow_Points_Down",
                             "atb_Num_Yellow_Points_Down_2",
                             "atb_Num_Yellow_Points_Up",
                             "atb_Num_Yellow_Points_Up_2",
                             "atb_Type_Graf_Nepr",
                             "gb_KorrTab"};
        expected.sort();
        QCOMPARE(kept, expected);
        // The three view buttons keep only their Russian first line.
        for (const Entry& e : uitexts::entries())
            if (e.object == QByteArray("atb_Emu") ||
                QByteArray(e.object).startsWith("atb_TR_90_Lambda_"))
                QVERIFY(e.en.startsWith(QStringLiteral("Плоскость\nLambda")));
    }

    // A panel's own rows, in table order, and nothing of other panels.
    void entriesForOnePanel() {
        const QList<Entry> curve2 = uitexts::entriesFor(Panel::Curve2);
        QVERIFY(curve2.size() > 10);
        int previous = -1;
        for (const Entry& e : curve2) {
            QCOMPARE(e.panel, Panel::Curve2);
            int index = -1;
            for (int i = 0; i < uitexts::entries().size(); ++i)
                if (uitexts::entries().at(i).object == e.object &&
                    uitexts::entries().at(i).property == e.property)
                    index = i;
            QVERIFY(index > previous);
            previous = index;
        }
        const QList<Entry> caption = uitexts::entriesFor(Panel::Caption);
        QCOMPARE(caption.size(), 1);
        QCOMPARE(caption.first().text(Lang::English), QStringLiteral("Optimizer. Version 8.0"));
    }

    // Owners of a state caption look their text up in the language in force.
    void stateCaptionLookup() {
        QCOMPARE(uitexts::currentLang(), Lang::Russian); // before any switch
        QCOMPARE(uitexts::stateCaption(QStringLiteral("atb_RT_TypeCalc"), true, Lang::English),
                 QStringLiteral("Average"));
        QCOMPARE(uitexts::stateCaption(QStringLiteral("atb_RT_TypeCalc"), false, Lang::Russian),
                 QStringLiteral("норма"));
        QCOMPARE(uitexts::stateCaption(QStringLiteral("atb_Other_TicherEmu"), true, Lang::English),
                 QStringLiteral("Off"));
        QCOMPARE(uitexts::stateCaption(QStringLiteral("atb_Other_TicherEmu"), false, Lang::Russian),
                 QStringLiteral("Включить"));
        QVERIFY(
            uitexts::stateCaption(QStringLiteral("atb_Nothing"), true, Lang::English).isEmpty());
        msgs().setEnglish();
        QCOMPARE(uitexts::currentLang(), Lang::English);
    }
};

QTEST_GUILESS_MAIN(TestUiTexts)
#include "test_uitexts.moc"
