#pragma once

#include "app/FeedbackCard.h"
#include "app/StatusMenu.h"
#include "platform/Geometry.h"

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

    // The drop-zone preview over `frame` (screen coordinates), created on first use and moved after.
    virtual void showDragPreview(const platform::Rect& frame) = 0;
    // Removes the preview; the next `showDragPreview` makes a new one.
    virtual void hideDragPreview() = 0;

    // A borderless panel holding a feedback card, over `frame` (screen coordinates); the card starts
    // its entrance when the panel comes on screen. The panel stays until it is hidden.
    virtual FeedbackPanelId showFeedbackPanel(const FeedbackCard& card, const platform::Rect& frame) = 0;
    // A new card, starting afresh, in a panel still on screen; the panel keeps its place.
    virtual void replaceFeedbackCard(FeedbackPanelId panel, const FeedbackCard& card) = 0;
    // Removes the panel; an unknown or already hidden panel is ignored.
    virtual void hideFeedbackPanel(FeedbackPanelId panel) = 0;
};

} // namespace zentaris
