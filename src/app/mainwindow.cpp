#include "app/mainwindow.h"

#include "app/icons.h"
#include "app/protocolfile.h"
#include "app/protocolpanel.h"
#include "app/statusbar.h"
#include "common/datetime.h"
#include "common/messages.h"
#include "link/tbcomport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
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
} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Оптимизатор. Версия 8.0"));
    resize(1000, 673);
    setMinimumSize(1000, 600);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    BComPort1 = new TBComPort(this);
    BComPort1->setObjectName(QStringLiteral("BComPort1"));
    Ex = new Exchange(BComPort1, this, this);
    connect(BComPort1, &TBComPort::portFailed, this, &TForm1::onPortFailed);
    // The manual send's gate runs last and takes whatever arrives as the answer.
    Ex->setGate(Ex->Timer_SeansOne, [this](const QString&) {
        Ex->showSentCommand();
        logLine(QString());
        Ex->Timer_SeansOne->stop();
        Btn_UnBlockClick();
    });

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Form1_Client"));
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    setCentralWidget(central);

    buildToolBar();
    v->addWidget(ToolBar_Top);

    Panel_Work = new QStackedWidget(central);
    Panel_Work->setObjectName(QStringLiteral("Panel_Work"));
    Panel_Protocol = new ProtocolPanel(Panel_Work);
    Panel_Protocol->ui.MemoProtocol->setUndoRedoEnabled(false); // the log only grows
    Panel_Work->addWidget(Panel_Protocol);
    v->addWidget(Panel_Work, 1);

    buildStatus();
    buildPanelButtons();
    v->addWidget(StatusBar_Bottom);
    v->addWidget(Panel4);
    v->addWidget(StatusBar_Top);
    v->addWidget(ProgressBar1);
    v->addWidget(Panel_Sic);

    FormCreate();
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
    atb_ModuleOn->setIcon(icons::plugIn());
    atb_ModuleOn->setIconSize(QSize(28, 28));
    atb_ModuleOff = toolButton(ToolBar_Top, "atb_ModuleOff", QString(), QStringLiteral("Отключить модуль"));
    atb_ModuleOff->setIcon(icons::plugOut());
    atb_ModuleOff->setIconSize(QSize(28, 28));
    atb_Menu_File = toolButton(ToolBar_Top, "atb_Menu_File", QStringLiteral("Файл"));
    atb_Menu_File->setVisible(false);
    atb_Menu_Module = toolButton(ToolBar_Top, "atb_Menu_Module", QStringLiteral("Модуль"));
    AdvToolButton3 = toolButton(ToolBar_Top, "AdvToolButton3", QStringLiteral("О программе"));

    cbPort = new QComboBox(ToolBar_Top);
    cbPort->setObjectName(QStringLiteral("cbPort"));
    cbPort->setToolTip(QStringLiteral("Выбор СОМ-порта"));
    cbPort->setEditable(false);
    cbPort->setMinimumWidth(150);
    cbPort->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    atb_Port = toolButton(ToolBar_Top, "atb_Port", QString(), QStringLiteral("Выбор СОМ-порта"));
    atb_Port->setIcon(icons::dropDown());

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

    h->addWidget(atb_ModuleOn);
    h->addWidget(atb_ModuleOff);
    h->addSpacing(8);
    h->addWidget(atb_Menu_File);
    h->addWidget(atb_Menu_Module);
    h->addWidget(AdvToolButton3);
    h->addSpacing(16);
    h->addWidget(cbPort);
    h->addWidget(atb_Port);
    h->addWidget(Lbl_Timer_NeprOpros_Interval);
    h->addWidget(Ed_Timer_NeprOpros_Interval);
    h->addStretch(1);
    h->addWidget(Panel_GL_Text);
    h->addWidget(atb_Flag_Rus);
    h->addWidget(atb_Flag_Eng);

    connect(atb_ModuleOn, &QToolButton::clicked, this, &TForm1::atb_ModuleOnClick);
    connect(atb_ModuleOff, &QToolButton::clicked, this, &TForm1::atb_ModuleOffClick);
    connect(atb_Port, &QToolButton::clicked, this, &TForm1::atb_PortClick);
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
        b->setMinimumHeight(30);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setVisible(visible);
        Group_Panels->addButton(b);
        h->addWidget(b);
        return b;
    };
    atb_Sett_min = panelButton("atb_Sett_min", QStringLiteral("Настройки"), false);
    atb_Parr_min = panelButton("atb_Parr_min", QStringLiteral("График"), false);
    atb_Lambda = panelButton("atb_Lambda", QStringLiteral("Поверхность Лямбда"), false);
    atb_MAF = panelButton("atb_MAF", QStringLiteral("Поверхность MAF"), false);
    atb_MAF_TR_90 = panelButton("atb_MAF_TR_90", QStringLiteral("Поверхность MAF"), false);
    atb_Emu = panelButton("atb_Emu", QStringLiteral("Плоскость Лямбда"), false);
    atb_TR_90_Lambda_1 = panelButton("atb_TR_90_Lambda_1", QStringLiteral("Плоскость Лямбда 1"), false);
    atb_TR_90_Lambda_2 = panelButton("atb_TR_90_Lambda_2", QStringLiteral("Плоскость Лямбда 2"), false);
    atbMemo = panelButton("atbMemo", QStringLiteral("Протокол"), true);
    atb_Sett_min->setChecked(true);

    h->addStretch(1);
    atb_Seans = toolButton(Panel4, "atb_Seans", QStringLiteral("Передать"), QStringLiteral("Передать команду модулю"));
    atb_Seans->setAutoRaise(false);
    atb_Seans->setMinimumHeight(30);
    Ed_Peredat = new QLineEdit(Panel4);
    Ed_Peredat->setObjectName(QStringLiteral("Ed_Peredat"));
    Ed_Peredat->setMaximumWidth(160);
    Ed_Peredat->setToolTip(QStringLiteral("Команда модулю, например 87*"));
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
    connect(atbMemo, &QToolButton::clicked, this, &TForm1::atbMemoClick);
    connect(Ed_Peredat, &QLineEdit::returnPressed, this, [this] {
        if (atb_Seans->isEnabled()) atb_SeansClick();
    });
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

