#pragma once

#include "layout/WindowFrameCalculator.h"
#include "platform/Desktop.h"

namespace zentaris {

// Puts windows into slots. Every window the program places goes through here.
class WindowMoveService {
public:
    // Slept after a one-step move so the window settles before the next one is read or moved.
    static constexpr double settlePause = 0.02;

    WindowMoveService(const platform::Desktop& desktop, const WindowFrameCalculator& frameCalculator)
        : desktop_(desktop), frameCalculator_(frameCalculator) {}

    // Sets position, then size, then pauses unless told to skip. False without screens or when
    // the window is gone; true when the window took or merely adjusted the frame.
    bool setWindowFrame(const platform::AXUIElement& window, bool skipDelay, const platform::Rect& frame);
    // Insets the slot by the window gap and sets it; a slot in the lower half of its screen is
    // reached through the upper half while the window is hidden, unless asked for `direct`ly or
    // without delay. False when no screen holds the slot's centre.
    bool moveWindow(const platform::AXUIElement& window, bool skipDelay, bool direct, const platform::Rect& slot);
    // `moveWindow` of the focused window; false without one.
    bool moveFocusedWindow(const platform::Rect& slot);

private:
    bool moveThroughUpperHalf(const platform::AXUIElement& window, const platform::Rect& target,
                              const platform::Rect& usable);

    platform::Desktop desktop_;
    const WindowFrameCalculator& frameCalculator_;
};

} // namespace zentaris
