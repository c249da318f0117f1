#pragma once
// The pictures of the window's pictogram buttons, drawn in code so that the look does not
// depend on an icon theme or a symbol font. One function per picture; a picture that means
// the same thing on several panels (open a file, write to the module, step a value) is one
// function used by all of them. Each icon is built once and then shared; it renders sharp
// at any size and device pixel ratio and fades when its button is disabled.

#include <QIcon>

namespace icons {

// Main window tool bar
QIcon connectModule();    // plug going into its socket
QIcon disconnectModule(); // plug pulled out
QIcon dropDown();         // opens the list beside it
QIcon flagRussia();       // 3:2, like the flags themselves
QIcon flagEngland();
QIcon info();             // "i" in a circle
QIcon send();             // paper plane

// Module and files: the same pictures on the 3D table, curve and chart panels
QIcon readFromModule();   // arrow coming up out of the module
QIcon writeToModule();    // arrow going down into the module
QIcon openFile();         // open folder
QIcon saveFile();         // diskette

// Value steppers: settings panel, live-point count, chart limits and page width
QIcon stepUp();           // one triangle up
QIcon stepDown();         // one triangle down
QIcon stepUp10();         // two stacked triangles up: a ten times larger step
QIcon stepDown10();       // two stacked triangles down

// 3D table panel: turning the surface and keeping an orientation
QIcon rotateLeft();
QIcon rotateRight();
QIcon rotateUp();
QIcon rotateDown();
QIcon rotateCounterClockwise(); // about the axis facing the viewer
QIcon rotateClockwise();
QIcon zoom();
QIcon pushOrientation();        // put the current orientation away
QIcon popOrientation();         // bring the stored orientation back
QIcon defaultOrientation();     // three axes from one origin

// Curve panels: live points on the chart
QIcon livePoints();       // a few live points on a small plot

// Parameter chart: recording
QIcon record();           // red dot
QIcon pause();            // two bars
QIcon resume();           // green triangle
QIcon stop();             // dark square; also stops the curve panels' live points
QIcon clearChart();       // small chart crossed out

// Parameter chart: navigator and axes
QIcon toBegin();          // bar and double triangle pointing left
QIcon pageLeft();         // double triangle pointing left
QIcon stepLeft();         // triangle pointing left
QIcon stepRight();        // triangle pointing right
QIcon pageRight();        // double triangle pointing right
QIcon toEnd();            // double triangle pointing right and bar
QIcon showNavigator();    // overview strip with its shaded window
QIcon showAxes();         // two rulers either side of a plot

} // namespace icons
