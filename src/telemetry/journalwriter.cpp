#include "telemetry/journalwriter.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace journal {
namespace {

qint64 nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

} // namespace

Writer::Writer() = default;

Writer::~Writer() { close(); }

bool Writer::open(const QString& path, QString* error) {
    close();
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        if (error) *error = m_error;
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_error.clear();
    m_buffer.clear();
    m_buffer.reserve(16 * 1024);
    m_samples = 0;
    m_lastWrite = nowMs();
    m_quit = false;
    m_syncWanted = false;
    m_syncer = std::thread([this] { syncLoop(); });
    return true;
}

bool Writer::append(const std::array<double, recordfile::Fields>& values) {
    if (m_fd < 0) return false;
    m_buffer.append(recordfile::encodeLine(values));
    ++m_samples;
    if (nowMs() - m_lastWrite < flushIntervalMs) return true;
    return flush();
}

bool Writer::flush() {
    if (m_fd < 0) return false;
    if (!writeOut()) {
        // A journal that lost a write would restore a recording with a hole in it.
        const int fd = m_fd;
        stopSyncer();
        ::close(fd);
        m_fd = -1;
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_syncWanted = true;
    }
    m_wake.notify_one();
    return true;
}

bool Writer::writeOut() {
    m_lastWrite = nowMs();
    const char* p = m_buffer.constData();
    qsizetype left = m_buffer.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, std::size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        p += n;
        left -= n;
    }
    m_buffer.clear();
    return true;
}

void Writer::syncLoop() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_syncWanted || m_quit; });
        if (m_quit) return;
        m_syncWanted = false;
        const int fd = m_fd;
        lock.unlock();
        ::fdatasync(fd);
        ++m_syncs;
        lock.lock();
    }
}

void Writer::stopSyncer() {
    if (!m_syncer.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_syncer.join();
}

void Writer::close() {
    if (m_fd < 0) return;
    writeOut();
    stopSyncer();
    ::fdatasync(m_fd);
    ::close(m_fd);
    m_fd = -1;
}

void Writer::remove() {
    const QString path = m_path;
    if (m_fd >= 0) {
        m_buffer.clear();
        stopSyncer();
        ::close(m_fd);
        m_fd = -1;
    }
    if (!path.isEmpty()) QFile::remove(path);
}

} // namespace journal
