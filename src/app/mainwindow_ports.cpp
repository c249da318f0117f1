#include "app/configuration.h"
#include "app/mainwindow.h"
#include "link/portwatcher.h"
#include "link/tbcomport.h"

void TForm1::watchPorts() {
    Ports = new PortWatcher(cbPort, [this] { return BComPort1->isOpen(); }, PortWatcher::systemPorts, this);
    Ports->setObjectName(QStringLiteral("Ports"));
    // The settings file stores the chosen index with the number of ports it was chosen
    // from, so that a demo port is found again from the end of the list: the number must
    // be the list's as it is now, not as it was at the start.
    connect(Ports, &PortWatcher::listChanged, this, [this](int count) { Config->Ports_Found = count; });
    Ports->start();
}
