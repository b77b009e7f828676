#include "shortcuts/RecorderRules.h"
#include "shortcuts/Registry.h"
#include "ShortcutTestSupport.h"

#include <gtest/gtest.h>

using namespace GlobalShortcuts;

namespace {

constexpr std::uint64_t shiftFlag = ModifierFlags::shift;
constexpr std::uint64_t commandFlag = ModifierFlags::command;
constexpr std::uint64_t optionFlag = ModifierFlags::option;
constexpr std::uint64_t controlFlag = ModifierFlags::control;
constexpr std::uint64_t capsLockFlag = ModifierFlags::capsLock;
constexpr std::uint64_t functionFlag = ModifierFlags::function;

struct RecorderRulesTest : ::testing::Test, zentaris::testing::RegistryScene {
    const Name edited{"edited"};
    // The program's menus: one item answering to Command+Option+M.
    MenuItemLookup menus = [](const Shortcut& shortcut) -> std::optional<std::string> {
        if (shortcut == Shortcut{Key::m.rawValue, CarbonModifier::command | CarbonModifier::option}) return "Minimise All";
        return std::nullopt;
    };

    RecorderKeyDecision decide(Key key, std::uint64_t flags) {
        return decideRecordingKey(KeyEvent{KeyEvent::keyDownType, key.rawValue, ModifierFlags{flags}}, registry, menus);
    }
};

} // namespace

TEST_F(RecorderRulesTest, EachCombinationGetsItsOutcome) {
    const struct {
        const char* what;
        Key key;
        std::uint64_t flags;
        RecorderKeyOutcome outcome;
    } cases[] = {
        {"a letter alone", Key::a, 0, RecorderKeyOutcome::refuse},
        {"Shift is no strong modifier", Key::a, shiftFlag, RecorderKeyOutcome::refuse},
        {"Caps Lock is no modifier at all", Key::a, capsLockFlag, RecorderKeyOutcome::refuse},
        {"Function is no strong modifier", Key::a, functionFlag, RecorderKeyOutcome::refuse},
        {"Command makes a letter usable", Key::a, commandFlag, RecorderKeyOutcome::store},
        {"Option alone is strong here", Key::k, optionFlag, RecorderKeyOutcome::store},
        {"Control with Shift", Key::k, controlFlag | shiftFlag, RecorderKeyOutcome::store},
        {"a function key alone", Key::f5, 0, RecorderKeyOutcome::store},
        {"a function key with Shift", Key::f5, shiftFlag, RecorderKeyOutcome::store},
        {"a function key with its Function flag", Key::f20, functionFlag, RecorderKeyOutcome::store},
        {"an arrow alone is no function key", Key::leftArrow, functionFlag, RecorderKeyOutcome::refuse},
        {"Tab alone ends recording and goes on", Key::tab, 0, RecorderKeyOutcome::endRecordingAndPass},
        {"Tab with Caps Lock still counts as alone", Key::tab, capsLockFlag, RecorderKeyOutcome::endRecordingAndPass},
        {"Escape alone ends recording", Key::escape, 0, RecorderKeyOutcome::endRecording},
        {"Escape with Shift is just refused", Key::escape, shiftFlag, RecorderKeyOutcome::refuse},
        {"Delete clears", Key::delete_, 0, RecorderKeyOutcome::clear},
        {"Forward Delete clears", Key::deleteForward, 0, RecorderKeyOutcome::clear},
        {"Command+Delete is a shortcut", Key::delete_, commandFlag, RecorderKeyOutcome::store},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decide(c.key, c.flags).outcome, c.outcome) << c.what;
    }
}

TEST_F(RecorderRulesTest, TheStoredShortcutDropsTheFunctionFlagAndUnknownBits) {
    const auto decision = decide(Key::f5, shiftFlag | functionFlag | capsLockFlag);
    ASSERT_EQ(decision.outcome, RecorderKeyOutcome::store);
    EXPECT_EQ(decision.shortcut, (Shortcut{Key::f5.rawValue, CarbonModifier::shift}));
}

TEST_F(RecorderRulesTest, AMenuItemsCombinationIsRefusedAndAnotherNamesIsShared) {
    const auto menuItem = decide(Key::m, commandFlag | optionFlag);
    EXPECT_EQ(menuItem.outcome, RecorderKeyOutcome::usedByMenuItem);
    EXPECT_EQ(menuItem.menuItemTitle, "Minimise All");
    EXPECT_EQ(decide(Key::m, commandFlag | optionFlag | shiftFlag).outcome, RecorderKeyOutcome::store);

    // Two names may hold one combination; both run when it is pressed.
    registry.setShortcut(Shortcut{Key::k.rawValue, CarbonModifier::command}, Name{"other"});
    EXPECT_EQ(decide(Key::k, commandFlag).outcome, RecorderKeyOutcome::store);
}

TEST_F(RecorderRulesTest, SystemCombinationsAreReportedExceptBareF12) {
    hotKeys.setSymbolicHotKeys({{true, Key::space.rawValue, CarbonModifier::command},
                                {false, Key::m.rawValue, CarbonModifier::command},
                                {true, Key::f12.rawValue, 0}});
    hotKeys.holdElsewhere(static_cast<std::uint32_t>(Key::l.rawValue), CarbonModifier::control);

    EXPECT_EQ(decide(Key::space, commandFlag).outcome, RecorderKeyOutcome::usedBySystem);
    EXPECT_EQ(decide(Key::l, controlFlag).outcome, RecorderKeyOutcome::usedBySystem) << "grabbed by another program";
    EXPECT_EQ(decide(Key::m, commandFlag).outcome, RecorderKeyOutcome::store) << "a switched-off system shortcut";
    EXPECT_EQ(decide(Key::f12, 0).outcome, RecorderKeyOutcome::store);
}

TEST_F(RecorderRulesTest, OurOwnRegistrationIsNoSystemConflict) {
    const Shortcut held{Key::k.rawValue, CarbonModifier::command | CarbonModifier::option};
    registry.setShortcut(held, Name{"other"});
    ASSERT_TRUE(registry.isRegistered(held));
    EXPECT_EQ(decide(Key::k, commandFlag | optionFlag).outcome, RecorderKeyOutcome::store);
}

TEST_F(RecorderRulesTest, AnEventThatIsNoKeyPressMakesNoShortcut) {
    const auto decision =
        decideRecordingKey(KeyEvent{12, Key::k.rawValue, ModifierFlags{commandFlag}}, registry, menus);
    EXPECT_EQ(decision.outcome, RecorderKeyOutcome::refuse);
}
