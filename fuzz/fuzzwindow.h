#pragma once
// What every fuzz target shares: the application (headless), the one main window of a run
// with its dialog hooks answered at once, and the check that ends a run with a report.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class TForm1;

namespace fuzzwin {

// Creates the application on the offscreen platform; call from LLVMFuzzerInitialize.
void startApplication();

// The window of this run, created on first use in a private current directory (where its
// settings files go). Confirmations are accepted, file dialogs answer fileAnswer(), and
// errors are collected instead of shown.
TForm1& window();
// The path the next file dialog answers; empty means the user cancelled.
QString& fileAnswer();
// The errors reported to the user since the last call.
QStringList takeErrors();
// The window's private directory.
QString workDir();

// A file's bytes, or an empty array.
QByteArray readAll(const QString& path);
// Writes a file whole; aborts the run when it cannot.
void writeAll(const QString& path, const QByteArray& bytes);

// Runs `show` (a record load or a journal restore) on a cleared parameter chart and checks
// that the archive, the navigator and the chart then hold exactly `rows` samples. Both add
// to what the chart shows, so each input starts from a cleared chart: a million inputs
// would otherwise keep every earlier input's samples.
void showRecordAfresh(int rows, const std::function<void(TForm1&)>& show);

// Reports a broken property with the text and aborts, so libFuzzer keeps the input.
[[noreturn]] void fail(const char* what, const QString& detail = QString());

} // namespace fuzzwin

#define FUZZ_CHECK(cond, detail)                                                        \
    do {                                                                                \
        if (!(cond)) fuzzwin::fail(#cond, detail);                                      \
    } while (0)
