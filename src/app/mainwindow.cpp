#include "app/mainwindow.h"

#include "app/configuration.h"
#include "app/filedialogs.h"
#include "app/framelimiter.h"
#include "app/interfacelanguage.h"
#include "app/modelprofiles.h"
#include "app/protocolfile.h"
#include "app/protocolpanel.h"
#include "app/recordingviews.h"
#include "app/replayviews.h"
#include "app/statusbar.h"
#include "app/workreports.h"
#include "common/datetime.h"
#include "common/messages.h"
#include "dialogs/about.h"
#include "dialogs/confirmations.h"
#include "dialogs/openfilewindow.h"
#include "history/history.h"
#include "icons/icons.h"
#include "link/modelprofile.h"
#include "link/tbcomport.h"
#include "settings/lambdalearning.h"
#include "settings/modeswitches.h"
#include "settings/optionswitches.h"
#include "settings/parametersteppers.h"
#include "settings/registerwriter.h"
#include "settings/settingspanel.h"
#include "settings/settingsreader.h"
#include "surface/surfacenavigator.h"
#include "tables/curvepanel.h"
#include "tables/table3dpanel.h"
#include "tables/tablefileactions.h"
#include "tables/tabletransfer.h"
#include "telemetry/chartpanel.h"
#include "telemetry/journalrestore.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfiles.h"
#include "widgets/stepper.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("Оптимизатор. Версия 8.0");
} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    resize(1000, 673);
    setMinimumSize(1000, 600);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    Frames = new FrameLimiter(this, 100, this);
    Frames->setObjectName(QStringLiteral("Frames"));
    BComPort1 = new TBComPort(this);
    BComPort1->setObjectName(QStringLiteral("BComPort1"));
    Ex = new Exchange(BComPort1, this, this);
    Ex->setObjectName(QStringLiteral("Exchange"));
    connect(BComPort1, &TBComPort::portFailed, this, &TForm1::onPortFailed);
    // The manual send's gate runs last and takes whatever arrives as the answer.
    Ex->setGate(Ex->Timer_SeansOne, [this](const QString&) {
        Ex->showSentCommand();
        logLine(QString());
        Ex->Timer_SeansOne->stop();
        Btn_UnBlockClick();
    });
    // A command nobody answers is sent for at most the answer watch's time.
    Ex->setStallEnd(Ex->Timer_SeansOne, [this](StallKind) {
        const QString sent = Ex->Cmd_Sent;
        Ex->Timer_SeansOne->stop();
        Btn_UnBlockClick();
        return StallReport{QStringLiteral("manualSend"), {sent}};
    });
    Conn = new Connection(Ex, this, this);
    Conn->setObjectName(QStringLiteral("Connection"));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Form1_Client"));
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    setCentralWidget(central);

    buildToolBar();
    v->addWidget(ToolBar_Top);
    auto* work = new QWidget(central);
    work->setObjectName(QStringLiteral("Panel_WorkArea"));
    buildWorkArea(work);
    v->addWidget(work, 1);
    buildStatus();
    buildPanelButtons();
    v->addWidget(StatusBar_Bottom);
    v->addWidget(Panel4);
    v->addWidget(StatusBar_Top);
    v->addWidget(ProgressBar1);
    v->addWidget(Panel_Sic);
    buildPopups(central);

    Settings = std::make_unique<SettingsReader>(Panel_Sett_Max, [this](const QString& l) { logLine(l); });

    SaveDialog_CloseProg = new QFileDialog(this, QString(), QString(), QStringLiteral("Файлы протокола (*.txt)"));
    SaveDialog_CloseProg->setObjectName(QStringLiteral("SaveDialog_CloseProg"));
    SaveDialog_CloseProg->setAcceptMode(QFileDialog::AcceptSave);
    askProtocolFileName = [this]() -> QString {
        if (SaveDialog_CloseProg->exec() != QDialog::Accepted) return QString();
        const QStringList files = SaveDialog_CloseProg->selectedFiles();
        return files.isEmpty() ? QString() : files.first();
    };

    Ctx.ex = Ex;
    Ctx.window = this;
    Ctx.log = [this](const QString& l) { logLine(l); };
    Ctx.block = [this] { Btn_BlockClick(); };
    Ctx.unblock = [this] { Btn_UnBlockClick(); };
    Ctx.portOpen = [this] { return BComPort1->isOpen(); };
    Ctx.error = [this](const QString& text) { showError(text); };
    Ctx.confirm = [](QDialog* d) { return d->exec() == QDialog::Accepted; };
    Ctx.openFileName = [this](const QString& caption, const QString& filter, std::optional<TableKind> copiesOf) {
        const QString copies = Ctx.module.identifier.isEmpty()
                                   ? QString()
                                   : history::folder(QDir::currentPath(), Ctx.module.identifier);
        return filedialogs::openFileName(
            this, caption, filedialogs::withHistoryFilter(filter, copiesOf, msgs().english()), copies);
    };
    Ctx.saveFileName = [this](const QString& caption, const QString& filter) {
        return filedialogs::saveFileName(this, caption, filter);
    };
    Steppers = new Stepper(Panel_Sett_Max->ui.Pnl_Reg2, this);
    Steppers->setObjectName(QStringLiteral("Steppers"));

    // The surface's orientation buttons; a turn, Pop and Default run the shown table's refresh.
    const auto& t3 = Panel_3D->ui;
    SurfaceView* space = t3.Panel_Space3D;
    Navigator3D =
        new SurfaceNavigator(space,
                             {t3.atb_3D_RotateLeft, t3.atb_3D_RotateRight, t3.atb_3D_RotateUp,
                              t3.atb_3D_RotateDown, t3.atb_3D_RotateUpZ, t3.atb_3D_RotateDownZ,
                              t3.atb_3D_Zoom, t3.atb_Push_3D, t3.atb_Pop_3D, t3.atb_Default_3D},
                             this);
    Navigator3D->refreshShownTable = [this] { Panel_3D->refreshShownTable(); };
    auto loadAxis = [space](bool injectionTime) {
        space->setLoadAxis(injectionTime ? LoadAxis::InjectionTime : LoadAxis::MafVoltage);
    };
    loadAxis(t3.atb_KorrTab_VV->isChecked());
    connect(t3.atb_KorrTab_VV, &QAbstractButton::toggled, space, loadAxis);

    Language = new InterfaceLanguage(this);
    FormCreate();
    createModalWindows();
    // A language chosen during startup reaches the modal windows created after it.
    Language->applyToDialogs(uitexts::currentLang());
    createRecorder();

    TableTransfers = new TableTransfer(&Ctx, Panel_3D, Panel_Emu, Panel_Emu_2, Steppers, this);
    TableTransfers->setObjectName(QStringLiteral("TableTransfers"));
    TableTransfers->fmPredupr0A = fmPredupr0A;
    TableTransfers->fmPredupr0B = fmPredupr0B;
    TableTransfers->showStatus = [this](const QString& text) { StatusBar_Top->setPanelText(2, text); };
    TableTransfers->setProgressRange = [this](int maximum) { ProgressBar1->setRange(0, maximum); };
    Panel_3D->onConversionError = [this](const QString& text) { showError(text); };
    Panel_Emu->onConversionError = [this](const QString& text) { showError(text); };
    Panel_Emu_2->onConversionError = [this](const QString& text) { showError(text); };
    TableFileButtons = new TableFiles(&Ctx, Panel_3D, Panel_Emu, Panel_Emu_2, TableTransfers, this);
    TableFileButtons->setObjectName(QStringLiteral("TableFileButtons"));
    // Only a running recording is paused, so that a dialog opened while idle neither shows
    // Continue nor releases the interface.
    TableFileButtons->pauseChart = [this] { Recorder->pauseIfRecording(); };
    RecordFileButtons = new RecordFiles(&Ctx, Panel_Parr_Max, Recorder, this);
    RecordFileButtons->setObjectName(QStringLiteral("RecordFileButtons"));
    RecordFileButtons->stopLivePoints = [this] { TableTransfers->stopLivePoints(); };
    RecordingRestore = new JournalRestore(&Ctx, RecordFileButtons, this);
    connect(Panel_3D, &Table3DPanel::redrawRequested, this, &TForm1::btnRefresh3D);
    // The recording on the tables (operating point, cell statistics).
    RecordingOnTables = new RecordingViews(Recorder, Panel_Parr_Max, Ex->Timer_Module_Graf, Panel_3D, this);
    RecordingOnTables->setObjectName(QStringLiteral("RecordingOnTables"));
    Corrections = feedCorrections();
    Reports = new WorkReports({this, &Ctx, [this] { return Config ? Config->currentCode() : QString(); }, BComPort1,
                               Recorder, Panel_Parr_Max, Panel_3D, atb_Menu_Module, pnlMenu_Module});
    Replays = new ReplayViews({&Ctx, Recorder, Panel_Parr_Max, Panel_Parr_Parr_Max, Panel_3D, Reports->chartMenu(),
                               RecordingOnTables, Ex->Timer_Module_Graf, Frames, this},
                              this);
    Replays->beforeDialog = [this] {
        TableTransfers->stopLivePoints();
        Recorder->pauseIfRecording();
    };
    wireSettings();
    // The load axis of the tables writes register 00 through the settings' option write.
    TableTransfers->writeOperatingRegister = [this](const QString& key) { RegWriter->writeOption(key); };

    // Steps 10 to 14 of the start run last, when every panel and controller that takes
    // a saved value exists.
    readConfiguration();
    watchPorts();
}

void TForm1::wireSettings() {
    ParamPanel* pp = Panel_Parr_Parr_Max;
    Selectors.d1Plain = [pp] { pp->Show_D1_Plain(); };
    Selectors.d1Split = [pp] { pp->Show_D1_Split(); };
    Selectors.d2Plain = [pp] { pp->Show_D2_Plain(); };
    Selectors.d2Split = [pp] { pp->Show_D2_Split(); };
    Selectors.digitalOutput = [pp](bool on) { pp->showDigitalOutputSelector(on); };
    Selectors.pulseFrequency = [pp](bool on) { pp->showPulseFrequencySelector(on); };
    Selectors.analogVoltage = [pp](bool on) { pp->showAnalogVoltageSelector(on); };
    RegWriter = new RegisterWriter(&Ctx, Panel_Sett_Max, Settings.get(), &Selectors, this);
    RegWriter->korrTabBit = [this] {
        const auto& t = Panel_3D->ui;
        return t.atb_KorrTab_MAF->isChecked() ? QStringLiteral("1")
               : t.atb_KorrTab_VV->isChecked() ? QStringLiteral("0")
                                               : QString();
    };
    Params = new ParameterSteppers(&Ctx, Panel_Sett_Max, Steppers, RegWriter, this);
    Options = new OptionSwitches(&Ctx, Panel_Sett_Max, RegWriter, &Selectors, Timer_Hide_Panels, fmPredupr0E, this);
    wireModes();
}

