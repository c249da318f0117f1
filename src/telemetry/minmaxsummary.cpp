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
    if (index == m_buckets.size()) {
        m_buckets.push_back({key, key, value, value});
        return;
    }
    Bucket& b = m_buckets[index];
    if (value < b.minValue) {
        b.minValue = value;
        b.minKey = key;
    }
    if (value > b.maxValue) {
        b.maxValue = value;
        b.maxKey = key;
    }
}

void MinMaxSummary::halve() {
    // Buckets 2i and 2i+1 become bucket i; the earlier sample wins a tie, as it would
    // have in a bucket of the doubled size from the start.
    const std::size_t n = m_buckets.size();
    for (std::size_t i = 0; i < n / 2; ++i) {
        Bucket a = m_buckets[2 * i];
        const Bucket& b = m_buckets[2 * i + 1];
        if (b.minValue < a.minValue) {
            a.minValue = b.minValue;
            a.minKey = b.minKey;
        }
        if (b.maxValue > a.maxValue) {
            a.maxValue = b.maxValue;
            a.maxKey = b.maxKey;
        }
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
    for (const Bucket& b : m_buckets) {
        const bool minFirst = b.minKey <= b.maxKey;
        keys->append(double(minFirst ? b.minKey : b.maxKey));
        values->append(minFirst ? b.minValue : b.maxValue);
        if (b.minKey != b.maxKey) {
            keys->append(double(minFirst ? b.maxKey : b.minKey));
            values->append(minFirst ? b.maxValue : b.minValue);
        }
    }
}
