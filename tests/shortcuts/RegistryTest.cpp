#include "shortcuts/GlobalShortcuts.h"
#include "ShortcutTestSupport.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

using namespace GlobalShortcuts;
namespace status = platform::hotKeyStatus;

namespace {

const Shortcut optCmdLeft{123, 0x900};
const Shortcut optCmdRight{124, 0x900};

struct RegistryTest : ::testing::Test, zentaris::testing::RegistryScene {
    std::vector<std::string> changed;
    platform::ObservationToken changes = center.addObserver(
        shortcutByNameDidChangeNotification,
        [this](const platform::Notification& note) { changed.push_back(note.userInfo->at("name")); });
    std::vector<std::string> ran;

    Registry::Action record(std::string label) {
        return [this, label] { ran.push_back(label); };
    }
    bool live(const Shortcut& s) const {
        return hotKeys.isRegistered(static_cast<std::uint32_t>(s.carbonKeyCode), static_cast<std::uint32_t>(s.carbonModifiers));
    }
    std::optional<platform::OSStatus> press(const Shortcut& s) {
        return hotKeys.press(static_cast<std::uint32_t>(s.carbonKeyCode), static_cast<std::uint32_t>(s.carbonModifiers));
    }
};

// The module's free functions work on the shared registry over the installed platform.
struct SharedRegistryTest : ::testing::Test {
    zentaris::testing::ShortcutCaptionEnvironment captions;
    platform::MemoryUserDefaults defaults;
    platform::fake::FakeHotKeys hotKeys;
    platform::fake::FakeMainQueue queue;
    SharedRegistryTest() {
        platform::UserDefaults::installStandard(&defaults);
        platform::HotKeys::installShared(&hotKeys);
        platform::MainQueue::installMain(&queue);
        Registry::resetShared();
    }
    ~SharedRegistryTest() override {
        Registry::resetShared();
        platform::HotKeys::installShared(nullptr);
    }
};

} // namespace

TEST_F(RegistryTest, ReadsOnlyJsonTextAsAShortcut) {
    const Name name("leftHalf");
    const struct {
        std::optional<platform::DefaultsValue> stored;
        std::optional<Shortcut> expected;
    } cases[] = {
        {std::string(R"({"carbonKeyCode":123,"carbonModifiers":2304})"), optCmdLeft},
        {false, std::nullopt},
        {std::nullopt, std::nullopt},
        {std::int64_t{5}, std::nullopt},
        {std::string("not json"), std::nullopt},
        {platform::Data::fromString(R"({"carbonKeyCode":123,"carbonModifiers":2304})"), std::nullopt},
    };
    for (const auto& c : cases) {
        if (c.stored) defaults.set("GlobalShortcuts_leftHalf", *c.stored); else defaults.removeObject("GlobalShortcuts_leftHalf");
        EXPECT_EQ(registry.getShortcut(name), c.expected);
    }
}

TEST_F(RegistryTest, StoringWritesTextRegistersAndAnnounces) {
    registry.setShortcut(optCmdLeft, Name("leftHalf"));
    EXPECT_EQ(defaults.stringValue("GlobalShortcuts_leftHalf"), R"({"carbonKeyCode":123,"carbonModifiers":2304})");
    EXPECT_TRUE(live(optCmdLeft)) << "live although the name has no action";
    EXPECT_EQ(press(optCmdLeft), status::noErr) << "consumed, runs nothing";
    EXPECT_EQ(changed, (std::vector<std::string>{"leftHalf"}));

    registry.setShortcut(optCmdRight, Name("leftHalf"));
    EXPECT_FALSE(live(optCmdLeft));
    EXPECT_TRUE(live(optCmdRight));
}

