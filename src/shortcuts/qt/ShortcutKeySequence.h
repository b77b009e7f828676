#pragma once

// A stored shortcut as Qt actions and shortcuts take it, and the lookup of the program's menu
// items that already answer to a shortcut.

#include "shortcuts/Shortcut.h"

#include <QKeySequence>
#include <QList>

#include <optional>

class QAction;
class QMenu;

namespace GlobalShortcuts {

// Command is Meta (Super on X11), Option is Alt. None when the key has no key equivalent (the
// keypad keys, a key the current layout types no single character for) or when the shortcut
// holds Function, which Qt has no modifier for.
std::optional<QKeySequence> keySequence(const Shortcut& shortcut);

// The first item, depth first through submenus, whose key sequence is the shortcut's.
QAction* menuItemWithMatchingShortcut(const Shortcut& shortcut, const QList<QAction*>& items);
QAction* menuItemWithMatchingShortcut(const Shortcut& shortcut, const QMenu& menu);
// Over the program's menus: the menu bars of its windows, then the menus that are windows of
// their own (such as a tray icon's menu).
QAction* applicationMenuItemWithMatchingShortcut(const Shortcut& shortcut);

} // namespace GlobalShortcuts