void TForm1::wireModes() {
    ModeViews.emuView = [this](bool shown) { atb_Emu->setVisible(shown); };
    ModeViews.lambdaView = [this](bool shown) {
        // A hidden view cannot stay the chosen one: the settings come to the front.
        if (!shown && atb_Lambda->isChecked()) {
            atb_Sett_min->setChecked(true);
            atb_Sett_minClick();
        }
        atb_Lambda->setVisible(shown);
    };
    ModeViews.mafPNote = [this](bool shown) { Panel_3D->showMafPNote(shown); };
    ModeViews.sensorStatus = [this](int panel, const QString& text) { StatusBar_Bottom->setPanelText(panel, text); };
    ParamPanel* pp = Panel_Parr_Parr_Max;
    ModeViews.hideWidebandChoice = [pp](int sensor) { pp->hideWidebandChoice(sensor); };
    ModeViews.showWidebandChoice = [pp](int sensor, bool current) { pp->showWidebandChoice(sensor, current); };
    ModeViews.clearCurve = [this] { Panel_Emu->clearCurveSeries(); };
    ModeViews.setCurvePoint = [this](int point, const QString& text) { Panel_Emu->setPointText(point, text); };
    ModeViews.redrawCurve = [this] { Panel_Emu->refreshCurve(); };
    Modes = new ModeSwitches(&Ctx, Panel_Sett_Max, Settings.get(), RegWriter, Conn, &Selectors, &ModeViews,
                             fmPredupr0C, fmPredupr0D, this);
    Modes->setObjectName(QStringLiteral("Modes"));
    Learning = new LambdaLearning(&Ctx, Panel_Sett_Max, Settings.get(), RegWriter, &ModeViews, fmPredupr_Lambda_A,
                                  fmPredupr_Lambda_A_02, this);
    Learning->setObjectName(QStringLiteral("Learning"));
    wireConfiguration();
}

