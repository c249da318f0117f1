#pragma once
// The settings files read into the window, line by line.
#include "fuzzwindow.h"

#include "app/configuration.h"
#include "app/mainwindow.h"
#include "common/textlines.h"

#include <QRegularExpression>

#include <functional>

namespace settingsfiles {

// Both files as the window writes them now.
inline QByteArray written(TForm1& w) {
    QString error;
    FUZZ_CHECK(w.Config->write(&error), error);
    return fuzzwin::readAll(Configuration::InfoFile) + "\n--\n" + fuzzwin::readAll(Configuration::ConfigFile);
}

// The lines of `name` as the window writes it now.
inline QStringList writtenLines(TForm1& w, const QString& name) {
    written(w);
    return textlines::split(fuzzwin::readAll(name)).lines;
}

// The line a message names ("строка 12: ..." / "line 12: ..."), or 0.
inline int namedLine(const QString& message) {
    static const QRegularExpression re(QStringLiteral("(?:строка|line) (\\d+):"));
    const QRegularExpressionMatch m = re.match(message);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// Puts file in place of `name` and runs read, which reads it into the window. Each line
// stands on its own: a bad one costs only its own value, so whatever the file holds, the
// window then writes files that read back without a fault and write again the same. A
// file refused in part keeps the window's value for the line its message names and for
// every line the file does not have; one refused whole changes nothing at all.
inline void check(const QByteArray& file, const QString& name, const std::function<bool(QString*)>& read) {
    TForm1& w = *&fuzzwin::window();
    const QStringList before = writtenLines(w, name);
    fuzzwin::writeAll(name, file);
    QString error;
    const bool taken = read(&error);
    fuzzwin::takeErrors();
    const QByteArray after = written(w);
    const QStringList afterLines = textlines::split(fuzzwin::readAll(name)).lines;
    FUZZ_CHECK(afterLines.size() == before.size(), QString::number(afterLines.size()));
    if (!taken || !error.isEmpty()) {
        const textlines::Lines lines = textlines::split(file);
        for (qsizetype k = lines.lines.size(); k < before.size(); ++k)
            FUZZ_CHECK(afterLines.at(k) == before.at(k),
                       QStringLiteral("line %1 the file lacks: %2").arg(k + 1).arg(afterLines.at(k)));
        const int bad = namedLine(error);
        if (bad == 0) // not read at all
            FUZZ_CHECK(afterLines == before, error);
        else if (bad <= before.size())
            FUZZ_CHECK(afterLines.at(bad - 1) == before.at(bad - 1),
                       QStringLiteral("refused line %1: %2").arg(bad).arg(afterLines.at(bad - 1)));
    }
    QString again;
    FUZZ_CHECK(read(&again) && again.isEmpty(), again);
    FUZZ_CHECK(written(w) == after, QString::fromLocal8Bit(after.left(400)));
}

} // namespace settingsfiles
