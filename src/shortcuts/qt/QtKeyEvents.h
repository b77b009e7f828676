#pragma once

#include "shortcuts/Shortcut.h"

#include <QKeyEvent>

#include <optional>

namespace GlobalShortcuts {

// The event modifier flags of Qt's modifiers: Super (Meta) is Command, Alt is Option.
ModifierFlags eventModifierFlags(Qt::KeyboardModifiers modifiers);

// A modifier key pressed on its own: no key of a shortcut (the system reports it apart from keys).
bool isModifierKeyPress(const QKeyEvent& event);

// A key press or release as shortcuts see it: the key's position (through the installed
// platform::KeyCodeTranslator) and the modifier flags. Nothing for a modifier key pressed on its
// own, or a key whose position is unknown.
std::optional<KeyEvent> shortcutKeyEvent(const QKeyEvent& event);

} // namespace GlobalShortcuts
