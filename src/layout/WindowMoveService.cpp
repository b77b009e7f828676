#include "layout/WindowMoveService.h"

#include "layout/WindowReading.h"

#include <cmath>

namespace zentaris {

namespace {

// Keeps a window hidden while it travels and shows it again however the move ends.
class HiddenWhileMoving {
public:
    HiddenWhileMoving(platform::Accessibility& accessibility, const platform::AXUIElement& window)
        : accessibility_(accessibility), window_(window) {
        wasHidden_ = readBool(accessibility_, window_, "AXHidden") == true;
        if (!wasHidden_) accessibility_.setAttributeValue(window_, "AXHidden", platform::AXValue{true});
    }
    ~HiddenWhileMoving() {
        if (!wasHidden_) accessibility_.setAttributeValue(window_, "AXHidden", platform::AXValue{false});
    }
    HiddenWhileMoving(const HiddenWhileMoving&) = delete;
    HiddenWhileMoving& operator=(const HiddenWhileMoving&) = delete;

private:
    platform::Accessibility& accessibility_;
    platform::AXUIElement window_;
    bool wasHidden_ = false;
};

} // namespace

bool WindowMoveService::setWindowFrame(const platform::AXUIElement& window, bool skipDelay, const platform::Rect& frame) {
    auto p = primaryHeight(desktop_.screens.screens());
    if (!p || !frame.isFinite()) return false;
    auto& ax = desktop_.accessibility;
    const auto positionResult =
        ax.setAttributeValue(window, "AXPosition", platform::Point{frame.minX(), *p - frame.maxY()});
    const auto sizeResult = ax.setAttributeValue(window, "AXSize", frame.size);
    if (!skipDelay) desktop_.mainQueue.sleep(settlePause);
    // Other refusals are not failures: the window may have adjusted the frame to its own limits.
    return positionResult != platform::AXError::invalidUIElement && sizeResult != platform::AXError::invalidUIElement;
}

bool WindowMoveService::moveWindow(const platform::AXUIElement& window, bool skipDelay, bool direct,
                                   const platform::Rect& slot) {
    const auto target = frameCalculator_.applyWindowGap(slot);
    auto screen = firstScreenHolding(desktop_.screens.screens(), target.center());
    if (!screen) return false;
    const auto usable = frameCalculator_.usableFrame(*screen);
    if (target.midY() >= usable.minY() + usable.height() / 2 || skipDelay || direct) {
        return setWindowFrame(window, skipDelay, target);
    }
    return moveThroughUpperHalf(window, target, usable);
}

bool WindowMoveService::moveThroughUpperHalf(const platform::AXUIElement& window, const platform::Rect& target,
                                             const platform::Rect& usable) {
    HiddenWhileMoving hidden(desktop_.accessibility, window);
    const double upperY = usable.minY() + usable.height() / 2;
    platform::Rect intermediate;
    if (std::fabs(target.width() - usable.width()) < 10) {
        intermediate = {usable.minX(), upperY, usable.width(), usable.height() / 2};
    } else if (std::fabs(target.width() - usable.width() / 2) < 10) {
        const bool leftHalf = target.minX() < usable.minX() + usable.width() / 2;
        intermediate = {usable.minX() + (leftHalf ? 0 : usable.width() / 2), upperY, usable.width() / 2,
                        usable.height() / 2};
    } else {
        intermediate = {target.minX(), upperY, target.width(), target.height()};
    }
    setWindowFrame(window, true, intermediate);
    return setWindowFrame(window, true, target);
}

bool WindowMoveService::moveFocusedWindow(const platform::Rect& slot) {
    auto window = focusedWindowOf(desktop_);
    if (!window) return false;
    return moveWindow(*window, false, false, slot);
}

} // namespace zentaris
