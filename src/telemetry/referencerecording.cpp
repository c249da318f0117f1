#include "telemetry/referencerecording.h"

#include "telemetry/minmaxsummary.h"

#include <QDir>

#include <cmath>

namespace reference {

int archiveColumn(int series) {
    using namespace archive::column;
    // The chart's series order: SP, STR, AI, L1, L2, U1do, U1posle, U2do, U2posle, TP, SD.
    static constexpr int columns[Series] = {SP, STR, AI, L1, L2, U1do, U1posle, U2do, U2posle, TP, SD};
    return series >= 0 && series < Series ? columns[series] : -1;
}

double meanInterval(double firstTime, double lastTime, int samples, double fallback) {
    if (samples < 2) return fallback;
    const double interval = (lastTime - firstTime) / (samples - 1);
    return std::isfinite(interval) && interval > 0 ? interval : fallback;
}

Recording::Recording(recordfile::Record&& record) {
    const int n = record.rows();
    for (int f = 0; f < recordfile::Fields; ++f) {
        std::vector<double>& v = record.values[std::size_t(f)];
        for (double x : v) m_columns[std::size_t(f)].append(x);
        // Each column is let go as soon as it is copied, so the peak is one column more.
        std::vector<double>().swap(v);
    }
    if (n == 0) return;
    m_start = m_columns[0].at(0);
    m_interval = meanInterval(m_columns[0].at(0), m_columns[0].at(n - 1), n, 0.1);

    const int buckets = std::max(2, (n + SummaryBucket - 1) / SummaryBucket);
    QVector<double> keys;
    for (int s = 0; s < Series; ++s) {
        MinMaxSummary summary(buckets);
        const SampleColumn& c = m_columns[std::size_t(archiveColumn(s))];
        for (int i = 0; i < n; ++i) summary.append(c.at(i));
        summary.points(&keys, &m_sumValues[std::size_t(s)]);
        QVector<double>& times = m_sumTimes[std::size_t(s)];
        times.resize(keys.size());
        for (qsizetype k = 0; k < keys.size(); ++k) times[k] = time(int(keys[k]));
    }
}

bool Recording::read(const QByteArray& bytes, const QString& fileName, bool english, Recording* out,
                     QString* error) {
    recordfile::Record record = recordfile::parse(bytes);
    if (!record.ok()) {
        *error = reference::badLineMessage(fileName, record, english);
        return false;
    }
    if (record.rows() == 0) {
        *error = emptyMessage(fileName, english);
        return false;
    }
    *out = Recording(std::move(record));
    return true;
}

int Recording::lowerBound(double t) const {
    int lo = 0, hi = samples();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (time(mid) < t)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

int Recording::nearest(double t) const {
    const int n = samples();
    if (n == 0 || !std::isfinite(t)) return -1;
    const double half = m_interval / 2 * (1 + 1e-9);
    if (t < time(0) - half || t > time(n - 1) + half) return -1;
    const int after = lowerBound(t);
    if (after == 0) return 0;
    if (after == n) return n - 1;
    // Half-way goes to the earlier sample.
    return t - time(after - 1) <= time(after) - t ? after - 1 : after;
}

std::pair<int, int> Recording::within(double from, double to) const {
    if (!(from <= to)) return {0, -1};
    const int first = lowerBound(from);
    int last = lowerBound(to);
    if (last == samples() || time(last) > to) --last;
    return {first, last};
}

std::size_t Recording::bytes() const {
    std::size_t b = 0;
    for (const SampleColumn& c : m_columns) b += c.bytes();
    for (int s = 0; s < Series; ++s)
        b += std::size_t(m_sumTimes[std::size_t(s)].capacity() + m_sumValues[std::size_t(s)].capacity()) * sizeof(double);
    return b;
}

namespace {
QString shown(const QString& fileName) { return QDir::toNativeSeparators(fileName); }
} // namespace

QString badLineMessage(const QString& fileName, const recordfile::Record& record, bool english) {
    QString text = record.badText;
    if (text.size() > 120) text = text.left(117) + QStringLiteral("...");
    if (english)
        return QStringLiteral("File '%1', line %2 cannot be read as a record line: '%3'. "
                              "The file has not been opened for comparison.")
            .arg(shown(fileName))
            .arg(record.badLine)
            .arg(text);
    return QStringLiteral("Файл «%1», строка %2 не читается как строка записи: «%3». "
                          "Файл не открыт для сравнения.")
        .arg(shown(fileName))
        .arg(record.badLine)
        .arg(text);
}

QString emptyMessage(const QString& fileName, bool english) {
    return english ? QStringLiteral("File '%1' holds no recorded values; it has not been opened for comparison.")
                         .arg(shown(fileName))
                   : QStringLiteral("В файле «%1» нет записанных значений; он не открыт для сравнения.")
                         .arg(shown(fileName));
}

} // namespace reference
