#pragma once
// What a recording shows outside the chart, wired between the recorder and the table panel:
// the live operating point on the table grid and the surface, the cell statistics of the
// archive over the table grid (the chart's hover readout is the recorder's own).
//
// The operating point is taken from the recording tick (LiveRecorder::sampleRecorded) only
// while the table panel is shown; when it is shown again during a recording, the trail is
// taken from the archive's last rows. The statistics are computed again, at most a few
// times a second, while they are shown and the archive, the chart page or the load axis
// changes.

#include "analysis/cellstats.h"

#include <QObject>

#include <functional>
#include <optional>

class ChartPanel;
class LiveRecorder;
class QTimer;
class Table3DPanel;

class RecordingViews : public QObject {
    Q_OBJECT
public:
    // recordingTimer: the recording tick's timer, active while a recording runs.
    RecordingViews(LiveRecorder* recorder, ChartPanel* chart, QTimer* recordingTimer, Table3DPanel* tables,
                   QObject* parent = nullptr);

    // The cell statistics of a comparison recording, for the difference per cell: binned
    // on the same axes, load column and parameter, over its whole length or the part that
    // lies on the chart's page. Unset, or nothing returned: no comparison.
    std::function<std::optional<analysis::CellGrid>(const analysis::Axis& speed, const analysis::Axis& load,
                                                     int loadColumn, int paramColumn, bool pageOnly)>
        referenceStatistics;
    // Computes the statistics for the choices of the table panel and shows them.
    void showStatistics();
    // The archive rows (first, last) the statistics take: the whole recording, or the
    // rows of the samples on the chart's page; first > last when there are none.
    std::pair<int, int> statisticsRows() const;
    // The same for the whole recording or only the chart's page, whatever the statistics chose.
    std::pair<int, int> recordingRows(bool pageOnly) const;
    // The archive's samples (rows 1..samples).
    int recordedSamples() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sampleRecorded(int row);
    void trailFromArchive();
    void statisticsSoon();

    LiveRecorder* m_rec;
    QTimer* m_recording;
    Table3DPanel* m_tables;
    QTimer* m_statsTimer;
};
