#include "shortcuts/Shortcut.h"
#include "shortcuts/SpecialKey.h"
#include "support/TemporaryDirectory.h"
#include "ShortcutTestSupport.h"

#include <gtest/gtest.h>

using namespace GlobalShortcuts;

namespace {

constexpr auto cmd = CarbonModifier::command;
constexpr auto opt = CarbonModifier::option;
constexpr auto shift = CarbonModifier::shift;
constexpr auto ctrl = CarbonModifier::control;
constexpr auto fn = CarbonModifier::function;

struct ShortcutModelTest : ::testing::Test {
    zentaris::testing::ShortcutCaptionEnvironment captions;
};

} // namespace

TEST_F(ShortcutModelTest, ConstructorsKeepOnlyTheFiveKnownModifiers) {
    const auto shortcut = Shortcut::initCarbon(Key::a.rawValue, 0x900 | 0x400);
    EXPECT_EQ(shortcut.carbonModifiers, 0x900);
    EXPECT_EQ(shortcut.modifiers().rawValue, ModifierFlags::option | ModifierFlags::command);

    const auto fromFlags = Shortcut::init(Key::a, ModifierFlags{ModifierFlags::option | ModifierFlags::command |
                                                                ModifierFlags::capsLock | ModifierFlags::numericPad});
    EXPECT_EQ(fromFlags, shortcut);
    EXPECT_EQ(ModifierFlags::initCarbon(cmd | shift | opt | ctrl | fn).carbon(), cmd | shift | opt | ctrl | fn);
}

TEST_F(ShortcutModelTest, KeyEventsBecomeShortcutsWithoutTheFunctionFlag) {
    const KeyEvent leftArrow{KeyEvent::keyDownType, Key::leftArrow.rawValue,
                             ModifierFlags{ModifierFlags::command | ModifierFlags::function | ModifierFlags::numericPad}};
    EXPECT_EQ(Shortcut::initEvent(leftArrow), (Shortcut{123, cmd}));
    EXPECT_EQ(Shortcut::initEvent(KeyEvent{KeyEvent::keyUpType, 0, ModifierFlags{ModifierFlags::shift}}), (Shortcut{0, shift}));
    EXPECT_EQ(Shortcut::initEvent(KeyEvent{12 /* flags changed */, 56, {}}), std::nullopt);
}

