#pragma once
// The serial port the tool talks to the module through: the device's own descriptor with
// the module's fixed line settings (19200 baud, 8N1, DTR and RTS on) and the error texts a
// technician knows. Reads never wait; arrivals are reported on the user-interface thread by
// OnRxChar with the number of characters waiting. Writes never wait either: the device
// queues the few characters of a command. Because nothing here waits, no receive event can
// ever run inside a write. The demo ports of the list start a simulated module on a
// pseudo-terminal and open its slave side like any device.

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <utility>

class QSocketNotifier;
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

    // Characters taken from the device and kept for reading; beyond this the device keeps
    // the rest until the handler has read.
    static constexpr int InBufSize = 2048;

    // Device name: a demo port name, a name under /dev ("ttyUSB0") or a full path, which
    // may be a symbolic link (/dev/serial/by-id/..., a virtual port of a link tool).
    QString Port() const { return m_port; }
    // Raises EComPort (ChangeWhileOpen) while the port is open; the old name stays.
    void setPort(const QString& name);

    // Opens the device with the module's line settings; true when open afterwards
    // (also when it was open already). Raises EComPort on failure; the port stays closed.
    bool Open_Port();
    // Closes the device (DTR and RTS off first); true when closed afterwards.
    bool Close_Port();
    bool isOpen() const;

    // Hands all characters of text to the device without waiting and returns their number
    // (0 for an empty text or a closed port). What the device cannot take at once is queued
    // and sent as it can; characters still queued after the write time-out (100 ms per
    // character plus 1000 ms) fail the next write. Raises EComPort (WriteFailed).
    int Write_Text(const QString& text);
    // Returns at most n characters of what has already arrived, without waiting.
    // Raises EComPort (ReadFailed) when the device fails and nothing had arrived.
    QString Read_Text(int n);
    // Number of received characters waiting to be read: those the device holds as well as
    // those taken from it but not yet read, so a count of 0 means nothing has arrived.
    int Waiting_Count() const;

    // Fills list with the system's serial ports sorted as text, then the demo ports.
    static void List_Com_Ports(QStringList& list);
    // Sorts device names as plain text (so COM10 comes before COM2), without repeats
    // (link/portlist.h keeps the rule).
    static QStringList sortedPortNames(QStringList names);
    static QStringList demoPortNames();
    static bool isDemoPort(const QString& name);

    // The simulated module behind an open demo port, or null.
    sim::SimModule* demoModule() const { return m_demo.get(); }

    // Whether a device path (after following symbolic links) is a pseudo-terminal, which
    // has no modem lines.
    static bool isPseudoTerminal(const QString& path);

    // A line without a device, for driving the exchange step by step with no time passing:
    // the port counts as open, writes are kept for takeWritten(), and feed() puts
    // characters where a read finds them. Nothing is signalled; the caller runs the
    // receive handler itself. Close_Port() ends it like any other line.
    void openDetached();
    void feed(const QByteArray& chars) { if (m_detached) m_rx += chars; }
    QByteArray takeWritten() { return std::exchange(m_written, QByteArray()); }

signals:
    // Characters arrived; count is the number waiting. Only while open, and never from
    // inside a call of this class.
    void OnRxChar(int count);
    // A write handed count characters to the device (diagnostics and measurement).
    void textWritten(int count);
    // The open device failed (unplugged adapter, I/O error). Emitted once per failure,
    // after the port has been closed; text is the port error text.
    void portFailed(const QString& text);

private:
    void openDevice(const QString& path);
    void onReadable();
    void onWritable();
    // Takes what the device holds into m_rx, up to limit characters in all; false when the
    // device failed (reported once).
    bool takeFromDevice(qint64 limit);
    // Hands queued characters to the device; false when it failed (reported once).
    bool sendQueued();
    void failOnce(const QString& text);

    QString m_port = QStringLiteral("COM2");
    int m_fd = -1;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    QByteArray m_rx;          // taken from the device, not yet read
    QByteArray m_tx;          // written, not yet taken by the device
    QElapsedTimer m_txQueued; // since when m_tx has been waiting
    std::unique_ptr<sim::SimModule> m_demo;
    // What each demo module held when its port was closed, so that a reconnect finds the
    // settings and tables written before, as a real module keeps them.
    QHash<QString, QByteArray> m_demoMemory;
    bool m_failed = false;
    bool m_detached = false;
    QByteArray m_written; // what writes handed to a detached line
};
