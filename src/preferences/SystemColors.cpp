#include "preferences/SystemColors.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

namespace zentaris {

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(std::clamp(color.alphaF() * opacity, 0.0, 1.0)));
    return color;
}

namespace SystemColors {
QColor blue() { return QColor(0x00, 0x7a, 0xff); }
QColor green() { return QColor(0x34, 0xc7, 0x59); }
QColor orange() { return QColor(0xff, 0x95, 0x00); }
QColor pink() { return QColor(0xff, 0x2d, 0x55); }
QColor purple() { return QColor(0xaf, 0x52, 0xde); }
QColor red() { return QColor(0xff, 0x3b, 0x30); }
QColor yellow() { return QColor(0xff, 0xcc, 0x00); }
QColor cyan() { return QColor(0x32, 0xad, 0xe6); }
QColor gray() { return QColor(0x8e, 0x8e, 0x93); }
QColor primaryText() { return QApplication::palette().color(QPalette::WindowText); }
QColor secondaryText() { return withOpacity(primaryText(), 0.55); }
QColor accent() { return QApplication::palette().color(QPalette::Highlight); }
QColor windowBackground() { return QApplication::palette().color(QPalette::Window); }
QColor controlBackground() { return QApplication::palette().color(QPalette::Base); }
QColor separator() { return withOpacity(primaryText(), 0.12); }
} // namespace SystemColors

} // namespace zentaris
