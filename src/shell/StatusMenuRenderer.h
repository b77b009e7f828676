#pragma once

#include "app/StatusMenu.h"

#include <QMenu>

#include <memory>

namespace zentaris {

// Turns the status menu model into a Qt menu whose layout, slot and drag-mode rows are drawn
// widgets. Choosing an entry, by click or by Return, closes the menus and then runs its action.
// A row that also opens a submenu opens it on hover or with the Right key, and runs its own
// action when clicked or on Return.
std::unique_ptr<QMenu> renderStatusMenu(const StatusMenu& menu);

} // namespace zentaris
