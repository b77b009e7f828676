#pragma once

#include "app/StatusMenu.h"

#include <cstdint>

namespace zentaris {

// Everything the controller shows: the status item, its menu, the windows and the overlays. The
// controller decides what and when; the shell (Qt on a real desktop, a recorder in tests) draws.
class ApplicationShell {
public:
    virtual ~ApplicationShell() = default;

    // Creates the status item. A session without a tray gets none; the program runs on.
    virtual void createStatusItem() = 0;
    virtual bool hasStatusItem() const = 0;
    // The "MenuBarIcon" image: a template follows the tray's colours, otherwise it is drawn as is.
    virtual void setStatusItemIcon(bool templateImage) = 0;
    virtual void setStatusMenu(const StatusMenu& menu) = 0;

    // Creates the settings window on first use, brings it to the front and activates the program.
    virtual void showSettingsWindow() = 0;
    // Creates the tutorial window on first use (it then stays), brings it to the front and activates the program.
    virtual void showOnboardingWindow() = 0;
    virtual bool hasOnboardingWindow() const = 0;

    // Ends the program (the menu's Quit).
    virtual void terminate() = 0;

    // The transient feedback panels.
    virtual void showDragModeFeedback(bool enabled) = 0;
    virtual void showTooManyWindowsFeedback(std::int64_t required, std::int64_t actual) = 0;
};

} // namespace zentaris
