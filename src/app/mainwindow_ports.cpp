#include "app/configuration.h"
#include "app/mainwindow.h"
#include "link/portwatcher.h"
#include "link/tbcomport.h"

void TForm1::watchPorts() {
    PortListWatcher = new PortWatcher(cbPort, [this] { return BComPort1->isOpen(); }, PortWatcher::systemPorts, this);
    PortListWatcher->setObjectName(QStringLiteral("PortListWatcher"));
    // The settings file stores the chosen index with the number of ports it was chosen
    // from, so that a demo port is found again from the end of the list: the number must
    // be the list's as it is now, not as it was at the start.
    connect(PortListWatcher, &PortWatcher::listChanged, this, [this](int count) { Config->Ports_Found = count; });
    PortListWatcher->start();
}