void TForm1::FormCreate() {
    logLine(QStringLiteral("Запуск программы: ") + nowText());
    logLine(QString());

    // The bar is green whatever the style would choose.
    QPalette pal = ProgressBar1->palette();
    pal.setColor(QPalette::Highlight, QColor(0, 160, 0));
    ProgressBar1->setPalette(pal);
    ProgressBar1->setStyleSheet(QStringLiteral("QProgressBar::chunk { background-color: rgb(0,160,0); }"));

    QStringList ports;
    TBComPort::List_Com_Ports(ports);
    cbPort->addItems(ports);
}

void TForm1::FormDestroy() {
    if (m_destroyed) return;
    m_destroyed = true;
    atb_ModuleOffClick();
}

bool TForm1::FormClose() {
    if (!Panel_Protocol->ui.cb_Protocol_Ask->isChecked()) return true;
    const QString chosen = QFileDialog::getSaveFileName(this, QString(), QString(),
                                                        QStringLiteral("Файлы протокола (*.txt)"));
    if (chosen.isEmpty()) return true;
    QString error;
    if (!writeProtocolFile(protocolFileName(chosen), Panel_Protocol->logText(), &error)) {
        QMessageBox::critical(this, windowTitle(), error);
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
}

void TForm1::atb_ModuleOffClick() {
    StatusBar_Top->setAlarm(false);
    ProgressBar1->setValue(0);
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

void TForm1::atb_SeansClick() {
    Ex->Cmd_Pending = Ed_Peredat->text();
    Ex->Timer_SeansOne->start();
}

void TForm1::atb_PortClick() { cbPort->showPopup(); }

void TForm1::showPanel(QWidget* panel) {
    Panel_Work->setCurrentWidget(panel);
    panel->show();
}

void TForm1::atbMemoClick() { showPanel(Panel_Protocol); }

void TForm1::Btn_BlockClick() {}
void TForm1::Btn_UnBlockClick() {}
