// The window's views: the interface lock, the panel buttons, the pop-ups below the tool
// bar, the about box and the interface language.
#include "app/mainwindow.h"

#include "app/interfacelanguage.h"
#include "app/protocolpanel.h"
#include "dialogs/about.h"
#include "link/exchange.h"
#include "settings/settingspanel.h"
#include "surface/surfaceview.h"
#include "tables/curvepanel.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/parampanel.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>

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
    Ex->start(Ex->Timer_SeansOne, Ed_Peredat->text());
}

// --- views and pop-ups --------------------------------------------------------------

void TForm1::atb_PortClick() { cbPort->showPopup(); }
void TForm1::atb_Int_Graf_InClick() { cb_Int_Graf_In->showPopup(); }

void TForm1::showPanel(QWidget* panel, bool withParams) {
    // The surface is drawn only while one of the table views is chosen.
    if (panel != Panel_3D) Panel_3D->ui.Panel_Space3D->setActive(false);
    Panel_Work->setCurrentWidget(panel);
    panel->show();
    Panel_Parr_Parr_Max->setVisible(withParams);
}

void TForm1::atb_Sett_minClick() { showPanel(Panel_Sett_Max, true); }
void TForm1::atb_Parr_minClick() { showPanel(Panel_Parr_Max, true); }
void TForm1::atbMemoClick() { showPanel(Panel_Protocol, false); }
void TForm1::atb_LambdaClick() {
    showPanel(Panel_3D, false);
    Panel_3D->btn_Lambda();
}
void TForm1::atb_MAFClick() {
    showPanel(Panel_3D, false);
    Panel_3D->btn_MAF();
}
void TForm1::atb_MAF_TR_90Click() {
    showPanel(Panel_3D, false);
    Panel_3D->btn_MAF_TR_90();
}
void TForm1::atb_EmuClick() { showPanel(Panel_Emu, false); }
void TForm1::atb_TR_90_Lambda_1Click() { showPanel(Panel_Emu, false); }
void TForm1::atb_TR_90_Lambda_2Click() { showPanel(Panel_Emu_2, false); }

void TForm1::showPopupBelow(QFrame* popup, QWidget* anchor) {
    QPoint below = anchor->mapTo(centralWidget(), QPoint(0, anchor->height() + 3));
    // The flags stand at the right edge: a pop-up that would run past it moves left.
    below.setX(qMax(0, qMin(below.x(), centralWidget()->width() - popup->width())));
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

void TForm1::atbRusClick() {
    Language->apply(uitexts::Lang::Russian);
    Panel_Emu->renewHints();
    Panel_Emu_2->renewHints();
}
void TForm1::atbEngClick() {
    Language->apply(uitexts::Lang::English);
    Panel_Emu->renewHints();
    Panel_Emu_2->renewHints();
}
