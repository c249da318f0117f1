#include "telemetry/minmaxsummary.h"

#include <algorithm>

MinMaxSummary::MinMaxSummary(int maxBuckets) : m_maxBuckets(std::max(2, maxBuckets + (maxBuckets & 1))) {
    m_buckets.reserve(std::size_t(m_maxBuckets));
}

void MinMaxSummary::append(double value) {
    const long long key = m_count++;
    std::size_t index = std::size_t(key >> m_shift);
    if (index == m_buckets.size() && int(index) == m_maxBuckets) {
        halve();
        index = std::size_t(key >> m_shift);
    }
    if (index == m_buckets.size())
        m_buckets.push_back(minmax::Extremes::of(double(key), value));
    else
        m_buckets[index].take(double(key), value);
}

void MinMaxSummary::halve() {
    // Buckets 2i and 2i+1 become bucket i, as a bucket of the doubled size from the start
    // would have been.
    const std::size_t n = m_buckets.size();
    for (std::size_t i = 0; i < n / 2; ++i) {
        minmax::Extremes a = m_buckets[2 * i];
        a.take(m_buckets[2 * i + 1]);
        m_buckets[i] = a;
    }
    if (n % 2) m_buckets[n / 2] = m_buckets[n - 1];
    m_buckets.resize((n + 1) / 2);
    ++m_shift;
}

void MinMaxSummary::clear() {
    m_buckets.clear();
    m_shift = 0;
    m_count = 0;
}

void MinMaxSummary::points(QVector<double>* keys, QVector<double>* values) const {
    keys->clear();
    values->clear();
    keys->reserve(qsizetype(m_buckets.size() * 2));
    values->reserve(qsizetype(m_buckets.size() * 2));
    for (const minmax::Extremes& b : m_buckets) b.appendPoints(*keys, *values);
}