TEST_F(RegistryTest, ClearingRemovesTheKeyOrWritesFalseForANameWithADefault) {
    const Name plain("plain");
    const Name withDefault("withDefault", std::nullopt);
    Name defaulted = withDefault;
    defaulted.defaultShortcut = optCmdRight;

    registry.setShortcut(optCmdLeft, plain);
    registry.setShortcut(optCmdRight, defaulted);
    changed.clear();
    registry.setShortcut(std::nullopt, plain);
    registry.setShortcut(std::nullopt, defaulted);
    EXPECT_FALSE(defaults.object("GlobalShortcuts_plain"));
    EXPECT_EQ(defaults.object("GlobalShortcuts_withDefault"), platform::DefaultsValue{false});
    EXPECT_FALSE(live(optCmdLeft));
    EXPECT_FALSE(live(optCmdRight));
    EXPECT_EQ(changed, (std::vector<std::string>{"plain", "withDefault"}));

    registry.setShortcut(std::nullopt, plain);
    registry.setShortcut(std::nullopt, defaulted);
    registry.storeDefaultIfAbsent(defaulted);
    EXPECT_EQ(changed.size(), 2u) << "clearing nothing does nothing";
    EXPECT_EQ(registry.getShortcut(defaulted), std::nullopt) << "false keeps the default out";
}

TEST_F(RegistryTest, AnActionWaitsForAStoredShortcut) {
    const Name name("center");
    registry.onKeyDown(name, record("center"));
    EXPECT_TRUE(hotKeys.registrations().empty());
    registry.setShortcut(optCmdLeft, name);
    EXPECT_EQ(press(optCmdLeft), status::noErr);
    EXPECT_EQ(ran, (std::vector<std::string>{"center"}));
}

TEST_F(RegistryTest, EveryNameHoldingThePressedShortcutRunsItsActionsInOrder) {
    registry.setShortcut(optCmdLeft, Name("a"));
    registry.setShortcut(optCmdLeft, Name("b"));
    registry.setShortcut(optCmdRight, Name("c"));
    registry.onKeyDown(Name("a"), record("a1"));
    registry.onKeyDown(Name("a"), record("a2"));
    registry.onKeyDown(Name("b"), record("b"));
    registry.onKeyDown(Name("c"), record("c"));
    registry.onKeyUp(Name("b"), record("b up"));
    EXPECT_EQ(hotKeys.registrations().size(), 2u) << "one registration per combination";
    press(optCmdLeft);
    hotKeys.release(123, 0x900);
    EXPECT_EQ(ran, (std::vector<std::string>{"a1", "a2", "b", "b up"}));
}

TEST_F(RegistryTest, PausedPressesAreConsumedAndRunNothing) {
    registry.setShortcut(optCmdLeft, Name("a"));
    registry.onKeyDown(Name("a"), record("a"));
    registry.setPaused(true);
    EXPECT_EQ(press(optCmdLeft), status::noErr);
    registry.setPaused(false);
    press(optCmdLeft);
    EXPECT_EQ(ran, (std::vector<std::string>{"a"}));
}

TEST_F(RegistryTest, WhileAMenuIsOpenOnlyMatchingKeysAreSwallowed) {
    registry.setShortcut(optCmdLeft, Name("a"));
    registry.onKeyDown(Name("a"), record("a"));
    center.post(menuDidBeginTrackingNotification);
    center.post(menuDidBeginTrackingNotification);
    EXPECT_TRUE(registry.isMenuOpen());
    EXPECT_FALSE(live(optCmdLeft));
    EXPECT_EQ(press(optCmdLeft), status::noErr);
    EXPECT_EQ(hotKeys.press(0, 0x900), status::eventNotHandledErr);
    center.post(menuDidEndTrackingNotification);
    EXPECT_TRUE(live(optCmdLeft));
    EXPECT_EQ(hotKeys.registerCalls(), 2) << "one switch each way";
    EXPECT_EQ(ran, (std::vector<std::string>{"a"}));
}

TEST_F(RegistryTest, SwitchingOffAndOnTouchesTheEngineOnlyOnChange) {
    registry.setShortcut(optCmdLeft, Name("a"));
    registry.setEnabled(true);
    EXPECT_EQ(hotKeys.registerCalls(), 1);
    registry.setEnabled(false);
    EXPECT_FALSE(live(optCmdLeft));
    registry.setEnabled(true);
    EXPECT_TRUE(live(optCmdLeft));
}

