#pragma once

#include "shortcuts/Shortcut.h"

#include <optional>
#include <string>

namespace GlobalShortcuts {

// A named shortcut slot. Its shortcut lives in the user defaults under "GlobalShortcuts_" + rawValue.
struct Name {
    std::string rawValue;
    std::optional<Shortcut> defaultShortcut;

    explicit Name(std::string rawValue) : rawValue(std::move(rawValue)) {}
    // Stores the default when nothing at all is stored for the name yet.
    Name(std::string rawValue, std::optional<Shortcut> defaultShortcut);

    std::optional<Shortcut> shortcut() const;
    void setShortcut(const std::optional<Shortcut>& shortcut) const;

    bool operator==(const Name& other) const { return rawValue == other.rawValue; }
};

} // namespace GlobalShortcuts

template <>
struct std::hash<GlobalShortcuts::Name> {
    std::size_t operator()(const GlobalShortcuts::Name& name) const noexcept { return std::hash<std::string>{}(name.rawValue); }
};
