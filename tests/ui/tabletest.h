#pragma once
// Helpers for the table transfer tests: the module's cells by table, the items the
// module must receive (built from its own memory map, not from the tool's codec), and the
// texts a cell must show for a byte.
#include "common/hex.h"
#include "sim/simmemory.h"
#include "tables/table3dpanel.h"
#include "tables/tabletransfer.h"
#include "windowtest.h"

#include <QLocale>

#include <cmath>
#include <functional>

namespace tt {

inline int cellAddress(TableKind kind, int c, int r) {
    return kind == TableKind::Lambda ? sim::reg::lambdaCell(c, r) : sim::reg::mafCell(c, r);
}

// Calls f(c, r) for the 64 cells in the order a transfer walks them.
inline void forEachCell(const std::function<void(int c, int r)>& f) {
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 8; ++c) f(c, r);
}

// The point of curve 1 stored at a module address (0 if none), by the module's own map.
inline int curve1PointAt(int address) {
    for (int i = 1; i <= 64; ++i)
        if (sim::reg::curve1Point(i) == address) return i;
    return 0;
}

inline QStringList readItems(TableKind kind) {
    QStringList items;
    forEachCell([&](int c, int r) { items << readRegItem(cellAddress(kind, c, r)); });
    return items;
}

// A number in the locale's notation: shortest text, up to 15 significant digits.
inline QString number(double v) {
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    return loc.toString(v, 'g', 15);
}

// What a read shows for a byte: byte - 128, or (voltage) whole hundredths of byte / 52.
inline QString shownText(TableKind kind, int byte) {
    if (kind == TableKind::Voltage) return number((byte * 100 / 52) / 100.0);
    return QString::number(byte - 128);
}
// The curve grid's text for a point byte: whole hundredths of byte / 48, at most 5.
inline QString curveText(int byte) { return number(std::min(500, byte * 100 / 48) / 100.0); }

// The bytes each cell (in walk order) may show after a read of the module's memory. A cell
// shows its own byte; but the module's answers carry no address, so when the item before
// it was sent again because its answer was later than the next tick (a busy machine),
// the repeated answer can arrive after the next item left and be taken as that item's
// answer. Then a cell may show an earlier cell's byte, as the exchange defines it.
inline QList<QList<int>> readableBytes(TableKind kind, sim::SimModule* m) {
    const QStringList items = readItems(kind);
    const QStringList sent = m->receivedItems();
    QList<int> bytes;
    forEachCell([&](int c, int r) { bytes << m->reg(cellAddress(kind, c, r)); });
    QList<QList<int>> out;
    for (int p = 0; p < bytes.size(); ++p) {
        QList<int> ok{bytes.at(p)};
        for (int q = p - 1; q >= 0 && sent.count(items.at(q)) >= 2; --q) ok << bytes.at(q);
        out << ok;
    }
    return out;
}

// Checks text(c, r) against the texts of the bytes a read may leave in each cell (all of
// them, or only those for which `check` holds); returns the first disagreement.
inline QString checkRead(TableKind kind, sim::SimModule* m, const std::function<QString(int, int)>& text,
                         const std::function<QString(int byte)>& expected,
                         const std::function<bool(int, int)>& check = {}) {
    const QList<QList<int>> readable = readableBytes(kind, m);
    QString fault;
    int repeated = 0;
    forEachCell([&](int c, int r) {
        if (!fault.isEmpty() || (check && !check(c, r))) return;
        const QList<int>& ok = readable.at((r - 1) * 8 + c - 1);
        const QString got = text(c, r);
        for (int k = 0; k < ok.size(); ++k) {
            if (got == expected(ok.at(k))) {
                repeated += k > 0;
                return;
            }
        }
        fault = QStringLiteral("cell (%1,%2): %3, expected %4").arg(c).arg(r).arg(got, expected(ok.first()));
    });
    if (repeated) qInfo("%d cell(s) took a repeated answer of the cell before", repeated);
    return fault;
}

inline bool connected(TForm1& w) {
    return !w.Ex->Timer_Read->isActive() && w.windowTitle().contains(QStringLiteral("Модель"));
}

inline QTimer* readTimer(TForm1& w, TableKind kind) {
    switch (kind) {
    case TableKind::Lambda: return w.Ex->Timer_Lambda_Out_1;
    case TableKind::Voltage: return w.Ex->Timer_MAF_TR_90_Out_1;
    default: break;
    }
    return w.Ex->Timer_MAF_Out_1;
}

inline QTimer* writeTimer(TForm1& w, TableKind kind) {
    switch (kind) {
    case TableKind::Lambda: return w.Ex->Timer_Lambda_In;
    case TableKind::Voltage: return w.Ex->Timer_MAF_TR_90_In;
    default: break;
    }
    return w.Ex->Timer_MAF_In;
}

// The view button, and the read and write buttons of a table.
inline QToolButton* viewButton(TForm1& w, TableKind kind) {
    return kind == TableKind::Lambda ? w.atb_Lambda : kind == TableKind::Maf ? w.atb_MAF : w.atb_MAF_TR_90;
}
inline QToolButton* readButton(TForm1& w, TableKind kind) {
    const auto& ui = w.Panel_3D->ui;
    return kind == TableKind::Lambda ? ui.atb_Lambda_Out : kind == TableKind::Maf ? ui.atb_MAF_Out : ui.atb_MAF_TR_90_Out;
}
inline QToolButton* writeButton(TForm1& w, TableKind kind) {
    const auto& ui = w.Panel_3D->ui;
    return kind == TableKind::Lambda ? ui.atb_Lambda_In : kind == TableKind::Maf ? ui.atb_MAF_In : ui.atb_MAF_TR_90_In;
}

inline QString port(TableKind kind) {
    return kind == TableKind::Voltage ? QStringLiteral("DEMO TR-90") : QStringLiteral("DEMO TR-70");
}

// Connects to a demo module whose cells of `kind` hold byte(c, r); true once identified.
inline sim::SimModule* connectWithCells(TForm1& w, TableKind kind, const std::function<int(int, int)>& byte) {
    return wt::connectDemo(w, port(kind), [&](sim::SimModule* m) {
        forEachCell([&](int c, int r) { m->setReg(cellAddress(kind, c, r), quint8(byte(c, r))); });
    });
}

// Opens the demo port of the table's model without the identification chain (which the
// transfers do not need) and frees the interface; the module's cells hold byte(c, r).
inline sim::SimModule* openWithCells(TForm1& w, TableKind kind, const std::function<int(int, int)>& byte) {
    w.BComPort1->setPort(port(kind));
    w.BComPort1->Open_Port();
    sim::SimModule* m = w.BComPort1->demoModule();
    if (!m) return nullptr;
    forEachCell([&](int c, int r) { m->setReg(cellAddress(kind, c, r), quint8(byte(c, r))); });
    w.Btn_UnBlockClick();
    return m;
}

// A spread of bytes over the whole range, the two ends included.
inline int patternByte(int c, int r) {
    if (c == 1 && r == 1) return 0;
    if (c == 8 && r == 8) return 255;
    return (c * 37 + r * 101) % 256;
}

} // namespace tt
