#pragma once

#include "platform/Desktop.h"

#include <string>

namespace zentaris {

// Usable areas, the window gap and display names. Keeps nothing between calls.
class WindowFrameCalculator {
public:
    static constexpr const char* windowGapKey = "windowGap";
    static constexpr double defaultWindowGap = 2.0;

    explicit WindowFrameCalculator(const platform::Desktop& desktop) : desktop_(desktop) {}

    // The visible frame of the first listed screen with the same frame, else of the screen itself.
    platform::Rect usableFrame(const platform::Screen& screen) const;
    // The slot less half the window gap on every side.
    platform::Rect applyWindowGap(const platform::Rect& slot) const;
    std::string displayName(const platform::Screen& screen) const;
    bool isBuiltInDisplay(const platform::Screen& screen) const;

private:
    platform::Desktop desktop_;
};

// The stored window gap as a number: the default when absent, not a number or not finite.
double storedWindowGap(const platform::UserDefaults& defaults);

} // namespace zentaris
