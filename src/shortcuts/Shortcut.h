#pragma once

#include "shortcuts/Key.h"
#include "shortcuts/ModifierFlags.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace GlobalShortcuts {

struct Name;

// A key event as the recorder sees it.
struct KeyEvent {
    static constexpr std::int64_t keyDownType = 10;
    static constexpr std::int64_t keyUpType = 11;

    std::int64_t type = keyDownType;
    std::int64_t keyCode = 0;
    ModifierFlags modifierFlags;
};

// A key code with Carbon modifier bits. Every constructor keeps only the five known modifier
// bits; a decoded shortcut holds what the stored text held.
struct Shortcut {
    std::int64_t carbonKeyCode = 0;
    std::int64_t carbonModifiers = 0;

    static Shortcut initCarbon(std::int64_t carbonKeyCode, std::int64_t carbonModifiers);
    static Shortcut init(Key key, ModifierFlags modifiers);
    // Key-down and key-up events only. The function flag that arrow and function keys carry is dropped.
    static std::optional<Shortcut> initEvent(const KeyEvent& event);
    // The shortcut stored for the name.
    static std::optional<Shortcut> initName(const Name& name);

    Key key() const { return Key{carbonKeyCode}; }
    ModifierFlags modifiers() const { return ModifierFlags::initCarbon(carbonModifiers); }

    // The caption: modifier glyphs (control, option, shift, command, function), then the key.
    std::string description() const;
    // What a menu item's key equivalent holds for this key, if anything.
    std::optional<std::string> keyEquivalent() const;
    // The one character the key types in the current ASCII-capable layout; never for special keys.
    static std::optional<std::string> keyToCharacter(std::int64_t keyCode);

    // {"carbonKeyCode":…,"carbonModifiers":…}, compact, in that order.
    std::string jsonText() const;
    // Both members must be integers; the values are taken as they stand.
    static std::optional<Shortcut> fromJsonText(std::string_view text);

    bool operator==(const Shortcut&) const = default;
};

} // namespace GlobalShortcuts

template <>
struct std::hash<GlobalShortcuts::Shortcut> {
    std::size_t operator()(const GlobalShortcuts::Shortcut& shortcut) const noexcept {
        const std::size_t first = std::hash<std::int64_t>{}(shortcut.carbonKeyCode);
        return first ^ (std::hash<std::int64_t>{}(shortcut.carbonModifiers) + 0x9e3779b97f4a7c15ULL + (first << 6) + (first >> 2));
    }
};
