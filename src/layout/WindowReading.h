#pragma once

#include "platform/Desktop.h"

#include <optional>
#include <string>
#include <vector>

namespace zentaris {

using platform::AXUIElement;
using platform::Rect;
using platform::Screen;

// Screen coordinates have their origin at the bottom left of the first screen and grow upwards;
// accessibility coordinates start at its top left and grow downwards. P is that screen's top edge.
std::optional<double> primaryHeight(const std::vector<Screen>& screens);

// The frame of a window in accessibility coordinates; none unless both position and size read.
std::optional<Rect> readWindowFrame(platform::Accessibility& accessibility, const AXUIElement& window);

// An accessibility frame as a screen rectangle, and its centre as a screen point.
Rect screenRectFromAccessibility(const Rect& axFrame, double primaryHeight);
platform::Point screenCentreOf(const Rect& axFrame, double primaryHeight);

std::optional<bool> readBool(platform::Accessibility& accessibility, const AXUIElement& element, const std::string& name);
std::optional<std::string> readString(platform::Accessibility& accessibility, const AXUIElement& element,
                                      const std::string& name);

// The focused window of the frontmost application.
std::optional<AXUIElement> focusedWindowOf(const platform::Desktop& desktop);

// The first screen whose frame holds the point, judged as a pointer over a screen.
std::optional<Screen> firstScreenHolding(const std::vector<Screen>& screens, platform::Point point);

} // namespace zentaris
