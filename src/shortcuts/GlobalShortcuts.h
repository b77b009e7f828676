#pragma once

// The module's public face: named shortcuts stored in the user defaults that fire system-wide.
// Each call goes to the shared registry.

#include "shortcuts/Key.h"
#include "shortcuts/ModifierFlags.h"
#include "shortcuts/Name.h"
#include "shortcuts/Registry.h"
#include "shortcuts/Shortcut.h"

namespace GlobalShortcuts {

std::optional<Shortcut> getShortcut(const Name& name);
void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name);
// Sets a default for a name that has no shortcut (see Registry::storeDefault).
void setDefaultShortcut(const Shortcut& shortcut, const Name& name);
void onKeyDown(const Name& name, Registry::Action action);
void onKeyUp(const Name& name, Registry::Action action);
bool userDefaultsContains(const Name& name);

bool isEnabled();
void setEnabled(bool enabled);
bool isPaused();
void setPaused(bool paused);
bool isMenuOpen();
// Registers again what the system turned down earlier; also done at every return of the hot keys.
void retryFailedRegistrations();

void reset(const std::vector<Name>& names);
void resetAll();
void enable(const std::vector<Name>& names);
void disable(const std::vector<Name>& names);
void removeAllHandlers();
[[nodiscard]] platform::ObservationToken events(const Name& name, std::function<void(EventType)> consumer);
[[nodiscard]] platform::ObservationToken events(EventType type, const Name& name, std::function<void()> consumer);

} // namespace GlobalShortcuts
