#include "app/AppDelegate.h"

#include "app/ShortcutNames.h"
#include "preferences/LanguageManager.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/Shortcut.h"

namespace zentaris {

namespace {
AppDelegate* sharedController = nullptr;
} // namespace

AppDelegate::AppDelegate(Dependencies dependencies)
    : deps_(std::move(dependencies)), mainQueue_(deps_.desktop.mainQueue),
      windowManagementService_(deps_.desktop, deps_.settings) {}

AppDelegate::~AppDelegate() {
    *self_ = nullptr;
    if (sharedController == this) sharedController = nullptr;
}

AppDelegate* AppDelegate::shared() { return sharedController; }

void AppDelegate::applicationDidFinishLaunching() {
    sharedController = this;
    // X11 has no permission to ask for; the answer is not needed either way.
    deps_.desktop.accessibility.isProcessTrusted(true);

    deps_.shell.createStatusItem();
    updateStatusBarIcon();
    buildStatusMenu();

    addNotificationObservers();
    notificationObservers_.push_back(deps_.notifications.addObserver(
        menuBarIconStyleChangedNotification,
        [this](const platform::Notification&) { dispatchToMainQueue([](AppDelegate& app) { app.updateStatusBarIcon(); }); }));

    observeDragModeModifier();
    observeThreeColumnStyle();

    // The login item follows the setting: once on a later turn (the observation's initial value),
    // at every change, and once right now.
    auto& defaults = deps_.desktop.defaults;
    auto applyStored = [this] {
        dispatchToMainQueue([](AppDelegate& app) {
            app.applyLaunchAtLogin(app.deps_.desktop.defaults.boolForKey(launchAtLoginKey));
        });
    };
    cancellables_.push_back(defaults.observe(launchAtLoginKey, applyStored));
    applyStored();
    applyLaunchAtLogin(defaults.boolForKey(launchAtLoginKey));

    if (deps_.checkForUpdatesIfNeeded) deps_.checkForUpdatesIfNeeded();

    sanitizeStoredShortcuts();
    registerDefaultShortcuts();
    registerGlobalShortcuts();
    // The menu was built before the defaults were stored; on a first launch it would show no captions.
    buildStatusMenu();

    notificationObservers_.push_back(deps_.notifications.addObserver(
        openSettingsNotification, [this](const platform::Notification&) { openSettings(); }));

    onboardingCheck_ = mainQueue_.postAfter(1.0, [this] { checkOnboardingAfterLaunch(); });
}

void AppDelegate::addNotificationObservers() {
    auto rebuildMenuLater = [this](const platform::Notification&) {
        dispatchToMainQueue([](AppDelegate& app) { app.buildStatusMenu(); });
    };
    notificationObservers_.push_back(
        deps_.notifications.addObserver(LanguageManager::languageDidChangeNotification, rebuildMenuLater));
    notificationObservers_.push_back(deps_.notifications.addObserver(shortcutsDidResetNotification, rebuildMenuLater));
    notificationObservers_.push_back(deps_.notifications.addObserver(
        showOnboardingNotification, [this](const platform::Notification&) { showOnboardingFromMenu(); }));
    notificationObservers_.push_back(
        deps_.notifications.addObserver(ShortcutSettings::statesDidChangeNotification, rebuildMenuLater));
}

void AppDelegate::observeDragModeModifier() {
    // The current value arrives at once too, so the menu is built for it at start-up.
    cancellables_.push_back(deps_.settings.dragModeModifierPublisher().subscribe(
        [this](const DragModeModifier&) { buildStatusMenu(); }, /*receiveCurrent=*/true));
}

void AppDelegate::observeThreeColumnStyle() {
    cancellables_.push_back(deps_.settings.threeColumnStylePublisher().subscribe(
        [this](const ThreeColumnStyle&) { dispatchToMainQueue([](AppDelegate& app) { app.buildStatusMenu(); }); },
        /*receiveCurrent=*/false));
}

void AppDelegate::dispatchToMainQueue(std::function<void(AppDelegate&)> work) {
    const auto id = nextWorkId_++;
    std::weak_ptr<AppDelegate*> weak = self_;
    pendingWork_[id] = mainQueue_.post([weak, id, work = std::move(work)] {
        auto self = weak.lock();
        if (!self || !*self) return;
        AppDelegate& app = **self;
        auto finished = app.pendingWork_.extract(id); // keeps this task alive until it returns
        work(app);
    });
}

void AppDelegate::checkOnboardingAfterLaunch() {
    if (deps_.shouldShowOnboarding && deps_.shouldShowOnboarding()) showOnboardingWindow();
}

void AppDelegate::applicationWillTerminate() { removeMonitorsAndObservers(); }

void AppDelegate::removeMonitorsAndObservers() {
    eventMonitor_.cancel();
    dragMonitors_.clear();
    stopEscKeyPolling();
    screenParametersObserver_.cancel();
    pendingArrowCheck_.cancel();
}

bool AppDelegate::startRecordingShortcut(const GlobalShortcuts::Name& name) {
    if (currentRecordingShortcut_.value()) return false;
    currentRecordingShortcut_.set(name);
    isInShortcutEditMode_.set(true);
    return true;
}

void AppDelegate::stopRecordingShortcut(const std::optional<GlobalShortcuts::Name>& name) {
    if (name) {
        const auto& current = currentRecordingShortcut_.value();
        if (!current || current->rawValue != name->rawValue) return;
    }
    currentRecordingShortcut_.set(std::nullopt);
    isInShortcutEditMode_.set(false);
}

void AppDelegate::openSettings() {
    // A combination another program held when it was stored may be free by now.
    GlobalShortcuts::retryFailedRegistrations();
    deps_.shell.showSettingsWindow();
}

void AppDelegate::showOnboardingWindow() { deps_.shell.showOnboardingWindow(); }

void AppDelegate::showOnboardingFromMenu() {
    if (deps_.resetOnboardingToFirstPage) deps_.resetOnboardingToFirstPage();
    showOnboardingWindow();
}

void AppDelegate::resetOnboardingState() {
    deps_.desktop.defaults.removeObject("hasCompletedOnboarding");
    deps_.desktop.defaults.removeObject("onboardingRemindLaterDate");
    showOnboardingWindow();
}

void AppDelegate::applyLaunchAtLogin(bool enabled) {
    // A failure leaves the setting as the user chose it; nothing is reported.
    if (deps_.setLoginItemRegistered) deps_.setLoginItemRegistered(enabled);
}

void AppDelegate::updateStatusBarIcon() {
    if (!deps_.shell.hasStatusItem()) return;
    deps_.shell.setStatusItemIcon(!deps_.desktop.defaults.boolForKey(menuBarIconColoredKey));
}

void AppDelegate::toggleDragMode() {
    isDragAndDropEnabled_.set(!isDragAndDropEnabled_.value());
    if (!isDragAndDropEnabled_.value()) {
        hideDragPreview();
        currentDraggedWindow_.reset();
    }
    initialClickWindow_.reset();
    initialMouseLocation_.reset();
    initialWindowPosition_.reset();
    hasStartedWindowDrag_ = false;
    dragCancelledWithEsc_ = false;
    isRightClickDrag_ = false;
    clickWasInTitleBar_ = false;
    showDragModeFeedback();
    buildStatusMenu();
}

} // namespace zentaris
