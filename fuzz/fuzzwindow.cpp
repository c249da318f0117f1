#include "fuzzwindow.h"

#include "app/mainwindow.h"
#include "telemetry/liverecorder.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzzwin {
namespace {
QStringList g_errors;
QString g_fileAnswer;
} // namespace

void startApplication() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own messages (a widget without a screen, font warnings) are not findings.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

QString workDir() {
    // Under FUZZ_WORKDIR when the caller names one (a run's end does not remove the
    // directory); else in memory where the machine offers it, as the settings files are
    // saved with a sync.
    static const QString parent = !qEnvironmentVariableIsEmpty("FUZZ_WORKDIR") ? qEnvironmentVariable("FUZZ_WORKDIR")
                                  : QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                              : QDir::tempPath();
    static QTemporaryDir dir(parent + QStringLiteral("/fuzz-XXXXXX"));
    if (!dir.isValid()) fail("no temporary directory");
    return dir.path();
}

TForm1& window() {
    static TForm1* w = [] {
        startApplication();
        if (!QDir::setCurrent(workDir())) fail("cannot enter the temporary directory");
        auto* win = new TForm1;
        win->Ctx.confirm = [](QDialog*) { return true; };
        win->Ctx.error = [](const QString& text) { g_errors << text; };
        win->Ctx.openFileName = [](const QString&, const QString&, std::optional<TableKind>) { return g_fileAnswer; };
        win->Ctx.saveFileName = [](const QString&, const QString&) { return g_fileAnswer; };
        return win;
    }();
    return *w;
}

QString& fileAnswer() { return g_fileAnswer; }

QStringList takeErrors() { return std::exchange(g_errors, QStringList()); }

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fail("cannot write a file for the reader", path);
}

void showRecordAfresh(int rows, const std::function<void(TForm1&)>& show) {
    TForm1& w = window();
    LiveRecorder& r = *w.Recorder;
    r.atb_Chart1_ClearClick();
    show(w);
    if (r.Arhiv.samples() != rows) fail("the archive holds the rows read", QString::number(r.Arhiv.samples()));
    if (r.Navigator.samples() != rows) fail("the navigator holds the rows read", QString::number(r.Navigator.samples()));
    if (r.chart().sampleCount() != rows) fail("the chart holds the rows read", QString::number(r.chart().sampleCount()));
    takeErrors();
}

void fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "\n*** broken property: %s\n    %s\n", what, qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzzwin
