#include "layout/WindowScreenLookup.h"

#include "layout/WindowReading.h"

namespace zentaris {

std::optional<platform::Screen> screenOfWindow(const platform::Desktop& desktop, const platform::AXUIElement& window) {
    auto frame = readWindowFrame(desktop.accessibility, window);
    if (!frame) return desktop.screens.mainScreen();
    auto screens = desktop.screens.screens();
    auto p = primaryHeight(screens);
    if (!p) return desktop.screens.mainScreen();
    if (auto screen = firstScreenHolding(screens, screenCentreOf(*frame, *p))) return screen;
    return desktop.screens.mainScreen();
}

bool isWindowOnScreen(const platform::Desktop& desktop, const platform::AXUIElement& window,
                      const platform::Screen& screen) {
    auto frame = readWindowFrame(desktop.accessibility, window);
    if (!frame) return false;
    auto p = primaryHeight(desktop.screens.screens());
    if (!p) return false;
    return screen.frame.containsMouse(screenCentreOf(*frame, *p));
}

} // namespace zentaris
