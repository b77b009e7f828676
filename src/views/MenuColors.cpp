#include "views/MenuColors.h"

#include <algorithm>

namespace zentaris {

MenuColors MenuColors::from(const QPalette& palette) {
    MenuColors colors;
    colors.primaryLabel = palette.color(QPalette::WindowText);
    colors.secondaryLabel = withOpacity(colors.primaryLabel, 0.55);
    colors.accent = palette.color(QPalette::Highlight);
    const bool dark = palette.color(QPalette::Window).lightnessF() < 0.5;
    colors.systemBlue = dark ? QColor(10, 132, 255) : QColor(0, 122, 255);
    colors.selectedMenuItem = palette.color(QPalette::Highlight);
    return colors;
}

QColor adjusted(const QColor& color, double saturation, double brightnessShift) {
    const double r = color.redF(), g = color.greenF(), b = color.blueF();
    const double luminance = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    auto channel = [&](double value) {
        return static_cast<float>(std::clamp(luminance + (value - luminance) * saturation + brightnessShift, 0.0, 1.0));
    };
    return QColor::fromRgbF(channel(r), channel(g), channel(b), color.alphaF());
}

QColor blended(const QColor& from, const QColor& to, double fraction) {
    auto mix = [fraction](double a, double b) { return static_cast<float>(a + (b - a) * fraction); };
    return QColor::fromRgbF(mix(from.redF(), to.redF()), mix(from.greenF(), to.greenF()), mix(from.blueF(), to.blueF()),
                            mix(from.alphaF(), to.alphaF()));
}

} // namespace zentaris
