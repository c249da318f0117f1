// The main window lends the corrections of the table grid what it knows: the archive and its
// rows (whole or the chart's page), the sensor 1 the module reported with the wideband choice
// of the parameter list and the connection way, the module's identifier, the settings file
// beside the configuration files and the error box.
#include "app/mainwindow.h"
#include "app/recordingviews.h"
#include "link/modelprofile.h"
#include "settings/settingspanel.h"
#include "tables/correctionscontroller.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"

#include <QDir>
#include <qcustomplot.h>

CorrectionsController* TForm1::feedCorrections() {
    TForm1& w = *this;
    auto* c = new CorrectionsController(w.Panel_3D);
    TForm1* win = &w;
    c->source = [win](bool pageOnly) {
        CorrectionSource s;
        const auto [first, last] = win->RecordingOnTables->recordingRows(pageOnly);
        const int samples = win->RecordingOnTables->recordedSamples();
        if (samples <= 0 || first > last) return s;
        const SampleTable* a = &win->Recorder->Arhiv;
        s.value = [a](int row, int col) { return a->column(col).at(row - 1); };
        s.rows = pageOnly ? analysis::RecordingRows::page(samples, first, last) : analysis::RecordingRows::whole(samples);
        // A zirconia sensor reads volts; in the offset connection L1 is the module's shift
        // and the sensor's own voltage is U1do. Anything else is the wideband sensor, read
        // as the parameter list shows it.
        if (win->Ctx.module.Ed_Type_Datchik_1_RU == kZirconiaSensor) {
            s.sensor = analysis::SensorKind::Zirconia;
            if (win->Panel_Sett_Max->ui.atb_LAMBDA_Way_Displacement->isChecked())
                s.readingColumn = analysis::column::U1do;
        } else {
            s.sensor = win->Panel_Parr_Parr_Max->ui.CheckBox_D1->isChecked() ? analysis::SensorKind::WidebandCurrent
                                                                             : analysis::SensorKind::WidebandAfr;
        }
        return s;
    };
    c->moduleId = [win] { return win->Ctx.module.identifier; };
    c->showError = [win](const QString& text) { win->showError(text); };
    c->setFilePath(QDir::current().filePath(correctionsfile::FileName));
    c->load();

    SampleTable* archive = &w.Recorder->Arhiv;
    QObject::connect(archive, &QAbstractItemModel::rowsInserted, c, &CorrectionsController::recordingChanged);
    QObject::connect(archive, &QAbstractItemModel::rowsRemoved, c, &CorrectionsController::recordingChanged);
    QObject::connect(archive, &QAbstractItemModel::modelReset, c, &CorrectionsController::recordingChanged);
    QObject::connect(w.Recorder->chart().plot()->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), c,
                     &CorrectionsController::recordingChanged);
    return c;
}
