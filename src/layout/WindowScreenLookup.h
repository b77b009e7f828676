#pragma once

#include "platform/Desktop.h"

#include <optional>

namespace zentaris {

// The screen holding the window's centre, else the main screen; none only without a main screen.
std::optional<platform::Screen> screenOfWindow(const platform::Desktop& desktop, const platform::AXUIElement& window);

// Whether the window's centre lies on the screen; false when its frame cannot be read.
bool isWindowOnScreen(const platform::Desktop& desktop, const platform::AXUIElement& window,
                      const platform::Screen& screen);

} // namespace zentaris
