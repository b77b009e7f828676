#pragma once

#include <QColor>

namespace zentaris {

// The named colours every drawn page uses, in one place.
namespace SystemColors {
QColor blue();
QColor green();
QColor orange();
QColor pink();
QColor purple();
QColor red();
QColor yellow();
QColor cyan();
QColor gray();
// The palette's colours, read each time so they follow the light or dark appearance.
QColor primaryText();
QColor secondaryText();
QColor accent();
QColor windowBackground();
QColor controlBackground();
QColor separator();
} // namespace SystemColors

// The colour with its opacity multiplied by `opacity` (clamped to 0...1).
QColor withOpacity(QColor color, double opacity);

} // namespace zentaris
