#pragma once
// The serial port the tool talks to the module through. A thin layer over QSerialPort
// with the module's fixed line settings (19200 baud, 8N1, DTR and RTS on) and the error
// texts a technician knows. Reads never wait; arrivals are reported on the user-interface
// thread by OnRxChar with the number of characters waiting. The demo ports of the list
// start a simulated module on a pseudo-terminal and open its slave side like any device.

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

class QSerialPort;
namespace sim {
class SimModule;
}

// Every port failure is raised as this, with one of the fixed Russian texts.
class EComPort : public std::runtime_error {
public:
    explicit EComPort(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

namespace comtext {
inline const QString NoDevice = QStringLiteral("Попытка открыть несуществующий COM-порт");
inline const QString Busy = QStringLiteral("Порт занят другой программой");
inline const QString WriteFailed = QStringLiteral("Ошибка записи в порт");
inline const QString ReadFailed = QStringLiteral("Ошибка чтения из порта");
inline const QString SetupFailed = QStringLiteral("Ошибка функции SetupComm");
inline const QString StateFailed = QStringLiteral("Ошибка функции SetCommState");
inline const QString EscapeFailed = QStringLiteral("Ошибка функции EscapeCommFunction");
inline const QString PurgeFailed = QStringLiteral("Ошибка функции PurgeComm");
inline const QString ChangeWhileOpen = QStringLiteral("Нельзя менять свойство, пока порт открыт");
inline const QString ListFailed = QStringLiteral("Ошибка обращения к системному реестру");
// Linux refuses a device the user has no rights to; say what to do about it.
QString noAccess(const QString& device);
} // namespace comtext

class TBComPort : public QObject {
    Q_OBJECT
public:
    explicit TBComPort(QObject* parent = nullptr);
    ~TBComPort() override;

    // Device name: a demo port name, a name under /dev ("ttyUSB0") or a full path.
    QString Port() const { return m_port; }
    // Raises EComPort (ChangeWhileOpen) while the port is open; the old name stays.
    void setPort(const QString& name);

    // Opens the device with the module's line settings; true when open afterwards
    // (also when it was open already). Raises EComPort on failure; the port stays closed.
    bool Open_Port();
    // Closes the device (DTR and RTS off first); true when closed afterwards.
    bool Close_Port();
    bool isOpen() const;

    // Writes all characters of text, bounded by the write time-out (100 ms per character
    // plus 1000 ms); returns the number written, 0 for an empty text or a closed port.
    // Raises EComPort (WriteFailed).
    int Write_Text(const QString& text);
    // Returns at most n characters of what has already arrived, without waiting.
    // Raises EComPort (ReadFailed).
    QString Read_Text(int n);
    // Number of received characters waiting to be read.
    int Waiting_Count() const;

    // Fills list with the system's serial ports sorted as text, then the demo ports.
    static void List_Com_Ports(QStringList& list);
    // Sorts device names as plain text (so COM10 comes before COM2), without repeats.
    static QStringList sortedPortNames(QStringList names);
    static QStringList demoPortNames();
    static bool isDemoPort(const QString& name);

    // The simulated module behind an open demo port, or null.
    sim::SimModule* demoModule() const { return m_demo.get(); }

signals:
    // Characters arrived; count is the number waiting. Only while open.
    void OnRxChar(int count);
    // The open device failed (unplugged adapter, I/O error). Emitted once per failure,
    // after the port has been closed; text is the port error text.
    void portFailed(const QString& text);

private:
    void onReadyRead();
    void onError(int error);
    void failOnce(const QString& text);

    QString m_port = QStringLiteral("COM2");
    QSerialPort* m_serial = nullptr;
    std::unique_ptr<sim::SimModule> m_demo;
    // What each demo module held when its port was closed, so that a reconnect finds the
    // settings and tables written before, as a real module keeps them.
    QHash<QString, QByteArray> m_demoMemory;
    bool m_failed = false;
};
