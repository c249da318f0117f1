#pragma once
// What the operating modes and the Lambda learning change outside the settings panel: the
// window's view buttons, the status bar, the table panel's note, the wideband choices of
// the parameter list and the grid and chart of emulation curve 1. The settings never
// include those panels; the window binds these hooks to their methods. A hook left unbound
// does nothing.

#include <QString>

#include <functional>

struct ModeHooks {
    // The view button of emulation curve 1 (atb_Emu) and of the Lambda surface (atb_Lambda,
    // which is also released when hidden).
    std::function<void(bool shown)> emuView;
    std::function<void(bool shown)> lambdaView;
    // The note of the table panel about the MAF(P) scale (Panel_lbl_MAF): shown in the
    // language in force, or empty.
    std::function<void(bool shown)> mafPNote;
    // Panel 1 (sensor 1) or 2 (sensor 2) of StatusBar_Bottom.
    std::function<void(int panel, const QString& text)> sensorStatus;
    // The wideband choice of sensor 1 or 2 (CheckBox_D1 / CheckBox_D2): hidden; or shown,
    // ticked as given, with the sensor's plain chart row captioned for the choice and its
    // before/after rows hidden.
    std::function<void(int sensor)> hideWidebandChoice;
    std::function<void(int sensor, bool current)> showWidebandChoice;
    // Emulation curve 1: both chart series emptied; the grid text of point 1..64; the
    // chart redrawn from the grid (Btn_Refresh_2D_Graf).
    std::function<void()> clearCurve;
    std::function<void(int point, const QString& text)> setCurvePoint;
    std::function<void()> redrawCurve;

    template <class F, class... A> static void call(const F& f, A&&... a) {
        if (f) f(std::forward<A>(a)...);
    }
};
