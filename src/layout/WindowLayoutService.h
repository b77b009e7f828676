#pragma once

#include "layout/LayoutType.h"
#include "layout/ScreenDetectionService.h"
#include "layout/WindowFrameCalculator.h"
#include "layout/WindowMoveService.h"
#include "preferences/ShortcutSettings.h"

#include <functional>
#include <optional>
#include <vector>

namespace zentaris {

// Puts the focused window into one slot of the target screen: the focused window's screen, else
// the screen under the pointer, else the main screen.
class WindowLayoutService {
public:
    WindowLayoutService(const platform::Desktop& desktop, const WindowFrameCalculator& frameCalculator,
                        WindowMoveService& moveService, const ScreenDetectionService& screenDetection,
                        const ShortcutSettings& settings)
        : desktop_(desktop), frameCalculator_(frameCalculator), moveService_(moveService),
          screenDetection_(screenDetection), settings_(settings) {}

    std::optional<platform::Screen> targetScreen() const;

    // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
    bool applyQuarter(int index);
    // Column 0, 1 or 2 of the current three-column style.
    bool applyThreeColumn(int column);
    bool applySplit7030(bool second);
    bool applySplit3070(bool second);
    // Vertical split: left and right half; horizontal split: top and bottom half.
    bool applyHalf(bool horizontal, bool second);
    // Kind 0: top half, bottom-left, bottom-right; 1: top-left, top-right, bottom half;
    // 2: left half, top-right, bottom-right; 3: top-left, bottom-left, right half.
    void applyThreeWindow(int kind, int slot);
    // Slot 0 left half, 1 top-right quarter, 2 bottom-right quarter.
    void applyThreeWindowVerticalLeft(int slot);
    // Slot 0 top-left quarter, 1 bottom-left quarter, 2 right half.
    void applyThreeWindowVerticalRight(int slot);

    // The slots of a layout on the target screen, or on a 2560 x 1600 area without one.
    std::vector<platform::Rect> framesForLayout(LayoutType layout) const;

private:
    // Moves the focused window to the slot `slotIn` picks in the target screen's usable area.
    bool applySlot(const std::function<std::optional<platform::Rect>(const platform::Rect&)>& slotIn);

    platform::Desktop desktop_;
    const WindowFrameCalculator& frameCalculator_;
    WindowMoveService& moveService_;
    const ScreenDetectionService& screenDetection_;
    const ShortcutSettings& settings_;
};

} // namespace zentaris
