// The window's partners that keep its settings files and apply the model profiles, each
// given the parts of the window it reads and changes.
#include "app/configuration.h"
#include "app/mainwindow.h"
#include "app/modelprofiles.h"
#include "tables/table3dpanel.h"

void TForm1::wireConfiguration() {
    ConfigurationParts c;
    c.port = cbPort;
    c.chartInterval = cb_Int_Graf_In;
    c.englishFlag = atb_Flag_Eng;
    c.settings = Panel_Sett_Max;
    c.chart = Panel_Parr_Max;
    c.params = Panel_Parr_Parr_Max;
    c.surface = Panel_3D->ui.Panel_Space3D;
    c.curve = Panel_Emu;
    c.modes = Modes;
    c.module = &Ctx.module;
    c.setRussian = [this] { atbRusClick(); };
    c.setEnglish = [this] { atbEngClick(); };
    Config = std::make_unique<Configuration>(std::move(c));

    ProfileParts p;
    p.singleCurveViews = {atb_Lambda, atb_Emu, atb_MAF};
    p.twoCurveViews = {atb_TR_90_Lambda_1, atb_TR_90_Lambda_2, atb_MAF_TR_90};
    p.tables = Panel_3D;
    p.settings = Panel_Sett_Max;
    p.registers = Settings.get();
    p.modes = Modes;
    p.connection = Conn;
    p.params = Panel_Parr_Parr_Max;
    p.chart = Panel_Parr_Max;
    p.progress = ProgressBar1;
    p.module = &Ctx.module;
    p.unblock = [this] { Btn_UnBlockClick(); };
    p.redrawTables = [this] { btnRefresh3D(); };
    Profiles = std::make_unique<ModelProfiles>(std::move(p), Config.get());
}
