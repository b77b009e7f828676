#include "shortcuts/SpecialKey.h"

#include "shortcuts/Key.h"
#include "shortcuts/ModuleTexts.h"
#include "shortcuts/TextCase.h"

#include <array>
#include <unordered_map>

namespace GlobalShortcuts {

namespace {

struct SpecialKeyRow {
    SpecialKey key;
    std::int64_t keyCode;
    const char* caption; // null: a module text
    const char* keyEquivalent; // null: none
};

constexpr std::array<SpecialKeyRow, 53> specialKeyRows{{
    {SpecialKey::return_, Key::return_.rawValue, "\u21A9", "\u21A9"},
    {SpecialKey::delete_, Key::delete_.rawValue, "\u232B", "\u232B"},
    {SpecialKey::deleteForward, Key::deleteForward.rawValue, "\u2326", "\u2326"},
    {SpecialKey::end, Key::end.rawValue, "\u2198", "\u2198"},
    {SpecialKey::escape, Key::escape.rawValue, "\u238B", "\u238B"},
    {SpecialKey::help, Key::help.rawValue, "?\u20DD", "?\u20DD"},
    {SpecialKey::home, Key::home.rawValue, "\u2196", "\u2196"},
    {SpecialKey::space, Key::space.rawValue, nullptr, " "},
    {SpecialKey::tab, Key::tab.rawValue, "\u21E5", "\u21E5"},
    {SpecialKey::pageUp, Key::pageUp.rawValue, "\u21DE", "\u21DE"},
    {SpecialKey::pageDown, Key::pageDown.rawValue, "\u21DF", "\u21DF"},
    {SpecialKey::upArrow, Key::upArrow.rawValue, "\u2191", "\u2191"},
    {SpecialKey::rightArrow, Key::rightArrow.rawValue, "\u2192", "\u2192"},
    {SpecialKey::downArrow, Key::downArrow.rawValue, "\u2193", "\u2193"},
    {SpecialKey::leftArrow, Key::leftArrow.rawValue, "\u2190", "\u2190"},
    {SpecialKey::f1, Key::f1.rawValue, "F1", "\uF704"},
    {SpecialKey::f2, Key::f2.rawValue, "F2", "\uF705"},
    {SpecialKey::f3, Key::f3.rawValue, "F3", "\uF706"},
    {SpecialKey::f4, Key::f4.rawValue, "F4", "\uF707"},
    {SpecialKey::f5, Key::f5.rawValue, "F5", "\uF708"},
    {SpecialKey::f6, Key::f6.rawValue, "F6", "\uF709"},
    {SpecialKey::f7, Key::f7.rawValue, "F7", "\uF70A"},
    {SpecialKey::f8, Key::f8.rawValue, "F8", "\uF70B"},
    {SpecialKey::f9, Key::f9.rawValue, "F9", "\uF70C"},
    {SpecialKey::f10, Key::f10.rawValue, "F10", "\uF70D"},
    {SpecialKey::f11, Key::f11.rawValue, "F11", "\uF70E"},
    {SpecialKey::f12, Key::f12.rawValue, "F12", "\uF70F"},
    {SpecialKey::f13, Key::f13.rawValue, "F13", "\uF710"},
    {SpecialKey::f14, Key::f14.rawValue, "F14", "\uF711"},
    {SpecialKey::f15, Key::f15.rawValue, "F15", "\uF712"},
    {SpecialKey::f16, Key::f16.rawValue, "F16", "\uF713"},
    {SpecialKey::f17, Key::f17.rawValue, "F17", "\uF714"},
    {SpecialKey::f18, Key::f18.rawValue, "F18", "\uF715"},
    {SpecialKey::f19, Key::f19.rawValue, "F19", "\uF716"},
    {SpecialKey::f20, Key::f20.rawValue, "F20", "\uF717"},
    {SpecialKey::keypad0, Key::keypad0.rawValue, "0\u20E3", nullptr},
    {SpecialKey::keypad1, Key::keypad1.rawValue, "1\u20E3", nullptr},
    {SpecialKey::keypad2, Key::keypad2.rawValue, "2\u20E3", nullptr},
    {SpecialKey::keypad3, Key::keypad3.rawValue, "3\u20E3", nullptr},
    {SpecialKey::keypad4, Key::keypad4.rawValue, "4\u20E3", nullptr},
    {SpecialKey::keypad5, Key::keypad5.rawValue, "5\u20E3", nullptr},
    {SpecialKey::keypad6, Key::keypad6.rawValue, "6\u20E3", nullptr},
    {SpecialKey::keypad7, Key::keypad7.rawValue, "7\u20E3", nullptr},
    {SpecialKey::keypad8, Key::keypad8.rawValue, "8\u20E3", nullptr},
    {SpecialKey::keypad9, Key::keypad9.rawValue, "9\u20E3", nullptr},
    {SpecialKey::keypadClear, Key::keypadClear.rawValue, "\u2612\u20E3", nullptr},
    {SpecialKey::keypadDecimal, Key::keypadDecimal.rawValue, ".\u20E3", nullptr},
    {SpecialKey::keypadDivide, Key::keypadDivide.rawValue, "/\u20E3", nullptr},
    {SpecialKey::keypadEnter, Key::keypadEnter.rawValue, "\u21A9\u20E3", nullptr},
    {SpecialKey::keypadEquals, Key::keypadEquals.rawValue, "=\u20E3", nullptr},
    {SpecialKey::keypadMinus, Key::keypadMinus.rawValue, "-\u20E3", nullptr},
    {SpecialKey::keypadMultiply, Key::keypadMultiply.rawValue, "*\u20E3", nullptr},
    {SpecialKey::keypadPlus, Key::keypadPlus.rawValue, "+\u20E3", nullptr},
}};

const std::unordered_map<std::int64_t, SpecialKey>& specialKeysByKeyCode() {
    static const auto table = [] {
        std::unordered_map<std::int64_t, SpecialKey> byKeyCode;
        for (const auto& row : specialKeyRows) byKeyCode.emplace(row.keyCode, row.key);
        return byKeyCode;
    }();
    return table;
}

const SpecialKeyRow& rowOf(SpecialKey key) { return specialKeyRows[static_cast<std::size_t>(key)]; }

} // namespace

std::optional<SpecialKey> specialKeyForKeyCode(std::int64_t keyCode) {
    const auto& table = specialKeysByKeyCode();
    auto it = table.find(keyCode);
    if (it == table.end()) return std::nullopt;
    return it->second;
}

std::string presentableDescription(SpecialKey key) {
    if (key == SpecialKey::space) return capitalized(ModuleTexts::shared().localizedString("space_key"));
    return rowOf(key).caption;
}

std::optional<std::string> keyEquivalent(SpecialKey key) {
    const auto* text = rowOf(key).keyEquivalent;
    if (!text) return std::nullopt;
    return std::string(text);
}

} // namespace GlobalShortcuts
