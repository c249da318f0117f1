#pragma once
// The lowest and highest value of a growing series of samples, per bucket of samples, kept
// up as samples arrive. Buckets hold a power of two of samples; when there would be more
// than the chosen number of buckets, neighbours merge and the bucket size doubles, so the
// summary of any length of recording stays between half and all of that number of buckets
// and a drawing of it costs the same for ten minutes as for three hours. Pure code.

#include <QVector>

#include <vector>

class MinMaxSummary {
public:
    // maxBuckets: at most this many buckets (rounded up to an even number, at least 2).
    explicit MinMaxSummary(int maxBuckets = 2048);

    // The next sample; its key is the number of samples before it.
    void append(double value);
    void clear();

    long long count() const { return m_count; }
    long long bucketSize() const { return 1LL << m_shift; }
    int buckets() const { return int(m_buckets.size()); }

    // The points to draw: per bucket its lowest and its highest sample, in the order they
    // came, at their sample keys (one point where both are the same sample).
    void points(QVector<double>* keys, QVector<double>* values) const;

private:
    struct Bucket {
        long long minKey, maxKey;
        double minValue, maxValue;
    };
    void halve();

    int m_maxBuckets;
    int m_shift = 0;
    long long m_count = 0;
    std::vector<Bucket> m_buckets;
};
