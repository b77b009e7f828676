#pragma once

#include "layout/ScreenDetectionService.h"
#include "layout/WindowFrameCalculator.h"
#include "layout/WindowMoveService.h"

#include <optional>
#include <vector>

namespace zentaris {

// After the screen configuration changes, pulls every window that sticks out of the usable area
// of its screen back inside it.
class ScreenChangeHandler {
public:
    ScreenChangeHandler(const platform::Desktop& desktop, const WindowFrameCalculator& frameCalculator,
                        WindowMoveService& moveService, const ScreenDetectionService& screenDetection)
        : desktop_(desktop), frameCalculator_(frameCalculator), moveService_(moveService),
          screenDetection_(screenDetection) {}

    // The screen holding the rectangle's centre, else the one whose centre is nearest (the earlier
    // one on a tie); none for an empty list.
    static std::optional<platform::Screen> nearestScreen(const std::vector<platform::Screen>& screens,
                                                         const platform::Rect& rect);
    void handleScreenChange();
    // The area windows are pulled into: the usable area, or the whole screen when the usable area
    // is not a plausible part of it.
    static platform::Rect refitArea(const platform::Screen& screen, const platform::Rect& usable);

private:
    // The frame clamped into the usable area; none when it already fits.
    static std::optional<platform::Rect> clampedInto(const platform::Rect& frame, const platform::Rect& usable);

    platform::Desktop desktop_;
    const WindowFrameCalculator& frameCalculator_;
    WindowMoveService& moveService_;
    const ScreenDetectionService& screenDetection_;
};

} // namespace zentaris
