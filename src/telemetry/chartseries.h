#pragma once
// Fixed facts about the eleven plotted parameters that both chart panels need: their
// codes, which vertical axis they use and their colours before the user picks others.
// Series numbers are the indexes of the parameter chart's series (0 = injection time,
// 10 = digital MAF pulse frequency).

#include <QColor>
#include <QString>

namespace chartseries {

inline constexpr int Count = 11;

// Colour from the integer form the configuration file and the colour values of the
// window use: 0x00BBGGRR (blue in the high byte, red in the low byte).
QColor fromBgr(quint32 bgr);

// Short code of a series ("SP", "STR", "AI", "L1", "L2", "U1do", "U1posle", "U2do",
// "U2posle", "TP", "SD"); empty for an index outside 0..10.
QString code(int series);

// True for the two series drawn against the right axis (crankshaft speed and digital MAF
// pulse frequency); false for the others and for an index outside 0..10.
bool onRightAxis(int series);

// Colour of a series' colour button and of its points until the user chooses another;
// black for an index outside 0..10.
QColor initialColor(int series);

// Fixed point colour of navigator strip series 0..10 (the strip orders its series
// differently from the chart); black for an index outside 0..10.
QColor navigatorColor(int navSeries);

} // namespace chartseries
