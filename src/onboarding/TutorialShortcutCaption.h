#pragma once

#include "shortcuts/Name.h"

#include <string>

namespace zentaris::tutorial {

// The caption of the key combination stored for `name`, as the status menu shows it, so that the
// tutorial teaches the keys that actually work; `standardCaption` when nothing is stored.
std::string tutorialShortcutCaption(const GlobalShortcuts::Name& name, const std::string& standardCaption);

} // namespace zentaris::tutorial
