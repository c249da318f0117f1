#pragma once
// The window's settings between runs: Info_A.ini (port, chart options, saved surface
// orientations, language, chart colours) and Config_A.ini (the chart visibility mask of
// each sensor configuration). Both live in the current directory; they are read at start
// and rewritten at every disconnect, which every exit runs. A missing file is a first run:
// it is written from the window's own values and the start goes on.

#include "common/configfiles.h"

#include <QString>

#include <functional>

class ChartPanel;
class CurvePanel;
class ModeSwitches;
class ParamPanel;
class QComboBox;
class QWidget;
class SettingsPanel;
class SurfaceView;
struct ModuleFacts;

// The parts of the window whose values the files keep, and the language switches; the
// window binds them.
struct ConfigurationParts {
    QComboBox* port = nullptr;          // cbPort
    QComboBox* chartInterval = nullptr; // cb_Int_Graf_In
    QWidget* englishFlag = nullptr;     // atb_Flag_Eng, hidden while the interface is Russian
    SettingsPanel* settings = nullptr;  // cb_K, the connection way, the MAF type
    ChartPanel* chart = nullptr;        // Panel_Parr_Max
    ParamPanel* params = nullptr;       // Panel_Parr_Parr_Max
    SurfaceView* surface = nullptr;     // the 3D view and its saved orientations
    CurvePanel* curve = nullptr;        // Panel_Emu
    ModeSwitches* modes = nullptr;      // keeps the wideband choices until a view offers them
    const ModuleFacts* module = nullptr; // the sensor types of the connected module
    std::function<void()> setRussian;   // atbRusClick
    std::function<void()> setEnglish;   // atbEngClick
};

class Configuration {
  public:
    static const QString InfoFile;   // "Info_A.ini"
    static const QString ConfigFile; // "Config_A.ini"

    explicit Configuration(ConfigurationParts parts);

    cfg::Info Info;   // as last read or written
    cfg::Masks Masks; // the 18 masks and the code matched at the last disconnect
    QString Current_Mask = QStringLiteral("11111111111");
    // Ports in the list at this run's start (Enum_Com_Ports_prev of the next run).
    int Ports_Found = 0;

    // Start, in the window's order: Info_A.ini read and applied (the language included);
    // the saved orientations; the port selection; Config_A.ini read. A file that cannot be
    // read (or, missing, cannot be created) leaves the window's values in force: false with
    // its message. Bad lines of a file that was read cost only their own values: readInfo
    // is true and gives the message of the first bad line in *error (empty when none);
    // readConfig is false with that message, the good masks read all the same. The other
    // file is read all the same.
    bool readInfo(QString* error);
    void applySavedOrientations();
    void selectPort();
    bool readConfig(QString* error);

    // Model recognition: the mask saved for the sensor configuration code becomes the
    // current one; an unknown code keeps the current mask. Returns it.
    QString takeMaskFor(const QString& code);

    // The sensor configuration code of the controls as they are now (the connection way
    // counts only when one of its buttons is down).
    QString currentCode() const;

    // Disconnect: the chart boxes' mask is stored under the current code, then Config_A.ini
    // and Info_A.ini are written, each whole or not at all. Both are attempted; false with
    // the messages when either failed.
    bool write(QString* error);

  private:
    void collect(cfg::Info& info) const;
    void apply(const cfg::Info& info);

    ConfigurationParts m_parts;
};
