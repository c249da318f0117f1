#include "link/tbcomport.h"

#include "link/portlist.h"
#include "sim/demooptions.h"
#include "sim/simmodule.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace {
const QString kDemo70 = portlist::demoPorts().at(0);
const QString kDemo90 = portlist::demoPorts().at(1);

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

bool TBComPort::isOpen() const { return m_fd >= 0 || m_detached; }

void TBComPort::openDetached() {
    Close_Port();
    m_failed = false;
    m_detached = true;
}

QStringList TBComPort::demoPortNames() { return portlist::demoPorts(); }
bool TBComPort::isDemoPort(const QString& name) { return name == kDemo70 || name == kDemo90; }

bool TBComPort::isPseudoTerminal(const QString& path) {
    // A link (a virtual port of a link tool, /dev/serial/by-id/...) names its target.
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.startsWith(QLatin1String("/dev/pts/"))) return true;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    // Pseudo-terminal slaves have majors 136..143 wherever their node lives.
    return major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

bool TBComPort::Open_Port() {
    if (isOpen()) return true;
    m_failed = false;

    QString path;
    if (isDemoPort(m_port)) {
        // The options are read at every connection, so that a mistake in them is named
        // where the technician looks: in the port's error, with the port left closed.
        QString optionsError;
        const sim::DemoOptions options =
            sim::parseDemoOptions(qEnvironmentVariable(sim::DemoOptionsVariable), &optionsError);
        if (!optionsError.isEmpty()) throw EComPort(optionsError);
        m_demo = std::make_unique<sim::SimModule>(m_port == kDemo70 ? sim::Model::TR70 : sim::Model::TR90);
        const QByteArray kept = m_demoMemory.value(m_port);
        for (int i = 0; i < kept.size(); ++i) m_demo->setReg(i, quint8(kept.at(i)));
        sim::applyDemoOptions(*m_demo, options);
        QString error;
        if (!m_demo->start(&error)) {
            m_demo.reset();
            throw EComPort(comtext::NoDevice);
        }
        path = m_demo->slavePath();
    } else {
        path = devicePath(m_port);
        // No name (an empty port list) or a folder is no device either; a link that leads
        // nowhere is a missing device.
        if (m_port.trimmed().isEmpty() || !QFileInfo::exists(path) || QFileInfo(path).isDir())
            throw EComPort(comtext::NoDevice);
        if (::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0 && errno == EACCES)
            throw EComPort(comtext::noAccess(path));
    }
    try {
        openDevice(path);
    } catch (const EComPort&) {
        m_demo.reset();
        throw;
    }
    return true;
}

void TBComPort::openDevice(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENODEV || errno == ENXIO) throw EComPort(comtext::NoDevice);
        if (errno == EBUSY) throw EComPort(comtext::Busy);
        if (errno == EACCES) throw EComPort(comtext::noAccess(path));
        throw EComPort(comtext::SetupFailed);
    }
    auto fail = [fd](const QString& text) {
        ::close(fd);
        throw EComPort(text);
    };
    // One program at a time: the lock keeps out another copy of this tool (also one run
    // by root), the exclusive mode any other program.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) fail(errno == EWOULDBLOCK ? comtext::Busy : comtext::SetupFailed);
    ::ioctl(fd, TIOCEXCL);

    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) fail(comtext::StateFailed);
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    tio.c_cc[VSTART] = 17;
    tio.c_cc[VSTOP] = 19;
    // A read returns what has arrived; with nothing there the descriptor reports "try
    // again", and only a line that hung up reads as end of file.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, B19200) != 0 || ::cfsetospeed(&tio, B19200) != 0 || ::tcsetattr(fd, TCSANOW, &tio) != 0) {
        ::ioctl(fd, TIOCNXCL);
        fail(comtext::StateFailed);
    }
    // A pseudo-terminal has no modem lines; only a real port must accept DTR and RTS.
    const int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd, TIOCMBIS, &lines) != 0 && !isPseudoTerminal(path)) {
        ::ioctl(fd, TIOCNXCL);
        fail(comtext::EscapeFailed);
    }
    // Start with empty buffers, as a freshly opened port does: nothing left over from an
    // earlier session is taken for an answer.
    ::tcflush(fd, TCIOFLUSH);

    m_fd = fd;
    m_rx.clear();
    m_tx.clear();
    m_txQueued.invalidate();
    m_readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &TBComPort::onReadable);
    m_writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &TBComPort::onWritable);
}

