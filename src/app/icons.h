#pragma once
// Small pictograms drawn in code for the tool bar and panel buttons, so that the look
// does not depend on an icon theme being installed.

#include <QIcon>

namespace icons {
QIcon plugIn();      // connect
QIcon plugOut();     // disconnect
QIcon dropDown();    // opens a list
QIcon flagRussia();
QIcon flagEngland();
QIcon info();
QIcon send();
} // namespace icons
