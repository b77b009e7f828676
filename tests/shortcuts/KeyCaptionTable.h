#pragma once

#include "shortcuts/Key.h"

#include <cstdint>

namespace zentaris::testing {

// Every named key, its virtual key code and the caption a shortcut shows for it on a US layout
// in English. Keys the layout has no single character for show the replacement character.
struct KeyCaptionRow {
    const char* name;
    GlobalShortcuts::Key key;
    std::int64_t code;
    const char* caption;
};

inline constexpr const char* noCharacter = "\uFFFD";

inline constexpr KeyCaptionRow keyCaptionTable[] = {
    // letters
    {"a", GlobalShortcuts::Key::a, 0, "A"},
    {"b", GlobalShortcuts::Key::b, 11, "B"},
    {"c", GlobalShortcuts::Key::c, 8, "C"},
    {"d", GlobalShortcuts::Key::d, 2, "D"},
    {"e", GlobalShortcuts::Key::e, 14, "E"},
    {"f", GlobalShortcuts::Key::f, 3, "F"},
    {"g", GlobalShortcuts::Key::g, 5, "G"},
    {"h", GlobalShortcuts::Key::h, 4, "H"},
    {"i", GlobalShortcuts::Key::i, 34, "I"},
    {"j", GlobalShortcuts::Key::j, 38, "J"},
    {"k", GlobalShortcuts::Key::k, 40, "K"},
    {"l", GlobalShortcuts::Key::l, 37, "L"},
    {"m", GlobalShortcuts::Key::m, 46, "M"},
    {"n", GlobalShortcuts::Key::n, 45, "N"},
    {"o", GlobalShortcuts::Key::o, 31, "O"},
    {"p", GlobalShortcuts::Key::p, 35, "P"},
    {"q", GlobalShortcuts::Key::q, 12, "Q"},
    {"r", GlobalShortcuts::Key::r, 15, "R"},
    {"s", GlobalShortcuts::Key::s, 1, "S"},
    {"t", GlobalShortcuts::Key::t, 17, "T"},
    {"u", GlobalShortcuts::Key::u, 32, "U"},
    {"v", GlobalShortcuts::Key::v, 9, "V"},
    {"w", GlobalShortcuts::Key::w, 13, "W"},
    {"x", GlobalShortcuts::Key::x, 7, "X"},
    {"y", GlobalShortcuts::Key::y, 16, "Y"},
    {"z", GlobalShortcuts::Key::z, 6, "Z"},
    // digits of the main block
    {"zero", GlobalShortcuts::Key::zero, 29, "0"},
    {"one", GlobalShortcuts::Key::one, 18, "1"},
    {"two", GlobalShortcuts::Key::two, 19, "2"},
    {"three", GlobalShortcuts::Key::three, 20, "3"},
    {"four", GlobalShortcuts::Key::four, 21, "4"},
    {"five", GlobalShortcuts::Key::five, 23, "5"},
    {"six", GlobalShortcuts::Key::six, 22, "6"},
    {"seven", GlobalShortcuts::Key::seven, 26, "7"},
    {"eight", GlobalShortcuts::Key::eight, 28, "8"},
    {"nine", GlobalShortcuts::Key::nine, 25, "9"},
    // modifier keys
    {"capsLock", GlobalShortcuts::Key::capsLock, 57, noCharacter},
    {"shift", GlobalShortcuts::Key::shift, 56, noCharacter},
    {"function", GlobalShortcuts::Key::function, 63, noCharacter},
    {"control", GlobalShortcuts::Key::control, 59, noCharacter},
    {"option", GlobalShortcuts::Key::option, 58, noCharacter},
    {"command", GlobalShortcuts::Key::command, 55, noCharacter},
    {"rightCommand", GlobalShortcuts::Key::rightCommand, 54, noCharacter},
    {"rightOption", GlobalShortcuts::Key::rightOption, 61, noCharacter},
    {"rightControl", GlobalShortcuts::Key::rightControl, 62, noCharacter},
    {"rightShift", GlobalShortcuts::Key::rightShift, 60, noCharacter},
    // punctuation and whitespace
    {"return", GlobalShortcuts::Key::return_, 36, "↩"},
    {"backslash", GlobalShortcuts::Key::backslash, 42, "\\"},
    {"backtick", GlobalShortcuts::Key::backtick, 50, "`"},
    {"comma", GlobalShortcuts::Key::comma, 43, ","},
    {"equal", GlobalShortcuts::Key::equal, 24, "="},
    {"minus", GlobalShortcuts::Key::minus, 27, "-"},
    {"period", GlobalShortcuts::Key::period, 47, "."},
    {"quote", GlobalShortcuts::Key::quote, 39, "'"},
    {"semicolon", GlobalShortcuts::Key::semicolon, 41, ";"},
    {"slash", GlobalShortcuts::Key::slash, 44, "/"},
    {"space", GlobalShortcuts::Key::space, 49, "Space"},
    {"tab", GlobalShortcuts::Key::tab, 48, "⇥"},
    {"leftBracket", GlobalShortcuts::Key::leftBracket, 33, "["},
    {"rightBracket", GlobalShortcuts::Key::rightBracket, 30, "]"},
    // navigation
    {"pageUp", GlobalShortcuts::Key::pageUp, 116, "⇞"},
    {"pageDown", GlobalShortcuts::Key::pageDown, 121, "⇟"},
    {"home", GlobalShortcuts::Key::home, 115, "↖"},
    {"end", GlobalShortcuts::Key::end, 119, "↘"},
    {"upArrow", GlobalShortcuts::Key::upArrow, 126, "↑"},
    {"rightArrow", GlobalShortcuts::Key::rightArrow, 124, "→"},
    {"downArrow", GlobalShortcuts::Key::downArrow, 125, "↓"},
    {"leftArrow", GlobalShortcuts::Key::leftArrow, 123, "←"},
    // editing
    {"escape", GlobalShortcuts::Key::escape, 53, "⎋"},
    {"delete", GlobalShortcuts::Key::delete_, 51, "⌫"},
    {"deleteForward", GlobalShortcuts::Key::deleteForward, 117, "⌦"},
    {"help", GlobalShortcuts::Key::help, 114, "?\u20DD"},
    // media
    {"mute", GlobalShortcuts::Key::mute, 74, noCharacter},
    {"volumeUp", GlobalShortcuts::Key::volumeUp, 72, noCharacter},
    {"volumeDown", GlobalShortcuts::Key::volumeDown, 73, noCharacter},
    // function keys
    {"f1", GlobalShortcuts::Key::f1, 122, "F1"},
    {"f2", GlobalShortcuts::Key::f2, 120, "F2"},
    {"f3", GlobalShortcuts::Key::f3, 99, "F3"},
    {"f4", GlobalShortcuts::Key::f4, 118, "F4"},
    {"f5", GlobalShortcuts::Key::f5, 96, "F5"},
    {"f6", GlobalShortcuts::Key::f6, 97, "F6"},
    {"f7", GlobalShortcuts::Key::f7, 98, "F7"},
    {"f8", GlobalShortcuts::Key::f8, 100, "F8"},
    {"f9", GlobalShortcuts::Key::f9, 101, "F9"},
    {"f10", GlobalShortcuts::Key::f10, 109, "F10"},
    {"f11", GlobalShortcuts::Key::f11, 103, "F11"},
    {"f12", GlobalShortcuts::Key::f12, 111, "F12"},
    {"f13", GlobalShortcuts::Key::f13, 105, "F13"},
    {"f14", GlobalShortcuts::Key::f14, 107, "F14"},
    {"f15", GlobalShortcuts::Key::f15, 113, "F15"},
    {"f16", GlobalShortcuts::Key::f16, 106, "F16"},
    {"f17", GlobalShortcuts::Key::f17, 64, "F17"},
    {"f18", GlobalShortcuts::Key::f18, 79, "F18"},
    {"f19", GlobalShortcuts::Key::f19, 80, "F19"},
    {"f20", GlobalShortcuts::Key::f20, 90, "F20"},
    // keypad: the character in a key cap
    {"keypad0", GlobalShortcuts::Key::keypad0, 82, "0\u20E3"},
    {"keypad1", GlobalShortcuts::Key::keypad1, 83, "1\u20E3"},
    {"keypad2", GlobalShortcuts::Key::keypad2, 84, "2\u20E3"},
    {"keypad3", GlobalShortcuts::Key::keypad3, 85, "3\u20E3"},
    {"keypad4", GlobalShortcuts::Key::keypad4, 86, "4\u20E3"},
    {"keypad5", GlobalShortcuts::Key::keypad5, 87, "5\u20E3"},
    {"keypad6", GlobalShortcuts::Key::keypad6, 88, "6\u20E3"},
    {"keypad7", GlobalShortcuts::Key::keypad7, 89, "7\u20E3"},
    {"keypad8", GlobalShortcuts::Key::keypad8, 91, "8\u20E3"},
    {"keypad9", GlobalShortcuts::Key::keypad9, 92, "9\u20E3"},
    {"keypadClear", GlobalShortcuts::Key::keypadClear, 71, "☒\u20E3"},
    {"keypadDecimal", GlobalShortcuts::Key::keypadDecimal, 65, ".\u20E3"},
    {"keypadDivide", GlobalShortcuts::Key::keypadDivide, 75, "/\u20E3"},
    {"keypadEnter", GlobalShortcuts::Key::keypadEnter, 76, "↩\u20E3"},
    {"keypadEquals", GlobalShortcuts::Key::keypadEquals, 81, "=\u20E3"},
    {"keypadMinus", GlobalShortcuts::Key::keypadMinus, 78, "-\u20E3"},
    {"keypadMultiply", GlobalShortcuts::Key::keypadMultiply, 67, "*\u20E3"},
    {"keypadPlus", GlobalShortcuts::Key::keypadPlus, 69, "+\u20E3"},
};

} // namespace zentaris::testing
