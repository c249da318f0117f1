#pragma once
// The settings files read into the window: a file the window rejects changes nothing of
// what it would write back, and one it accepts is written back as it reads.
#include "fuzzwindow.h"

#include "app/configuration.h"
#include "app/mainwindow.h"

#include <functional>

namespace settingsfiles {

// Both files as the window writes them now.
inline QByteArray written(TForm1& w) {
    QString error;
    FUZZ_CHECK(w.Config->write(&error), error);
    return fuzzwin::readAll(Configuration::InfoFile) + "\n--\n" + fuzzwin::readAll(Configuration::ConfigFile);
}

// Puts file in place of `name` and runs read, which reads it into the window.
inline void check(const QByteArray& file, const QString& name, const std::function<bool(QString*)>& read) {
    TForm1& w = *&fuzzwin::window();
    const QByteArray before = written(w);
    fuzzwin::writeAll(name, file);
    QString error;
    const bool ok = read(&error);
    fuzzwin::takeErrors();
    const QByteArray after = written(w);
    if (!ok) {
        FUZZ_CHECK(!error.isEmpty(), QString());
        FUZZ_CHECK(after == before, error);
        return;
    }
    // What the window took from the file it writes so that it reads back the same.
    QString again;
    FUZZ_CHECK(read(&again), again);
    FUZZ_CHECK(written(w) == after, QString::fromLocal8Bit(after.left(400)));
}

} // namespace settingsfiles
