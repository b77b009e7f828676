#include "app/AppDelegate.h"

#include "app/ShortcutNames.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/Key.h"
#include "shortcuts/ModifierFlags.h"
#include "shortcuts/Shortcut.h"

namespace zentaris {

namespace {

constexpr std::int64_t escapeKeyCode = 53;

bool holdsEscape(const GlobalShortcuts::Name& name) {
    auto stored = GlobalShortcuts::getShortcut(name);
    return stored && stored->carbonKeyCode == escapeKeyCode;
}

} // namespace

void AppDelegate::sanitizeStoredShortcuts() {
    using namespace ShortcutNames;
    // Escape cancels drags and recordings, so no layout shortcut may take it.
    if (holdsEscape(quartetMode())) {
        GlobalShortcuts::setShortcut(std::nullopt, quartetMode());
        const GlobalShortcuts::ModifierFlags controlCommand{GlobalShortcuts::ModifierFlags::control |
                                                            GlobalShortcuts::ModifierFlags::command};
        GlobalShortcuts::setShortcut(GlobalShortcuts::Shortcut::init(GlobalShortcuts::Key::q, controlCommand),
                                     quartetMode());
    }
    for (const auto* name : {&leftColumn(), &rightColumn(), &upColumn(), &downColumn(), &centerColumn(),
                             &fullscreen(), &threeWindowTop(), &threeWindowBottom(), &threeWindowLeft(),
                             &threeWindowRight(), &threeColumns(), &split7030(), &split3070(), &splitVertical(),
                             &splitHorizontal(), &quartetMode(), &ShortcutNames::moveToPreviousScreen(), &ShortcutNames::moveToNextScreen()}) {
        if (holdsEscape(*name)) GlobalShortcuts::setShortcut(std::nullopt, *name);
    }
}

void AppDelegate::registerGlobalShortcuts() {
    using namespace ShortcutNames;
    std::weak_ptr<AppDelegate*> weak = self_;
    auto controller = [weak]() -> AppDelegate* {
        auto self = weak.lock();
        return self ? *self : nullptr;
    };
    ShortcutSettings& settings = deps_.settings;

    // Arrows and the drag-mode switch stay quiet while a shortcut is being recorded.
    auto recordingAware = [&](const GlobalShortcuts::Name& name, std::function<void(AppDelegate&)> command) {
        GlobalShortcuts::onKeyDown(name, [controller, &settings, raw = name.rawValue, command] {
            AppDelegate* app = controller();
            if (!app || app->isInShortcutEditMode_.value() || !settings.isShortcutEnabled(raw)) return;
            command(*app);
        });
    };
    auto plain = [&](const GlobalShortcuts::Name& name, std::function<void(AppDelegate&)> command) {
        GlobalShortcuts::onKeyDown(name, [controller, &settings, raw = name.rawValue, command] {
            if (!settings.isShortcutEnabled(raw)) return;
            if (AppDelegate* app = controller()) command(*app);
        });
    };
    auto arrange = [](LayoutType layout, int count) {
        return [layout, count](AppDelegate& app) { app.arrangeAllWindows(layout, count); };
    };

    recordingAware(leftColumn(), [](AppDelegate& app) { app.arrowKeyPressed(ArrowDirection::left); });
    recordingAware(rightColumn(), [](AppDelegate& app) { app.arrowKeyPressed(ArrowDirection::right); });
    recordingAware(upColumn(), [](AppDelegate& app) { app.arrowKeyPressed(ArrowDirection::up); });
    recordingAware(downColumn(), [](AppDelegate& app) { app.arrowKeyPressed(ArrowDirection::down); });
    plain(centerColumn(), [](AppDelegate& app) { app.applySingleWindowAction(SingleWindowAction::center); });
    plain(fullscreen(), [](AppDelegate& app) { app.applySingleWindowAction(SingleWindowAction::fullscreen); });
    plain(splitVertical(), arrange(LayoutType::splitVertical, 2));
    plain(splitHorizontal(), arrange(LayoutType::splitHorizontal, 2));
    plain(split7030(), arrange(LayoutType::split7030, 2));
    plain(split3070(), arrange(LayoutType::split3070, 2));
    plain(threeColumns(), arrange(LayoutType::threeColumn, 3));
    plain(threeWindowTop(), arrange(LayoutType::threeWindowTop, 3));
    plain(threeWindowBottom(), arrange(LayoutType::threeWindowBottom, 3));
    plain(threeWindowLeft(), arrange(LayoutType::threeWindowLeft, 3));
    plain(threeWindowRight(), arrange(LayoutType::threeWindowRight, 3));
    plain(quartetMode(), arrange(LayoutType::quartet, 4));
    plain(ShortcutNames::moveToNextScreen(), [](AppDelegate& app) { app.windowManagementService_.moveFocusedWindowToNextScreen(); });
    plain(ShortcutNames::moveToPreviousScreen(),
          [](AppDelegate& app) { app.windowManagementService_.moveFocusedWindowToPreviousScreen(); });
    plain(swapWithNextScreen(), [](AppDelegate& app) { app.windowManagementService_.swapWithNextScreen(); });
    plain(swapWithPreviousScreen(), [](AppDelegate& app) { app.windowManagementService_.swapWithPreviousScreen(); });
    recordingAware(ShortcutNames::toggleDragMode(), [](AppDelegate& app) { app.toggleDragMode(); });

    installDragEventMonitors();

    screenParametersObserver_ = deps_.desktop.screens.observeScreenParameters([controller] {
        if (AppDelegate* app = controller()) app->screensDidChange();
    });
}

} // namespace zentaris
