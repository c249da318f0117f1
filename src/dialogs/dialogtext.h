#pragma once
// A text shown in both interface languages. The modal windows keep their texts as such
// pairs, next to each other, so that switching language is a lookup and not a second copy
// of the window.

#include <QString>

struct TextPair {
    QString ru;
    QString en;

    const QString& text(bool english) const { return english ? en : ru; }
};
