#pragma once

#include "platform/Geometry.h"
#include "platform/ObservationToken.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A display as the desktop describes it. Rectangles are in screen coordinates: origin at the
// bottom left of the primary screen, y growing upwards.
struct Screen {
    Rect frame;
    // The frame less panels, docks and other reserved edges.
    Rect visibleFrame;
    // The display's number, when the desktop gives one.
    std::optional<std::uint32_t> displayNumber;
    std::string localizedName;

    bool operator==(const Screen&) const = default;
};

// The screens, the pointer, and changes of the screen configuration.
class ScreenProvider {
public:
    virtual ~ScreenProvider() = default;

    // In order; the first is the primary screen, whose top edge defines the coordinate flip.
    virtual std::vector<Screen> screens() const = 0;
    // The screen holding the keyboard focus, else the primary; none without screens.
    virtual std::optional<Screen> mainScreen() const = 0;
    // The pointer, in screen coordinates.
    virtual Point mouseLocation() const = 0;
    // Whether the display with this number is built into the machine (a laptop panel).
    virtual bool displayIsBuiltin(std::uint32_t displayNumber) const = 0;
    // Called once per burst of changes of the screen configuration or usable areas.
    [[nodiscard]] virtual ObservationToken observeScreenParameters(std::function<void()> onChange) = 0;
};

} // namespace platform