TEST_F(ShortcutModelTest, CaptionsShowGlyphsInFixedOrderThenTheKey) {
    const struct {
        Shortcut shortcut;
        const char* caption;
    } cases[] = {
        {Shortcut{Key::leftArrow.rawValue, opt | cmd}, "⌥⌘←"},
        {Shortcut{Key::d.rawValue, cmd | shift}, "⇧⌘D"},
        {Shortcut{Key::f5.rawValue, ctrl}, "⌃F5"},
        {Shortcut{Key::a.rawValue, fn | cmd | shift | opt | ctrl}, "⌃⌥⇧⌘\U0001F310\uFE0EA"},
        {Shortcut{Key::slash.rawValue, 0}, "/"},
        {Shortcut{Key::space.rawValue, ctrl}, "⌃Space"},
        {Shortcut{Key::keypad5.rawValue, 0}, "5\u20E3"},
        {Shortcut{Key::keypadClear.rawValue, 0}, "\u2612\u20E3"},
        {Shortcut{Key::help.rawValue, 0}, "?\u20DD"},
        {Shortcut{Key::f20.rawValue, 0}, "F20"},
        {Shortcut{Key::volumeUp.rawValue, cmd}, "⌘\uFFFD"},
        {Shortcut{70000, cmd}, "⌘\uFFFD"},
        {Shortcut{-1, 0}, "\uFFFD"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shortcut.description(), c.caption) << c.caption;
}

TEST_F(ShortcutModelTest, SpecialKeysNeverAskTheLayout) {
    captions.layout.set(static_cast<std::uint16_t>(Key::leftArrow.rawValue), "x");
    captions.layout.set(static_cast<std::uint16_t>(Key::keypad1.rawValue), "1");
    const int before = captions.layout.lookups();
    EXPECT_EQ((Shortcut{Key::leftArrow.rawValue, 0}).description(), "←");
    EXPECT_EQ((Shortcut{Key::keypad1.rawValue, 0}).description(), "1\u20E3");
    EXPECT_EQ(Shortcut::keyToCharacter(Key::leftArrow.rawValue), std::nullopt);
    EXPECT_EQ(captions.layout.lookups(), before);
}

TEST_F(ShortcutModelTest, OnlyASingleCharacterFromTheLayoutCounts) {
    captions.layout.set(static_cast<std::uint16_t>(Key::q.rawValue), "é");
    captions.layout.set(static_cast<std::uint16_t>(Key::w.rawValue), "ab");
    captions.layout.set(static_cast<std::uint16_t>(Key::e.rawValue), "");
    EXPECT_EQ(Shortcut::keyToCharacter(Key::q.rawValue), "é");
    EXPECT_EQ((Shortcut{Key::w.rawValue, cmd}).description(), "⌘\uFFFD");
    EXPECT_EQ((Shortcut{Key::e.rawValue, cmd}).description(), "⌘\uFFFD");
}

TEST_F(ShortcutModelTest, SpaceCaptionComesFromTheModuleTextsOrTheKeyItself) {
    captions.environment.set("LANG", "de_DE.UTF-8");
    ModuleTexts::resetShared();
    EXPECT_EQ((Shortcut{Key::space.rawValue, 0}).description(), "Leertaste");

    zentaris::testing::TemporaryDirectory empty;
    platform::Bundle::setMain(platform::Bundle(empty.path(), std::nullopt));
    ModuleTexts::resetShared();
    EXPECT_FALSE(ModuleTexts::shared().bundleFound());
    EXPECT_EQ((Shortcut{Key::space.rawValue, cmd}).description(), "⌘Space_key");
}

TEST_F(ShortcutModelTest, MenuKeyEquivalents) {
    EXPECT_EQ((Shortcut{Key::f1.rawValue, 0}).keyEquivalent(), "\uF704");
    EXPECT_EQ((Shortcut{Key::space.rawValue, 0}).keyEquivalent(), " ");
    EXPECT_EQ((Shortcut{Key::keypad1.rawValue, 0}).keyEquivalent(), std::nullopt);
    EXPECT_EQ((Shortcut{Key::k.rawValue, 0}).keyEquivalent(), "k");
    EXPECT_EQ((Shortcut{Key::volumeUp.rawValue, 0}).keyEquivalent(), std::nullopt);
}

TEST(ShortcutJsonTest, EncodesCompactlyInMemberOrder) {
    EXPECT_EQ((Shortcut{123, 2304}).jsonText(), R"({"carbonKeyCode":123,"carbonModifiers":2304})");
}

TEST(ShortcutJsonTest, DecodesIntegersAsTheyStandAndRefusesEverythingElse) {
    EXPECT_EQ(Shortcut::fromJsonText(R"({"carbonKeyCode":123,"carbonModifiers":2304})"), (Shortcut{123, 2304}));
    const auto unnormalised = Shortcut::fromJsonText(R"({"carbonModifiers":1,"carbonKeyCode":0,"extra":true})");
    ASSERT_TRUE(unnormalised);
    EXPECT_EQ(unnormalised->carbonModifiers, 1);
    EXPECT_NE(*unnormalised, Shortcut::initCarbon(0, 1));

    for (const char* text : {R"({"keyCode":123,"carbonModifiers":2304})", R"({"carbonKeyCode":"123","carbonModifiers":0})",
                             R"({"carbonKeyCode":1.5,"carbonModifiers":0})", R"({"carbonKeyCode":1,"carbonModifiers":null})",
                             R"({"carbonKeyCode":18446744073709551615,"carbonModifiers":0})", R"([123,2304])", "", "{",
                             "false"}) {
        EXPECT_EQ(Shortcut::fromJsonText(text), std::nullopt) << text;
    }
}
