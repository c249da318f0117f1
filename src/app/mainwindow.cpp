#include "app/mainwindow.h"

#include "app/protocolfile.h"
#include "app/protocolpanel.h"
#include "app/statusbar.h"
#include "common/datetime.h"
#include "common/messages.h"
#include "dialogs/about.h"
#include "dialogs/confirmations.h"
#include "dialogs/openfilewindow.h"
#include "icons/icons.h"
#include "link/tbcomport.h"
#include "settings/settingspanel.h"
#include "settings/settingsreader.h"
#include "tables/curvepanel.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "widgets/stepper.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
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
QToolButton* toolButton(QWidget* parent, const char* name, const QString& text, const QString& hint = {}) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    return b;
}

const QString kCaption = QStringLiteral("Оптимизатор. Версия 8.0");
} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    resize(1000, 673);
    setMinimumSize(1000, 600);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

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
    Ctx.openFileName = [this](const QString& caption, const QString& filter) {
        return QFileDialog::getOpenFileName(this, caption, QString(), filter);
    };
    Ctx.saveFileName = [this](const QString& caption, const QString& filter) {
        return QFileDialog::getSaveFileName(this, caption, QString(), filter);
    };
    Steppers = new Stepper(Panel_Sett_Max->ui.Pnl_Reg2, this);
    Steppers->setObjectName(QStringLiteral("Steppers"));

    FormCreate();
    createModalWindows();
    createRecorder();
}

TForm1::~TForm1() { FormDestroy(); }