void TForm1::readConfiguration() {
    // The port list was filled by step 9; the port watcher keeps the count up to date.
    Config->Ports_Found = cbPort->count();
    // 10. Info_A.ini, which also chooses the language. 11. The curve grids have their rows.
    // 12. The saved orientations. 13. The port. 14. Config_A.ini. A file that fails is
    // reported; the window keeps its own values for what could not be read (a bad line
    // costs only its own value), and the other file is read all the same (a damaged
    // Info_A.ini must not cost the masks of Config_A.ini at the next exit).
    QStringList failed;
    QString error;
    if (Config->readInfo(&error)) {
        Config->applySavedOrientations();
        Config->selectPort();
    }
    if (!error.isEmpty()) failed << error;
    error.clear();
    if (!Config->readConfig(&error)) failed << error;
    if (!failed.isEmpty()) showError(failed.join(QLatin1Char('\n')));
}

TForm1::~TForm1() { FormDestroy(); }

void TForm1::createModalWindows() {
    fm_3D_Open = new Tfm_3D_Open(this);
    fmPredupr0D = new TfmPredupr0D(this);
    fmPredupr_Lambda_A_02 = new TfmPredupr_Lambda_A_02(this);
    fmPredupr0A = new TfmPredupr0A(this);
    fmPredupr0B = new TfmPredupr0B(this);
    fmPredupr0C = new TfmPredupr0C(this);
    fmPredupr_Lambda_A = new TfmPredupr_Lambda_A(this);
    fmPredupr0E = new TfmPredupr0E(this);
    fmAbout = new TfmAbout(this);
}

void TForm1::createRecorder() {
    const auto& set = Panel_Sett_Max->ui;
    LiveInputs in;
    in.intervalBox = cb_Int_Graf_In;
    in.cycleInterval = Ed_Timer_NeprOpros_Interval;
    in.moduleOff = atb_ModuleOff;
    in.coefficientWarning = fmPredupr0D;
    in.hidePanels = Timer_Hide_Panels;
    in.connection = Conn;
    in.crankIndex = [cb = set.cb_K] { return cb->currentIndex(); };
    in.emulatorOn = [b = set.AdvTBtn_Emu] { return b->isChecked(); };
    in.optimizerOn = [b = set.AdvTBtn_Opt] { return b->isChecked(); };
    in.mafPOn = [b = set.AdvTBtn_MAF_P] { return b->isChecked(); };
    in.displacementOn = [b = set.atb_LAMBDA_Way_Displacement] { return b->isChecked(); };
    in.mafAbove1kHz = [b = set.atb_DMRV_Diapazone_More] { return b->isChecked(); };
    in.telemetryStatus = [this](const QString& t) { StatusBar_Top->setPanelText(1, t); };
    Recorder = new LiveRecorder(&Ctx, Panel_Parr_Max, Panel_Parr_Parr_Max, Steppers, std::move(in), this);
    Recorder->setObjectName(QStringLiteral("Recorder"));
}

