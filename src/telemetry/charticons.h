#pragma once
// Drawn icons for the parameter chart's buttons. They are painted once on first use, so the
// look does not depend on the desktop's icon theme or on any symbol font.

#include <QIcon>

namespace charticons {

QIcon record();        // red dot: start a recording
QIcon pause();         // two bars
QIcon resume();        // green triangle: continue a paused recording
QIcon stop();          // dark square
QIcon clearChart();    // small chart crossed out
QIcon openFile();      // open folder
QIcon saveFile();      // diskette
QIcon toBegin();       // bar and double triangle pointing left
QIcon pageLeft();      // double triangle pointing left
QIcon stepLeft();      // triangle pointing left
QIcon stepRight();     // triangle pointing right
QIcon pageRight();     // double triangle pointing right
QIcon toEnd();         // double triangle pointing right and bar
QIcon showNavigator(); // overview strip with its shaded window
QIcon showAxes();      // two rulers either side of a plot
QIcon stepUp();        // one small triangle up
QIcon stepDown();      // one small triangle down
QIcon stepUp10();      // two stacked triangles up
QIcon stepDown10();    // two stacked triangles down

} // namespace charticons