void TForm1::buildToolBar() {
    ToolBar_Top = new QFrame(this);
    ToolBar_Top->setObjectName(QStringLiteral("ToolBar_Top"));
    ToolBar_Top->setFrameShape(QFrame::StyledPanel);
    auto* h = new QHBoxLayout(ToolBar_Top);
    h->setContentsMargins(4, 2, 4, 2);
    h->setSpacing(4);

    atb_ModuleOn = toolButton(ToolBar_Top, "atb_ModuleOn", QString(), QStringLiteral("Подключить модуль"));
    atb_ModuleOn->setIcon(icons::connectModule());
    atb_ModuleOn->setIconSize(QSize(28, 28));
    atb_ModuleOff = toolButton(ToolBar_Top, "atb_ModuleOff", QString(), QStringLiteral("Отключить модуль"));
    atb_ModuleOff->setIcon(icons::disconnectModule());
    atb_ModuleOff->setIconSize(QSize(28, 28));
    atb_Menu_File = toolButton(ToolBar_Top, "atb_Menu_File", QStringLiteral("Файл"));
    atb_Menu_File->setVisible(false);
    atb_Menu_Module = toolButton(ToolBar_Top, "atb_Menu_Module", QStringLiteral("Модуль"));
    AdvToolButton3 = toolButton(ToolBar_Top, "AdvToolButton3", QStringLiteral("О программе"));
    AdvToolButton3->setIcon(icons::info());
    AdvToolButton3->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    cbPort = new QComboBox(ToolBar_Top);
    cbPort->setObjectName(QStringLiteral("cbPort"));
    cbPort->setToolTip(QStringLiteral("Выбор СОМ-порта"));
    cbPort->setMinimumWidth(150);
    cbPort->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    atb_Port = toolButton(ToolBar_Top, "atb_Port", QString(), QStringLiteral("Выбор СОМ-порта"));
    atb_Port->setIcon(icons::dropDown());

    cb_Int_Graf_In = new QComboBox(ToolBar_Top);
    cb_Int_Graf_In->setObjectName(QStringLiteral("cb_Int_Graf_In"));
    cb_Int_Graf_In->setToolTip(QStringLiteral("интервал вывода значений на график, с"));
    cb_Int_Graf_In->addItems({QStringLiteral("0,1"), QStringLiteral("0,2"), QStringLiteral("0,25"),
                              QStringLiteral("0,5"), QStringLiteral("1,0"), QStringLiteral("1,5"),
                              QStringLiteral("2,0")});
    cb_Int_Graf_In->setCurrentIndex(2);
    atb_Int_Graf_In = toolButton(ToolBar_Top, "atb_Int_Graf_In", QString(),
                                 QStringLiteral("интервал вывода значений на график, с"));
    atb_Int_Graf_In->setIcon(icons::dropDown());

    Lbl_Timer_NeprOpros_Interval = new QLabel(QStringLiteral("Интервал опроса, мс"), ToolBar_Top);
    Lbl_Timer_NeprOpros_Interval->setObjectName(QStringLiteral("Lbl_Timer_NeprOpros_Interval"));
    Lbl_Timer_NeprOpros_Interval->setVisible(false);
    Ed_Timer_NeprOpros_Interval = new QLineEdit(QStringLiteral("50"), ToolBar_Top);
    Ed_Timer_NeprOpros_Interval->setObjectName(QStringLiteral("Ed_Timer_NeprOpros_Interval"));
    Ed_Timer_NeprOpros_Interval->setVisible(false);

    atb_Flag_Rus = toolButton(ToolBar_Top, "atb_Flag_Rus", QString(), QStringLiteral("Язык интерфейса"));
    atb_Flag_Rus->setIcon(icons::flagRussia());
    atb_Flag_Rus->setIconSize(QSize(30, 20));
    atb_Flag_Eng = toolButton(ToolBar_Top, "atb_Flag_Eng", QString(), QStringLiteral("Interface language"));
    atb_Flag_Eng->setIcon(icons::flagEngland());
    atb_Flag_Eng->setIconSize(QSize(30, 20));
    atb_Flag_Eng->setVisible(false);

    Panel_GL_Text = new QWidget(ToolBar_Top);
    Panel_GL_Text->setObjectName(QStringLiteral("Panel_GL_Text"));
    Panel_GL_Text->setFixedSize(1, 1);

    auto* portLabel = new QLabel(QStringLiteral("Порт:"), ToolBar_Top);
    auto* graphLabel = new QLabel(QStringLiteral("Интервал графика, с:"), ToolBar_Top);
    h->addWidget(atb_ModuleOn);
    h->addWidget(atb_ModuleOff);
    h->addSpacing(8);
    h->addWidget(atb_Menu_File);
    h->addWidget(atb_Menu_Module);
    h->addWidget(AdvToolButton3);
    h->addSpacing(16);
    h->addWidget(portLabel);
    h->addWidget(cbPort);
    h->addWidget(atb_Port);
    h->addSpacing(16);
    h->addWidget(graphLabel);
    h->addWidget(cb_Int_Graf_In);
    h->addWidget(atb_Int_Graf_In);
    h->addWidget(Lbl_Timer_NeprOpros_Interval);
    h->addWidget(Ed_Timer_NeprOpros_Interval);
    h->addStretch(1);
    h->addWidget(Panel_GL_Text);
    h->addWidget(atb_Flag_Rus);
    h->addWidget(atb_Flag_Eng);

    connect(atb_ModuleOn, &QToolButton::clicked, this, &TForm1::atb_ModuleOnClick);
    connect(atb_ModuleOff, &QToolButton::clicked, this, &TForm1::atb_ModuleOffClick);
    connect(atb_Port, &QToolButton::clicked, this, &TForm1::atb_PortClick);
    connect(atb_Int_Graf_In, &QToolButton::clicked, this, &TForm1::atb_Int_Graf_InClick);
    connect(atb_Menu_Module, &QToolButton::clicked, this, &TForm1::atb_Menu_ModuleClick);
    connect(atb_Menu_File, &QToolButton::clicked, this, &TForm1::atb_Menu_FileClick);
    connect(AdvToolButton3, &QToolButton::clicked, this, &TForm1::AdvToolButton3Click);
    for (QWidget* w : {static_cast<QWidget*>(atb_Menu_Module), static_cast<QWidget*>(atb_Menu_File),
                       static_cast<QWidget*>(atb_Flag_Rus), static_cast<QWidget*>(atb_Flag_Eng)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

void TForm1::buildWorkArea(QWidget* parent) {
    auto* h = new QHBoxLayout(parent);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    Panel_Work = new QStackedWidget(parent);
    Panel_Work->setObjectName(QStringLiteral("Panel_Work"));
    Panel_Sett_Max = new SettingsPanel(Panel_Work);
    Panel_Sett_Max->setRightReserve(0); // the parameter list stands beside it, not over it
    Panel_Parr_Max = new ChartPanel(Panel_Work);
    Panel_3D = new Table3DPanel(Panel_Work);
    Panel_Emu = new CurvePanel(1, Panel_Work);
    Panel_Emu_2 = new CurvePanel(2, Panel_Work);
    Panel_Protocol = new ProtocolPanel(Panel_Work);
    Panel_Protocol->ui.MemoProtocol->setUndoRedoEnabled(false); // the log only grows
    for (QWidget* w : {static_cast<QWidget*>(Panel_Sett_Max), static_cast<QWidget*>(Panel_Parr_Max),
                       static_cast<QWidget*>(Panel_3D), static_cast<QWidget*>(Panel_Emu),
                       static_cast<QWidget*>(Panel_Emu_2), static_cast<QWidget*>(Panel_Protocol)})
        Panel_Work->addWidget(w);
    Panel_Parr_Parr_Max = new ParamPanel(parent);
    Panel_Parr_Parr_Max->setFixedWidth(395);
    h->addWidget(Panel_Work, 1);
    h->addWidget(Panel_Parr_Parr_Max);
}

void TForm1::buildPanelButtons() {
    Panel4 = new QFrame(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFrameShape(QFrame::StyledPanel);
    auto* h = new QHBoxLayout(Panel4);
    h->setContentsMargins(4, 2, 4, 2);
    h->setSpacing(2);

    Group_Panels = new QButtonGroup(this);
    Group_Panels->setObjectName(QStringLiteral("Group_Panels"));
    Group_Panels->setExclusive(true);
    auto panelButton = [&](const char* name, const QString& text, bool visible) {
        QToolButton* b = toolButton(Panel4, name, text);
        b->setCheckable(true);
        b->setAutoRaise(false);
        b->setMinimumHeight(36);
        b->setMinimumWidth(84);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setVisible(visible);
        Group_Panels->addButton(b);
        h->addWidget(b);
        return b;
    };
    atb_Sett_min = panelButton("atb_Sett_min", QStringLiteral("Настройки"), false);
    atb_Parr_min = panelButton("atb_Parr_min", QStringLiteral("График"), false);
    // Two-line captions, as the Russian interface texts have them, so that a model's
    // whole set of views fits beside the manual send at the minimum width.
    atb_Lambda = panelButton("atb_Lambda", QStringLiteral("Поверхность\nЛямбда"), false);
    atb_MAF = panelButton("atb_MAF", QStringLiteral("Поверхность\nMAF"), false);
    atb_MAF_TR_90 = panelButton("atb_MAF_TR_90", QStringLiteral("Поверхность\nэмулятора"), false);
    atb_Emu = panelButton("atb_Emu", QStringLiteral("Плоскость\nЛямбда"), false);
    atb_TR_90_Lambda_1 = panelButton("atb_TR_90_Lambda_1", QStringLiteral("Плоскость\nЛямбда 1"), false);
    atb_TR_90_Lambda_2 = panelButton("atb_TR_90_Lambda_2", QStringLiteral("Плоскость\nЛямбда 2"), false);
    atbMemo = panelButton("atbMemo", QStringLiteral("Протокол"), true);
    atb_Sett_min->setChecked(true);

    h->addStretch(1);
    Ed_Peredat = new QLineEdit(Panel4);
    Ed_Peredat->setObjectName(QStringLiteral("Ed_Peredat"));
    Ed_Peredat->setMaximumWidth(160);
    Ed_Peredat->setPlaceholderText(QStringLiteral("команда, например 87*"));
    atb_Seans = toolButton(Panel4, "atb_Seans", QStringLiteral("Передать"), QStringLiteral("Передать команду модулю"));
    atb_Seans->setAutoRaise(false);
    atb_Seans->setIcon(icons::send());
    atb_Seans->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    atb_Seans->setMinimumHeight(30);
    Edit5 = new QLineEdit(Panel4);
    Edit5->setObjectName(QStringLiteral("Edit5"));
    Edit5->setReadOnly(true);
    Edit5->setFixedWidth(60);
    Edit5->setEnabled(false);
    Edit6 = new QLineEdit(Panel4);
    Edit6->setObjectName(QStringLiteral("Edit6"));
    Edit6->setReadOnly(true);
    Edit6->setFixedWidth(60);
    Edit6->setEnabled(false);
    h->addWidget(Ed_Peredat);
    h->addWidget(atb_Seans);
    h->addWidget(Edit5);
    h->addWidget(Edit6);

    connect(atb_Seans, &QToolButton::clicked, this, &TForm1::atb_SeansClick);
    connect(Ed_Peredat, &QLineEdit::returnPressed, this, [this] {
        if (atb_Seans->isEnabled()) atb_SeansClick();
    });
    connect(atb_Sett_min, &QToolButton::clicked, this, &TForm1::atb_Sett_minClick);
    connect(atb_Parr_min, &QToolButton::clicked, this, &TForm1::atb_Parr_minClick);
    connect(atbMemo, &QToolButton::clicked, this, &TForm1::atbMemoClick);
    connect(atb_Lambda, &QToolButton::clicked, this, &TForm1::atb_LambdaClick);
    connect(atb_MAF, &QToolButton::clicked, this, &TForm1::atb_MAFClick);
    connect(atb_MAF_TR_90, &QToolButton::clicked, this, &TForm1::atb_MAF_TR_90Click);
    connect(atb_Emu, &QToolButton::clicked, this, &TForm1::atb_EmuClick);
    connect(atb_TR_90_Lambda_1, &QToolButton::clicked, this, &TForm1::atb_TR_90_Lambda_1Click);
    connect(atb_TR_90_Lambda_2, &QToolButton::clicked, this, &TForm1::atb_TR_90_Lambda_2Click);
}

void TForm1::buildStatus() {
    StatusBar_Bottom = new StatusBar(QStringLiteral("StatusBar_Bottom"), {250, 150, 150, 150}, this);
    StatusBar_Top = new StatusBar(QStringLiteral("StatusBar_Top"), {150, 150, 150, 120}, this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(12);
    Panel_Sic = new QFrame(this);
    Panel_Sic->setObjectName(QStringLiteral("Panel_Sic"));
    Panel_Sic->setFixedHeight(4);
}

void TForm1::buildPopups(QWidget* parent) {
    auto popup = [&](const char* name, int height) {
        auto* f = new QFrame(parent);
        f->setObjectName(QString::fromLatin1(name));
        f->setFrameShape(QFrame::Box);
        f->setAutoFillBackground(true);
        f->setFixedSize(130, height);
        auto* v = new QVBoxLayout(f);
        v->setContentsMargins(1, 1, 1, 1);
        v->setSpacing(0);
        f->hide();
        return f;
    };
    auto item = [&](QFrame* f, const char* name, const QString& text) {
        QToolButton* b = toolButton(f, name, text);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setMouseTracking(true);
        b->installEventFilter(this);
        f->layout()->addWidget(b);
        return b;
    };
    pnlMenu_File = popup("pnlMenu_File", 75);
    AdvToolButton1 = item(pnlMenu_File, "AdvToolButton1", QStringLiteral("Открыть  "));
    AdvToolButton2 = item(pnlMenu_File, "AdvToolButton2", QStringLiteral("Сохранить"));
    AdvToolButton4 = item(pnlMenu_File, "AdvToolButton4", QStringLiteral("Закрыть   "));
    pnlMenu_Module = popup("pnlMenu_Module", 50);
    AdvToolButton5 = item(pnlMenu_Module, "AdvToolButton5", QStringLiteral("Подключить"));
    AdvToolButton8 = item(pnlMenu_Module, "AdvToolButton8", QStringLiteral("Отключить  "));
    pnl_Language = popup("pnl_Language", 50);
    pnl_Language->setFixedWidth(60);
    atbRus = item(pnl_Language, "atbRus", QStringLiteral("Рус"));
    atbEng = item(pnl_Language, "atbEng", QStringLiteral("Eng"));

    // The module menu does what its items say, as the tool bar buttons do.
    connect(AdvToolButton5, &QToolButton::clicked, this, [this] {
        pnlMenu_Module->hide();
        if (atb_ModuleOn->isEnabled()) atb_ModuleOnClick();
    });
    connect(AdvToolButton8, &QToolButton::clicked, this, [this] {
        pnlMenu_Module->hide();
        atb_ModuleOffClick();
    });

    Timer_Hide_Panels = new QTimer(this);
    Timer_Hide_Panels->setObjectName(QStringLiteral("Timer_Hide_Panels"));
    Timer_Hide_Panels->setInterval(300);
    connect(Timer_Hide_Panels, &QTimer::timeout, this, &TForm1::Timer_Hide_PanelsTimer);
}

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
    // 2. The surface view sets itself up when it is first shown (QOpenGLWidget).
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
    // 10-14. Configuration files, language, curve grids, saved orientations and the port
    // selection are applied here once their readers exist; the curve grids fill their
    // 65 rows in their constructors.
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

void TForm1::showSent(const QString& cmd) {
    Edit5->setText(cmd);
    StatusBar_Top->setPanelText(2, msgs().Msg_Query + QLatin1Char(' ') + cmd);
}

void TForm1::showReceived(const QString& buffer, bool cleared) {
    Edit6->setText(buffer);
    StatusBar_Top->setPanelText(3, cleared ? QString() : msgs().Msg_Answer + QLatin1Char(' ') + buffer);
}

void TForm1::setProgress(int position) { ProgressBar1->setValue(position); }

void TForm1::appendLog(const QString& line) { logLine(line); }

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
    Conn->start();
}

void TForm1::atb_ModuleOffClick() {
    StatusBar_Top->setAlarm(false);
    ProgressBar1->setValue(0);
    // The configuration files are written here once they exist.
    BComPort1->Close_Port();
    if (!BComPort1->isOpen()) {
        cbPort->setEnabled(true);
        Edit6->setEnabled(false);
        Edit5->setEnabled(false);
    }
    StatusBar_Top->setPanelText(0, msgs().Msg_Module_Off);
    atb_Port->setEnabled(true);
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
    StatusBar_Bottom->setPanelText(0, msgs().Msg_Model + QStringLiteral(": ") + id);
    setWindowTitle(msgs().Msg_Model_Caption + QLatin1Char(' ') + id);
    // The model profiles (TR-70, TR-90) are applied here once they exist; an unknown model
    // only shows its identifier.
}

// --- interface lock -----------------------------------------------------------------

QList<QWidget*> TForm1::blockedControls() const {
    const auto& p = Panel_Parr_Parr_Max->ui;
    const auto& c = Panel_Parr_Max->ui;
    const auto& t = Panel_3D->ui;
    const auto& e1 = Panel_Emu->ui;
    const auto& e2 = Panel_Emu_2->ui;
    return {Panel_Sett_Max,      p.atb_Get_0,         t.atb_MAF_Out,        t.atb_MAF_In,    t.atb_Lambda_Out,
            t.atb_Lambda_In,     t.atb_MAF_TR_90_Out, t.atb_MAF_TR_90_In,   e1.atb_Emu_In,   e1.atb_Emu_Out,
            e1.Btn_YellowPoints, e2.Btn_YellowPoints, e2.atb_Emu_In,        e2.atb_Emu_Out,  c.atb_Chart1_Start,
            c.gb_Type_Graf,      atb_Seans,           cb_Int_Graf_In,       atb_Int_Graf_In};
}

void TForm1::Btn_BlockClick() {
    for (QWidget* w : blockedControls()) w->setEnabled(false);
    Panel_Emu->Shape_0->show();
    Panel_Emu_2->Shape_0->show();
}

void TForm1::Btn_UnBlockClick() {
    for (QWidget* w : blockedControls()) w->setEnabled(true);
    Panel_Emu->Shape_0->hide();
    Panel_Emu_2->Shape_0->hide();
    Panel_Parr_Max->ui.atb_Chart1_Stop->setEnabled(true);
}

// --- manual send --------------------------------------------------------------------

void TForm1::atb_SeansClick() {
    Ex->Cmd_Pending = Ed_Peredat->text();
    Ex->Timer_SeansOne->start();
}

// --- views and pop-ups --------------------------------------------------------------

void TForm1::atb_PortClick() { cbPort->showPopup(); }
void TForm1::atb_Int_Graf_InClick() { cb_Int_Graf_In->showPopup(); }

void TForm1::showPanel(QWidget* panel, bool withParams) {
    Panel_Work->setCurrentWidget(panel);
    panel->show();
    Panel_Parr_Parr_Max->setVisible(withParams);
}

void TForm1::atb_Sett_minClick() { showPanel(Panel_Sett_Max, true); }
void TForm1::atb_Parr_minClick() { showPanel(Panel_Parr_Max, true); }
void TForm1::atbMemoClick() { showPanel(Panel_Protocol, false); }
void TForm1::atb_LambdaClick() { showPanel(Panel_3D, false); }
void TForm1::atb_MAFClick() { showPanel(Panel_3D, false); }
void TForm1::atb_MAF_TR_90Click() { showPanel(Panel_3D, false); }
void TForm1::atb_EmuClick() { showPanel(Panel_Emu, false); }
void TForm1::atb_TR_90_Lambda_1Click() { showPanel(Panel_Emu, false); }
void TForm1::atb_TR_90_Lambda_2Click() { showPanel(Panel_Emu_2, false); }

void TForm1::showPopupBelow(QFrame* popup, QWidget* anchor) {
    const QPoint below = anchor->mapTo(centralWidget(), QPoint(0, anchor->height() + 3));
    popup->move(below);
    popup->show();
    popup->raise();
}

void TForm1::atb_Menu_ModuleClick() {
    pnlMenu_File->hide();
    showPopupBelow(pnlMenu_Module, atb_Menu_Module);
    btnRefresh3D();
}

void TForm1::atb_Menu_FileClick() {
    pnlMenu_Module->hide();
    showPopupBelow(pnlMenu_File, atb_Menu_File);
    btnRefresh3D();
}

void TForm1::atb_Flag_RusMouseMove() {
    QWidget* flag = atb_Flag_Rus->isVisible() ? atb_Flag_Rus : atb_Flag_Eng;
    if (!pnl_Language->isVisible()) showPopupBelow(pnl_Language, flag);
}

void TForm1::Timer_Hide_PanelsTimer() {
    Panel_Sett_Max->ui.Panel_LAMBDA_StepSmesi->hide();
    Panel_Parr_Parr_Max->ui.Panel_WLine->hide();
    pnlMenu_File->hide();
    pnlMenu_Module->hide();
    pnl_Language->hide();
    Timer_Hide_Panels->stop();
    btnRefresh3D();
}

void TForm1::btnRefresh3D() { Panel_3D->ui.Panel_Space3D->update(); }

void TForm1::AdvToolButton3Click() {
    fmAbout->setLanguage(atb_Flag_Eng->isVisible());
    fmAbout->placeLeftEdge(width(), Panel_3D->ui.Panel_Table3D->width());
    fmAbout->open();
}
