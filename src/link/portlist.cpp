#include "link/portlist.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace portlist {

const QStringList& demoPorts() {
    static const QStringList names{QStringLiteral("DEMO TR-70"), QStringLiteral("DEMO TR-90")};
    return names;
}

QStringList sorted(QStringList names) {
    std::sort(names.begin(), names.end());
    names.removeDuplicates();
    return names;
}

QStringList items(const QStringList& systemPorts) { return sorted(systemPorts) + demoPorts(); }

QStringList systemPorts() {
    QStringList ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    ports.reserve(infos.size());
    for (const QSerialPortInfo& info : infos) ports << info.systemLocation();
    return ports;
}

} // namespace portlist
