#pragma once
// Language-dependent texts that handlers put into status panels, captions, hints and
// chart labels at run time, and the current language. One instance for the program;
// switching the language rewrites every member at once.

#include <QString>

struct Messages {
    QString Lang_Code; // "Rus" or "Eng"
    // The interface is English (Russian before any choice).
    bool english() const { return Lang_Code == QLatin1String("Eng"); }

    QString Msg_D1_Zirc_Voltage, Msg_D1_WB_Current, Msg_D1_AFR;
    QString Msg_D2_Zirc_Voltage, Msg_D2_WB_Current, Msg_D2_AFR;
    QString Msg_Module_Off, Msg_Emu_Cap_Left, Msg_Emu_Cap_Right;
    QString Msg_Query, Msg_Answer;
    QString Msg_MAF_Read_End, Msg_Lambda_Read_End;
    QString Msg_Point, Msg_Voltage, Msg_Volt_Unit, Msg_Fuel, Msg_Litre_Unit;
    QString Msg_Connect_Failed, Msg_Wait_Connect, Msg_Model, Msg_Model_Caption, Msg_Module_On;
    QString Msg_Sensor1_Zirconia, Msg_Sensor1_Wideband, Msg_Sensor2_Zirconia, Msg_Sensor2_Wideband;

    void setRussian();
    void setEnglish();
};

// The program's message texts. They start out Russian, so that a first run without a
// saved language choice still shows "Запрос"/"Ответ" rather than blank prefixes.
Messages& msgs();