TEST_F(RegistryTest, ResetAllFindsEveryStoredNameByTheWholePrefix) {
    registry.setShortcut(optCmdLeft, Name("leftHalf"));
    registry.setShortcut(optCmdRight, Name("rightHalf"));
    defaults.set("unrelated", std::string("x"));
    const auto names = registry.storedNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].rawValue, "leftHalf");
    registry.resetAll();
    EXPECT_FALSE(defaults.object("GlobalShortcuts_leftHalf"));
    EXPECT_FALSE(defaults.object("GlobalShortcuts_rightHalf"));
    EXPECT_TRUE(hotKeys.registrations().empty());
}

TEST_F(RegistryTest, ASharedCombinationStaysLiveWhileAnyNameHoldsIt) {
    registry.setShortcut(optCmdLeft, Name("a"));
    registry.setShortcut(optCmdLeft, Name("b"));
    registry.onKeyDown(Name("b"), record("b"));

    registry.setShortcut(optCmdRight, Name("a"));
    EXPECT_TRUE(live(optCmdLeft)) << "b still holds it";
    registry.setShortcut(std::nullopt, Name("a"));
    EXPECT_TRUE(live(optCmdLeft));
    press(optCmdLeft);
    EXPECT_EQ(ran, (std::vector<std::string>{"b"}));

    registry.setShortcut(std::nullopt, Name("b"));
    EXPECT_TRUE(hotKeys.registrations().empty());
}

TEST_F(RegistryTest, AFailedRegistrationIsNotCountedAndIsRetried) {
    hotKeys.holdElsewhere(123, 0x900);
    registry.setShortcut(optCmdLeft, Name("a"));
    EXPECT_EQ(printed.str(), "Error registering hotkey ⌥⌘←: -9878\n");
    EXPECT_FALSE(registry.isRegistered(optCmdLeft));
    EXPECT_EQ(registry.getShortcut(Name("a")), optCmdLeft) << "still stored";

    hotKeys.releaseElsewhere(123, 0x900);
    center.post(menuDidBeginTrackingNotification);
    center.post(menuDidEndTrackingNotification);
    EXPECT_TRUE(live(optCmdLeft)) << "tried again at the mode change";

    hotKeys.holdElsewhere(124, 0x900);
    registry.setShortcut(optCmdRight, Name("b"));
    hotKeys.releaseElsewhere(124, 0x900);
    registry.onKeyDown(Name("b"), record("b"));
    EXPECT_TRUE(live(optCmdRight)) << "a new action tries again at once";
}

TEST_F(RegistryTest, AReregistrationFailingAfterAMenuDoesNotLoseTheShortcut) {
    registry.setShortcut(optCmdLeft, Name("a"));
    registry.onKeyDown(Name("a"), record("a"));
    center.post(menuDidBeginTrackingNotification);
    hotKeys.holdElsewhere(123, 0x900);
    center.post(menuDidEndTrackingNotification);
    EXPECT_FALSE(live(optCmdLeft));
    hotKeys.releaseElsewhere(123, 0x900);
    center.post(menuDidBeginTrackingNotification);
    center.post(menuDidEndTrackingNotification);
    press(optCmdLeft);
    EXPECT_EQ(ran, (std::vector<std::string>{"a"}));
}

TEST_F(RegistryTest, AReleasedGrabIsPickedUpWheneverTheHotKeysAreRegisteredAgain) {
    const Shortcut optCmdUp{126, 0x900};
    registry.setShortcut(optCmdLeft, Name("a"));
    hotKeys.holdElsewhere(124, 0x900);
    hotKeys.holdElsewhere(126, 0x900);
    registry.setShortcut(optCmdRight, Name("b"));
    registry.setShortcut(optCmdUp, Name("c"));

    hotKeys.releaseElsewhere(124, 0x900);
    hotKeys.changeKeyboardMapping();
    EXPECT_TRUE(live(optCmdRight)) << "after a keyboard mapping change";
    EXPECT_TRUE(live(optCmdLeft)) << "registered again at its new key";

    hotKeys.releaseElsewhere(126, 0x900);
    registry.retryFailedRegistrations();
    EXPECT_TRUE(live(optCmdUp)) << "when asked, as on showing the settings window";
}

