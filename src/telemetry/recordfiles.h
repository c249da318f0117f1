#pragma once
// Saving the recording to a "_data.txt" record file (atb_Param_Save) and opening one again
// (atb_Param_Open) into the archive table, Chart1 and the navigator table. Before either
// dialog the live points of both curves stop and a running recording pauses, so no
// exchange with the module runs while a file is handled.
//
// "CSV (*.csv)" is offered beside the record filter: a name ending in ".csv" is written as
// a spreadsheet copy. A record saved removes the recording's journal.
//
// The archive holds a record in units whether it was recorded or read, so a record opened
// and saved again gives the same file. Points read are added after those Chart1 already
// holds; the tables are written from row 1.

#include "telemetry/recordfile.h"

#include <QObject>
#include <QString>

#include <functional>

class ChartPanel;
class LiveRecorder;
struct OperationContext;

class RecordFiles : public QObject {
    Q_OBJECT
public:
    RecordFiles(OperationContext* ctx, ChartPanel* panel, LiveRecorder* recorder, QObject* parent = nullptr);

    // Bound by the window: ends the live point display of both curves.
    std::function<void()> stopLivePoints;
    // Asked when the name with the suffix appended names a file that exists already (the
    // dialog asked only about the name as chosen); true replaces it. Tests replace it.
    std::function<bool(const QString& fileName)> confirmOverwrite;

    void atb_Param_SaveClick();
    void atb_Param_OpenClick();

    // Loads a file's bytes as the open button does after its dialog; false (after telling
    // the user) when a line could not be read; the lines before it are loaded.
    bool load(const QString& fileName, const QByteArray& bytes);
    // Shows a recording kept elsewhere (the journal of one the program lost) as an opened
    // record file is shown.
    void restore(recordfile::Record record);

private:
    void beforeDialog();
    void widenSensorRanges();
    void show(recordfile::Record record);

    OperationContext* m_ctx;
    ChartPanel* m_panel;
    LiveRecorder* m_rec;
};
