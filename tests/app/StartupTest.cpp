#include "AppTestSupport.h"

using namespace zentaris;
using namespace zentaris::testing;
using GlobalShortcuts::Shortcut;

using StartupTest = AppFixture;

TEST_F(StartupTest, FirstLaunchStoresTheDefaultsAndShowsTheTutorialAfterOneSecond) {
    onboardingDue = true;
    auto& controller = launch();
    EXPECT_EQ(AppDelegate::shared(), &controller);
    EXPECT_TRUE(shell.statusItem);
    EXPECT_EQ(shell.iconIsTemplate, true) << "absent menuBarIconColored draws a template icon";
    EXPECT_EQ(updateChecks, 1);

    int stored = 0;
    for (const auto& name : ShortcutNames::all()) stored += GlobalShortcuts::getShortcut(name).has_value();
    EXPECT_EQ(stored, 21);
    EXPECT_FALSE(GlobalShortcuts::getShortcut(ShortcutNames::topLeftQuarter()));
    EXPECT_EQ(desktop.defaults().stringValue("GlobalShortcuts_leftColumn"), R"({"carbonKeyCode":123,"carbonModifiers":2304})");
    EXPECT_EQ(hotKeys.registrations().size(), 21u) << "every default is a live hot key";

    EXPECT_EQ(loginItem, (std::vector<bool>{false})) << "applied once at once";
    desktop.mainQueue().advance(0.99);
    EXPECT_EQ(loginItem, (std::vector<bool>{false, false})) << "and once more on a later turn";
    EXPECT_EQ(shell.onboardingShown, 0);
    desktop.mainQueue().advance(0.01);
    EXPECT_EQ(shell.onboardingShown, 1);
}

TEST_F(StartupTest, NoTrayStillRegistersShortcuts) {
    shell.trayAvailable = false;
    launch();
    EXPECT_FALSE(shell.iconIsTemplate.has_value());
    EXPECT_EQ(hotKeys.registrations().size(), 21u);
}

TEST_F(StartupTest, UserChoicesSurviveAndEscapeShortcutsAreRepaired) {
    desktop.defaults().set("GlobalShortcuts_centerColumn", std::string(R"({"carbonKeyCode":40,"carbonModifiers":4096})"));
    desktop.defaults().set("GlobalShortcuts_leftColumn", std::string(R"({"carbonKeyCode":53,"carbonModifiers":2304})"));
    desktop.defaults().set("GlobalShortcuts_toggleDragMode", std::string(R"({"carbonKeyCode":53,"carbonModifiers":0})"));
    desktop.defaults().set("GlobalShortcuts_quartetMode", std::string(R"({"carbonKeyCode":53,"carbonModifiers":512})"));
    desktop.defaults().set("GlobalShortcuts_fullscreen", std::string("not a shortcut"));
    launch();
    EXPECT_EQ(GlobalShortcuts::getShortcut(ShortcutNames::centerColumn()), Shortcut::initCarbon(40, 4096));
    EXPECT_EQ(GlobalShortcuts::getShortcut(ShortcutNames::leftColumn()), Shortcut::initCarbon(123, 2304));
    EXPECT_EQ(GlobalShortcuts::getShortcut(ShortcutNames::toggleDragMode()), Shortcut::initCarbon(53, 0));
    EXPECT_EQ(GlobalShortcuts::getShortcut(ShortcutNames::quartetMode()), Shortcut::initCarbon(12, 0x1000 | 0x100));
    EXPECT_EQ(GlobalShortcuts::getShortcut(ShortcutNames::fullscreen()), Shortcut::initCarbon(3, 2304));
}

TEST_F(StartupTest, NotificationsRebuildTheMenuOnALaterTurnAndIconFollowsItsSetting) {
    launch();
    desktop.mainQueue().runPending();
    const int builds = shell.menuBuilds;
    notifications.post("ShortcutsDidReset");
    notifications.post("LanguageDidChange");
    EXPECT_EQ(shell.menuBuilds, builds);
    desktop.mainQueue().runPending();
    EXPECT_EQ(shell.menuBuilds, builds + 2);

    desktop.defaults().set("menuBarIconColored", true);
    notifications.post("MenuBarIconStyleChanged");
    desktop.mainQueue().runPending();
    EXPECT_EQ(shell.iconIsTemplate, false);

    notifications.post("OpenSettings");
    EXPECT_EQ(shell.settingsShown, 1);
    notifications.post("ShowOnboarding");
    EXPECT_EQ(onboardingResets, 1);
    EXPECT_EQ(shell.onboardingShown, 1);
}

TEST_F(StartupTest, StyleChangesRebuildOncePerChangeButNotAtStartUp) {
    auto& settings = ShortcutSettings::shared();
    launch();
    desktop.mainQueue().runPending();
    const int builds = shell.menuBuilds;
    settings.setThreeColumnStyle(ThreeColumnStyle::classic);
    desktop.mainQueue().runPending();
    EXPECT_EQ(shell.menuBuilds, builds + 1);
    settings.setDragModeModifier(DragModeModifier::shift);
    EXPECT_EQ(shell.menuBuilds, builds + 2) << "the modifier rebuilds at once";
}

TEST_F(StartupTest, LaunchAtLoginFollowsTheSetting) {
    launch();
    desktop.mainQueue().runPending();
    loginItem.clear();
    desktop.defaults().set("launchAtLogin", true);
    EXPECT_TRUE(loginItem.empty());
    desktop.mainQueue().runPending();
    EXPECT_EQ(loginItem, (std::vector<bool>{true}));
}

TEST_F(StartupTest, RecordingSlotIsHeldByOneNameAndAnEscapeElsewhereLeavesIt) {
    auto& controller = launch();
    const auto& left = ShortcutNames::leftColumn();
    EXPECT_TRUE(controller.startRecordingShortcut(left));
    EXPECT_FALSE(controller.startRecordingShortcut(ShortcutNames::fullscreen()));
    EXPECT_FALSE(controller.startRecordingShortcut(left));
    controller.stopRecordingShortcut(ShortcutNames::fullscreen());
    EXPECT_TRUE(controller.isInShortcutEditMode().value());

    std::optional<platform::UserInfo> cancelled;
    auto token = notifications.addObserver("cancelShortcutRecording",
                                           [&](const platform::Notification& n) { cancelled = n.userInfo; });
    // The key monitor hears every program; Escape there is not the recorder's (it takes its own).
    controller.handleKeyDown(53);
    EXPECT_FALSE(cancelled);
    EXPECT_TRUE(controller.isInShortcutEditMode().value());

    controller.stopRecordingShortcut(std::nullopt);
    EXPECT_FALSE(controller.isInShortcutEditMode().value());
}
