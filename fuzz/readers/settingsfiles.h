#pragma once
// The settings files read into the window, line by line.
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

// Puts file in place of `name` and runs read, which reads it into the window. Each line
// stands on its own: a bad one costs only its own value, so whatever the file holds, the
// window then writes files that read back without a fault and write again the same.
inline void check(const QByteArray& file, const QString& name, const std::function<bool(QString*)>& read) {
    TForm1& w = *&fuzzwin::window();
    fuzzwin::writeAll(name, file);
    QString error;
    read(&error);
    fuzzwin::takeErrors();
    const QByteArray after = written(w);
    QString again;
    FUZZ_CHECK(read(&again) && again.isEmpty(), again);
    FUZZ_CHECK(written(w) == after, QString::fromLocal8Bit(after.left(400)));
}

} // namespace settingsfiles
