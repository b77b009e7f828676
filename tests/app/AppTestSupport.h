#pragma once

#include "app/AppDelegate.h"
#include "app/ShortcutNames.h"
#include "platform/HotKeys.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakeInputMonitor.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "preferences/LanguageManager.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/Registry.h"

#include <gtest/gtest.h>

#include <map>
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
    // Every card put into a panel, new or replaced.
    std::vector<bool> dragModeFeedback;
    std::vector<std::pair<std::int64_t, std::int64_t>> tooManyWindows;
    int cancellationCards = 0;
    struct Panel {
        FeedbackCard card;
        platform::Rect frame;
    };
    std::map<FeedbackPanelId, Panel> panels; // on screen now
    FeedbackPanelId nextPanel = 1;
    std::optional<platform::Rect> preview; // on screen now
    std::vector<platform::Rect> previews;  // every frame shown

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
    void showDragPreview(const platform::Rect& frame) override {
        preview = frame;
        previews.push_back(frame);
    }
    void hideDragPreview() override { preview.reset(); }
    FeedbackPanelId showFeedbackPanel(const FeedbackCard& card, const platform::Rect& frame) override {
        record(card);
        panels[nextPanel] = {card, frame};
        return nextPanel++;
    }
    void replaceFeedbackCard(FeedbackPanelId panel, const FeedbackCard& card) override {
        record(card);
        panels.at(panel).card = card;
    }
    void hideFeedbackPanel(FeedbackPanelId panel) override { panels.erase(panel); }

    std::vector<Panel> panelsOf(FeedbackCard::Kind kind) const {
        std::vector<Panel> result;
        for (const auto& [id, panel] : panels) {
            if (panel.card.kind == kind) result.push_back(panel);
        }
        return result;
    }

private:
    void record(const FeedbackCard& card) {
        switch (card.kind) {
        case FeedbackCard::Kind::dragModeToggle: dragModeFeedback.push_back(card.isEnabled); break;
        case FeedbackCard::Kind::tooManyWindows: tooManyWindows.emplace_back(card.required, card.actual); break;
        case FeedbackCard::Kind::cancellation: ++cancellationCards; break;
        }
    }
};

// A controller over the fake desktop, with the shared instances pointed at the fakes.
struct AppFixture : ::testing::Test {
    platform::fake::FakeDesktop desktop;
    platform::fake::FakeHotKeys hotKeys;
    platform::fake::FakeInputMonitor input;
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
            .inputMonitor = &input,
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
