#pragma once
// Small drawn icons for the settings panel's arrow buttons. The buttons keep their
// one-letter captions as data; the icon is only how they look.

#include <QIcon>

namespace panelicons {

// A filled triangle pointing up (Qt::UpArrow) or down (Qt::DownArrow), drawn in the
// palette's button-text colour and greyed out for disabled buttons.
QIcon arrow(Qt::ArrowType direction);

} // namespace panelicons
