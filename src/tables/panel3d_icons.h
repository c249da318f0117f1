#pragma once
// Pictograms of the 3D table panel's buttons, drawn in code so that they look the same on
// every desktop theme and need no image files.

#include <QIcon>

enum class Panel3DIcon {
    TableWrite,         // send the table to the module
    TableRead,          // fetch the table from the module
    FileOpen,
    FileSave,
    RotateLeft,
    RotateRight,
    RotateUp,
    RotateDown,
    RotateUpZ,          // counter-clockwise turn about the axis facing the viewer
    RotateDownZ,        // clockwise turn
    Zoom,
    PushOrientation,    // store the current orientation
    PopOrientation,     // bring the stored orientation back
    DefaultOrientation,
};

// The icon for one button; drawn once per kind and then reused.
QIcon panel3DIcon(Panel3DIcon kind);
