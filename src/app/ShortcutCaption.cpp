#include "app/ShortcutCaption.h"

#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/ModifierFlags.h"

#include <cctype>
#include <map>

namespace zentaris {

namespace {

const std::map<std::int64_t, std::string>& fixedKeyTexts() {
    static const std::map<std::int64_t, std::string> texts{
        {36, "↩"},  {48, "⇥"},  {49, "Space"}, {51, "⌫"},  {53, "⎋"},  {117, "⌦"}, {123, "←"}, {124, "→"},
        {125, "↓"}, {126, "↑"}, {122, "F1"},   {120, "F2"}, {99, "F3"}, {118, "F4"}, {96, "F5"}, {97, "F6"},
        {98, "F7"}, {100, "F8"}, {101, "F9"},  {109, "F10"}, {103, "F11"}, {111, "F12"}};
    return texts;
}

void eraseAll(std::string& text, const std::string& part) {
    if (part.empty()) return;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\n") - first + 1);
}

} // namespace

std::string captionModifierGlyphs(const GlobalShortcuts::Shortcut& shortcut) {
    using GlobalShortcuts::ModifierFlags;
    const auto flags = shortcut.modifiers();
    std::string modifiers;
    if (flags.contains(ModifierFlags::control)) modifiers += "⌃";
    if (flags.contains(ModifierFlags::option)) modifiers += "⌥";
    if (flags.contains(ModifierFlags::shift)) modifiers += "⇧";
    if (flags.contains(ModifierFlags::command)) modifiers += "⌘";
    return modifiers;
}

std::optional<std::string> fixedCaptionKeyText(std::int64_t keyCode) {
    auto fixed = fixedKeyTexts().find(keyCode);
    if (fixed == fixedKeyTexts().end()) return std::nullopt;
    return fixed->second;
}

std::string menuCaption(const GlobalShortcuts::Shortcut& shortcut) {
    const std::string modifiers = captionModifierGlyphs(shortcut);
    if (auto fixed = fixedCaptionKeyText(shortcut.carbonKeyCode)) return modifiers + *fixed;
    std::string key = shortcut.description();
    eraseAll(key, modifiers);
    for (const char* glyph : {"⌃", "⌥", "⇧", "⌘"}) eraseAll(key, glyph);
    key = trim(key);
    if (key.size() == 1 && std::isalpha(static_cast<unsigned char>(key[0]))) {
        key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    }
    return modifiers + key;
}

std::optional<std::string> shortcutCaption(const ShortcutSettings& settings, const GlobalShortcuts::Name& name) {
    if (!settings.isShortcutEnabled(name.rawValue)) return std::nullopt;
    auto shortcut = GlobalShortcuts::getShortcut(name);
    if (!shortcut) return std::nullopt;
    return menuCaption(*shortcut);
}

} // namespace zentaris
