#pragma once

// The rules the settings window applies before a combination becomes a global shortcut, and the
// caption of a stored one. Plain C++: no widget involved.

#include "shortcuts/ModifierFlags.h"
#include "shortcuts/Shortcut.h"

#include <array>
#include <cstdint>
#include <string>

namespace zentaris {

struct ShortcutValidation {
    bool isValid;
    // Translated reason when refused; empty when valid.
    std::string message;
};

struct ReservedSystemShortcut {
    std::int64_t keyCode;
    std::uint64_t modifierFlags;
    const char* localizationKey;
};

// Always usable once Command or Control is held: F1-F12 and the four arrows.
extern const std::array<std::int64_t, 16> functionAndArrowKeys;
// Combinations the desktop's programs use themselves, checked in this order.
extern const std::array<ReservedSystemShortcut, 24> reservedSystemShortcuts;
// Keys that need Command or Control together with a second modifier.
extern const std::array<std::int64_t, 40> strongModifierKeys;

// Judges a key code with its event modifier flags; messages come from the shared language manager.
ShortcutValidation validateShortcut(std::int64_t keyCode, GlobalShortcuts::ModifierFlags flags);

// The caption on the recorder button: modifier glyphs, then the key.
std::string shortcutDisplayString(const GlobalShortcuts::Shortcut& shortcut);

} // namespace zentaris
