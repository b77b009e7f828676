#include "layout/WindowFrameCalculator.h"

#include <cmath>

namespace zentaris {

double storedWindowGap(const platform::UserDefaults& defaults) {
    auto gap = defaults.doubleValue(WindowFrameCalculator::windowGapKey);
    if (!gap || !std::isfinite(*gap)) return WindowFrameCalculator::defaultWindowGap;
    return *gap;
}

platform::Rect WindowFrameCalculator::usableFrame(const platform::Screen& screen) const {
    for (const auto& listed : desktop_.screens.screens()) {
        if (listed.frame == screen.frame) return listed.visibleFrame;
    }
    return screen.visibleFrame;
}

platform::Rect WindowFrameCalculator::applyWindowGap(const platform::Rect& slot) const {
    double gap = storedWindowGap(desktop_.defaults);
    if (!(gap > 0)) return slot;
    // A gap wider than the slot would turn it inside out.
    if (gap > slot.width() || gap > slot.height()) gap = defaultWindowGap;
    if (gap > slot.width() || gap > slot.height()) return slot;
    return {slot.minX() + gap / 2, slot.minY() + gap / 2, slot.width() - gap, slot.height() - gap};
}

std::string WindowFrameCalculator::displayName(const platform::Screen& screen) const {
    if (!screen.displayNumber) return "Unknown Display";
    if (desktop_.screens.displayIsBuiltin(*screen.displayNumber)) return "Built-in Display";
    if (!screen.localizedName.empty()) return screen.localizedName;
    return "External Display " + std::to_string(*screen.displayNumber);
}

bool WindowFrameCalculator::isBuiltInDisplay(const platform::Screen& screen) const {
    return screen.displayNumber && desktop_.screens.displayIsBuiltin(*screen.displayNumber);
}

} // namespace zentaris
