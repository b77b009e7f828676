#include "layout/ScreenChangeHandler.h"

#include "layout/WindowReading.h"

#include <algorithm>
#include <cmath>

namespace zentaris {

std::optional<platform::Screen> ScreenChangeHandler::nearestScreen(const std::vector<platform::Screen>& screens,
                                                                   const platform::Rect& rect) {
    const auto centre = rect.center();
    if (auto holding = firstScreenHolding(screens, centre)) return holding;
    std::optional<platform::Screen> nearest;
    double nearestDistance = 0;
    for (const auto& screen : screens) {
        const auto c = screen.frame.center();
        const double distance = std::hypot(c.x - centre.x, c.y - centre.y);
        if (!nearest || distance < nearestDistance) {
            nearest = screen;
            nearestDistance = distance;
        }
    }
    return nearest;
}

std::optional<platform::Rect> ScreenChangeHandler::clampedInto(const platform::Rect& r, const platform::Rect& u) {
    platform::Rect n = r;
    bool changed = false;
    if (u.maxX() < r.maxX()) {
        n.size.width = std::min(r.width(), u.width());
        n.origin.x = u.maxX() - n.width();
        changed = true;
    }
    if (r.minX() < u.minX()) {
        n.origin.x = u.minX();
        changed = true;
    }
    if (u.maxY() < r.maxY()) {
        n.size.height = std::min(r.height(), u.height());
        n.origin.y = u.maxY() - n.height();
        changed = true;
    }
    if (r.minY() < u.minY()) {
        n.origin.y = u.minY();
        changed = true;
    }
    if (u.width() < n.width()) {
        n.size.width = u.width();
        n.origin.x = u.minX();
        changed = true;
    }
    if (u.height() < n.height()) {
        n.size.height = u.height();
        n.origin.y = u.minY();
        changed = true;
    }
    if (!changed) return std::nullopt;
    return n;
}

platform::Rect ScreenChangeHandler::refitArea(const platform::Screen& screen, const platform::Rect& u) {
    const auto& f = screen.frame;
    // Panels never take half of a screen: a usable area that leaves less, or reaches outside the
    // screen, comes from a value some program made up, and must not shrink every window.
    const bool inside = u.isFinite() && u.minX() >= f.minX() && u.minY() >= f.minY() && u.maxX() <= f.maxX() && u.maxY() <= f.maxY();
    if (!inside || u.width() < f.width() / 2 || u.height() < f.height() / 2) return f;
    return u;
}

void ScreenChangeHandler::handleScreenChange() {
    const auto screens = desktop_.screens.screens();
    auto p = primaryHeight(screens);
    if (!p) return;
    for (const auto& window : screenDetection_.allWindows()) {
        auto frame = readWindowFrame(desktop_.accessibility, window);
        if (!frame) continue;
        const auto rect = screenRectFromAccessibility(*frame, *p);
        auto screen = nearestScreen(screens, rect);
        if (!screen) continue;
        auto clamped = clampedInto(rect, refitArea(*screen, frameCalculator_.usableFrame(*screen)));
        if (!clamped) continue;
        const auto target = frameCalculator_.applyWindowGap(*clamped);
        if (firstScreenHolding(desktop_.screens.screens(), target.center())) {
            moveService_.setWindowFrame(window, true, target);
        }
    }
}

} // namespace zentaris
