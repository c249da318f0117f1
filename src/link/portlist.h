#pragma once
// What the port list offers: the system's serial ports sorted as text, without repeats, then
// the demo ports of the simulated modules. One rule for the list at start (TBComPort) and for
// the list the port watcher keeps; only systemPorts() asks the system.

#include <QStringList>

namespace portlist {

// The demo ports' names, in the order the list shows them ("DEMO TR-70", "DEMO TR-90").
const QStringList& demoPorts();
// Device names sorted as plain text (so COM10 comes before COM2), without repeats.
QStringList sorted(QStringList names);
// The list's items for these system ports.
QStringList items(const QStringList& systemPorts);
// The device paths of the system's serial ports (walks the device tree: tens of
// milliseconds, which is why the port watcher asks on a worker thread).
QStringList systemPorts();

} // namespace portlist
