#include "AppTestSupport.h"

using namespace zentaris;
using namespace zentaris::testing;
using platform::InputEvent;
using platform::InputEventType;
using platform::Point;
using platform::Rect;

namespace {

constexpr std::uint64_t commandFlag = 0x100000, shiftFlag = 0x20000, optionFlag = 0x80000;
constexpr std::uint16_t escapeKey = 53;

// One 1000 x 800 screen with no gap and one window whose title bar (the top 28 points) spans
// y 572 to 600 in screen coordinates. The window manager moves the window with the pointer.
struct DragToSnapTest : AppFixture {
    platform::AXUIElement window;
    Rect home{100, 300, 400, 300};
    Point grab{300, 450};
    Point pointer;

    DragToSnapTest() {
        desktop.addScreen({0, 0, 1000, 800});
        desktop.defaults().set("windowGap", 0.0);
        window = desktop.addWindow(home, "notes");
        desktop.focus(window);
        launch();
        desktop.mainQueue().runPending();
    }

    void send(InputEventType type, Point at, std::uint64_t flags = 0) { input.send(InputEvent{type, at, flags, 0}); }
    void press(Point at = {300, 450}) {
        desktop.setFrame(window, home);
        pointer = at;
        send(InputEventType::leftMouseDown, at);
    }
    // Moves the pointer by (dx, dy) and the window along by (wx, wy), as a window manager's move does.
    void dragBy(double dx, double dy, std::uint64_t flags, double wx, double wy,
                InputEventType type = InputEventType::leftMouseDragged) {
        pointer = {pointer.x + dx, pointer.y + dy};
        auto frame = desktop.frameOf(window).value();
        desktop.setFrame(window, {frame.minX() + wx, frame.minY() + wy, frame.width(), frame.height()});
        send(type, pointer, flags);
    }
    void dragBy(double dx, double dy, std::uint64_t flags = commandFlag) { dragBy(dx, dy, flags, dx, dy); }
    void dragTo(Point to, std::uint64_t flags = commandFlag) { dragBy(to.x - pointer.x, to.y - pointer.y, flags); }
    void release(InputEventType type = InputEventType::leftMouseUp) { send(type, pointer); }
    void escape(std::uint64_t flags) {
        input.setModifierFlags(flags);
        input.send(InputEvent{InputEventType::keyDown, pointer, flags, escapeKey});
    }
    Rect frame() { return desktop.frameOf(window).value(); }
    void wait(double seconds) { desktop.mainQueue().advance(seconds); }
};

} // namespace

TEST_F(DragToSnapTest, TheDragStartsOnlyPastBothThresholds) {
    const struct {
        double pointerMove, windowMove;
        bool starts;
    } cases[] = {
        {10.0, 10.0, false}, // the pointer must move strictly more than 10 points
        {10.1, 10.1, true},
        {20.0, 5.0, false}, // the window must move strictly more than 5 points
        {20.0, 5.1, true},
        {20.0, 0.0, false}, // a press that does not move the window (text selection, a button)
    };
    for (const auto& c : cases) {
        press();
        dragBy(c.pointerMove, 0, commandFlag, c.windowMove, 0);
        EXPECT_EQ(app->hasStartedWindowDrag(), c.starts) << c.pointerMove << " / " << c.windowMove;
        EXPECT_EQ(shell.preview.has_value(), c.starts);
        EXPECT_EQ(app->isPollingEscKey(), c.starts);
        release();
        EXPECT_FALSE(app->isPollingEscKey());
    }
}

TEST_F(DragToSnapTest, TheDragModifierSettingDecidesWhichFlagsArm) {
    const struct {
        DragModeModifier modifier;
        std::uint64_t flags;
        bool starts;
    } cases[] = {
        {DragModeModifier::none, 0, true},
        {DragModeModifier::none, optionFlag, true},
        {DragModeModifier::command, 0, false},
        {DragModeModifier::command, shiftFlag, false},
        {DragModeModifier::command, commandFlag | optionFlag, true},
        {DragModeModifier::shift, commandFlag, false},
        {DragModeModifier::shift, shiftFlag, true},
    };
    for (const auto& c : cases) {
        ShortcutSettings::shared().setDragModeModifier(c.modifier);
        press();
        dragBy(30, 0, c.flags);
        EXPECT_EQ(app->hasStartedWindowDrag(), c.starts) << static_cast<int>(c.modifier) << " " << c.flags;
        release();
    }
}

