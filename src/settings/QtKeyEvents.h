#pragma once

#include "shortcuts/Shortcut.h"

#include <QKeyEvent>

#include <optional>

namespace zentaris {

// The event modifier flags of Qt's modifiers: Super (Meta) is Command, Alt is Option.
GlobalShortcuts::ModifierFlags eventModifierFlags(Qt::KeyboardModifiers modifiers);

// A key press or release as shortcuts see it: the key's position (through the installed
// platform::KeyCodeTranslator) and the modifier flags. Nothing for a modifier key pressed on its
// own, or a key whose position is unknown.
std::optional<GlobalShortcuts::KeyEvent> shortcutKeyEvent(const QKeyEvent& event);

} // namespace zentaris
