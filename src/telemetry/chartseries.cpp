#include "telemetry/chartseries.h"

#include <array>

namespace chartseries {
namespace {

struct SeriesFacts {
    const char* code;
    bool right;
    quint32 colorBgr;
};

// Colours are kept in the 0x00BBGGRR form the configuration file stores, so that a value
// read from there and a default here mean the same thing.
constexpr std::array<SeriesFacts, Count> kSeries{{
    {"SP", false, 0x00FFFF},      // yellow
    {"STR", false, 10485760},     // dark blue
    {"AI", false, 33023},         // orange
    {"L1", false, 0x800000},      // navy
    {"L2", false, 0xFF00FF},      // fuchsia
    {"U1do", false, 0x808000},    // teal
    {"U1posle", false, 2450868},  // brown
    {"U2do", false, 0xFF0000},    // blue
    {"U2posle", false, 0x0000FF}, // red
    {"TP", true, 55552},          // green
    {"SD", true, 10485760},       // dark blue
}};

constexpr std::array<quint32, Count> kNavigator{{
    255,      // L1: red
    32768,    // TP: green
    32896,    // U1do: olive
    128,      // L2: maroon
    65280,    // U1posle: lime
    16711808, // U2do: violet
    8388608,  // SP: navy
    8421376,  // STR: teal
    255,      // SD: red
    16711935, // AI: fuchsia
    16776960, // U2posle: aqua
}};

bool valid(int i) { return i >= 0 && i < Count; }

} // namespace

QColor fromBgr(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QString code(int series) {
    return valid(series) ? QString::fromLatin1(kSeries[series].code) : QString();
}

bool onRightAxis(int series) { return valid(series) && kSeries[series].right; }

QColor initialColor(int series) {
    return valid(series) ? fromBgr(kSeries[series].colorBgr) : QColor(Qt::black);
}

QColor navigatorColor(int navSeries) {
    return valid(navSeries) ? fromBgr(kNavigator[navSeries]) : QColor(Qt::black);
}

} // namespace chartseries
