// The modal windows: their controls and texts in both languages, what each button makes
// exec() return, the About box's link and placement, and the table file picker.

#include "controlcheck.h"
#include "dialogs/about.h"
#include "dialogs/confirmations.h"
#include "dialogs/openfilewindow.h"

#include <QDesktopServices>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QString kList = QStringLiteral(TOOL_TEST_CONTROLS_DIR "/dialogs.tsv");

std::unique_ptr<QDialog> makeDialog(const QString& name, QWidget* parent = nullptr) {
    static const QMap<QString, std::function<QDialog*(QWidget*)>> factories{
        {"fmPredupr0A", [](QWidget* p) { return new TfmPredupr0A(p); }},
        {"fmPredupr0B", [](QWidget* p) { return new TfmPredupr0B(p); }},
        {"fmPredupr0C", [](QWidget* p) { return new TfmPredupr0C(p); }},
        {"fmPredupr0D", [](QWidget* p) { return new TfmPredupr0D(p); }},
        {"fmPredupr0E", [](QWidget* p) { return new TfmPredupr0E(p); }},
        {"fmPredupr_Lambda_A", [](QWidget* p) { return new TfmPredupr_Lambda_A(p); }},
        {"fmPredupr_Lambda_A_02", [](QWidget* p) { return new TfmPredupr_Lambda_A_02(p); }},
        {"fm_3D_Open", [](QWidget* p) { return new Tfm_3D_Open(p); }},
        {"fmAbout", [](QWidget* p) { return new TfmAbout(p); }},
    };
    auto f = factories.value(name);
    return std::unique_ptr<QDialog>(f ? f(parent) : nullptr);
}

void setLanguage(QDialog* d, bool english) {
    QVERIFY(QMetaObject::invokeMethod(d, "setLanguage", Q_ARG(bool, english)));
}

// Copy of the control list in which only the rows of one section are live, the others
// turned into comments, so that line numbers in fault messages still match the file.
QString sectionList(const QString& section, const QString& dir, int* liveRows) {
    QFile in(kList);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    const QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    QStringList out;
    QString current;
    *liveRows = 0;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("#@ "))) current = line.mid(3).trimmed();
        const bool row = !line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#'));
        if (row && current != section) {
            out << QLatin1Char('#') + line;
        } else {
            out << line;
            *liveRows += row;
        }
    }
    const QString path = dir + QStringLiteral("/section.tsv");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    f.write(out.join(QLatin1Char('\n')).toUtf8());
    return path;
}

const QStringList kDialogs{"fmPredupr0A",           "fmPredupr0B", "fmPredupr0C",
                           "fmPredupr0D",           "fmPredupr0E", "fmPredupr_Lambda_A",
                           "fmPredupr_Lambda_A_02", "fm_3D_Open",  "fmAbout"};

} // namespace

// Catches what QDesktopServices would hand to the browser.
class UrlCatcher : public QObject {
    Q_OBJECT
  public slots:
    void open(const QUrl& url) { urls << url; }

  public:
    QList<QUrl> urls;
};

class TestDialogs : public QObject {
    Q_OBJECT
  private slots:
    void controls_data();
    void controls();
    void buttons_data();
    void buttons();
    void confirmationCentredOnScreen();
    void aboutAddressHoverAndClick();
    void aboutPlacement_data();
    void aboutPlacement();
    void openWindowBrowses();
};

void TestDialogs::controls_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QList<bool>>("switches"); // setLanguage calls, in order
    QTest::addColumn<QString>("section");
    for (const QString& d : kDialogs) {
        QTest::addRow("%s ru", qPrintable(d)) << d << QList<bool>{} << d;
        QTest::addRow("%s en", qPrintable(d)) << d << QList<bool>{true} << d + " en";
        QTest::addRow("%s en-ru", qPrintable(d)) << d << QList<bool>{true, false} << d;
    }
}