void TForm1::FormCreate() {
    // 1. Start line.
    logLine(QStringLiteral("Запуск программы: ") + nowText());
    logLine(QString());
    // 2. The surface view sets up its OpenGL when it is first painted.
    // 3. Nothing that talks to the module works before a connection.
    Btn_BlockClick();
    // 4. The settings view is the first view.
    showPanel(Panel_Sett_Max, true);
    // 5. The curve charts create their markers and live points in their constructors.
    // 6. The bar is green whatever the style would choose.
    QPalette pal = ProgressBar1->palette();
    pal.setColor(QPalette::Highlight, QColor(0, 160, 0));
    ProgressBar1->setPalette(pal);
    ProgressBar1->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid #999; background: #f4f4f4; }"
                                               "QProgressBar::chunk { background-color: rgb(0,160,0); }"));
    // 7. The table grid writes its axis labels in its constructor.
    // 8. One flag is shown at a time, in the same place (a layout slot each, one hidden).
    // 9. The port list.
    QStringList ports;
    TBComPort::List_Com_Ports(ports);
    cbPort->addItems(ports);
    // 10-14. The configuration files, the language, the saved orientations and the port
    // selection: readConfiguration(), at the end of the construction. The curve grids fill
    // their 65 rows in their constructors.
}

void TForm1::FormDestroy() {
    if (m_destroyed) return;
    m_destroyed = true;
    atb_ModuleOffClick();
}

