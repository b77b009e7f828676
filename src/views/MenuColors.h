#pragma once

#include "preferences/SystemColors.h"

#include <QColor>
#include <QPalette>

namespace zentaris {

// The named colours the menu rows draw with, taken from the menu's palette so that they follow
// a light or a dark theme.
struct MenuColors {
    QColor primaryLabel;
    QColor secondaryLabel;
    QColor accent;
    QColor systemBlue;
    QColor selectedMenuItem;

    static MenuColors from(const QPalette& palette);
};

// Scales the saturation about the colour's luminance, then adds `brightnessShift` to every
// channel (channels from 0 to 1).
QColor adjusted(const QColor& color, double saturation, double brightnessShift);
// The colour `fraction` of the way from `from` to `to`.
QColor blended(const QColor& from, const QColor& to, double fraction);

} // namespace zentaris
