#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace GlobalShortcuts {

// The keys shown by a glyph or a name instead of the character the layout types.
enum class SpecialKey {
    return_,
    delete_,
    deleteForward,
    end,
    escape,
    help,
    home,
    space,
    tab,
    pageUp,
    pageDown,
    upArrow,
    rightArrow,
    downArrow,
    leftArrow,
    f1,
    f2,
    f3,
    f4,
    f5,
    f6,
    f7,
    f8,
    f9,
    f10,
    f11,
    f12,
    f13,
    f14,
    f15,
    f16,
    f17,
    f18,
    f19,
    f20,
    keypad0,
    keypad1,
    keypad2,
    keypad3,
    keypad4,
    keypad5,
    keypad6,
    keypad7,
    keypad8,
    keypad9,
    keypadClear,
    keypadDecimal,
    keypadDivide,
    keypadEnter,
    keypadEquals,
    keypadMinus,
    keypadMultiply,
    keypadPlus
};

// The special key at a key code, if it is one.
std::optional<SpecialKey> specialKeyForKeyCode(std::int64_t keyCode);
// How a shortcut caption shows the key.
std::string presentableDescription(SpecialKey key);
// What a menu item's key equivalent holds for the key; nothing for the keypad keys.
std::optional<std::string> keyEquivalent(SpecialKey key);

} // namespace GlobalShortcuts
