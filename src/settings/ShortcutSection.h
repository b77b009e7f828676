#pragma once

// The sections of the Shortcuts page and the shortcuts each one lists.

#include "shortcuts/Name.h"

#include <array>
#include <string>
#include <vector>

namespace zentaris {

enum class ShortcutSection { instructions, appControls, coreLayout, quarterLayout, multiWindow, multiScreen };

inline constexpr std::array<ShortcutSection, 6> allShortcutSections{
    ShortcutSection::instructions, ShortcutSection::appControls,  ShortcutSection::coreLayout,
    ShortcutSection::quarterLayout, ShortcutSection::multiWindow, ShortcutSection::multiScreen};

// One row: the localisation key of its label and the shortcut it edits.
struct ShortcutDefinition {
    std::string labelKey;
    GlobalShortcuts::Name name;

    bool operator==(const ShortcutDefinition& other) const {
        return labelKey == other.labelKey && name.rawValue == other.name.rawValue;
    }
};

// The localisation key of the section's header.
std::string title(ShortcutSection section);
// The symbol beside the header.
std::string icon(ShortcutSection section);
// The name of the header symbol's system colour ("blue", "purple", ...).
std::string iconColorName(ShortcutSection section);
// The section's rows in display order, built afresh on every call.
std::vector<ShortcutDefinition> shortcuts(ShortcutSection section);

} // namespace zentaris
