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

TEST_F(StartupTest, UserChoicesSurviveAndUnreadableOnesGetTheirDefault) {
    desktop.defaults().set("GlobalShortcuts_centerColumn", std::string(R"({"carbonKeyCode":40,"carbonModifiers":4096})"));
    desktop.defaults().set("GlobalShortcuts_fullscreen", std::string("not a shortcut"));
    launch();
    EXPECT_EQ(GlobalShortcuts::getShortcut(ShortcutNames::centerColumn()), Shortcut::initCarbon(40, 4096));
    EXPECT_EQ(GlobalShortcuts::getShortcut(ShortcutNames::fullscreen()), Shortcut::initCarbon(3, 2304));
}

TEST_F(StartupTest, EscapeIsTakenFromEveryLayoutShortcutAndLeftToTheOthers) {
    constexpr std::uint32_t escape = 53, optionCommand = 2304, shiftOptionCommand = 2816;
    const std::map<std::string, Shortcut> afterLaunch{
        {"leftColumn", Shortcut::initCarbon(123, optionCommand)},
        {"rightColumn", Shortcut::initCarbon(124, optionCommand)},
        {"upColumn", Shortcut::initCarbon(126, optionCommand)},
        {"downColumn", Shortcut::initCarbon(125, optionCommand)},
        {"centerColumn", Shortcut::initCarbon(8, optionCommand)},
        {"fullscreen", Shortcut::initCarbon(3, optionCommand)},
        {"splitVertical", Shortcut::initCarbon(18, optionCommand)},
        {"splitHorizontal", Shortcut::initCarbon(19, optionCommand)},
        {"split7030", Shortcut::initCarbon(20, optionCommand)},
        {"split3070", Shortcut::initCarbon(21, optionCommand)},
        {"threeColumns", Shortcut::initCarbon(23, optionCommand)},
        {"threeWindowTop", Shortcut::initCarbon(22, optionCommand)},
        {"threeWindowBottom", Shortcut::initCarbon(26, optionCommand)},
        {"threeWindowLeft", Shortcut::initCarbon(28, optionCommand)},
        {"threeWindowRight", Shortcut::initCarbon(25, optionCommand)},
        {"quartetMode", Shortcut::initCarbon(12, 0x1000 | 0x100)}, // Control+Command+Q, not its default
        {"moveToNextScreen", Shortcut::initCarbon(124, shiftOptionCommand)},
        {"moveToPreviousScreen", Shortcut::initCarbon(123, shiftOptionCommand)},
    };
    // Every name holds Escape, each with other modifiers.
    const std::uint32_t modifiers[] = {0, 0x200, 0x100, 0x800, 0x1000, 0x1100, 0xb00};
    std::map<std::string, Shortcut> stored;
    for (const auto& name : ShortcutNames::all()) {
        stored.emplace(name.rawValue, Shortcut::initCarbon(escape, modifiers[stored.size() % std::size(modifiers)]));
        GlobalShortcuts::setShortcut(stored.at(name.rawValue), name);
    }
    launch();
    for (const auto& name : ShortcutNames::all()) {
        const auto repaired = afterLaunch.find(name.rawValue);
        const auto expected = repaired != afterLaunch.end() ? repaired->second : stored.at(name.rawValue);
        EXPECT_EQ(GlobalShortcuts::getShortcut(name), expected) << name.rawValue;
    }
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
