// The screen swap of the layout coordinator.
#include "layout/WindowManagementService.h"

#include "layout/WindowReading.h"

#include <vector>

namespace zentaris {

namespace {
struct WindowLayoutData {
    platform::AXUIElement window;
    RelativeFrame relative;
};
} // namespace

std::optional<int> WindowManagementService::rememberedColumn(const platform::AXUIElement& window) const {
    auto key = windowKey(window);
    if (!key) return std::nullopt;
    auto entry = layoutIntentCache_.find(*key);
    if (entry == layoutIntentCache_.end()) return std::nullopt;
    switch (entry->second) {
    case LayoutIntent::threeColumnLeft: return 0;
    case LayoutIntent::threeColumnCenter: return 1;
    case LayoutIntent::threeColumnRight: return 2;
    default: return std::nullopt;
    }
}

void WindowManagementService::swapScreens(int first, int second) {
    const auto screens = desktop_.screens.screens();
    const int n = static_cast<int>(screens.size());
    if (first < 0 || first >= n || second < 0 || second >= n || first == second) return;
    const auto& a = screens[static_cast<std::size_t>(first)];
    const auto& b = screens[static_cast<std::size_t>(second)];
    const auto windows = screenDetection_.allWindows();
    const auto areaA = frameCalculator_.usableFrame(a);
    const auto areaB = frameCalculator_.usableFrame(b);
    const double gap = measuringGap(desktop_.defaults);

    std::vector<WindowLayoutData> onA, onB;
    for (const auto& window : windows) {
        auto frame = readWindowFrame(desktop_.accessibility, window);
        if (!frame) continue;
        auto p = primaryHeight(desktop_.screens.screens());
        if (!p) continue;
        auto screen = screenDetection_.screenContainingPoint(screenCentreOf(*frame, *p));
        if (!screen) continue;
        auto relative = relativeFrame(*frame, *p, frameCalculator_.usableFrame(*screen), gap);
        if (!relative) continue;
        if (screen->frame == a.frame) {
            onA.push_back({window, *relative});
        } else if (screen->frame == b.frame) {
            onB.push_back({window, *relative});
        }
    }

    for (const auto& data : onA) moveService_.moveWindow(data.window, true, false, namedSlots::topLeftQuarter(areaB));
    for (const auto& data : onB) moveService_.moveWindow(data.window, true, false, namedSlots::topLeftQuarter(areaA));

    auto place = [&](const WindowLayoutData& data, const platform::Rect& area) {
        const auto columns = columnFractions(settings_.threeColumnStyle());
        const auto target =
            placementForSwap(data.relative, area, columns, [&] { return rememberedColumn(data.window); });
        moveService_.moveWindow(data.window, false, true, target);
    };
    for (const auto& data : onA) place(data, areaB);
    for (const auto& data : onB) place(data, areaA);
}

void WindowManagementService::swapWithNeighbour(bool forward) {
    const auto screens = desktop_.screens.screens();
    const int n = static_cast<int>(screens.size());
    if (n < 2) return;
    auto current = screenDetection_.screenOfFocusedWindow();
    if (!current) current = desktop_.screens.mainScreen();
    if (!current) current = screens.front();
    if (auto k = indexOfScreen(screens, *current)) swapScreens(*k, neighbourIndex(*k, n, forward));
}

void WindowManagementService::swapWithNextScreen() { swapWithNeighbour(true); }
void WindowManagementService::swapWithPreviousScreen() { swapWithNeighbour(false); }

} // namespace zentaris
