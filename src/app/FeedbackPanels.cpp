// The three feedback panels: drag mode switched, drag cancelled, too many windows. Each is shown
// centred on the main screen and hidden after its own delay.

#include "app/AppDelegate.h"

namespace zentaris {

namespace {

constexpr double dragModeHideDelay = 1.2;
constexpr double cancelHideDelay = 0.8;
constexpr double tooManyWindowsHideDelay = 2.0;

} // namespace

std::optional<platform::Rect> AppDelegate::centredPanelFrame(double width, double height) {
    auto screen = deps_.desktop.screens.mainScreen();
    if (!screen) return std::nullopt;
    return platform::Rect(screen->frame.midX() - width / 2, screen->frame.midY() - height / 2, width, height);
}

void AppDelegate::showDragModeFeedback() {
    dragFeedbackHideTimer_.cancel();
    const auto card = FeedbackCard::dragModeToggle(isDragAndDropEnabled_.value());
    if (dragFeedbackWindow_) {
        deps_.shell.replaceFeedbackCard(*dragFeedbackWindow_, card);
    } else {
        auto frame = centredPanelFrame(280, 90);
        if (!frame) return;
        dragFeedbackWindow_ = deps_.shell.showFeedbackPanel(card, *frame);
    }
    dragFeedbackHideTimer_ = mainQueue_.postAfter(dragModeHideDelay, [this] {
        auto finished = std::move(dragFeedbackHideTimer_);
        if (dragFeedbackWindow_) deps_.shell.hideFeedbackPanel(*dragFeedbackWindow_);
        dragFeedbackWindow_.reset();
    });
}

void AppDelegate::showCancelFeedback() {
    auto frame = centredPanelFrame(280, 90);
    if (!frame) return;
    const auto panel = deps_.shell.showFeedbackPanel(FeedbackCard::cancellation(), *frame);
    cancelFeedbackHides_[panel] = mainQueue_.postAfter(cancelHideDelay, [this, panel] {
        auto finished = cancelFeedbackHides_.extract(panel);
        deps_.shell.hideFeedbackPanel(panel);
    });
}

void AppDelegate::showTooManyWindowsFeedback(std::int64_t required, std::int64_t actual) {
    tooManyWindowsFeedbackHideTimer_.cancel();
    if (!tooManyWindowsFeedbackWindow_) {
        auto frame = centredPanelFrame(400, 110);
        if (!frame) return;
        tooManyWindowsFeedbackWindow_ = deps_.shell.showFeedbackPanel(FeedbackCard::tooManyWindows(required, actual), *frame);
    }
    tooManyWindowsFeedbackHideTimer_ = mainQueue_.postAfter(tooManyWindowsHideDelay, [this] {
        auto finished = std::move(tooManyWindowsFeedbackHideTimer_);
        if (tooManyWindowsFeedbackWindow_) deps_.shell.hideFeedbackPanel(*tooManyWindowsFeedbackWindow_);
        tooManyWindowsFeedbackWindow_.reset();
    });
}

} // namespace zentaris