bool TForm1::FormClose() {
    if (!Panel_Protocol->ui.cb_Protocol_Ask->isChecked()) return true;
    const QString chosen = askProtocolFileName();
    if (chosen.isEmpty()) return true;
    QString error;
    if (!writeProtocolFile(protocolFileName(chosen), Panel_Protocol->logText(), &error)) {
        // The log stays, the window stays; the user may try again or clear the check box.
        showError(error);
        return false;
    }
    return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const bool isFlag = watched == atb_Flag_Rus || watched == atb_Flag_Eng;
    const bool isMenuButton = watched == atb_Menu_Module || watched == atb_Menu_File || isFlag;
    const auto* w = qobject_cast<QWidget*>(watched);
    const bool isItem = w && (w->parentWidget() == pnlMenu_File || w->parentWidget() == pnlMenu_Module ||
                              w->parentWidget() == pnl_Language);
    switch (event->type()) {
    case QEvent::Leave:
        if (isMenuButton || isItem) Timer_Hide_Panels->start();
        break;
    case QEvent::Enter:
    case QEvent::MouseMove:
    case QEvent::HoverMove:
        if (isItem) Timer_Hide_Panels->stop();
        if (isFlag) atb_Flag_RusMouseMove();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::logLine(const QString& line) { Panel_Protocol->appendLine(line); }

// The exchange calls these on every tick and receive event. They change only what
// differs and nothing in them lays the window out (the status panels keep their size
// whatever their text); the window paints the changes with its next frame (Frames).
void TForm1::showSent(const QString& cmd) {
    if (Edit5->text() != cmd) Edit5->setText(cmd);
    StatusBar_Top->setPanelText(2, msgs().Msg_Query + QLatin1Char(' ') + cmd);
}

void TForm1::showReceived(const QString& buffer, bool cleared) {
    if (Edit6->text() != buffer) Edit6->setText(buffer);
    StatusBar_Top->setPanelText(3, cleared ? QString() : msgs().Msg_Answer + QLatin1Char(' ') + buffer);
}

void TForm1::setProgress(int position) {
    // The bar's own wish to repaint at once when it grows waits for the frame as well.
    if (position != ProgressBar1->value()) ProgressBar1->setValue(position);
}

void TForm1::appendLog(const QString& line) { logLine(line); }

// An operation the module left without an answer: the bottom bar's free panel says which,
// in the alarm colour, until the next operation starts (the top bar's panels belong to the
// exchange, which rewrites them with every answer).
void TForm1::showStall(const QString& text) {
    StatusBar_Bottom->setPanelText(3, text);
    StatusBar_Bottom->setAlarm(true);
}

void TForm1::clearStall() {
    if (!StatusBar_Bottom->alarm()) return;
    StatusBar_Bottom->setPanelText(3, QString());
    StatusBar_Bottom->setAlarm(false);
}

void TForm1::showError(const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Critical, windowTitle(), text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("ErrorBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// --- connection ---------------------------------------------------------------------

void TForm1::atb_ModuleOnClick() {
    try {
        BComPort1->setPort(cbPort->currentText());
        BComPort1->Open_Port();
    } catch (const EComPort& e) {
        showError(e.message());
        return;
    }
    if (BComPort1->isOpen()) {
        Edit5->setEnabled(true);
        Edit6->setEnabled(true);
        Edit5->setFocus();
        cbPort->setEnabled(false);
        atb_Port->setEnabled(false);
    }
    Settings->resetForConnection();
    // A mode switch or learning step of an earlier connection has nobody to answer it.
    Modes->abortForConnection();
    Learning->abortForConnection();
    RegWriter->forgetHeldWrite();
    Conn->start();
}

void TForm1::atb_ModuleOffClick() {
    StatusBar_Top->setAlarm(false);
    ProgressBar1->setValue(0);
    // The settings files first; one that cannot be written is reported, and the port is
    // closed all the same.
    QString configError;
    const bool saved = !Config || Config->write(&configError);
    BComPort1->Close_Port();
    if (!BComPort1->isOpen()) {
        cbPort->setEnabled(true);
        Edit6->setEnabled(false);
        Edit5->setEnabled(false);
    }
    StatusBar_Top->setPanelText(0, msgs().Msg_Module_Off);
    atb_Port->setEnabled(true);
    if (saved) return;
    if (m_destroyed) {
        // The window is going away: the message must be read before it does.
        QMessageBox::critical(nullptr, windowTitle(), configError);
    } else {
        showError(configError);
    }
}

void TForm1::onPortFailed(const QString& text) {
    // The adapter went away or the line failed: say so once, leave everything that was
    // received and logged in place, and return to the disconnected state.
    logLine(QStringLiteral("Ошибка порта: ") + text + QLatin1Char(' ') + nowText());
    logLine(QString());
    cbPort->setEnabled(true);
    atb_Port->setEnabled(true);
    Edit6->setEnabled(false);
    Edit5->setEnabled(false);
    StatusBar_Top->setPanelText(0, msgs().Msg_Module_Off);
    showError(text);
}

void TForm1::setConnectionState(const QString& text) { StatusBar_Top->setPanelText(0, text); }
void TForm1::setConnectionAlarm(bool alarm) { StatusBar_Top->setAlarm(alarm); }
void TForm1::setProgressRange(int maximum) { ProgressBar1->setRange(0, maximum); }
void TForm1::enableModuleOff() { atb_ModuleOff->setEnabled(true); }

QString TForm1::registerStep(const QString& sent, const QString& answer) { return Settings->step(sent, answer); }

void TForm1::btn_WhoIsModuleClick() {
    atb_Sett_min->setVisible(true);
    atb_Parr_min->setVisible(true);
    const QString id = Conn->modelIdentifier();
    Ctx.module.model = Conn->modelName();
    Ctx.module.identifier = id;
    Settings->keepReadCopy(Ctx);
    StatusBar_Bottom->setPanelText(0, msgs().Msg_Model + QStringLiteral(": ") + id);
    setWindowTitle(msgs().Msg_Model_Caption + QLatin1Char(' ') + id);
    // An unknown model only shows its identifier.
    if (Ctx.module.model == profiles::tr70().model) Btn_Raschet_TR_70Click();
    if (Ctx.module.model == profiles::tr90().model) Btn_Raschet_TR_90Click();
}

void TForm1::Btn_Raschet_TR_70Click() { Profiles->apply(profiles::tr70()); }
void TForm1::Btn_Raschet_TR_90Click() { Profiles->apply(profiles::tr90()); }
