#pragma once

#include "layout/LayoutIntent.h"
#include "layout/PlacementRules.h"
#include "layout/PreviewService.h"
#include "layout/ScreenChangeHandler.h"
#include "layout/ScreenDetectionService.h"
#include "layout/WindowFrameCalculator.h"
#include "layout/WindowLayoutService.h"
#include "layout/WindowMoveService.h"
#include "preferences/ShortcutSettings.h"

#include <map>
#include <optional>
#include <string>

namespace zentaris {

// The layout coordinator: builds and holds the layout services, remembers which three-column
// column a window was put in, and moves or swaps windows between screens.
class WindowManagementService {
public:
    WindowManagementService(const platform::Desktop& desktop, const ShortcutSettings& settings);
    WindowManagementService(const WindowManagementService&) = delete;
    WindowManagementService& operator=(const WindowManagementService&) = delete;

    WindowFrameCalculator& frameCalculator() { return frameCalculator_; }
    ScreenDetectionService& screenDetection() { return screenDetection_; }
    WindowMoveService& moveService() { return moveService_; }
    WindowLayoutService& layoutService() { return layoutService_; }
    PreviewService& previewService() { return previewService_; }
    ScreenChangeHandler& screenChangeHandler() { return screenChangeHandler_; }
    const std::map<std::string, LayoutIntent>& layoutIntentCache() const { return layoutIntentCache_; }

    // Puts the focused window into column 0, 1 or 2 and remembers it; false when the slot failed.
    bool applyThreeColumnAndRemember(int column);

    // Moves the focused window to a screen (its index in the screen list), keeping the kind of
    // place it had.
    void moveFocusedWindowToScreen(int index);
    void moveFocusedWindowToNextScreen();
    void moveFocusedWindowToPreviousScreen();

    // Process id and title hash ("123-456"), or the process id alone when the title is unreadable.
    // Windows of one application with equal or unreadable titles share a key.
    std::optional<std::string> windowKey(const platform::AXUIElement& window) const;

    // Exchanges the windows of two screens, each keeping the kind of place it had.
    void swapScreens(int first, int second);
    void swapWithNextScreen();
    void swapWithPreviousScreen();

private:
    void reapplyAfterMove(const platform::AXUIElement& window, const RelativeFrame& frame,
                          const platform::Rect& destination);
    // The three-column column remembered for the window, if any.
    std::optional<int> rememberedColumn(const platform::AXUIElement& window) const;
    void moveFocusedWindowToNeighbour(bool forward);
    void swapWithNeighbour(bool forward);
    // The next (or previous) position in a list of `count`, wrapping round.
    static int neighbourIndex(int index, int count, bool forward);
    // The screen list position of the screen with this frame.
    std::optional<int> indexOfScreen(const std::vector<platform::Screen>& screens, const platform::Screen& screen) const;

    platform::Desktop desktop_;
    const ShortcutSettings& settings_;
    // Built in this order: each service gets the ones before it.
    WindowFrameCalculator frameCalculator_;
    ScreenDetectionService screenDetection_;
    WindowMoveService moveService_;
    WindowLayoutService layoutService_;
    PreviewService previewService_;
    ScreenChangeHandler screenChangeHandler_;
    std::map<std::string, LayoutIntent> layoutIntentCache_;
};

} // namespace zentaris
