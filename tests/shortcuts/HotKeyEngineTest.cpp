#include "platform/fake/FakeHotKeys.h"
#include "shortcuts/HotKeyEngine.h"
#include "ShortcutTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace GlobalShortcuts;
using platform::HotKeyEvent;
using platform::HotKeyEventKind;
namespace status = platform::hotKeyStatus;

namespace {

constexpr std::uint32_t left = 123;
constexpr std::uint32_t optCmd = 0x900;

struct HotKeyEngineTest : ::testing::Test {
    zentaris::testing::ShortcutCaptionEnvironment captions;
    platform::fake::FakeHotKeys hotKeys;
    std::ostringstream printed;
    HotKeyEngine engine{hotKeys, printed};
    std::vector<std::string> calls;

    bool add(Shortcut shortcut, const std::string& label) {
        return engine.registerShortcut(
            shortcut, [this, label](const Shortcut&) { calls.push_back(label + " down"); },
            [this, label](const Shortcut&) { calls.push_back(label + " up"); });
    }
};

} // namespace

TEST_F(HotKeyEngineTest, IdsCountUpAndAFailureSpendsOneAndPrintsTheLine) {
    hotKeys.holdElsewhere(left, optCmd);
    EXPECT_TRUE(add(Shortcut{Key::a.rawValue, 0x100}, "a"));
    EXPECT_FALSE(add(Shortcut{left, optCmd}, "left"));
    EXPECT_TRUE(add(Shortcut{Key::b.rawValue, 0x100}, "b"));
    EXPECT_EQ(printed.str(), "Error registering hotkey ⌥⌘←: -9878\n");
    ASSERT_EQ(hotKeys.registrations().size(), 2u);
    EXPECT_EQ(hotKeys.registrations()[0].id, (platform::HotKeyID{HotKeyEngine::signature, 1}));
    EXPECT_EQ(hotKeys.registrations()[1].id.id, 3u);
    EXPECT_TRUE(hotKeys.isOn(HotKeyEventKind::hotKeyPressed));
    EXPECT_FALSE(hotKeys.isOn(HotKeyEventKind::rawKeyDown));
}

TEST_F(HotKeyEngineTest, PressAndReleaseRunTheRecordCallbacksAndConsume) {
    add(Shortcut{left, optCmd}, "left");
    EXPECT_EQ(hotKeys.press(left, optCmd), status::noErr);
    EXPECT_EQ(hotKeys.release(left, optCmd), status::noErr);
    EXPECT_EQ(calls, (std::vector<std::string>{"left down", "left up"}));
}

TEST_F(HotKeyEngineTest, ForeignOrUnknownHotKeysAreNotConsumed) {
    add(Shortcut{left, optCmd}, "left");
    EXPECT_EQ(hotKeys.send(HotKeyEvent{HotKeyEventKind::hotKeyPressed, platform::HotKeyID{0x41424344, 1}, {}, {}}),
              status::eventNotHandledErr);
    EXPECT_EQ(hotKeys.send(HotKeyEvent{HotKeyEventKind::hotKeyPressed, platform::HotKeyID{HotKeyEngine::signature, 9}, {}, {}}),
              status::eventNotHandledErr);
    EXPECT_TRUE(calls.empty());
}

TEST_F(HotKeyEngineTest, UnregisterTakesDownOnlyThatShortcut) {
    add(Shortcut{left, optCmd}, "left");
    add(Shortcut{Key::a.rawValue, 0x100}, "a");
    engine.unregister(Shortcut{left, optCmd});
    EXPECT_FALSE(hotKeys.isRegistered(left, optCmd));
    EXPECT_TRUE(hotKeys.isRegistered(Key::a.rawValue, 0x100));
}

