#pragma once

// What the module's recorder control does with a key press while it records: which combinations
// it refuses and why, and which it stores.

#include "shortcuts/Shortcut.h"

#include <functional>
#include <optional>
#include <string>

namespace GlobalShortcuts {

class Registry;

// No modifier at all; Caps Lock and the numeric-pad flag do not count.
bool isWithoutModifiers(ModifierFlags flags);
// None of Command, Option, Control; Shift and Function do not count either.
bool isWithoutStrongModifiers(ModifierFlags flags);
// F1 and up: the only keys that may be recorded without a strong modifier.
bool isFunctionKey(std::int64_t keyCode);

enum class RecorderKeyOutcome {
    endRecordingAndPass,  // Tab: focus moves on, the key goes through
    endRecording,         // Escape: the previous shortcut stays
    clear,                // Delete keys: the stored shortcut is removed
    refuse,               // a beep: no strong modifier, or nothing to make a shortcut of
    usedByMenuItem,       // an item of the program's menus answers to it
    usedBySystem,         // the desktop or another program holds it; may be forced
    store,
};

struct RecorderKeyDecision {
    RecorderKeyOutcome outcome;
    std::optional<Shortcut> shortcut;
    // The menu item's title, for usedByMenuItem.
    std::string menuItemTitle;
};

// The title of an item of the program's menus whose key equivalent is the shortcut, if any.
using MenuItemLookup = std::function<std::optional<std::string>(const Shortcut&)>;

// Decides one key event for a recorder, in the order the control applies its rules. Another name
// holding the same combination is no conflict: both names may share it.
RecorderKeyDecision decideRecordingKey(const KeyEvent& event, Registry& registry, const MenuItemLookup& menuItemTitle);

} // namespace GlobalShortcuts
