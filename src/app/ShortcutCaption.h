#pragma once

#include "preferences/ShortcutSettings.h"
#include "shortcuts/Name.h"
#include "shortcuts/Shortcut.h"

#include <optional>
#include <string>

namespace zentaris {

// The modifier glyphs captions show, always in the order ⌃⌥⇧⌘.
std::string captionModifierGlyphs(const GlobalShortcuts::Shortcut& shortcut);
// The fixed text of Return, Tab, Space, Delete, Escape, Forward Delete, the arrows and F1-F12.
std::optional<std::string> fixedCaptionKeyText(std::int64_t keyCode);

// The caption of a shortcut as menu rows show it: modifier glyphs in the order ⌃⌥⇧⌘, then the
// key (arrows, Return, Tab, Space, Delete, Escape and F1-F12 by fixed text, letters upper-case).
std::string menuCaption(const GlobalShortcuts::Shortcut& shortcut);

// The caption of the name's stored shortcut; none when shortcuts are off, this one is switched
// off, or nothing is stored.
std::optional<std::string> shortcutCaption(const ShortcutSettings& settings, const GlobalShortcuts::Name& name);

} // namespace zentaris
