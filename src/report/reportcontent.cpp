#include "report/reportcontent.h"

#include "common/numtext.h"
#include "common/textlines.h"
#include "settings/settingshistory.h"
#include "tables/curvecodec.h"
#include "tables/tablecodec.h"
#include "tables/tablefiles.h"
#include "tables/transfercursor.h"

#include <QSet>

#include <algorithm>

#include <cmath>

namespace report {

namespace {

bool fail(Damaged* damaged, Fault fault, int line = 0) {
    if (damaged) {
        damaged->fault = fault;
        damaged->line = line;
    }
    return false;
}

bool failedCheck(const tablefiles::FileCheck& check, Damaged* damaged) {
    if (check.fault == textlines::Fault::NotText) return fail(damaged, Fault::NotText, check.badLine);
    if (check.fault == textlines::Fault::TooLong) return fail(damaged, Fault::TooLong, check.badLine);
    return fail(damaged, check.lineMissing ? Fault::Missing : Fault::NotNumber, check.badLine);
}

// The byte a table cell's text stands for; -1 when not a number, -2 when out of range.
int tableByte(TableKind kind, const QString& text) {
    double v = 0;
    if (!parseNumber(text, &v)) return -1;
    if (kind == TableKind::Voltage) {
        // The voltage cells hold byte / 52 at full precision.
        const double byte = v * 52.0;
        if (byte < -0.5 || byte > 255.5) return -2;
        return int(roundHalfEven(byte));
    }
    if (v != std::floor(v)) return -1;
    if (v < -128 || v > 127) return -2;
    return int(v) + 128;
}

bool parseCells(TableKind kind, const QByteArray& bytes, Copy* copy, Damaged* damaged) {
    QList<int> out;
    if (isCurve(kind)) {
        const tablefiles::CurveFile f = tablefiles::parseCurve(bytes);
        if (!f.ok()) return failedCheck(f, damaged);
        for (int i = 0; i < Cells; ++i) {
            const double v = f.volts.value(i, -1);
            if (f.texts.value(i).trimmed().isEmpty()) return fail(damaged, Fault::NotNumber, i + 1);
            // A point holds at most 5 V (the grid shows no more, a write sends no more).
            if (!(v >= 0 && v <= curvecodec::VoltMax)) return fail(damaged, Fault::OutOfRange, i + 1);
            out << curvecodec::voltageByte(v);
        }
    } else {
        const tablefiles::TableFile f = tablefiles::parseTable(bytes);
        if (!f.ok()) return failedCheck(f, damaged);
        for (int i = 0; i < Cells; ++i) {
            const int b = tableByte(kind, f.texts.value(i));
            if (b < 0) return fail(damaged, b == -1 ? Fault::NotNumber : Fault::OutOfRange, i + 1);
            out << b;
        }
    }
    if (copy) copy->bytes = out;
    return true;
}

QDateTime wholeSecond(const QDateTime& t) {
    QDateTime out = t;
    out.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return out;
}

} // namespace

bool parseCopy(TableKind kind, const QByteArray& bytes, Copy* copy, Damaged* damaged) {
    if (bytes.size() > MaxCopyBytes) return fail(damaged, Fault::TooLarge);
    if (kind != TableKind::Settings) return parseCells(kind, bytes, copy, damaged);
    QMap<int, int> registers;
    int badLine = 0;
    if (!settingshistory::decode(bytes, &registers, &badLine)) {
        const textlines::Lines split = textlines::split(bytes, badLine > 0 ? badLine : 1);
        if (split.fault == textlines::Fault::NotText) return fail(damaged, Fault::NotText, badLine);
        if (split.fault == textlines::Fault::TooLong) return fail(damaged, Fault::TooLong, badLine);
        return fail(damaged, badLine == 0 ? Fault::Empty : Fault::BadLine, badLine);
    }
    if (copy) copy->registers = registers;
    return true;
}

bool readCopy(const history::Entry& entry, Copy* copy, Damaged* damaged) {
    if (damaged) *damaged = Damaged{entry.path, Fault::Unreadable, 0, QString()};
    QByteArray bytes;
    QString reason;
    if (!textlines::readPrefix(entry.path, MaxCopyBytes + 1, &bytes, &reason)) {
        if (damaged) damaged->reason = reason;
        return fail(damaged, Fault::Unreadable);
    }
    Copy read;
    read.entry = entry;
    if (!parseCopy(entry.kind, bytes, &read, damaged)) return false;
    if (copy) *copy = read;
    return true;
}

const Part* Content::part(TableKind kind) const {
    for (const Part& p : parts)
        if (p.kind == kind) return &p;
    return nullptr;
}

bool Content::changed() const {
    for (const Part& p : parts)
        if (!p.changes.isEmpty()) return true;
    return false;
}

const QList<TableKind>& reportOrder() {
    using K = TableKind;
    static const QList<K> order{K::Settings, K::Lambda, K::Maf, K::Voltage, K::Curve1, K::Curve2};
    return order;
}

QList<Change> compare(TableKind kind, const Copy& before, const Copy& after) {
    QList<Change> out;
    if (kind == TableKind::Settings) {
        QList<int> regs = before.registers.keys() + after.registers.keys();
        std::sort(regs.begin(), regs.end());
        regs.erase(std::unique(regs.begin(), regs.end()), regs.end());
        for (int r : regs) {
            const int a = before.registers.value(r, -1), b = after.registers.value(r, -1);
            if (a != b) out << Change{r, a, b};
        }
        return out;
    }
    for (int i = 0; i < Cells; ++i) {
        const int a = before.bytes.value(i, -1), b = after.bytes.value(i, -1);
        if (a != b) out << Change{i, a, b};
    }
    return out;
}

Content choose(const QList<history::Entry>& copies, const QDateTime& since, const CopyReader& read) {
    Content c;
    c.since = since;
    const QDateTime start = wholeSecond(since);
    QSet<QString> named;
    auto take = [&](const history::Entry& e, Copy* copy) {
        Damaged d{e.path, Fault::Unreadable, 0, QString()};
        if (read(e, copy, &d)) return true;
        if (!named.contains(e.path)) {
            named.insert(e.path);
            if (d.path.isEmpty()) d.path = e.path;
            c.damaged << d;
        }
        return false;
    };
    for (TableKind kind : reportOrder()) {
        QList<Copy> work;
        for (const history::Entry& e : copies) {
            if (e.kind != kind || e.when < start) continue;
            Copy copy;
            if (take(e, &copy)) work << copy;
        }
        if (work.isEmpty()) continue;
        Part p;
        p.kind = kind;
        p.copies = int(work.size());
        if (work.first().entry.direction == history::Direction::Read) {
            p.before = Side{true, false, work.first()};
        } else {
            // The newest readable copy from before the work is the module's state before it.
            for (qsizetype i = copies.size() - 1; i >= 0; --i) {
                const history::Entry& e = copies.at(i);
                if (e.kind != kind || e.when >= start) continue;
                Copy copy;
                if (take(e, &copy)) {
                    p.before = Side{true, true, copy};
                    break;
                }
            }
        }
        for (qsizetype i = work.size() - 1; i >= 0; --i) {
            if (kind == TableKind::Settings || work.at(i).entry.direction == history::Direction::Written) {
                p.after = Side{true, false, work.at(i)};
                break;
            }
        }
        if (p.before.present && p.after.present) p.changes = compare(kind, p.before.copy, p.after.copy);
        for (const Copy& w : work) {
            if (!c.first.isValid() || w.entry.when < c.first) c.first = w.entry.when;
            if (!c.last.isValid() || w.entry.when > c.last) c.last = w.entry.when;
        }
        c.parts << p;
    }
    return c;
}

QList<QDateTime> workDays(const QList<history::Entry>& copies) {
    QMap<QDate, QDateTime> firstOfDay;
    for (const history::Entry& e : copies) {
        const QDate day = e.when.date();
        if (!firstOfDay.contains(day) || e.when < firstOfDay.value(day)) firstOfDay.insert(day, e.when);
    }
    QList<QDateTime> out = firstOfDay.values();
    std::reverse(out.begin(), out.end());
    return out;
}

} // namespace report