TEST_F(RegistryTest, HotKeysStayDownWhileAnyHoldLastsAndDispatchGoesOn) {
    registry.setShortcut(optCmdLeft, Name("a"));
    registry.onKeyDown(Name("a"), record("a"));
    auto first = registry.takeHotKeysDown();
    auto second = registry.takeHotKeysDown();
    EXPECT_FALSE(live(optCmdLeft));
    registry.setShortcut(optCmdRight, Name("b"));
    EXPECT_FALSE(live(optCmdRight)) << "a shortcut stored meanwhile waits too";
    first.cancel();
    EXPECT_FALSE(live(optCmdLeft)) << "the other hold still lasts";
    second.cancel();
    EXPECT_TRUE(live(optCmdLeft));
    EXPECT_TRUE(live(optCmdRight));
    EXPECT_FALSE(registry.isPaused());
    press(optCmdLeft);
    EXPECT_EQ(ran, (std::vector<std::string>{"a"}));

    registry.setEnabled(false);
    { auto hold = registry.takeHotKeysDown(); }
    EXPECT_FALSE(live(optCmdLeft)) << "a switched-off registry stays off";
}

TEST_F(RegistryTest, OneKeyWithTwoModifierSetsRunsOnlyTheNameOfThePressedSet) {
    const Shortcut shiftOptCmdLeft{123, 0xA00 | 0x100};
    registry.setShortcut(optCmdLeft, Name("leftColumn"));
    registry.setShortcut(shiftOptCmdLeft, Name("moveToPreviousScreen"));
    registry.onKeyDown(Name("leftColumn"), record("left"));
    registry.onKeyDown(Name("moveToPreviousScreen"), record("previous"));
    press(shiftOptCmdLeft);
    EXPECT_EQ(ran, (std::vector<std::string>{"previous"}));
    press(optCmdLeft);
    EXPECT_EQ(ran, (std::vector<std::string>{"previous", "left"}));

    // The same while a menu is open, where the keys come as raw presses.
    ran.clear();
    center.post(menuDidBeginTrackingNotification);
    press(optCmdLeft);
    press(shiftOptCmdLeft);
    EXPECT_EQ(ran, (std::vector<std::string>{"left", "previous"}));
    center.post(menuDidEndTrackingNotification);

    // Clearing one name leaves the other combination on the same key live.
    ran.clear();
    registry.setShortcut(std::nullopt, Name("leftColumn"));
    EXPECT_FALSE(live(optCmdLeft));
    EXPECT_TRUE(live(shiftOptCmdLeft));
    press(shiftOptCmdLeft);
    EXPECT_EQ(ran, (std::vector<std::string>{"previous"}));
}

TEST_F(RegistryTest, EventStreamsStartAndEndOnTheMainQueue) {
    const Name name("stream");
    registry.setShortcut(optCmdLeft, name);
    registry.setShortcut(std::nullopt, name);
    registry.setShortcut(optCmdLeft, name);
    std::vector<EventType> events;
    int releases = 0;
    {
        auto all = registry.events(name, [&](EventType e) { events.push_back(e); });
        auto upOnly = registry.events(EventType::keyUp, name, [&] { ++releases; });
        press(optCmdLeft);
        EXPECT_TRUE(events.empty()) << "not started before the queue runs";
        queue.runPending();
        press(optCmdLeft);
        hotKeys.release(123, 0x900);
    }
    queue.runPending();
    EXPECT_EQ(events, (std::vector<EventType>{EventType::keyDown, EventType::keyUp}));
    EXPECT_EQ(releases, 1);
    EXPECT_FALSE(live(optCmdLeft)) << "no name with actions or streams needs it any more";
}