TEST_F(DragToSnapTest, AnUnreadableStartPositionIsNotTakenFromAnEarlierPress) {
    press(); // its release never arrives
    // The next press cannot read where the window stood; a moment later it can again.
    desktop.accessibility().failReads(window, "AXPosition");
    press();
    desktop.accessibility().allowReads(window, "AXPosition");
    dragBy(30, 0);
    EXPECT_FALSE(app->hasStartedWindowDrag()) << "no start position, no drag";
    EXPECT_FALSE(shell.preview);
    release();
    EXPECT_EQ(frame(), Rect(130, 300, 400, 300));
}

TEST_F(DragToSnapTest, HoldingTheModifierMidDragStartsAndLettingGoStops) {
    press();
    dragBy(40, 0, 0);
    EXPECT_FALSE(app->hasStartedWindowDrag());
    EXPECT_FALSE(shell.preview) << "an ordinary window move shows nothing";
    dragBy(5, 0, commandFlag);
    EXPECT_TRUE(app->hasStartedWindowDrag()) << "pressing command during the drag starts it at once";
    ASSERT_TRUE(shell.preview);
    dragBy(5, 0, 0);
    EXPECT_FALSE(app->hasStartedWindowDrag());
    EXPECT_FALSE(shell.preview);
    dragBy(5, 0, commandFlag);
    EXPECT_TRUE(app->hasStartedWindowDrag()) << "the same press can start again";
    release();
}

TEST_F(DragToSnapTest, ReleaseDropsIntoTheZoneActivatesAndRaises) {
    press();
    dragBy(20, 0);
    dragTo({900, 400}); // the right edge band: the right column
    EXPECT_EQ(shell.preview, Rect(750, 0, 250, 800));
    dragTo({30, 400});
    EXPECT_EQ(shell.preview, Rect(0, 0, 250, 800));
    desktop.accessibility().clearCalls();
    release();
    EXPECT_FALSE(shell.preview);
    EXPECT_EQ(frame(), Rect(0, 0, 250, 800));
    EXPECT_EQ(desktop.workspace().activations(), (std::vector<platform::ProcessId>{window.pid}));
    const auto writes = desktop.accessibility().writes(window);
    ASSERT_GE(writes.size(), 2u);
    EXPECT_NE(writes[writes.size() - 2].find("AXMain"), std::string::npos);
    EXPECT_NE(writes.back().find("AXRaise"), std::string::npos);
    EXPECT_FALSE(app->currentDraggedWindow());
}

TEST_F(DragToSnapTest, APressOutsideAnyWindowOrWithTheSwitchOffNeverSnaps) {
    press({900, 100});
    dragBy(50, 50);
    EXPECT_FALSE(app->hasStartedWindowDrag());
    release();

    app->toggleDragMode();
    press();
    dragBy(50, 0);
    EXPECT_FALSE(shell.preview);
    release();
    EXPECT_EQ(frame(), Rect(150, 300, 400, 300)) << "left where the user let go";
}

TEST_F(DragToSnapTest, SwitchingOffMidDragHidesThePreview) {
    press();
    dragBy(30, 0);
    ASSERT_TRUE(shell.preview);
    app->toggleDragMode();
    EXPECT_FALSE(shell.preview);
    dragBy(30, 0);
    EXPECT_FALSE(shell.preview);
    ASSERT_TRUE(app->isPollingEscKey());
    wait(0.1);
    EXPECT_FALSE(app->isPollingEscKey()) << "with the drag gone the poll stops itself";
    release();
}

