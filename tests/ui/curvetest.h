#pragma once
// Helpers for the emulation curve tests: the module's point addresses and items (from its
// own memory map, not the tool's codec), the texts a point must show for a byte, and a demo
// TR-90 opened without the identification chain.
#include "common/hex.h"
#include "sim/simmemory.h"
#include "tables/curvepanel.h"
#include "tables/tabletransfer.h"
#include "windowtest.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <functional>

namespace ct {

inline int pointAddress(int curve, int i) {
    return curve == 2 ? sim::reg::curve2Point(i) : sim::reg::curve1Point(i);
}

inline QStringList readItems(int curve) {
    QStringList items;
    for (int i = 1; i <= 64; ++i)
        items << readRegItem(pointAddress(curve, i));
    return items;
}

inline CurvePanel* panel(TForm1& w, int curve) {
    return curve == 2 ? w.Panel_Emu_2 : w.Panel_Emu;
}

inline QTimer* readTimer(TForm1& w, int curve, bool filtered) {
    if (curve == 2) return filtered ? w.Ex->Timer_Chart_2D_Filter_2 : w.Ex->Timer_Chart_2D_2;
    return filtered ? w.Ex->Timer_Chart_2D_Filter : w.Ex->Timer_Chart_2D;
}
inline QTimer* writeTimer(TForm1& w, int curve) {
    return curve == 2 ? w.Ex->Timer_2D_Table_In_2 : w.Ex->Timer_2D_Table_In;
}
inline QTimer* liveTimer(TForm1& w, int curve) {
    return curve == 2 ? w.Ex->Timer_YellowPoints_2 : w.Ex->Timer_YellowPoints;
}

// A number in the locale's notation: shortest text, up to 15 significant digits.
inline QString number(double v) {
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    return loc.toString(v, 'g', 15);
}
// The grid text of a point byte: whole hundredths of byte / 48, at most 5.
inline QString pointText(int byte) {
    return number(std::min(500, byte * 100 / 48) / 100.0);
}
inline double pointVolts(int byte) {
    return std::min(5.0, byte / 48.0);
}

// A spread of bytes over the whole range, both ends and the 5 V limit included.
inline int patternByte(int curve, int i) {
    if (i == 1) return 0;
    if (i == 64) return 255;
    return (i * 37 + curve * 11) % 256;
}

// Opens the demo TR-90 without the identification chain and frees the interface; the
// module's points of both curves hold byte(curve, i).
inline sim::SimModule* openDemo(TForm1& w,
                                const std::function<int(int curve, int i)>& byte = patternByte) {
    w.BComPort1->setPort(QStringLiteral("DEMO TR-90"));
    w.BComPort1->Open_Port();
    sim::SimModule* m = w.BComPort1->demoModule();
    if (!m) return nullptr;
    for (int curve : {1, 2})
        for (int i = 1; i <= 64; ++i)
            m->setReg(pointAddress(curve, i), quint8(byte(curve, i)));
    w.Btn_UnBlockClick();
    return m;
}

// The bytes point i may show after a read. The module's answers carry no address: when the
// item before was sent again because its answer came later than the next tick (a busy
// machine), the repeated answer may arrive after the next item left and be taken for its
// answer, as the exchange defines it.
inline QList<int> readableBytes(int curve, sim::SimModule* m, int i) {
    const QStringList items = readItems(curve);
    const QStringList sent = m->receivedItems();
    QList<int> ok{m->reg(pointAddress(curve, i))};
    for (int q = i - 1; q >= 1 && sent.count(items.at(q - 1)) >= 2; --q)
        ok << m->reg(pointAddress(curve, q));
    return ok;
}

// Centre of a 9 x 9 shape.
inline QPoint centreOf(const QWidget* s) {
    return s->geometry().topLeft() + QPoint(4, 4);
}

} // namespace ct
