#pragma once
// The lowest and highest value of a series of samples per bucket of samples: the one way
// the tool thins a long series for drawing. Extremes is one bucket; MinMaxSummary keeps
// up a growing series as samples arrive. Its buckets hold a power of two of samples; when
// there would be more than the chosen number of buckets, neighbours merge and the bucket
// size doubles, so the summary of any length of recording stays between half and all of
// that number of buckets and a drawing of it costs the same for ten minutes as for three
// hours. Pure code.

#include <QVector>

#include <vector>

namespace minmax {

// One bucket's lowest and highest sample and their keys. The earlier sample wins a tie.
struct Extremes {
    double minKey = 0, minValue = 0, maxKey = 0, maxValue = 0;

    static Extremes of(double key, double value) { return {key, value, key, value}; }
    // A later sample of the same bucket.
    void take(double key, double value) {
        if (value < minValue) {
            minValue = value;
            minKey = key;
        }
        if (value > maxValue) {
            maxValue = value;
            maxKey = key;
        }
    }
    // The bucket that follows this one, merged into it.
    void take(const Extremes& later) {
        if (later.minValue < minValue) {
            minValue = later.minValue;
            minKey = later.minKey;
        }
        if (later.maxValue > maxValue) {
            maxValue = later.maxValue;
            maxKey = later.maxKey;
        }
    }
    // The points to draw: the lowest and the highest sample in the order they came (one
    // point where both are the same sample).
    void appendPoints(QVector<double>& keys, QVector<double>& values) const {
        const bool minFirst = minKey <= maxKey;
        keys.append(minFirst ? minKey : maxKey);
        values.append(minFirst ? minValue : maxValue);
        if (minKey != maxKey) {
            keys.append(minFirst ? maxKey : minKey);
            values.append(minFirst ? maxValue : minValue);
        }
    }
};

} // namespace minmax

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
    void halve();

    int m_maxBuckets;
    int m_shift = 0;
    long long m_count = 0;
    std::vector<minmax::Extremes> m_buckets;
};