TEST_F(DragToSnapTest, RightButtonDragsSnapFromTheTitleBarOnly) {
    // Inside the title bar: no modifier needed, and the window need not move.
    pointer = {300, 590};
    send(InputEventType::rightMouseDown, pointer);
    dragBy(10, 0, 0, 0, 0, InputEventType::rightMouseDragged);
    EXPECT_FALSE(app->hasStartedWindowDrag());
    dragBy(0.5, 0, 0, 0, 0, InputEventType::rightMouseDragged);
    EXPECT_TRUE(app->hasStartedWindowDrag());
    dragBy(-280, -200, 0, 0, 0, InputEventType::rightMouseDragged); // (20.5, 390): the left column
    EXPECT_EQ(shell.preview, Rect(0, 0, 250, 800));
    release(InputEventType::rightMouseUp);
    EXPECT_EQ(frame(), Rect(0, 0, 250, 800));

    // Far along the title bar of a window wider than it is tall: 350 points in, past its height of 300.
    desktop.setFrame(window, home);
    pointer = {450, 590};
    send(InputEventType::rightMouseDown, pointer);
    dragBy(-429.5, -200, 0, 0, 0, InputEventType::rightMouseDragged); // (20.5, 390): the left column
    EXPECT_TRUE(app->hasStartedWindowDrag());
    release(InputEventType::rightMouseUp);
    EXPECT_EQ(frame(), Rect(0, 0, 250, 800));

    // Below the title bar.
    desktop.setFrame(window, home);
    pointer = {300, 560};
    send(InputEventType::rightMouseDown, pointer);
    dragBy(-250, 0, 0, 0, 0, InputEventType::rightMouseDragged);
    EXPECT_FALSE(app->hasStartedWindowDrag());
    release(InputEventType::rightMouseUp);
    EXPECT_EQ(frame(), home);

    // On a menu or popup lying over the title bar.
    pointer = {300, 590};
    input.send(InputEvent{InputEventType::rightMouseDown, pointer, 0, 0, true});
    dragBy(-250, 0, 0, 0, 0, InputEventType::rightMouseDragged);
    EXPECT_FALSE(app->hasStartedWindowDrag());
    EXPECT_FALSE(shell.preview);
    release(InputEventType::rightMouseUp);
    EXPECT_EQ(frame(), home);

    // Right-button dragging switched off.
    ShortcutSettings::shared().setRightClickDragEnabled(false);
    pointer = {300, 590};
    send(InputEventType::rightMouseDown, pointer);
    dragBy(-250, 0, 0, 0, 0, InputEventType::rightMouseDragged);
    EXPECT_FALSE(app->hasStartedWindowDrag());
    release(InputEventType::rightMouseUp);
    EXPECT_EQ(frame(), home);
}

TEST_F(DragToSnapTest, ARightPressOnAPopupWhileTheLeftButtonIsDownStartsNoDrag) {
    press({300, 590}); // the left button on the title bar
    input.send(InputEvent{InputEventType::rightMouseDown, pointer, commandFlag, 0, true});
    // Motion with the left button held is a left drag; the window manager still moves the window.
    dragBy(-250, 0);
    EXPECT_FALSE(app->hasStartedWindowDrag());
    EXPECT_FALSE(shell.preview);
    release(InputEventType::rightMouseUp);
    EXPECT_EQ(frame(), Rect(home.minX() - 250, home.minY(), home.width(), home.height()));
}

TEST_F(DragToSnapTest, ARightPressBelowTheTitleBarShowsNoPreviewForTheDragThatNeverStarts) {
    pointer = {300, 560};
    send(InputEventType::rightMouseDown, pointer);
    dragBy(-250, 0, 0, 0, 0, InputEventType::rightMouseDragged);
    EXPECT_FALSE(shell.preview);
    release(InputEventType::rightMouseUp);
    EXPECT_EQ(frame(), home);
}

TEST_F(DragToSnapTest, TheTitleBarFollowsAToolbarAndItsButtons) {
    // A 50-point toolbar widens the band; a close button counts wherever it is.
    desktop.addPart(window, "AXToolbar", {100, 550, 400, 50});
    desktop.addPart(window, "AXButton", {110, 330, 12, 12}, "AXCloseButton");
    EXPECT_TRUE(app->isClickInTitleBar(window, {300, 560}));
    EXPECT_TRUE(app->isClickInTitleBar(window, {115, 335}));
    EXPECT_FALSE(app->isClickInTitleBar(window, {300, 500}));
    EXPECT_FALSE(app->isClickInTitleBar(window, {600, 590})) << "beside the window";
}

TEST_F(DragToSnapTest, AToolbarLowerThanTheUsualBandNarrowsIt) {
    // A 20-point title bar: 25 points below the top is already the window's content.
    desktop.addPart(window, "AXToolbar", {100, 580, 400, 20});
    EXPECT_TRUE(app->isClickInTitleBar(window, {300, 585}));
    EXPECT_FALSE(app->isClickInTitleBar(window, {300, 575}));
    // Without a toolbar, the usual band from the window's top.
    auto plain = desktop.addWindow({600, 300, 300, 300}, "plain");
    EXPECT_TRUE(app->isClickInTitleBar(plain, {700, 575}));
    EXPECT_FALSE(app->isClickInTitleBar(plain, {700, 570}));
}