TEST_F(SharedRegistryTest, ARefusedRegistrationIsReportedOnStandardErrorWithItsCaption) {
    hotKeys.holdElsewhere(123, 0x900);
    std::ostringstream captured;
    auto* previous = std::cerr.rdbuf(captured.rdbuf());
    setShortcut(optCmdLeft, Name("a"));
    std::cerr.rdbuf(previous);
    EXPECT_EQ(captured.str(), "Error registering hotkey ⌥⌘←: -9878\n");
}

TEST_F(SharedRegistryTest, NamesAndFreeFunctionsUseTheSharedRegistry) {
    const Name withDefault("withDefault", optCmdLeft);
    EXPECT_EQ(withDefault.shortcut(), optCmdLeft);
    EXPECT_TRUE(hotKeys.isRegistered(123, 0x900));
    defaults.set("GlobalShortcuts_blocked", false);
    const Name blocked("blocked", optCmdRight);
    EXPECT_EQ(blocked.shortcut(), std::nullopt);

    int ran = 0;
    onKeyDown(withDefault, [&] { ++ran; });
    hotKeys.press(123, 0x900);
    EXPECT_EQ(ran, 1);
    withDefault.setShortcut(std::nullopt);
    EXPECT_EQ(defaults.object("GlobalShortcuts_withDefault"), platform::DefaultsValue{false});
    EXPECT_EQ(Shortcut::initName(withDefault), std::nullopt);
}

namespace {
// Counts the reads of stored shortcuts; the registry decodes what it reads.
struct CountingDefaults : platform::MemoryUserDefaults {
    mutable int shortcutReads = 0;
    std::optional<platform::DefaultsValue> object(const std::string& key) const override {
        if (key.rfind(userDefaultsPrefix, 0) == 0) ++shortcutReads;
        return MemoryUserDefaults::object(key);
    }
};
} // namespace

TEST(RegistryDecodingTest, KeyPressesDecodeNothingAndEveryChangeOfAStoredValueIsSeen) {
    zentaris::testing::ShortcutCaptionEnvironment captions;
    CountingDefaults defaults;
    platform::NotificationCenter center;
    platform::fake::FakeHotKeys hotKeys;
    platform::fake::FakeMainQueue queue;
    std::ostringstream printed;
    Registry registry(defaults, center, hotKeys, queue, printed);
    std::vector<std::string> ran;
    const auto combination = [](int key) { return Shortcut{key, 0x900}; };
    const auto press = [&](int key) {
        hotKeys.press(static_cast<std::uint32_t>(key), 0x900);
        hotKeys.release(static_cast<std::uint32_t>(key), 0x900);
    };
    for (int key = 0; key < 21; ++key) {
        const Name name("name" + std::to_string(key));
        registry.setShortcut(combination(key), name);
        registry.onKeyDown(name, [&ran, key] { ran.push_back("down" + std::to_string(key)); });
        registry.onKeyUp(name, [&ran, key] { ran.push_back("up" + std::to_string(key)); });
    }
    press(0);
    const int readsBefore = defaults.shortcutReads;
    for (int round = 0; round < 10; ++round) {
        for (int key = 0; key < 21; ++key) press(key);
    }
    EXPECT_EQ(defaults.shortcutReads, readsBefore) << "210 presses and releases";
    EXPECT_EQ(ran.size(), 2u + 420u);

    // Through the registry, and written straight into the defaults by someone else.
    registry.setShortcut(combination(30), Name("name3"));
    defaults.set(std::string(userDefaultsPrefix) + "name4", combination(7).jsonText());
    defaults.set(std::string(userDefaultsPrefix) + "name5", false);
    defaults.removeObject(std::string(userDefaultsPrefix) + "name6");
    ran.clear();
    for (int key : {3, 30, 4, 5, 6, 7}) press(key);
    EXPECT_EQ(ran, (std::vector<std::string>{"down3", "up3", "down4", "down7", "up4", "up7"}));
    const int readsAfterChanges = defaults.shortcutReads;
    press(30);
    press(7);
    EXPECT_EQ(defaults.shortcutReads, readsAfterChanges);
}