TEST_F(HotKeyEngineTest, MenuModeCatchesRawKeysAndLeavingReregistersUnderTheOldIds) {
    add(Shortcut{left, optCmd}, "left");
    engine.updateEventHandler(true, true);
    EXPECT_TRUE(hotKeys.registrations().empty());
    EXPECT_FALSE(hotKeys.isOn(HotKeyEventKind::hotKeyPressed));
    EXPECT_EQ(hotKeys.press(left, optCmd | 0x400 /* caps lock */), status::noErr);
    EXPECT_EQ(hotKeys.release(left, optCmd), status::noErr);
    EXPECT_EQ(hotKeys.press(Key::a.rawValue, optCmd), status::eventNotHandledErr) << "other keys reach the menu";
    EXPECT_EQ(calls, (std::vector<std::string>{"left down", "left up"}));

    engine.updateEventHandler(true, false);
    ASSERT_EQ(hotKeys.registrations().size(), 1u);
    EXPECT_EQ(hotKeys.registrations()[0].id.id, 1u);
    EXPECT_FALSE(hotKeys.isOn(HotKeyEventKind::rawKeyDown));
}

TEST_F(HotKeyEngineTest, DisabledHoldsNothingAndDeliversNothing) {
    add(Shortcut{left, optCmd}, "left");
    engine.updateEventHandler(false, false);
    EXPECT_TRUE(hotKeys.registrations().empty());
    EXPECT_EQ(hotKeys.press(left, optCmd), std::nullopt);
    add(Shortcut{Key::a.rawValue, 0x100}, "a");
    EXPECT_TRUE(hotKeys.registrations().empty()) << "a key added while disabled waits too";
    engine.updateEventHandler(true, false);
    EXPECT_EQ(hotKeys.registrations().size(), 2u);
}

TEST_F(HotKeyEngineTest, AFailedReregistrationIsTriedAgainLater) {
    add(Shortcut{left, optCmd}, "left");
    engine.updateEventHandler(true, true);
    hotKeys.holdElsewhere(left, optCmd);
    engine.updateEventHandler(true, false);
    EXPECT_EQ(printed.str(), "Error registering hotkey ⌥⌘←: -9878\n");
    EXPECT_FALSE(hotKeys.isRegistered(left, optCmd));

    hotKeys.releaseElsewhere(left, optCmd);
    engine.updateEventHandler(true, true);
    engine.updateEventHandler(true, false);
    EXPECT_TRUE(hotKeys.isRegistered(left, optCmd));
    EXPECT_EQ(hotKeys.press(left, optCmd), status::noErr);
    EXPECT_EQ(calls, (std::vector<std::string>{"left down"}));
}

TEST_F(HotKeyEngineTest, ValuesTheSystemCannotTakeAreRefusedWithTheLine) {
    EXPECT_FALSE(add(Shortcut{Key::a.rawValue, 0x1}, "odd bits"));
    EXPECT_FALSE(add(Shortcut{-5, 0x100}, "negative"));
    EXPECT_FALSE(add(Shortcut{Key::a.rawValue, 0x1'0000'0000}, "wide"));
    EXPECT_EQ(hotKeys.registerCalls(), 0);
    EXPECT_EQ(printed.str().find("Error registering hotkey "), 0u);
    EXPECT_NE(printed.str().find(": -50\n"), std::string::npos);
}

TEST_F(HotKeyEngineTest, SystemShortcutsAreTheEnabledOnesNormalisedOrThoseHeldElsewhere) {
    hotKeys.setSymbolicHotKeys({{true, 49, 0x100 | 0x400}, {false, 48, 0x100}});
    EXPECT_EQ(engine.systemShortcuts(), (std::vector<Shortcut>{{49, 0x100}}));
    EXPECT_TRUE(engine.isSystemShortcut(Shortcut{49, 0x100}));
    EXPECT_FALSE(engine.isSystemShortcut(Shortcut{48, 0x100}));
    hotKeys.holdElsewhere(48, 0x100);
    EXPECT_TRUE(engine.isSystemShortcut(Shortcut{48, 0x100}));
    add(Shortcut{left, optCmd}, "left");
    EXPECT_FALSE(engine.isSystemShortcut(Shortcut{left, optCmd})) << "our own key is no conflict";
}
