#include "layout/WindowManagementService.h"

#include "layout/SlotGeometry.h"
#include "layout/WindowReading.h"

#include <functional>

namespace zentaris {

using platform::Rect;

WindowManagementService::WindowManagementService(const platform::Desktop& desktop, const ShortcutSettings& settings)
    : desktop_(desktop), settings_(settings), frameCalculator_(desktop), screenDetection_(desktop),
      moveService_(desktop, frameCalculator_),
      layoutService_(desktop, frameCalculator_, moveService_, screenDetection_, settings),
      previewService_(frameCalculator_, screenDetection_),
      screenChangeHandler_(desktop, frameCalculator_, moveService_, screenDetection_) {}

bool WindowManagementService::applyThreeColumnAndRemember(int column) {
    if (!layoutService_.applyThreeColumn(column)) return false;
    auto window = screenDetection_.focusedWindow();
    if (!window) return true;
    auto key = windowKey(*window);
    if (!key) return true;
    layoutIntentCache_[*key] = column == 0   ? LayoutIntent::threeColumnLeft
                               : column == 1 ? LayoutIntent::threeColumnCenter
                                             : LayoutIntent::threeColumnRight;
    return true;
}

std::optional<std::string> WindowManagementService::windowKey(const platform::AXUIElement& window) const {
    platform::ProcessId pid = 0;
    if (desktop_.accessibility.getPid(window, pid) != platform::AXError::success) return std::nullopt;
    auto title = readString(desktop_.accessibility, window, "AXTitle");
    if (!title) return std::to_string(pid);
    const auto hash = static_cast<std::int64_t>(std::hash<std::string>{}(*title));
    return std::to_string(pid) + "-" + std::to_string(hash);
}

std::optional<int> WindowManagementService::indexOfScreen(const std::vector<platform::Screen>& screens,
                                                          const platform::Screen& screen) const {
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (screens[i].frame == screen.frame) return static_cast<int>(i);
    }
    return std::nullopt;
}

void WindowManagementService::moveFocusedWindowToScreen(int index) {
    const auto screens = desktop_.screens.screens();
    if (index < 0 || index >= static_cast<int>(screens.size())) return;
    const auto destination = frameCalculator_.usableFrame(screens[static_cast<std::size_t>(index)]);
    auto window = screenDetection_.focusedWindow();
    if (!window) return;
    auto frame = readWindowFrame(desktop_.accessibility, *window);
    if (!frame) return;
    auto p = primaryHeight(screens);
    if (!p) return;
    auto source = screenDetection_.screenContainingPoint(screenCentreOf(*frame, *p));
    if (!source) return;
    auto relative = relativeFrame(*frame, *p, frameCalculator_.usableFrame(*source), measuringGap(desktop_.defaults));
    if (!relative) return;

    moveService_.moveWindow(*window, true, false, namedSlots::topLeftQuarter(destination));
    reapplyAfterMove(*window, *relative, destination);
}

void WindowManagementService::reapplyAfterMove(const platform::AXUIElement& window, const RelativeFrame& frame,
                                               const Rect& destination) {
    using Kind = MovePlacement::Kind;
    const auto placement = placementForMove(frame, columnFractions(settings_.threeColumnStyle()));
    // Rectangles of the target screen's usable area, which after parking is normally the destination.
    auto moveInTarget = [&](const std::function<Rect(const Rect&)>& slotIn) {
        if (auto target = layoutService_.targetScreen()) {
            moveService_.moveFocusedWindow(slotIn(frameCalculator_.usableFrame(*target)));
        }
    };
    switch (placement.kind) {
    case Kind::wholeArea: moveInTarget([](const Rect& f) { return f; }); break;
    case Kind::leftColumn:
        moveInTarget([&](const Rect& f) { return namedSlots::column(f, 0, placement.fraction); });
        break;
    case Kind::threeColumn: layoutService_.applyThreeColumn(placement.index); break;
    case Kind::rightThirty: layoutService_.applySplit7030(true); break;
    case Kind::rightHalf: layoutService_.applyHalf(false, true); break;
    case Kind::rightSeventy: layoutService_.applySplit3070(true); break;
    case Kind::topHalf: moveInTarget(namedSlots::topHalf); break;
    case Kind::bottomHalf: moveInTarget(namedSlots::bottomHalf); break;
    case Kind::quarter: layoutService_.applyQuarter(placement.index); break;
    case Kind::scaled: moveService_.moveWindow(window, false, true, scaledFrame(frame, destination)); break;
    }
}

int WindowManagementService::neighbourIndex(int index, int count, bool forward) {
    if (forward) return (index + 1) % count;
    return index == 0 ? count - 1 : index - 1;
}

void WindowManagementService::moveFocusedWindowToNeighbour(bool forward) {
    const auto screens = desktop_.screens.screens();
    const int n = static_cast<int>(screens.size());
    if (n < 2) return;
    auto current = screenDetection_.screenOfFocusedWindow();
    if (!current) return;
    if (auto i = indexOfScreen(screens, *current)) moveFocusedWindowToScreen(neighbourIndex(*i, n, forward));
}

void WindowManagementService::moveFocusedWindowToNextScreen() { moveFocusedWindowToNeighbour(true); }
void WindowManagementService::moveFocusedWindowToPreviousScreen() { moveFocusedWindowToNeighbour(false); }

} // namespace zentaris
