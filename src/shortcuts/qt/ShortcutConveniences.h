#pragma once

// What the shortcut module offers programs that show or consume named shortcuts in their own
// Qt interface. All of it runs on the main thread.

#include "shortcuts/Name.h"
#include "shortcuts/Registry.h"

#include <functional>
#include <optional>

class QAbstractButton;
class QAction;
class QObject;
class QShortcut;

namespace GlobalShortcuts {

// Gives the action, button or shortcut the key sequence stored for `name` and keeps it current
// when that name's shortcut changes (changes of other names leave it alone). While any recorder
// of the module records, it has no key sequence, so the recorder sees every combination. Ends
// with the object; a new call for the same object replaces the earlier one.
void globalKeyboardShortcut(QAction& action, const Name& name);
void globalKeyboardShortcut(QAbstractButton& button, const Name& name);
void globalKeyboardShortcut(QShortcut& shortcut, const Name& name);

// A menu item bound to `name` keeps that name's shortcut as its key sequence (empty when none is
// stored or the key has no key equivalent). Binding it to another name ends the first binding;
// binding it to none clears its key sequence and ends the binding.
void bindShortcut(QAction& item, const std::optional<Name>& name);
// Sets the item's key sequence from the shortcut once; none clears it.
void setShortcut(QAction& item, const std::optional<Shortcut>& shortcut);

// Runs `action` with each key-down and key-up of the name's hot key, from the next turn of the
// main queue until `context` is destroyed.
void onKeyboardShortcut(QObject& context, const Name& name, std::function<void(EventType)> action);
// The same for events of one type only.
void onKeyboardShortcut(QObject& context, const Name& name, EventType type, std::function<void()> action);

} // namespace GlobalShortcuts
