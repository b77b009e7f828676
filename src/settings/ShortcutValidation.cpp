#include "settings/ShortcutValidation.h"

#include "app/ShortcutCaption.h"
#include "preferences/LanguageManager.h"

#include <algorithm>
#include <map>

namespace zentaris {

using GlobalShortcuts::ModifierFlags;

namespace {

constexpr std::uint64_t command = ModifierFlags::command;
constexpr std::uint64_t control = ModifierFlags::control;
constexpr std::uint64_t option = ModifierFlags::option;
constexpr std::uint64_t shift = ModifierFlags::shift;

template <std::size_t N>
bool contains(const std::array<std::int64_t, N>& keys, std::int64_t keyCode) {
    return std::find(keys.begin(), keys.end(), keyCode) != keys.end();
}

std::string text(const std::string& key) { return LanguageManager::shared().localizedString(key); }

std::string removeAll(std::string text, const std::string& part) {
    if (part.empty()) return text;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
    return text;
}

} // namespace

const std::array<std::int64_t, 16> functionAndArrowKeys{122, 120, 99, 118, 96, 97, 98, 100,
                                                        101, 109, 103, 111, 123, 124, 125, 126};

const std::array<ReservedSystemShortcut, 24> reservedSystemShortcuts{{
    {12, command, "system_quit"},      {13, command, "system_close_window"}, {31, command, "system_open"},
    {1, command, "system_save"},       {15, command, "system_refresh"},      {17, command, "system_new_tab"},
    {0, command, "system_select_all"}, {8, command, "system_copy"},          {9, command, "system_paste"},
    {7, command, "system_cut"},        {6, command, "system_undo"},          {44, command, "system_help"},
    {35, command, "system_print"},     {3, command, "system_find"},          {2, command, "system_duplicate"},
    {16, command, "system_redo"},      {11, command, "system_bold"},         {34, command, "system_italic"},
    {32, command, "system_underline"}, {45, command, "system_new"},          {37, command, "system_location_bar"},
    {46, command, "system_minimize"},  {4, command, "system_hide"},          {49, command, "system_spotlight"},
}};

const std::array<std::int64_t, 40> strongModifierKeys{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14,
                                                      15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28,
                                                      29, 30, 31, 32, 33, 34, 35, 36, 48, 49, 51, 117};

ShortcutValidation validateShortcut(std::int64_t keyCode, ModifierFlags eventFlags) {
    // A shortcut keeps five modifiers (Function among them); Caps Lock and device bits are gone.
    const auto flags = ModifierFlags::initCarbon(eventFlags.carbon());
    const bool hasCommand = flags.contains(command);
    const bool hasControl = flags.contains(control);
    const bool hasOption = flags.contains(option);
    const bool hasShift = flags.contains(shift);
    if (!hasCommand && !hasControl) return {false, text("must_include_modifiers")};
    if (contains(functionAndArrowKeys, keyCode)) return {true, ""};
    for (const auto& reserved : reservedSystemShortcuts) {
        if (reserved.keyCode == keyCode && flags.rawValue == reserved.modifierFlags) {
            return {false, text("reserved_for") + " " + text(reserved.localizationKey)};
        }
    }
    const bool strong = (hasCommand && (hasControl || hasOption || hasShift)) || (hasControl && (hasOption || hasShift));
    if (contains(strongModifierKeys, keyCode) && !strong) return {false, text("letters_need_strong_modifiers")};
    return {true, ""};
}

std::string shortcutDisplayString(const GlobalShortcuts::Shortcut& shortcut) {
    const std::string glyphs = captionModifierGlyphs(shortcut);
    if (auto fixed = fixedCaptionKeyText(shortcut.carbonKeyCode)) return glyphs + *fixed;
    return glyphs + removeAll(shortcut.description(), glyphs);
}

} // namespace zentaris
