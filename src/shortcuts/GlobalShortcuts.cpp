#include "shortcuts/GlobalShortcuts.h"

namespace GlobalShortcuts {

std::optional<Shortcut> getShortcut(const Name& name) { return Registry::shared().getShortcut(name); }
void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
    Registry::shared().setShortcut(shortcut, name);
}
void setDefaultShortcut(const Shortcut& shortcut, const Name& name) { Registry::shared().storeDefault(name, shortcut); }
void onKeyDown(const Name& name, Registry::Action action) { Registry::shared().onKeyDown(name, std::move(action)); }
void onKeyUp(const Name& name, Registry::Action action) { Registry::shared().onKeyUp(name, std::move(action)); }
bool userDefaultsContains(const Name& name) { return Registry::shared().userDefaultsContains(name); }

bool isEnabled() { return Registry::shared().isEnabled(); }
void setEnabled(bool enabled) { Registry::shared().setEnabled(enabled); }
bool isPaused() { return Registry::shared().isPaused(); }
void setPaused(bool paused) { Registry::shared().setPaused(paused); }
bool isMenuOpen() { return Registry::shared().isMenuOpen(); }
void retryFailedRegistrations() { Registry::shared().retryFailedRegistrations(); }

void reset(const std::vector<Name>& names) { Registry::shared().reset(names); }
void resetAll() { Registry::shared().resetAll(); }
void enable(const std::vector<Name>& names) { Registry::shared().enable(names); }
void disable(const std::vector<Name>& names) { Registry::shared().disable(names); }
void removeAllHandlers() { Registry::shared().removeAllHandlers(); }
platform::ObservationToken events(const Name& name, std::function<void(EventType)> consumer) {
    return Registry::shared().events(name, std::move(consumer));
}
platform::ObservationToken events(EventType type, const Name& name, std::function<void()> consumer) {
    return Registry::shared().events(type, name, std::move(consumer));
}

// Name

Name::Name(std::string rawValue, std::optional<Shortcut> defaultShortcut)
    : rawValue(std::move(rawValue)), defaultShortcut(std::move(defaultShortcut)) {
    if (this->defaultShortcut) Registry::shared().storeDefaultIfAbsent(*this);
}

std::optional<Shortcut> Name::shortcut() const { return getShortcut(*this); }

void Name::setShortcut(const std::optional<Shortcut>& shortcut) const { GlobalShortcuts::setShortcut(shortcut, *this); }

} // namespace GlobalShortcuts
