#pragma once

#include "app/ApplicationShell.h"
#include "app/PositionState.h"
#include "layout/LayoutType.h"
#include "layout/WindowManagementService.h"
#include "platform/Desktop.h"
#include "platform/InputMonitor.h"
#include "platform/NotificationCenter.h"
#include "preferences/Observable.h"
#include "preferences/ShortcutSettings.h"
#include "shortcuts/Name.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace zentaris {

// The application controller: brings every subsystem up, owns the status item, the windows and
// the layout coordinator, turns global shortcuts and menu rows into layout commands, and holds
// the single shortcut-recording slot.
class AppDelegate {
public:
    using LayoutType = zentaris::LayoutType;
    using PositionState = zentaris::PositionState;
    using ArrowDirection = zentaris::ArrowDirection;

    // What the controller works with. The hooks reach the update check, the tutorial's state and
    // the login item, so that tests can stand in for them.
    struct Dependencies {
        platform::Desktop desktop;
        platform::NotificationCenter& notifications;
        ShortcutSettings& settings;
        ApplicationShell& shell;
        std::function<void()> checkForUpdatesIfNeeded;
        std::function<bool()> shouldShowOnboarding;
        std::function<void()> resetOnboardingToFirstPage;
        std::function<void(bool)> setLoginItemRegistered;
        // The desktop's pointer and keys, for drag-to-snap; none means no dragging.
        platform::InputMonitor* inputMonitor = nullptr;
    };

    static constexpr const char* openSettingsNotification = "OpenSettings";
    static constexpr const char* showOnboardingNotification = "ShowOnboarding";
    static constexpr const char* shortcutsDidResetNotification = "ShortcutsDidReset";
    static constexpr const char* menuBarIconStyleChangedNotification = "MenuBarIconStyleChanged";
    static constexpr const char* cancelShortcutRecordingNotification = "cancelShortcutRecording";
    static constexpr const char* launchAtLoginKey = "launchAtLogin";
    static constexpr const char* menuBarIconColoredKey = "menuBarIconColored";

    explicit AppDelegate(Dependencies dependencies);
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The one controller, set by the start-up sequence; none before it and after the controller is gone.
    static AppDelegate* shared();

    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    // The recording slot shared with the shortcut recorder.
    bool startRecordingShortcut(const GlobalShortcuts::Name& name);
    void stopRecordingShortcut(const std::optional<GlobalShortcuts::Name>& name);
    // Escape ends a recording, or cancels a drag while the drag modifier is held.
    void handleKeyDown(std::int64_t keyCode);

    Published<bool>& isInShortcutEditMode() { return isInShortcutEditMode_; }
    Published<std::optional<GlobalShortcuts::Name>>& currentRecordingShortcut() { return currentRecordingShortcut_; }
    Published<bool>& isDragAndDropEnabled() { return isDragAndDropEnabled_; }

    WindowManagementService& windowManagementService() { return windowManagementService_; }

    // Windows.
    void openSettings();
    void showOnboardingWindow();
    void showOnboardingFromMenu();
    void resetOnboardingState();
    void applyLaunchAtLogin(bool enabled);

    // The status item and its menu.
    void updateStatusBarIcon();
    void buildStatusMenu();
    void addLayoutSections(StatusMenu& menu);
    std::optional<StatusMenuItem> makeScreenMenuItem();
    // The caption a menu row shows for a shortcut; none when it is off or not set.
    std::optional<std::string> shortcutDisplayText(const GlobalShortcuts::Name& name) const;
    const StatusMenu& statusMenu() const { return statusMenu_; }

    // Shortcut wiring.
    static void sanitizeStoredShortcuts();
    void registerGlobalShortcuts();
    void toggleDragMode();

    // Drag-to-snap.
    void installDragEventMonitors();
    void handleMouseDown(const platform::InputEvent& event);
    void handleMouseDragged(const platform::InputEvent& event);
    void handleRightMouseDown(const platform::InputEvent& event);
    void handleRightMouseDragged(const platform::InputEvent& event);
    void handleMouseUp(const platform::InputEvent& event);
    void cancelDrag();
    void startEscKeyPolling();
    void pollEscKey();
    bool isDragModifierPressed(std::uint64_t flags) const;
    // Whether a point (screen coordinates) lies on the window's title bar or toolbar.
    bool isClickInTitleBar(const platform::AXUIElement& window, platform::Point point);
    void showDragPreview(const platform::Rect& rect);
    void hideDragPreview();

