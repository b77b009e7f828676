#include "shortcuts/Shortcut.h"

#include "platform/KeyboardLayout.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/SpecialKey.h"
#include "shortcuts/TextCase.h"

#include <nlohmann/json.hpp>

#include <limits>

namespace GlobalShortcuts {

Shortcut Shortcut::initCarbon(std::int64_t carbonKeyCode, std::int64_t carbonModifiers) {
    return Shortcut{carbonKeyCode, normalizedCarbonModifiers(carbonModifiers)};
}

Shortcut Shortcut::init(Key key, ModifierFlags modifiers) { return Shortcut{key.rawValue, modifiers.carbon()}; }

std::optional<Shortcut> Shortcut::initEvent(const KeyEvent& event) {
    if (event.type != KeyEvent::keyDownType && event.type != KeyEvent::keyUpType) return std::nullopt;
    const ModifierFlags flags{event.modifierFlags.rawValue & ~ModifierFlags::function};
    return Shortcut{event.keyCode, flags.carbon()};
}

std::optional<Shortcut> Shortcut::initName(const Name& name) { return getShortcut(name); }

std::string Shortcut::description() const {
    auto text = modifiers().glyphs();
    if (auto special = specialKeyForKeyCode(carbonKeyCode)) return text + presentableDescription(*special);
    return text + capitalized(keyToCharacter(carbonKeyCode).value_or("\uFFFD"));
}

std::optional<std::string> Shortcut::keyEquivalent() const {
    if (auto special = specialKeyForKeyCode(carbonKeyCode)) return GlobalShortcuts::keyEquivalent(*special);
    return keyToCharacter(carbonKeyCode);
}

std::optional<std::string> Shortcut::keyToCharacter(std::int64_t keyCode) {
    if (specialKeyForKeyCode(keyCode)) return std::nullopt;
    // Only a hand-edited stored shortcut holds a key code the layout cannot be asked about.
    if (keyCode < 0 || keyCode > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
    auto text = platform::KeyboardLayout::current().displayText(static_cast<std::uint16_t>(keyCode));
    if (!text || scalarCount(*text) != 1) return std::nullopt;
    return text;
}

std::string Shortcut::jsonText() const {
    nlohmann::ordered_json document;
    document["carbonKeyCode"] = carbonKeyCode;
    document["carbonModifiers"] = carbonModifiers;
    return document.dump();
}

std::optional<Shortcut> Shortcut::fromJsonText(std::string_view text) {
    const auto document = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (!document.is_object()) return std::nullopt;
    const auto keyCode = document.find("carbonKeyCode");
    const auto modifiers = document.find("carbonModifiers");
    if (keyCode == document.end() || modifiers == document.end()) return std::nullopt;
    // Integers that do not fit 64 signed bits are refused rather than wrapped.
    const auto fits = [](const nlohmann::json& value) {
        return value.is_number_integer() &&
               (!value.is_number_unsigned() ||
                value.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()));
    };
    if (!fits(*keyCode) || !fits(*modifiers)) return std::nullopt;
    return Shortcut{keyCode->get<std::int64_t>(), modifiers->get<std::int64_t>()};
}

} // namespace GlobalShortcuts