TEST_F(DragToSnapTest, EscapeWithTheModifierCancelsWithABeepAndNoMove) {
    press();
    dragBy(30, 0);
    escape(0);
    EXPECT_TRUE(app->hasStartedWindowDrag()) << "without the modifier Escape does nothing";
    EXPECT_EQ(input.beeps(), 0);

    escape(commandFlag);
    EXPECT_EQ(input.beeps(), 1);
    EXPECT_TRUE(app->dragCancelledWithEsc());
    EXPECT_FALSE(shell.preview);
    EXPECT_FALSE(app->isPollingEscKey());
    EXPECT_EQ(shell.panelsOf(FeedbackCard::Kind::cancellation).size(), 1u);
    dragTo({30, 400});
    EXPECT_FALSE(shell.preview) << "the rest of the press only hides";
    release();
    EXPECT_EQ(frame(), Rect(-170, 250, 400, 300)) << "left where the user let go";
    EXPECT_TRUE(desktop.workspace().activations().empty());
    wait(0.79);
    EXPECT_EQ(shell.panelsOf(FeedbackCard::Kind::cancellation).size(), 1u);
    wait(0.02);
    EXPECT_TRUE(shell.panels.empty());
}

TEST_F(DragToSnapTest, EscapeWhileRecordingCancelsTheDragAndLeavesTheRecording) {
    std::vector<platform::UserInfo> posted;
    auto token = notifications.addObserver(AppDelegate::cancelShortcutRecordingNotification,
                                           [&](const platform::Notification& n) { posted.push_back(n.userInfo.value_or(platform::UserInfo{})); });
    ASSERT_TRUE(app->startRecordingShortcut(ShortcutNames::splitVertical()));
    press();
    dragBy(30, 0);
    escape(commandFlag);
    EXPECT_TRUE(posted.empty()) << "the recorder takes Escape in its own window only";
    EXPECT_TRUE(app->isInShortcutEditMode().value());
    EXPECT_EQ(input.beeps(), 1);
    release();
    EXPECT_EQ(frame(), Rect(130, 300, 400, 300)) << "the drag was cancelled";
}

TEST_F(DragToSnapTest, TheEscapePollRunsOnlyDuringADragAndCancelsWhileHeld) {
    wait(1);
    EXPECT_EQ(desktop.mainQueue().pendingCount(), 0u) << "nothing polls while idle";
    press();
    dragBy(30, 0);
    ASSERT_TRUE(app->isPollingEscKey());
    input.setKeyDown(escapeKey, true); // the poll ignores the modifier
    wait(0.1);
    EXPECT_EQ(input.beeps(), 1);
    EXPECT_TRUE(app->dragCancelledWithEsc());
    EXPECT_FALSE(app->isPollingEscKey());
    wait(0.5);
    EXPECT_EQ(input.beeps(), 1) << "one cancellation however long the key is held";
    release();
}

TEST_F(DragToSnapTest, APolledCancellationArrivingAfterTheReleaseIsDropped) {
    press();
    dragBy(30, 0);
    dragTo({30, 400});
    input.setKeyDown(escapeKey, true);
    app->pollEscKey(); // the poll hands its cancellation to the queue ...
    release();         // ... and the release comes first
    wait(0.2);
    EXPECT_EQ(frame(), Rect(0, 0, 250, 800));
    EXPECT_EQ(input.beeps(), 0);
    EXPECT_EQ(shell.cancellationCards, 0);
    EXPECT_FALSE(app->dragCancelledWithEsc());
}

TEST_F(DragToSnapTest, TheDragModePanelIsReusedAndHidesAfterTheLastToggle) {
    app->toggleDragMode();
    wait(1.0);
    app->toggleDragMode();
    auto panels = shell.panelsOf(FeedbackCard::Kind::dragModeToggle);
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_TRUE(panels[0].card.isEnabled) << "the latest state";
    EXPECT_EQ(panels[0].frame, Rect(360, 355, 280, 90));
    EXPECT_EQ(shell.dragModeFeedback, (std::vector<bool>{false, true}));
    wait(1.19);
    EXPECT_EQ(shell.panels.size(), 1u);
    wait(0.02);
    EXPECT_TRUE(shell.panels.empty());
    app->toggleDragMode();
    EXPECT_EQ(shell.panels.size(), 1u) << "a new panel after the hide";
}

TEST_F(DragToSnapTest, TheTooManyWindowsPanelKeepsItsFirstCounts) {
    app->showTooManyWindowsFeedback(2, 3);
    wait(1.5);
    app->showTooManyWindowsFeedback(3, 5);
    auto panels = shell.panelsOf(FeedbackCard::Kind::tooManyWindows);
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0].card, FeedbackCard::tooManyWindows(2, 3));
    EXPECT_EQ(panels[0].frame, Rect(300, 345, 400, 110));
    wait(1.99);
    EXPECT_EQ(shell.panels.size(), 1u);
    wait(0.02);
    EXPECT_TRUE(shell.panels.empty());
}