    // The feedback panels.
    void showDragModeFeedback();
    void showCancelFeedback();
    void showTooManyWindowsFeedback(std::int64_t required, std::int64_t actual);

    // Read by tests.
    bool hasStartedWindowDrag() const { return hasStartedWindowDrag_; }
    bool dragCancelledWithEsc() const { return dragCancelledWithEsc_; }
    const std::optional<platform::AXUIElement>& currentDraggedWindow() const { return currentDraggedWindow_; }
    bool isPollingEscKey() const { return escKeyCheckTimer_.isActive(); }

    // Layout commands.
    void arrangeAllWindows(LayoutType layout, int slotCount);
    void arrowKeyPressed(ArrowDirection direction);
    void handleArrowCombination(ArrowDirection first, ArrowDirection second);
    void applyCornerQuarter(int corner);
    void applySingleWindowAction(SingleWindowAction action);
    void applyPositionState(PositionState state, const platform::AXUIElement& window);
    void performScreenSwap(void (WindowManagementService::*swap)());
    void screensDidChange();
    void rebuildScreenMenuItem();

    // Menu actions.
    void applyThreeColumnLeft() { windowManagementService_.applyThreeColumnAndRemember(0); }
    void applyThreeColumnCenter() { windowManagementService_.applyThreeColumnAndRemember(1); }
    void applyThreeColumnRight() { windowManagementService_.applyThreeColumnAndRemember(2); }
    void applyQuartetTopLeft() { layout().applyQuarter(0); }
    void applyQuartetTopRight() { layout().applyQuarter(1); }
    void applyQuartetBottomLeft() { layout().applyQuarter(2); }
    void applyQuartetBottomRight() { layout().applyQuarter(3); }
    void applySplitLeft() { layout().applyHalf(false, false); }
    void applySplitRight() { layout().applyHalf(false, true); }
    void applySplitTop() { layout().applyHalf(true, false); }
    void applySplitBottom() { layout().applyHalf(true, true); }
    void applySplit7030Left() { layout().applySplit7030(false); }
    void applySplit7030Right() { layout().applySplit7030(true); }
    void applySplit3070Left() { layout().applySplit3070(false); }
    void applySplit3070Right() { layout().applySplit3070(true); }
    void applyThreeWindowTopTop() { layout().applyThreeWindow(0, 0); }
    void applyThreeWindowTopBottomLeft() { layout().applyThreeWindow(0, 1); }
    void applyThreeWindowTopBottomRight() { layout().applyThreeWindow(0, 2); }
    void applyThreeWindowBottomTopLeft() { layout().applyQuarter(0); }
    void applyThreeWindowBottomTopRight() { layout().applyThreeWindow(1, 1); }
    void applyThreeWindowBottomBottom() { layout().applyThreeWindow(1, 2); }
    void applyThreeWindowVerticalLeftLeft() { layout().applyHalf(false, false); }
    void applyThreeWindowVerticalLeftTopRight() { layout().applyThreeWindowVerticalLeft(1); }
    void applyThreeWindowVerticalLeftBottomRight() { layout().applyThreeWindowVerticalLeft(2); }
    void applyThreeWindowVerticalRightTopLeft() { layout().applyQuarter(0); }
    void applyThreeWindowVerticalRightBottomLeft() { layout().applyQuarter(2); }
    void applyThreeWindowVerticalRightRight() { layout().applyThreeWindowVerticalRight(2); }
    void moveToNextScreen() { windowManagementService_.moveFocusedWindowToNextScreen(); }
    void moveToPreviousScreen() { windowManagementService_.moveFocusedWindowToPreviousScreen(); }
    void moveToSpecificScreen(int tag) { windowManagementService_.moveFocusedWindowToScreen(tag); }
    void swapScreensNext() { performScreenSwap(&WindowManagementService::swapWithNextScreen); }
    void swapScreensPrevious() { performScreenSwap(&WindowManagementService::swapWithPreviousScreen); }

