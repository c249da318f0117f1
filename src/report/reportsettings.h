#pragma once
// The settings part of a work report: every setting of the settings panel, decoded from
// the registers of two settings images (before and after the work) by the registers' own
// codecs, named as the panel names it, in the panel's order. Pure code: QtCore only.

#include <QList>
#include <QMap>
#include <QString>

namespace report {

struct SettingRow {
    QString name;   // the panel's title of the setting
    QString before; // as decoded before the work; empty when nothing is known of it
    QString after;  // as decoded after it
    // The setting's bits or bytes differ between the images, or so does its shown value
    // (register 15 follows the crankshaft coefficient). Never set without a before image.
    bool changed = false;
};

// The rows for the images; before may be null. A register missing from an image shows as
// a dash; a byte that is no code of its setting shows as a dash with the byte. Bit 5 of
// register 00, which no control shows, has a row only when it changed.
QList<SettingRow> settingRows(const QMap<int, int>* before, const QMap<int, int>& after, bool english);

} // namespace report
