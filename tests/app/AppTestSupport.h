#pragma once

#include "app/AppDelegate.h"
#include "app/ShortcutNames.h"
#include "platform/HotKeys.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "preferences/LanguageManager.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/Registry.h"

#include <gtest/gtest.h>

#include <memory>

namespace zentaris::testing {

// Records what the controller asks to be shown.
class RecordingShell : public ApplicationShell {
public:
    bool trayAvailable = true;
    bool statusItem = false;
    std::optional<bool> iconIsTemplate;
    StatusMenu menu;
    int menuBuilds = 0;
    int settingsShown = 0;
    int onboardingShown = 0;
    int terminated = 0;
    std::vector<bool> dragModeFeedback;
    std::vector<std::pair<std::int64_t, std::int64_t>> tooManyWindows;

    void createStatusItem() override { statusItem = trayAvailable; }
    bool hasStatusItem() const override { return statusItem; }
    void setStatusItemIcon(bool templateImage) override { iconIsTemplate = templateImage; }
    void setStatusMenu(const StatusMenu& m) override {
        menu = m;
        ++menuBuilds;
    }
    void showSettingsWindow() override { ++settingsShown; }
    void showOnboardingWindow() override { ++onboardingShown; }
    bool hasOnboardingWindow() const override { return onboardingShown > 0; }
    void terminate() override { ++terminated; }
    void showDragModeFeedback(bool enabled) override { dragModeFeedback.push_back(enabled); }
    void showTooManyWindowsFeedback(std::int64_t required, std::int64_t actual) override {
        tooManyWindows.emplace_back(required, actual);
    }
};

// A controller over the fake desktop, with the shared instances pointed at the fakes.
struct AppFixture : ::testing::Test {
    platform::fake::FakeDesktop desktop;
    platform::fake::FakeHotKeys hotKeys;
    platform::fake::FakeKeyboardLayout keyboardLayout = platform::fake::FakeKeyboardLayout::usQwerty();
    platform::NotificationCenter& notifications = platform::NotificationCenter::defaultCenter();
    RecordingShell shell;
    int updateChecks = 0;
    bool onboardingDue = false;
    int onboardingResets = 0;
    std::vector<bool> loginItem;
    std::unique_ptr<AppDelegate> app;

    static constexpr std::uint32_t optionCommand = 0x800 | 0x100;

    AppFixture() {
        platform::UserDefaults::installStandard(&desktop.defaults());
        platform::MainQueue::installMain(&desktop.mainQueue());
        platform::HotKeys::installShared(&hotKeys);
        platform::KeyboardLayout::install(&keyboardLayout);
        GlobalShortcuts::Registry::resetShared();
        ShortcutSettings::resetShared();
        LanguageManager::resetShared();
    }
    ~AppFixture() override {
        app.reset();
        platform::KeyboardLayout::install(nullptr);
        GlobalShortcuts::Registry::resetShared();
        ShortcutSettings::resetShared();
        LanguageManager::resetShared();
    }

    AppDelegate& makeApp() {
        app = std::make_unique<AppDelegate>(AppDelegate::Dependencies{
            .desktop = desktop.interfaces(),
            .notifications = notifications,
            .settings = ShortcutSettings::shared(),
            .shell = shell,
            .checkForUpdatesIfNeeded = [this] { ++updateChecks; },
            .shouldShowOnboarding = [this] { return onboardingDue; },
            .resetOnboardingToFirstPage = [this] { ++onboardingResets; },
            .setLoginItemRegistered = [this](bool on) { loginItem.push_back(on); },
        });
        return *app;
    }

    AppDelegate& launch() {
        makeApp().applicationDidFinishLaunching();
        return *app;
    }

    // Presses a stored combination as the system would, then lets due work run.
    void press(std::uint32_t keyCode, std::uint32_t modifiers) {
        hotKeys.press(keyCode, modifiers);
        hotKeys.release(keyCode, modifiers);
    }
};

} // namespace zentaris::testing