void TestDialogs::controls() {
    QFETCH(QString, dialog);
    QFETCH(QList<bool>, switches);
    QFETCH(QString, section);

    auto d = makeDialog(dialog);
    QVERIFY(d);
    for (bool english : switches)
        setLanguage(d.get(), english);

    QTemporaryDir tmp;
    int live = 0;
    const QString list = sectionList(section, tmp.path(), &live);
    QVERIFY(!list.isEmpty());
    QVERIFY2(live > 0, qPrintable("no rows for section " + section));
    QStringList faults = controlcheck::check(d.get(), list);
    faults.replaceInStrings(list, kList); // the line numbers are those of the real list
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestDialogs::buttons_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("action"); // a button's name, or a key
    QTest::addColumn<int>("result");
    const int ok = QDialog::Accepted, no = QDialog::Rejected;
    // Windows that ask before something irreversible: only OK goes ahead; Enter, Escape
    // and Cancel back out.
    for (const char* d : {"fmPredupr0A", "fmPredupr0B", "fmPredupr0E", "fmPredupr_Lambda_A",
                          "fmPredupr_Lambda_A_02"}) {
        QTest::addRow("%s OK", d) << d << "atb_OK" << ok;
        QTest::addRow("%s Cancel", d) << d << "atb_Cancel" << no;
        QTest::addRow("%s Escape", d) << d << "Escape" << no;
        QTest::addRow("%s Enter", d) << d << "Enter" << no;
    }
    for (const char* d : {"fmPredupr0C", "fmPredupr0D", "fmAbout"}) {
        QTest::addRow("%s OK", d) << d << "atb_OK" << ok;
        QTest::addRow("%s Enter", d) << d << "Enter" << ok;
        QTest::addRow("%s Escape", d) << d << "Escape" << no;
    }
    QTest::addRow("fm_3D_Open OK") << "fm_3D_Open"
                                   << "atb_3D_Open_alternetive_OK" << ok;
    QTest::addRow("fm_3D_Open Cancel") << "fm_3D_Open"
                                       << "atb_3D_Open_alternetive_Cancel" << no;
    QTest::addRow("fm_3D_Open Escape") << "fm_3D_Open"
                                       << "Escape" << no;
}

void TestDialogs::buttons() {
    QFETCH(QString, dialog);
    QFETCH(QString, action);
    QFETCH(int, result);

    auto d = makeDialog(dialog);
    QVERIFY(d);
    d->setResult(-1);
    d->open();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));

    if (action == "Escape") {
        QTest::keyClick(d.get(), Qt::Key_Escape);
    } else if (action == "Enter") {
        QTest::keyClick(d.get(), Qt::Key_Return);
    } else {
        auto* b = d->findChild<QPushButton*>(action);
        QVERIFY(b);
        QVERIFY(b->isVisible());
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), result);
}

void TestDialogs::confirmationCentredOnScreen() {
    // The main window is not where the warning goes: it is centred on the screen.
    QWidget host;
    host.setGeometry(40, 60, 500, 400);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    TfmPredupr_Lambda_A d(&host);
    setLanguage(&d, true); // the longer text
    d.open();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const QPoint centre = host.screen()->availableGeometry().center();
    const QPoint mine = d.frameGeometry().center();
    QVERIFY2((mine - centre).manhattanLength() <= 4,
             qPrintable(QString("centre %1,%2").arg(mine.x()).arg(mine.y())));
    QVERIFY(d.ui.Label1->height() >= d.ui.Label1->heightForWidth(d.ui.Label1->width()));
    d.reject();
}

