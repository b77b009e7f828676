#pragma once

#include "app/StatusMenu.h"

#include <QMenu>

#include <memory>

namespace zentaris {

// Turns the status menu model into a Qt menu; choosing an entry runs its action.
std::unique_ptr<QMenu> renderStatusMenu(const StatusMenu& menu);

} // namespace zentaris
