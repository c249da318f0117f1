#include "telemetry/recordfiles.h"

#include "common/messages.h"
#include "common/userfiles.h"
#include "link/operationcontext.h"
#include "telemetry/chartpanel.h"
#include "telemetry/csvexport.h"
#include "telemetry/liverecorder.h"
#include "telemetry/recordfile.h"
#include "telemetry/journalkeeper.h"
#include "telemetry/seriescontrols.h"

#include <QFile>
#include <QMessageBox>

using namespace live;

RecordFiles::RecordFiles(OperationContext* ctx, ChartPanel* panel, LiveRecorder* recorder, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_panel(panel), m_rec(recorder) {
    confirmOverwrite = [this](const QString& fileName) {
        return QMessageBox::question(m_ctx->window, QString(), userfiles::overwriteQuestion(fileName, msgs().english())) ==
               QMessageBox::Yes;
    };
    connect(panel->ui.atb_Param_Save, &QToolButton::clicked, this, &RecordFiles::atb_Param_SaveClick);
    connect(panel->ui.atb_Param_Open, &QToolButton::clicked, this, &RecordFiles::atb_Param_OpenClick);
}

void RecordFiles::beforeDialog() {
    // A dialog holds the window for as long as it is open: no exchange may run behind it,
    // and a recording would take the gap for data.
    if (stopLivePoints) stopLivePoints();
    m_rec->pauseIfRecording();
}

void RecordFiles::atb_Param_SaveClick() {
    const int rows = std::min(m_rec->Row_Arhiv - 1, m_rec->Arhiv.samples());
    if (rows <= 0) {
        m_ctx->error(recordfile::nothingRecordedMessage(msgs().english()));
        return;
    }
    beforeDialog();
    const QString chosen =
        m_ctx->saveFileName(QString(), recordfile::dialogFilter() + QStringLiteral(";;") + csvexport::dialogFilter());
    if (chosen.isEmpty()) return;
    const SampleTable& a = m_rec->Arhiv;
    const auto value = [&a](int row, int field) { return a.value(row + 1, field); };
    QString error;
    // A spreadsheet copy is not the record: the journal stays until the record is saved.
    if (csvexport::isCsvName(chosen)) {
        if (!userfiles::write(chosen, csvexport::encode(rows, value), &error, msgs().english())) m_ctx->error(error);
        return;
    }
    const QString name = recordfile::withSuffix(chosen);
    if (name != chosen && QFile::exists(name) && !(confirmOverwrite && confirmOverwrite(name))) return;
    if (!userfiles::write(name, recordfile::encode(rows, value), &error, msgs().english())) {
        m_ctx->error(error);
        return;
    }
    m_rec->journal().discard();
}

void RecordFiles::widenSensorRanges() {
    // A record's sensor readings are shown against the widest range a sensor may report.
    for (Param p : {L1, L2}) {
        m_rec->Live.p[p].Min = -5;
        m_rec->Live.p[p].Max = 10;
    }
}

void RecordFiles::atb_Param_OpenClick() {
    beforeDialog();
    widenSensorRanges();
    const QString name = m_ctx->openFileName(QString(), recordfile::dialogFilter(), std::nullopt);
    if (name.isEmpty()) return;
    QByteArray bytes;
    QString error;
    if (!userfiles::read(name, -1, &bytes, &error, msgs().english())) {
        m_ctx->error(error);
        return;
    }
    load(name, bytes);
}

bool RecordFiles::load(const QString& fileName, const QByteArray& bytes) {
    recordfile::Record record = recordfile::parse(bytes);
    const QString failure = record.ok() ? QString() : recordfile::badLineMessage(fileName, record, msgs().english());
    show(std::move(record));
    if (!failure.isEmpty()) {
        m_ctx->error(failure);
        return false;
    }
    return true;
}

void RecordFiles::restore(recordfile::Record record) {
    m_rec->pauseIfRecording();
    widenSensorRanges();
    show(std::move(record));
}

void RecordFiles::show(recordfile::Record record) {
    LiveRecorder& r = *m_rec;
    // The recording in the archive, if any, stays in its journal.
    r.journal().detach();
    const int n = record.rows();
    r.Arhiv.truncate(0);
    r.Navigator.truncate(0);
    r.Navigator.setHeads(LiveRecorder::navigatorHeads());
    if (n > 0) {
        // Navigator table: the time, then each parameter's percent of its preset range.
        std::vector<std::vector<double>> nav(recordfile::Fields);
        nav[0] = record.values[0];
        for (int f = 1; f < recordfile::Fields; ++f) {
            const GrafParam& g = r.Live.p[columnParam(f)];
            const std::vector<double>& v = record.values[std::size_t(f)];
            std::vector<double>& out = nav[std::size_t(f)];
            out.resize(v.size());
            for (std::size_t i = 0; i < v.size(); ++i)
                out[i] = g.Max != g.Min ? (v[i] - g.Min) * 100 / (g.Max - g.Min) : 0;
        }
        r.Navigator.appendRows(nav);

        std::array<std::vector<double>, ParamChart::Series> series;
        for (int s = 0; s < ParamChart::Series; ++s) series[std::size_t(s)] = record.values[std::size_t(paramColumn(Param(s)))];
        r.chart().appendSamples(record.values[0], series, r.series().pointColors());
        series = {};
        if (m_panel->ui.atb_Type_Graf_Nepr->isChecked()) r.chart().fitTimeAxis();
        r.chart().queueReplot();

        std::vector<std::vector<double>> arhiv(std::make_move_iterator(record.values.begin()),
                                               std::make_move_iterator(record.values.end()));
        r.Arhiv.appendRows(arhiv);
    }
    r.Row_Arhiv = n + 1;
    r.Samples_Total = r.Row_Arhiv;
    // Stop then lets the record be browsed, as after a recording.
    m_panel->ui.atb_Chart1_Stop->setEnabled(true);
}
