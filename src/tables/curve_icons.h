#pragma once
// Drawn icons for the curve panel's buttons. They are painted once on first use, so the
// look does not depend on the desktop's icon theme or on any symbol font.

#include <QIcon>

namespace curveicons {

QIcon readFromModule(); // arrow coming down out of the module
QIcon writeToModule();  // arrow going up into the module
QIcon openFile();       // open folder
QIcon saveFile();       // diskette
QIcon livePoints();     // a few live points on a small plot
QIcon stop();           // red square
QIcon stepDown();       // minus
QIcon stepUp();         // plus

} // namespace curveicons
