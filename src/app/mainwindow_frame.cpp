// The window frame: tool bar, work area, panel buttons, status bars and pop-ups. Built in
// code because the frame is mostly an assembly of the panels and of small widgets.
#include "app/mainwindow.h"

#include "app/protocolpanel.h"
#include "app/statusbar.h"
#include "icons/icons.h"
#include "settings/settingspanel.h"
#include "tables/curvepanel.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/parampanel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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
} // namespace

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
    portLabel->setObjectName(QStringLiteral("Lbl_Port"));
    auto* graphLabel = new QLabel(QStringLiteral("Интервал графика, с:"), ToolBar_Top);
    graphLabel->setObjectName(QStringLiteral("Lbl_Int_Graf_In"));
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
    atb_MAF_TR_90->setToolTip(QStringLiteral("TR_90"));
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
        // A recording disables atb_ModuleOff: the port must stay open under its timers.
        if (atb_ModuleOff->isEnabled()) atb_ModuleOffClick();
    });
    connect(atbRus, &QToolButton::clicked, this, &TForm1::atbRusClick);
    connect(atbEng, &QToolButton::clicked, this, &TForm1::atbEngClick);

    Timer_Hide_Panels = new QTimer(this);
    Timer_Hide_Panels->setObjectName(QStringLiteral("Timer_Hide_Panels"));
    Timer_Hide_Panels->setInterval(300);
    connect(Timer_Hide_Panels, &QTimer::timeout, this, &TForm1::Timer_Hide_PanelsTimer);
}