    // Read by tests and the menu.
    std::optional<LayoutType> lastAppliedLayout() const { return lastAppliedLayout_; }
    int layoutRotationOffset() const { return layoutRotationOffset_; }
    PositionState currentPositionState() const { return currentPositionState_; }
    std::optional<ArrowDirection> firstArrowPressed() const { return firstArrowPressed_; }

private:
    std::vector<StatusMenuItem> submenuEntries(LayoutType layout);
    WindowLayoutService& layout() { return windowManagementService_.layoutService(); }
    void addNotificationObservers();
    void observeDragModeModifier();
    void observeThreeColumnStyle();
    void checkOnboardingAfterLaunch();
    // Runs `work` on a later turn of the main queue, unless this controller is gone by then.
    void dispatchToMainQueue(std::function<void(AppDelegate&)> work);
    void removeMonitorsAndObservers();
    // The drop zone under a pointer position; none without any screen.
    std::optional<platform::Rect> dropZoneAt(platform::Point pointer);
    void clearDragFields();
    // Starts or stops hearing Escape, as a drag becomes possible or ends.
    void listenForEscape(bool listen);
    void stopEscKeyPolling();
    // Runs `handler` on this controller for monitored events, until it is gone.
    platform::ObservationToken monitor(platform::InputEventType type,
                                       void (AppDelegate::*handler)(const platform::InputEvent&));
    // The frame of a panel of this size centred on the main screen; none without one.
    std::optional<platform::Rect> centredPanelFrame(double width, double height);
    void dropIntoZone(const platform::AXUIElement& window, const platform::Rect& zone);

    Dependencies deps_;
    platform::MainQueue& mainQueue_;
    WindowManagementService windowManagementService_;

    Published<bool> isInShortcutEditMode_{false};
    Published<std::optional<GlobalShortcuts::Name>> currentRecordingShortcut_{std::nullopt};
    Published<bool> isDragAndDropEnabled_{true};

    // Drag state, cleared when drag-to-snap is switched.
    std::optional<platform::AXUIElement> currentDraggedWindow_;
    std::optional<platform::AXUIElement> initialClickWindow_;
    std::optional<platform::Point> initialMouseLocation_;
    std::optional<platform::Point> initialWindowPosition_;
    bool hasStartedWindowDrag_ = false;
    bool dragCancelledWithEsc_ = false;
    bool isRightClickDrag_ = false;
    bool clickWasInTitleBar_ = false;
    // The zone the preview shows; none while it is hidden.
    std::optional<platform::Rect> previewFrame_;
    // The left-press monitor (removed at termination) and the other drag monitors.
    platform::ObservationToken eventMonitor_;
    std::vector<platform::ObservationToken> dragMonitors_;
    // Escape, heard only while a press may become a drag: no work for keys typed otherwise.
    platform::ObservationToken escapeMonitor_;
    platform::ScheduledTask escKeyCheckTimer_;
    // The cancellation the Escape poll handed to the main queue.
    platform::ScheduledTask escCancellation_;

    // Panels on screen and their pending hides.
    std::optional<FeedbackPanelId> dragFeedbackWindow_;
    platform::ScheduledTask dragFeedbackHideTimer_;
    std::optional<FeedbackPanelId> tooManyWindowsFeedbackWindow_;
    platform::ScheduledTask tooManyWindowsFeedbackHideTimer_;
    std::map<FeedbackPanelId, platform::ScheduledTask> cancelFeedbackHides_;

    // Arrange-all rotation.
    std::optional<LayoutType> lastAppliedLayout_;
    double lastLayoutTime_ = 0;
    int layoutRotationOffset_ = 0;
    double layoutRotationTimeout_ = 2.0;

    // Single-window steps and the two-arrow window.
    double lastActionTime_ = 0;
    std::optional<platform::AXUIElement> lastActionWindow_;
    PositionState currentPositionState_ = PositionState::none;
    std::optional<ArrowDirection> firstArrowPressed_;
    double firstArrowTime_ = 0;
    double combinationTimeout_ = 0.2;

    StatusMenu statusMenu_;
    std::optional<StatusMenuItem> screenMenuItem_;

    std::vector<platform::ObservationToken> cancellables_;
    std::vector<platform::ObservationToken> notificationObservers_;
    platform::ObservationToken screenParametersObserver_;
    std::map<std::uint64_t, platform::ScheduledTask> pendingWork_;
    std::uint64_t nextWorkId_ = 1;
    platform::ScheduledTask pendingArrowCheck_;
    platform::ScheduledTask onboardingCheck_;
    // Lets queued work notice that the controller is gone.
    std::shared_ptr<AppDelegate*> self_ = std::make_shared<AppDelegate*>(this);
};

} // namespace zentaris
