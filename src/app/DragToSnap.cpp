// Drag-to-snap: the desktop-wide pointer monitors, the drag state machine with its thresholds,
// the title-bar test, the drop-zone preview and Escape.

#include "app/AppDelegate.h"

#include "layout/WindowReading.h"
#include "shortcuts/ModifierFlags.h"

#include <array>
#include <cmath>

namespace zentaris {

namespace {

constexpr double pointerStartThreshold = 10.0;
constexpr double windowMovedThreshold = 5.0;
constexpr std::int64_t escapeKeyCode = 53;
constexpr double escKeyPollInterval = 0.1;
constexpr double defaultTitleBarHeight = 28.0;
// A parent chain longer than this is taken to be a loop.
constexpr int maximumParentWalk = 64;

constexpr std::array<const char*, 5> titleBarRoles{"AXToolbar", "AXCloseButton", "AXMinimizeButton", "AXZoomButton",
                                                   "AXFullScreenButton"};
constexpr std::array<const char*, 5> titleBarSubroles{"AXCloseButton", "AXMinimizeButton", "AXZoomButton",
                                                      "AXFullScreenButton", "AXToolbarButton"};

double distance(platform::Point a, platform::Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

template <std::size_t N>
bool isOneOf(const std::string& value, const std::array<const char*, N>& names) {
    for (const char* name : names) {
        if (value == name) return true;
    }
    return false;
}

} // namespace

platform::ObservationToken AppDelegate::monitor(platform::InputEventType type,
                                                void (AppDelegate::*handler)(const platform::InputEvent&)) {
    std::weak_ptr<AppDelegate*> weak = self_;
    return deps_.inputMonitor->addGlobalMonitor(platform::maskOf(type), [weak, handler](const platform::InputEvent& event) {
        auto self = weak.lock();
        if (self && *self) ((**self).*handler)(event);
    });
}

void AppDelegate::installDragEventMonitors() {
    if (!deps_.inputMonitor) return;
    using Type = platform::InputEventType;
    eventMonitor_ = monitor(Type::leftMouseDown, &AppDelegate::handleMouseDown);
    dragMonitors_.push_back(monitor(Type::leftMouseDragged, &AppDelegate::handleMouseDragged));
    dragMonitors_.push_back(monitor(Type::leftMouseUp, &AppDelegate::handleMouseUp));
    dragMonitors_.push_back(monitor(Type::rightMouseDown, &AppDelegate::handleRightMouseDown));
    dragMonitors_.push_back(monitor(Type::rightMouseDragged, &AppDelegate::handleRightMouseDragged));
    dragMonitors_.push_back(monitor(Type::rightMouseUp, &AppDelegate::handleMouseUp));
}

void AppDelegate::listenForEscape(bool listen) {
    if (!listen || !deps_.inputMonitor) {
        escapeMonitor_.cancel();
        return;
    }
    if (escapeMonitor_.isActive()) return;
    std::weak_ptr<AppDelegate*> weak = self_;
    escapeMonitor_ = deps_.inputMonitor->addGlobalMonitor(
        platform::maskOf(platform::InputEventType::keyDown), [weak](const platform::InputEvent& event) {
            auto self = weak.lock();
            if (self && *self) (*self)->handleKeyDown(event.keyCode);
        });
}

void AppDelegate::handleMouseDown(const platform::InputEvent& event) {
    if (!isDragAndDropEnabled_.value()) return;
    initialMouseLocation_ = event.location;
    hasStartedWindowDrag_ = false;
    isRightClickDrag_ = false;
    clickWasInTitleBar_ = false;
    dragCancelledWithEsc_ = false;
    // A cancellation still queued by the poll belonged to the last press.
    escCancellation_.cancel();
    // A position left from an earlier press must not stand in for one that cannot be read now.
    initialWindowPosition_.reset();
    initialClickWindow_ = windowManagementService_.screenDetection().windowAtPoint(event.location);
    if (initialClickWindow_) {
        auto position = deps_.desktop.accessibility.copyAttributeValue(*initialClickWindow_, "AXPosition");
        if (auto point = position.as<platform::Point>()) initialWindowPosition_ = *point;
    }
    currentDraggedWindow_.reset();
    listenForEscape(initialClickWindow_.has_value());
}

void AppDelegate::handleMouseDragged(const platform::InputEvent& event) {
    if (!isDragAndDropEnabled_.value() || dragCancelledWithEsc_) {
        hideDragPreview();
        return;
    }
    if (!initialMouseLocation_ || !initialClickWindow_ || !initialWindowPosition_) return;
    const double moved = distance(*initialMouseLocation_, event.location);
    const bool modifierHeld = isDragModifierPressed(event.modifierFlags);

    if (moved > pointerStartThreshold && !hasStartedWindowDrag_) {
        auto position = deps_.desktop.accessibility.copyAttributeValue(*initialClickWindow_, "AXPosition").as<platform::Point>();
        if (position && distance(*position, *initialWindowPosition_) > windowMovedThreshold && modifierHeld) {
            currentDraggedWindow_ = initialClickWindow_;
            hasStartedWindowDrag_ = true;
            startEscKeyPolling();
        }
    }
    if (hasStartedWindowDrag_ && !modifierHeld) {
        // Back to an ordinary window drag; holding the modifier again resumes.
        currentDraggedWindow_.reset();
        hasStartedWindowDrag_ = false;
        hideDragPreview();
    } else if (currentDraggedWindow_ && modifierHeld) {
        if (auto zone = dropZoneAt(event.location)) {
            showDragPreview(*zone);
        } else {
            hideDragPreview();
        }
    } else {
        hideDragPreview();
    }
}

void AppDelegate::handleRightMouseDown(const platform::InputEvent& event) {
    if (!isDragAndDropEnabled_.value() || !deps_.settings.rightClickDragEnabled()) return;
    initialMouseLocation_ = event.location;
    hasStartedWindowDrag_ = false;
    isRightClickDrag_ = true;
    dragCancelledWithEsc_ = false;
    escCancellation_.cancel();
    initialWindowPosition_.reset();
    // A menu or popup lying over a title bar takes the press (a menu item picked with a right-button
    // drag), as does one of the program's own windows: it is no press on the window beneath.
    initialClickWindow_.reset();
    if (!event.onPopupOrOwnWindow) {
        initialClickWindow_ = windowManagementService_.screenDetection().windowAtPoint(event.location);
    }
    if (initialClickWindow_) {
        clickWasInTitleBar_ = isClickInTitleBar(*initialClickWindow_, event.location);
        auto position = deps_.desktop.accessibility.copyAttributeValue(*initialClickWindow_, "AXPosition");
        if (auto point = position.as<platform::Point>()) initialWindowPosition_ = *point;
    } else {
        clickWasInTitleBar_ = false;
    }
    currentDraggedWindow_.reset();
    listenForEscape(initialClickWindow_.has_value());
}

void AppDelegate::handleRightMouseDragged(const platform::InputEvent& event) {
    if (!isDragAndDropEnabled_.value() || dragCancelledWithEsc_) {
        hideDragPreview();
        return;
    }
    if (!initialMouseLocation_ || !initialClickWindow_) return;
    if (distance(*initialMouseLocation_, event.location) > pointerStartThreshold && !hasStartedWindowDrag_ &&
        clickWasInTitleBar_) {
        currentDraggedWindow_ = initialClickWindow_;
        hasStartedWindowDrag_ = true;
        startEscKeyPolling();
    }
    std::optional<platform::Rect> zone;
    if (currentDraggedWindow_) zone = dropZoneAt(event.location);
    if (zone) {
        showDragPreview(*zone);
    } else {
        hideDragPreview();
    }
}

void AppDelegate::handleMouseUp(const platform::InputEvent&) {
    const bool wasCancelled = dragCancelledWithEsc_;
    const bool hadStarted = hasStartedWindowDrag_;
    // The window goes where the preview shows, not to the zone under the release point: the pointer
    // can get there with no drag event on the way (a warped pointer), even onto another screen.
    const auto shownZone = previewFrame_;
    initialMouseLocation_.reset();
    initialWindowPosition_.reset();
    initialClickWindow_.reset();
    hasStartedWindowDrag_ = false;
    dragCancelledWithEsc_ = false;
    isRightClickDrag_ = false;
    clickWasInTitleBar_ = false;
    hideDragPreview();

    if (isDragAndDropEnabled_.value() && !wasCancelled && hadStarted && currentDraggedWindow_) {
        if (shownZone) dropIntoZone(*currentDraggedWindow_, *shownZone);
    }
    currentDraggedWindow_.reset();
    stopEscKeyPolling();
    listenForEscape(false);
}

void AppDelegate::dropIntoZone(const platform::AXUIElement& window, const platform::Rect& zone) {
    if (!windowManagementService_.moveService().moveWindow(window, false, false, zone)) return;
    auto& ax = deps_.desktop.accessibility;
    platform::ProcessId pid = 0;
    if (ax.getPid(window, pid) != platform::AXError::success) return;
    deps_.desktop.workspace.activate(pid);
    ax.setAttributeValue(window, "AXMain", true);
    ax.performAction(window, "AXRaise");
}

void AppDelegate::handleKeyDown(std::int64_t keyCode) {
    // Escape while a shortcut records is the recorder's own, taken in the program's windows only:
    // this monitor also hears Escape pressed in every other program.
    if (keyCode != escapeKeyCode) return;
    const bool dragUnderWay = currentDraggedWindow_ || initialClickWindow_ || hasStartedWindowDrag_;
    if (!dragUnderWay || !deps_.inputMonitor || !isDragModifierPressed(deps_.inputMonitor->modifierFlags())) return;
    dragCancelledWithEsc_ = true;
    hideDragPreview();
    cancelDrag();
}

void AppDelegate::cancelDrag() {
    if (deps_.inputMonitor) deps_.inputMonitor->beep();
    showCancelFeedback();
    hideDragPreview();
    clearDragFields();
    stopEscKeyPolling();
}

void AppDelegate::clearDragFields() {
    initialMouseLocation_.reset();
    initialWindowPosition_.reset();
    initialClickWindow_.reset();
    currentDraggedWindow_.reset();
    hasStartedWindowDrag_ = false;
    listenForEscape(false);
}

void AppDelegate::startEscKeyPolling() {
    std::weak_ptr<AppDelegate*> weak = self_;
    escKeyCheckTimer_ = mainQueue_.scheduleRepeating(escKeyPollInterval, [weak] {
        auto self = weak.lock();
        if (self && *self) (*self)->pollEscKey();
    });
}

void AppDelegate::stopEscKeyPolling() {
    escKeyCheckTimer_.cancel();
    escCancellation_.cancel();
}

void AppDelegate::pollEscKey() {
    // Nothing to cancel once the press is over (a lost release, or the switch turned off).
    if (!initialMouseLocation_ && !hasStartedWindowDrag_) {
        stopEscKeyPolling();
        return;
    }
    if (!deps_.inputMonitor || !deps_.inputMonitor->isKeyDown(escapeKeyCode) || escCancellation_.isActive()) return;
    std::weak_ptr<AppDelegate*> weak = self_;
    escCancellation_ = mainQueue_.post([weak] {
        auto self = weak.lock();
        if (!self || !*self) return;
        AppDelegate& app = **self;
        auto finished = std::move(app.escCancellation_); // keeps this task alive until it returns
        // Released or cancelled in the meantime: the drop has happened, there is nothing left to cancel.
        if (!app.initialMouseLocation_ || app.dragCancelledWithEsc_) return;
        app.dragCancelledWithEsc_ = true;
        app.hideDragPreview();
        app.cancelDrag();
    });
}

bool AppDelegate::isDragModifierPressed(std::uint64_t flags) const {
    using Flags = GlobalShortcuts::ModifierFlags;
    switch (deps_.settings.dragModeModifier()) {
    case DragModeModifier::none: return true;
    case DragModeModifier::command: return (flags & Flags::command) != 0;
    case DragModeModifier::shift: return (flags & Flags::shift) != 0;
    }
    return false;
}

bool AppDelegate::isClickInTitleBar(const platform::AXUIElement& window, platform::Point point) {
    const auto screens = deps_.desktop.screens.screens();
    if (screens.empty()) return false;
    const double axY = screens.front().frame.maxY() - point.y;
    auto& ax = deps_.desktop.accessibility;

    platform::AXUIElement hit;
    if (ax.copyElementAtPosition(ax.createSystemWide(), point.x, axY, hit) == platform::AXError::success && hit) {
        auto current = hit;
        for (int depth = 0; depth < maximumParentWalk; ++depth) {
            const auto role = readString(ax, current, "AXRole").value_or("");
            const auto subrole = readString(ax, current, "AXSubrole").value_or("");
            if (isOneOf(role, titleBarRoles) || isOneOf(subrole, titleBarSubroles)) return true;
            auto parent = ax.copyAttributeValue(current, "AXParent").as<platform::AXUIElement>();
            if (role == "AXStaticText" && parent && readString(ax, *parent, "AXRole") == "AXToolbar") return true;
            if (role == "AXWindow" || !parent || !*parent) break;
            current = *parent;
        }
    }

    auto position = ax.copyAttributeValue(window, "AXPosition").as<platform::Point>();
    auto size = ax.copyAttributeValue(window, "AXSize").as<platform::Size>();
    if (!position || !size) return false;
    double bandHeight = defaultTitleBarHeight;
    if (auto children = ax.copyAttributeValue(window, "AXChildren").as<std::vector<platform::AXUIElement>>()) {
        for (const auto& child : *children) {
            if (readString(ax, child, "AXRole") != "AXToolbar") continue;
            if (auto toolbar = ax.copyAttributeValue(child, "AXSize").as<platform::Size>()) bandHeight = toolbar->height;
            break;
        }
    }
    return position->x <= point.x && point.x <= position->x + size->width && position->y <= axY &&
           axY <= position->y + bandHeight;
}

std::optional<platform::Rect> AppDelegate::dropZoneAt(platform::Point pointer) {
    auto& service = windowManagementService_;
    auto screen = service.screenDetection().screenContainingPoint(pointer);
    if (!screen) screen = deps_.desktop.screens.mainScreen();
    if (!screen) return std::nullopt;
    return service.previewService().dropZoneFrame(pointer, service.frameCalculator().usableFrame(*screen));
}

void AppDelegate::showDragPreview(const platform::Rect& rect) {
    // The preview moves (and comes to the front) only when the zone under the pointer changes.
    if (previewFrame_ == rect) return;
    previewFrame_ = rect;
    deps_.shell.showDragPreview(rect);
}

void AppDelegate::hideDragPreview() {
    if (!previewFrame_) return;
    previewFrame_.reset();
    deps_.shell.hideDragPreview();
}

} // namespace zentaris
