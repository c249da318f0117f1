#pragma once
// Applying a model profile after model recognition (Btn_Raschet_TR_70, Btn_Raschet_TR_90):
// the common steps in their order, each panel taking the model's differences through its
// own method.

#include <QList>

#include <functional>

struct ModelProfile;
struct ModuleFacts;
class ChartPanel;
class Configuration;
class Connection;
class ModeSwitches;
class ParamPanel;
class QProgressBar;
class QToolButton;
class SettingsPanel;
class SettingsReader;
class Table3DPanel;

// What a profile changes on the window and what it reads; the window binds them.
struct ProfileParts {
    QList<QToolButton*> singleCurveViews; // atb_Lambda, atb_Emu, atb_MAF
    QList<QToolButton*> twoCurveViews;    // atb_TR_90_Lambda_1, atb_TR_90_Lambda_2, atb_MAF_TR_90
    Table3DPanel* tables = nullptr;
    SettingsPanel* settings = nullptr;
    const SettingsReader* registers = nullptr; // register 00's bits
    ModeSwitches* modes = nullptr;
    const Connection* connection = nullptr;    // the identification bytes 4D, 4E, 74, 75
    ParamPanel* params = nullptr;
    ChartPanel* chart = nullptr;
    QProgressBar* progress = nullptr;          // ProgressBar1
    ModuleFacts* module = nullptr;             // takes K_RashTopl
    std::function<void()> unblock;             // Btn_UnBlockClick
    std::function<void()> redrawTables;        // btnRefresh3D
};

class ModelProfiles {
  public:
    ModelProfiles(ProfileParts parts, Configuration* config);

    // Unblocks the interface, shows the model's views, the table axis from register 00,
    // the settings arrangement and the module's mode, the digital MAF output frequency and
    // K_RashTopl, and the chart mask saved for the sensor configuration.
    void apply(const ModelProfile& profile);

    // The digital MAF output frequency computed at the last recognition, Hz.
    double Digital_MAF_Frequency = 0;

  private:
    ProfileParts m_parts;
    Configuration* m_config;
};