TEST_F(DragToSnapTest, CancelPanelsAreNewEachTimeAndNoneShowWithoutAMainScreen) {
    app->showCancelFeedback();
    wait(0.5);
    app->showCancelFeedback();
    EXPECT_EQ(shell.panels.size(), 2u);
    wait(0.31);
    EXPECT_EQ(shell.panels.size(), 1u);
    wait(0.5);
    EXPECT_TRUE(shell.panels.empty());

    desktop.screens().setMainScreen(std::nullopt);
    app->showCancelFeedback();
    app->showTooManyWindowsFeedback(2, 3);
    app->toggleDragMode();
    EXPECT_TRUE(shell.panels.empty());
    EXPECT_EQ(desktop.mainQueue().pendingCount(), 0u);
}

TEST_F(DragToSnapTest, EscapeIsHeardOnlyWhileAPressMayBecomeADragAndTheMonitorsLiveUntilTermination) {
    EXPECT_EQ(input.monitorCount(), 6u) << "keys typed without a drag reach no monitor";
    press();
    EXPECT_EQ(input.monitorCount(), 7u);
    release();
    EXPECT_EQ(input.monitorCount(), 6u);
    press({900, 50}); // on no window
    EXPECT_EQ(input.monitorCount(), 6u);
    release();
    app->applicationWillTerminate();
    EXPECT_EQ(input.monitorCount(), 0u);
}

TEST_F(DragToSnapTest, ThePreviewMovesOnlyWhenTheZoneChanges) {
    press();
    dragBy(20, 0);
    ASSERT_TRUE(shell.preview);
    for (int i = 0; i < 5; ++i) dragBy(3, 2);
    EXPECT_EQ(shell.previews.size(), 1u) << "motions inside one zone";
    dragTo({5, 400});
    EXPECT_EQ(shell.previews.size(), 2u) << "into the left edge's zone";
    release();
}

namespace {

// Two 1000 x 800 screens stacked one above the other, with either one first (the origin of screen
// coordinates), no gap, and a window on the lower screen.
struct StackedScreensDragTest : AppFixture, ::testing::WithParamInterface<bool> {
    const bool upperFirst = GetParam();
    const double boundary = upperFirst ? 0 : 800; // the lower screen's top edge
    platform::AXUIElement window;

    StackedScreensDragTest() {
        const Rect upper{0, boundary, 1000, 800}, lower{0, boundary - 800, 1000, 800};
        desktop.addScreen(upperFirst ? upper : lower);
        desktop.addScreen(upperFirst ? lower : upper);
        desktop.defaults().set("windowGap", 0.0);
        window = desktop.addWindow({100, boundary - 500, 400, 300}, "notes");
        desktop.focus(window);
        launch();
        desktop.mainQueue().runPending();
    }

    void send(InputEventType type, Point at) { input.send(InputEvent{type, at, 0x100000, 0}); }
    // A drag that starts on the window and last reports the pointer at `lastDrag`.
    void dragTo(Point lastDrag) {
        desktop.setFrame(window, {100, boundary - 500, 400, 300});
        send(InputEventType::leftMouseDown, {300, boundary - 350});
        desktop.setFrame(window, {120, boundary - 500, 400, 300});
        send(InputEventType::leftMouseDragged, {320, boundary - 350});
        send(InputEventType::leftMouseDragged, lastDrag);
    }
};

} // namespace

TEST_P(StackedScreensDragTest, TheWindowLandsInTheZoneThePreviewShowsOnEitherSideOfTheBoundary) {
    const Rect lowerTopLeft{0, boundary - 400, 500, 400}, upperBottomLeft{0, boundary, 500, 400};
    const struct {
        double lastDragY, releaseY;
        Rect zone;
    } cases[] = {
        {boundary - 3, boundary - 3, lowerTopLeft},
        {boundary + 3, boundary + 3, upperBottomLeft},
        // The pointer crossed the boundary with no drag event on the way (a warped pointer).
        {boundary - 3, boundary + 3, lowerTopLeft},
        {boundary + 3, boundary - 3, upperBottomLeft},
    };
    for (const auto& c : cases) {
        dragTo({30, c.lastDragY});
        EXPECT_EQ(shell.preview, c.zone) << c.lastDragY;
        send(InputEventType::leftMouseUp, {30, c.releaseY});
        EXPECT_FALSE(shell.preview);
        EXPECT_EQ(desktop.frameOf(window), c.zone) << c.lastDragY << " then " << c.releaseY;
    }
}

INSTANTIATE_TEST_SUITE_P(EitherScreenFirst, StackedScreensDragTest, ::testing::Bool());
