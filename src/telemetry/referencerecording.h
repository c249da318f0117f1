#pragma once
// A second recording laid over the main one for comparison ("before" and "after" a change
// of the tables). It is read from a record file with the checks an opened record gets, but
// a file with any line that cannot be read is refused whole: nothing of it is kept. Its
// samples live in columns of its own, beside the archive and never in it, and its min/max
// summary per series is made once, when it is read. Pure code: QtCore only.
//
// Times are seconds since the reference's first sample. The reference lies on the main
// recording's sample axis through an Alignment: with offset 0 both recordings start at the
// main recording's first sample; a positive offset moves the reference later.

#include "telemetry/recordfile.h"
#include "telemetry/sampletable.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <array>
#include <utility>

namespace reference {

inline constexpr int Series = 11;

// The archive column (archive::column, 1..11) of chart series 0..10; -1 for any other.
int archiveColumn(int series);

// Where the reference lies on the chart's sample axis (keys are sample numbers there).
struct Alignment {
    double base = 0;       // the key of the main recording's first sample
    double interval = 0.1; // seconds per sample of the main recording
    double offset = 0;     // seconds the reference is moved to the right

    double referenceTime(double key) const { return (key - base) * interval - offset; }
    double key(double referenceTime) const { return base + (referenceTime + offset) / interval; }
    bool operator==(const Alignment&) const = default;
};

// The interval of a recording: its span over its gaps (the mean spacing), or fallback when
// that is not a positive finite number (fewer than two samples, times not growing).
double meanInterval(double firstTime, double lastTime, int samples, double fallback);

class Recording {
public:
    Recording() = default;
    // A record read whole (record.ok()), with at least one sample; its vectors are taken.
    explicit Recording(recordfile::Record&& record);

    // Reads a record file's bytes. False, with the reason naming the file in *error, when a
    // line cannot be read or the file holds no sample; *out is then left as it was.
    static bool read(const QByteArray& bytes, const QString& fileName, bool english, Recording* out,
                     QString* error);

    bool isEmpty() const { return samples() == 0; }
    int samples() const { return m_columns[0].size(); }
    // Seconds since the first sample, of sample i (0-based).
    double time(int i) const { return m_columns[0].at(i) - m_start; }
    // The value of sample i in archive column 1..11 (archive::column), as the file held it.
    double value(int i, int column) const { return m_columns[std::size_t(column)].at(i); }
    // Seconds per sample (the mean spacing; 0,1 for a single sample).
    double interval() const { return m_interval; }

    // The sample nearest to time t; -1 when t lies more than half an interval before the
    // first or after the last sample. Times are taken as growing.
    int nearest(double t) const;
    // The samples whose times lie within from..to: (first, last), first > last when none.
    std::pair<int, int> within(double from, double to) const;

    // Per chart series the points of its min/max summary (the lowest and highest sample of
    // every bucket of SummaryBucket samples, in the order they came) at their times.
    static constexpr int SummaryBucket = 16;
    const QVector<double>& summaryTimes(int series) const { return m_sumTimes.at(std::size_t(series)); }
    const QVector<double>& summaryValues(int series) const { return m_sumValues.at(std::size_t(series)); }

    std::size_t bytes() const;

private:
    // The first sample whose time is at or after t (samples() when none).
    int lowerBound(double t) const;

    std::array<SampleColumn, recordfile::Fields> m_columns;
    double m_start = 0;
    double m_interval = 0.1;
    std::array<QVector<double>, Series> m_sumTimes, m_sumValues;
};

// The messages of a refused file, in the interface language.
QString badLineMessage(const QString& fileName, const recordfile::Record& record, bool english);
QString emptyMessage(const QString& fileName, bool english);

} // namespace reference
