#include "app/AppDelegate.h"

#include "layout/WindowScreenLookup.h"

#include <algorithm>

namespace zentaris {

void AppDelegate::arrangeAllWindows(LayoutType layout, int slotCount) {
    auto screen = this->layout().targetScreen();
    if (!screen || slotCount <= 0) return;

    std::vector<platform::AXUIElement> windows;
    for (const auto& window : windowManagementService_.screenDetection().allWindows()) {
        if (isWindowOnScreen(deps_.desktop, window, *screen)) windows.push_back(window);
    }
    if (static_cast<int>(windows.size()) > slotCount) {
        showTooManyWindowsFeedback(slotCount, static_cast<std::int64_t>(windows.size()));
    }

    const auto frames = this->layout().framesForLayout(layout);
    const double now = mainQueue_.monotonicNow();
    int offset = 0;
    if (lastAppliedLayout_ == layout && now - lastLayoutTime_ < layoutRotationTimeout_) {
        offset = (layoutRotationOffset_ + 1) % slotCount;
    }
    layoutRotationOffset_ = offset;
    lastAppliedLayout_ = layout;
    lastLayoutTime_ = now;

    if (frames.empty()) return;
    const std::size_t count = std::min({windows.size(), static_cast<std::size_t>(slotCount), frames.size()});
    for (std::size_t i = 0; i < count; ++i) {
        windowManagementService_.moveService().moveWindow(windows[i], false, false,
                                                           frames[(i + static_cast<std::size_t>(offset)) % frames.size()]);
    }
}

void AppDelegate::arrowKeyPressed(ArrowDirection direction) {
    const double now = mainQueue_.monotonicNow();
    if (firstArrowPressed_ && now - firstArrowTime_ <= combinationTimeout_) {
        const auto first = *firstArrowPressed_;
        firstArrowPressed_.reset();
        pendingArrowCheck_.cancel();
        handleArrowCombination(first, direction);
        return;
    }
    firstArrowPressed_ = direction;
    firstArrowTime_ = now;
    std::weak_ptr<AppDelegate*> weak = self_;
    pendingArrowCheck_ = mainQueue_.postAfter(combinationTimeout_, [weak, direction] {
        auto self = weak.lock();
        if (!self || !*self) return;
        AppDelegate& app = **self;
        if (app.firstArrowPressed_ != direction) return;
        // A timer due at exactly the window's end may read the clock a hair earlier.
        constexpr double clockTolerance = 1e-3;
        if (app.mainQueue_.monotonicNow() - app.firstArrowTime_ < app.combinationTimeout_ - clockTolerance) return;
        app.firstArrowPressed_.reset();
        app.applySingleWindowAction(singleWindowActionForArrow(direction));
    });
}

void AppDelegate::handleArrowCombination(ArrowDirection first, ArrowDirection second) {
    if (auto corner = cornerForArrows(first, second)) applyCornerQuarter(*corner);
}

void AppDelegate::applyCornerQuarter(int corner) { layout().applyQuarter(corner); }

void AppDelegate::applySingleWindowAction(SingleWindowAction action) {
    auto window = windowManagementService_.screenDetection().focusedWindow();
    if (!window) return;
    const double now = mainQueue_.monotonicNow();
    if (now - lastActionTime_ > 2.0 || !lastActionWindow_ || *lastActionWindow_ != *window) {
        currentPositionState_ = PositionState::none;
    }
    lastActionTime_ = now;
    lastActionWindow_ = *window;
    currentPositionState_ = nextPositionState(action, currentPositionState_);
    applyPositionState(currentPositionState_, *window);
}

void AppDelegate::applyPositionState(PositionState state, const platform::AXUIElement& window) {
    auto screen = screenOfWindow(deps_.desktop, window);
    if (!screen) return;
    const auto area = windowManagementService_.frameCalculator().usableFrame(*screen);
    if (auto rect = rectForPositionState(state, area)) {
        windowManagementService_.moveService().moveWindow(window, false, false, *rect);
    }
}

void AppDelegate::performScreenSwap(void (WindowManagementService::*swap)()) { (windowManagementService_.*swap)(); }

void AppDelegate::screensDidChange() {
    rebuildScreenMenuItem();
    windowManagementService_.screenChangeHandler().handleScreenChange();
}

} // namespace zentaris