void TestDialogs::aboutAddressHoverAndClick() {
    TfmAbout about;
    about.move(0, 0); // away from the pointer, which rests in the middle of the screen
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QLabel* link = about.ui.webAddress;
    const QColor normal = link->palette().color(QPalette::WindowText);
    QVERIFY(normal != QColor(Qt::blue));
    QVERIFY(!link->font().underline());

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), link->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(link, &enter);
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QVERIFY(link->font().underline());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    QCOMPARE(link->palette().color(QPalette::WindowText), normal);
    QVERIFY(!link->font().underline());

    // A click hands the address to the system browser, and only that.
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QTest::mouseClick(about.ui.Label2, Qt::LeftButton);
    QVERIFY(catcher.urls.isEmpty());
    QTest::mouseClick(link, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl(TfmAbout::address())});
    // The link leads to the program's own manual.
    QVERIFY(catcher.urls.first().isLocalFile());
    QVERIFY(catcher.urls.first().toLocalFile().endsWith(QStringLiteral("README.md")));
    QVERIFY(about.isVisible());
}

void TestDialogs::aboutPlacement_data() {
    QTest::addColumn<int>("mainLeft");
    QTest::addColumn<int>("mainWidth");
    QTest::addColumn<int>("tableWidth");
    QTest::addColumn<int>("expectedLeft"); // -1: flush with the screen's right edge
    QTest::newRow("full screen") << 0 << 1920 << 372 << 1548;
    QTest::newRow("window moved right") << 100 << 1500 << 372 << 1228;
    QTest::newRow("minimum window") << 0 << 1000 << 372 << 628;
    QTest::newRow("would run off the right") << 0 << 1920 << 100 << -1;
    QTest::newRow("would run off the left") << 0 << 300 << 372 << 0;
}

void TestDialogs::aboutPlacement() {
    QFETCH(int, mainLeft);
    QFETCH(int, mainWidth);
    QFETCH(int, tableWidth);
    QFETCH(int, expectedLeft);

    QWidget host;
    host.setGeometry(mainLeft, 0, mainWidth, 800);
    TfmAbout about(&host);
    const QRect area = host.screen()->availableGeometry();
    if (expectedLeft < 0) expectedLeft = area.right() + 1 - about.width();

    about.placeLeftEdge(mainWidth, tableWidth);
    QCOMPARE(about.x(), expectedLeft);
    QCOMPARE(about.y(), area.top() + (area.height() - about.height()) / 2);

    // Showing it must not move it back over the middle of its parent.
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.x(), expectedLeft);
}

void TestDialogs::openWindowBrowses() {
    QTemporaryDir tmp;
    QVERIFY(QDir(tmp.path()).mkdir("sub"));
    for (const QString& name : {QString("top.txt"), QString("sub/car1MAF.txt")}) {
        QFile f(tmp.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    auto names = [](QListWidget* list) {
        QStringList n;
        for (int i = 0; i < list->count(); ++i)
            n << list->item(i)->text();
        return n;
    };

    Tfm_3D_Open w;
    w.setDirectory(tmp.path());
    QCOMPARE(names(w.ui.dlbox_3D_Open), (QStringList{"..", "sub"}));
    QCOMPARE(names(w.ui.flbox_3D_Open), QStringList{"top.txt"});
    QVERIFY(w.selectedFile().isEmpty());

    w.setDirectory(tmp.filePath("missing"));
    QCOMPARE(w.directory(), QDir(tmp.path()).absolutePath());
    QCOMPARE(names(w.ui.flbox_3D_Open), QStringList{"top.txt"});

    emit w.ui.dlbox_3D_Open->itemActivated(w.ui.dlbox_3D_Open->item(1));
    QCOMPARE(w.directory(), QDir(tmp.filePath("sub")).absolutePath());
    QCOMPARE(names(w.ui.flbox_3D_Open), QStringList{"car1MAF.txt"});

    w.open();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ui.flbox_3D_Open->setCurrentRow(0);
    QTest::mouseClick(w.ui.atb_3D_Open_alternetive_OK, Qt::LeftButton);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(w.selectedFile(), QFileInfo(tmp.filePath("sub/car1MAF.txt")).absoluteFilePath());

    emit w.ui.dlbox_3D_Open->itemActivated(w.ui.dlbox_3D_Open->item(0)); // ".."
    QCOMPARE(w.directory(), QDir(tmp.path()).absolutePath());
    QVERIFY(w.selectedFile().isEmpty());
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
