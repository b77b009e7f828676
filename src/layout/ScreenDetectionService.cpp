#include "layout/ScreenDetectionService.h"

#include "layout/WindowReading.h"

#include <array>
#include <algorithm>

namespace zentaris {

namespace {
// A parent chain longer than this is taken to be a loop.
constexpr int maximumParentWalk = 64;
constexpr std::array<const char*, 4> excludedSubroles{"AXDialog", "AXSystemDialog", "AXFloatingWindow", "AXUnknown"};
} // namespace

std::optional<platform::AXUIElement> ScreenDetectionService::focusedWindow() const { return focusedWindowOf(desktop_); }

std::optional<platform::Screen> ScreenDetectionService::screenContainingPoint(platform::Point point) const {
    return firstScreenHolding(desktop_.screens.screens(), point);
}

std::optional<platform::Screen> ScreenDetectionService::screenOfFocusedWindow() const {
    auto window = focusedWindow();
    if (!window) return std::nullopt;
    auto frame = readWindowFrame(desktop_.accessibility, *window);
    if (!frame) return std::nullopt;
    auto screens = desktop_.screens.screens();
    auto p = primaryHeight(screens);
    if (!p) return std::nullopt;
    return firstScreenHolding(screens, screenCentreOf(*frame, *p));
}

bool ScreenDetectionService::isManageable(const platform::AXUIElement& window) const {
    auto& ax = desktop_.accessibility;
    if (readBool(ax, window, "AXMinimized") == true) return false;
    // An unreadable role keeps the window: some applications do not report one.
    if (auto role = readString(ax, window, "AXRole"); role && *role != "AXWindow") return false;
    if (auto subrole = readString(ax, window, "AXSubrole")) {
        return std::none_of(excludedSubroles.begin(), excludedSubroles.end(),
                            [&](const char* excluded) { return *subrole == excluded; });
    }
    return true;
}

std::vector<platform::AXUIElement> ScreenDetectionService::allWindows() const {
    std::vector<platform::AXUIElement> result;
    for (const auto& app : desktop_.workspace.runningApplications()) {
        if (app.activationPolicy != platform::ActivationPolicy::regular) continue;
        auto element = desktop_.accessibility.createApplication(app.processIdentifier);
        auto windows = desktop_.accessibility.copyAttributeValue(element, "AXWindows")
                           .as<std::vector<platform::AXUIElement>>();
        if (!windows) continue;
        for (const auto& window : *windows) {
            if (isManageable(window)) result.push_back(window);
        }
    }
    return result;
}

std::optional<platform::AXUIElement> ScreenDetectionService::windowAtPoint(platform::Point point) const {
    auto p = primaryHeight(desktop_.screens.screens());
    if (!p) return std::nullopt;
    const platform::Point axPoint{point.x, *p - point.y};
    auto& ax = desktop_.accessibility;

    platform::AXUIElement hit;
    if (ax.copyElementAtPosition(ax.createSystemWide(), axPoint.x, axPoint.y, hit) == platform::AXError::success && hit) {
        auto current = hit;
        for (int depth = 0; depth < maximumParentWalk; ++depth) {
            if (readString(ax, current, "AXRole") == "AXWindow") return current;
            auto parent = ax.copyAttributeValue(current, "AXParent").as<platform::AXUIElement>();
            if (!parent || !*parent) break;
            current = *parent;
        }
    }
    for (const auto& window : allWindows()) {
        auto frame = readWindowFrame(ax, window);
        if (frame && frame->containsPoint(axPoint)) return window;
    }
    return std::nullopt;
}

} // namespace zentaris
