#pragma once

#include "platform/Desktop.h"

#include <optional>
#include <vector>

namespace zentaris {

// Finds windows of other applications and the screens that hold points and windows. Every call
// reads the desktop afresh.
class ScreenDetectionService {
public:
    explicit ScreenDetectionService(const platform::Desktop& desktop) : desktop_(desktop) {}

    std::optional<platform::AXUIElement> focusedWindow() const;
    std::optional<platform::Screen> screenContainingPoint(platform::Point point) const;
    std::optional<platform::Screen> screenOfFocusedWindow() const;
    // The manageable windows of all regular applications, application by application.
    std::vector<platform::AXUIElement> allWindows() const;
    // The window under a point in screen coordinates.
    std::optional<platform::AXUIElement> windowAtPoint(platform::Point point) const;

private:
    bool isManageable(const platform::AXUIElement& window) const;

    platform::Desktop desktop_;
};

} // namespace zentaris