bool TBComPort::Close_Port() {
    if (m_detached) {
        m_detached = false;
        m_rx.clear();
        m_written.clear();
        return true;
    }
    if (m_fd < 0) {
        m_demo.reset();
        return true;
    }
    // No OnRxChar after this point: the notifiers go first.
    for (QSocketNotifier* n : {m_readNotifier, m_writeNotifier}) {
        n->setEnabled(false);
        n->disconnect(this);
        n->deleteLater();
    }
    m_readNotifier = m_writeNotifier = nullptr;
    const int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_fd, TIOCMBIC, &lines);
    ::tcflush(m_fd, TCIOFLUSH);
    // The exclusive mode outlives the descriptor on a pseudo-terminal; give it back.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_rx.clear();
    m_tx.clear();
    m_txQueued.invalidate();
    if (m_demo) m_demoMemory.insert(m_port, m_demo->regs());
    m_demo.reset();
    return true;
}

int TBComPort::Write_Text(const QString& text) {
    if (text.isEmpty() || !isOpen()) return 0;
    if (m_failed) throw EComPort(comtext::WriteFailed);
    // Characters the device has not taken within the write time-out mean a dead line.
    if (!m_tx.isEmpty() && m_txQueued.isValid() && m_txQueued.hasExpired(100 * m_tx.size() + 1000)) {
        failOnce(comtext::WriteFailed);
        throw EComPort(comtext::WriteFailed);
    }
    const QByteArray bytes = text.toLatin1();
    if (m_detached) {
        m_written += bytes;
        emit textWritten(int(bytes.size()));
        return int(bytes.size());
    }
    if (m_tx.isEmpty()) m_txQueued.start();
    m_tx += bytes;
    if (!sendQueued()) throw EComPort(comtext::WriteFailed);
    emit textWritten(int(bytes.size()));
    return int(bytes.size());
}

bool TBComPort::sendQueued() {
    while (!m_tx.isEmpty()) {
        const ssize_t n = ::write(m_fd, m_tx.constData(), size_t(m_tx.size()));
        if (n > 0) {
            m_tx.remove(0, qsizetype(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            break;
        } else {
            failOnce(comtext::WriteFailed);
            return false;
        }
    }
    if (m_tx.isEmpty()) m_txQueued.invalidate();
    m_writeNotifier->setEnabled(!m_tx.isEmpty());
    return true;
}

void TBComPort::onWritable() {
    if (m_fd < 0 || m_failed) return;
    sendQueued();
}

bool TBComPort::takeFromDevice(qint64 limit) {
    char buf[512];
    while (m_rx.size() < limit) {
        const ssize_t n = ::read(m_fd, buf, size_t(std::min<qint64>(sizeof buf, limit - m_rx.size())));
        if (n > 0) {
            m_rx.append(buf, qsizetype(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            break;
        } else {
            // End of file: the line hung up (adapter unplugged); an error such as EIO: the
            // other side of a pseudo-terminal is gone.
            failOnce(comtext::ReadFailed);
            return false;
        }
    }
    return true;
}

QString TBComPort::Read_Text(int n) {
    if (!isOpen() || n <= 0) return QString();
    if (m_failed && m_rx.isEmpty()) throw EComPort(comtext::ReadFailed);
    if (m_rx.size() < n && !m_failed && !m_detached && !takeFromDevice(n) && m_rx.isEmpty())
        throw EComPort(comtext::ReadFailed);
    const QByteArray bytes = m_rx.left(n);
    m_rx.remove(0, bytes.size());
    // A full buffer stopped taking from the device; there is room again.
    if (!m_failed && m_readNotifier && m_rx.size() < InBufSize) m_readNotifier->setEnabled(true);
    return QString::fromLatin1(bytes);
}

int TBComPort::Waiting_Count() const {
    if (!isOpen()) return 0;
    int held = 0;
    if (!m_failed && !m_detached && ::ioctl(m_fd, FIONREAD, &held) != 0) held = 0;
    return int(m_rx.size()) + std::max(held, 0);
}

QStringList TBComPort::sortedPortNames(QStringList names) { return portlist::sorted(std::move(names)); }

void TBComPort::List_Com_Ports(QStringList& list) {
    list = portlist::items(portlist::systemPorts());
}

void TBComPort::onReadable() {
    if (m_fd < 0 || m_failed) return;
    const qsizetype before = m_rx.size();
    // What came before a failure is still handed on; the failure is reported after it.
    if (takeFromDevice(InBufSize) && m_rx.size() >= InBufSize) {
        // A full buffer takes nothing more until it is read; the device holds the rest.
        m_readNotifier->setEnabled(false);
    }
    // Nothing new: the characters were taken already (by a read or a tick) after the
    // device signalled them.
    if (m_rx.size() > before) emit OnRxChar(int(m_rx.size()));
}

void TBComPort::failOnce(const QString& text) {
    if (m_failed) return;
    m_failed = true;
    // A hung-up line stays readable for ever; stop listening at once.
    if (m_readNotifier) m_readNotifier->setEnabled(false);
    if (m_writeNotifier) m_writeNotifier->setEnabled(false);
    // The failure may be found inside a read or write a handler is still using; close
    // after it has returned.
    QTimer::singleShot(0, this, [this, text] {
        if (!m_failed) return;
        Close_Port();
        emit portFailed(text);
    });
}
