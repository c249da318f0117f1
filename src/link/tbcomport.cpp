#include "link/tbcomport.h"

#include "sim/simmodule.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {
const QString kDemo70 = QStringLiteral("DEMO TR-70");
const QString kDemo90 = QStringLiteral("DEMO TR-90");

QString devicePath(const QString& name) {
    if (name.startsWith(QLatin1Char('/'))) return name;
    return QStringLiteral("/dev/") + name;
}
} // namespace

QString comtext::noAccess(const QString& device) {
    return QStringLiteral("Нет прав доступа к порту %1. Добавьте пользователя в группу dialout "
                          "(sudo usermod -aG dialout $USER) и войдите в систему заново.")
        .arg(device);
}

TBComPort::TBComPort(QObject* parent) : QObject(parent) {}

TBComPort::~TBComPort() { Close_Port(); }

void TBComPort::setPort(const QString& name) {
    if (isOpen()) throw EComPort(comtext::ChangeWhileOpen);
    m_port = name;
}

bool TBComPort::isOpen() const { return m_serial && m_serial->isOpen(); }

QStringList TBComPort::demoPortNames() { return {kDemo70, kDemo90}; }
bool TBComPort::isDemoPort(const QString& name) { return name == kDemo70 || name == kDemo90; }

bool TBComPort::Open_Port() {
    if (isOpen()) return true;
    m_failed = false;

    QString path;
    if (isDemoPort(m_port)) {
        m_demo = std::make_unique<sim::SimModule>(m_port == kDemo70 ? sim::Model::TR70 : sim::Model::TR90);
        const QByteArray kept = m_demoMemory.value(m_port);
        for (int i = 0; i < kept.size(); ++i) m_demo->setReg(i, quint8(kept.at(i)));
        QString error;
        if (!m_demo->start(&error)) {
            m_demo.reset();
            throw EComPort(comtext::NoDevice);
        }
        path = m_demo->slavePath();
    } else {
        path = devicePath(m_port);
        // No name (an empty port list) or a folder is no device either.
        if (m_port.trimmed().isEmpty() || !QFileInfo::exists(path) || QFileInfo(path).isDir())
            throw EComPort(comtext::NoDevice);
        if (::access(path.toLocal8Bit().constData(), R_OK | W_OK) != 0 && errno == EACCES)
            throw EComPort(comtext::noAccess(path));
    }

    auto dropDemo = [this] {
        if (m_demo) m_demo.reset();
    };

    auto* serial = new QSerialPort(this);
    serial->setPortName(path);
    if (!serial->open(QIODevice::ReadWrite)) {
        const auto err = serial->error();
        delete serial;
        dropDemo();
        if (err == QSerialPort::DeviceNotFoundError) throw EComPort(comtext::NoDevice);
        if (err == QSerialPort::PermissionError) throw EComPort(comtext::Busy);
        throw EComPort(comtext::SetupFailed);
    }
    const bool lineOk = serial->setBaudRate(QSerialPort::Baud19200) &&
                        serial->setDataBits(QSerialPort::Data8) &&
                        serial->setParity(QSerialPort::NoParity) &&
                        serial->setStopBits(QSerialPort::OneStop) &&
                        serial->setFlowControl(QSerialPort::NoFlowControl);
    if (!lineOk) {
        serial->close();
        delete serial;
        dropDemo();
        throw EComPort(comtext::StateFailed);
    }
    // A pseudo-terminal has no modem lines; only a real port must accept DTR and RTS.
    const bool modemOk = serial->setDataTerminalReady(true) && serial->setRequestToSend(true);
    if (!modemOk && !path.startsWith(QLatin1String("/dev/pts/"))) {
        serial->close();
        delete serial;
        dropDemo();
        throw EComPort(comtext::EscapeFailed);
    }
    serial->clearError();
    connect(serial, &QSerialPort::readyRead, this, &TBComPort::onReadyRead);
    connect(serial, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) { onError(int(e)); });
    m_serial = serial;
    return true;
}

bool TBComPort::Close_Port() {
    if (!m_serial) {
        m_demo.reset();
        return true;
    }
    QSerialPort* serial = m_serial;
    m_serial = nullptr; // no OnRxChar after this point
    serial->disconnect(this);
    if (serial->isOpen()) {
        serial->setDataTerminalReady(false);
        serial->setRequestToSend(false);
        serial->clear();
        serial->close();
    }
    serial->deleteLater();
    if (m_demo) m_demoMemory.insert(m_port, m_demo->regs());
    m_demo.reset();
    return true;
}

int TBComPort::Write_Text(const QString& text) {
    if (text.isEmpty() || !isOpen()) return 0;
    if (m_failed) throw EComPort(comtext::WriteFailed);
    const QByteArray bytes = text.toLatin1();
    const qint64 n = m_serial->write(bytes);
    if (n != bytes.size()) {
        failOnce(comtext::WriteFailed);
        throw EComPort(comtext::WriteFailed);
    }
    m_serial->flush();
    if (m_failed) throw EComPort(comtext::WriteFailed);
    if (m_serial->bytesToWrite() > 0 && !m_serial->waitForBytesWritten(100 * int(bytes.size()) + 1000)) {
        failOnce(comtext::WriteFailed);
        throw EComPort(comtext::WriteFailed);
    }
    return int(n);
}

QString TBComPort::Read_Text(int n) {
    if (!isOpen() || n <= 0) return QString();
    if (m_failed) throw EComPort(comtext::ReadFailed);
    const QByteArray bytes = m_serial->read(n);
    if (bytes.isNull() && m_serial->error() != QSerialPort::NoError) {
        failOnce(comtext::ReadFailed);
        throw EComPort(comtext::ReadFailed);
    }
    return QString::fromLatin1(bytes);
}

int TBComPort::Waiting_Count() const { return isOpen() ? int(m_serial->bytesAvailable()) : 0; }

QStringList TBComPort::sortedPortNames(QStringList names) {
    std::sort(names.begin(), names.end());
    names.removeDuplicates();
    return names;
}

void TBComPort::List_Com_Ports(QStringList& list) {
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) ports << info.systemLocation();
    list = sortedPortNames(ports) + demoPortNames();
}

void TBComPort::onReadyRead() {
    if (!isOpen() || m_failed) return;
    const int count = int(m_serial->bytesAvailable());
    if (count > 0) emit OnRxChar(count);
}

void TBComPort::onError(int error) {
    switch (QSerialPort::SerialPortError(error)) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
        failOnce(comtext::ReadFailed);
        break;
    case QSerialPort::WriteError:
        failOnce(comtext::WriteFailed);
        break;
    default:
        break;
    }
}

void TBComPort::failOnce(const QString& text) {
    if (m_failed) return;
    m_failed = true;
    // The error may be raised from inside a QSerialPort call; close after it has returned.
    QTimer::singleShot(0, this, [this, text] {
        if (!m_failed) return;
        Close_Port();
        emit portFailed(text);
    });
}
