#include "shortcuts/RecorderRules.h"

#include "shortcuts/Registry.h"
#include "shortcuts/SpecialKey.h"

namespace GlobalShortcuts {

namespace {

// Every flag but Caps Lock and the numeric pad (and the device bits below them).
constexpr std::uint64_t anyModifierMask = 0xFFDE0000;
// The same without Shift and Function.
constexpr std::uint64_t strongModifierMask = 0xFF5C0000;

constexpr std::int64_t escapeKeyCode = 53;

bool isOneOf(std::int64_t keyCode, std::initializer_list<SpecialKey> keys) {
    const auto special = specialKeyForKeyCode(keyCode);
    if (!special) return false;
    for (auto key : keys) {
        if (*special == key) return true;
    }
    return false;
}

} // namespace

bool isWithoutModifiers(ModifierFlags flags) { return (flags.rawValue & anyModifierMask) == 0; }

bool isWithoutStrongModifiers(ModifierFlags flags) { return (flags.rawValue & strongModifierMask) == 0; }

bool isFunctionKey(std::int64_t keyCode) {
    const auto special = specialKeyForKeyCode(keyCode);
    return special && *special >= SpecialKey::f1 && *special <= SpecialKey::f20;
}

RecorderKeyDecision decideRecordingKey(const KeyEvent& event, Registry& registry, const MenuItemLookup& menuItemTitle) {
    const auto flags = event.modifierFlags;
    if (isWithoutModifiers(flags)) {
        if (isOneOf(event.keyCode, {SpecialKey::tab})) return {RecorderKeyOutcome::endRecordingAndPass, {}, {}};
        if (event.keyCode == escapeKeyCode) return {RecorderKeyOutcome::endRecording, {}, {}};
        if (isOneOf(event.keyCode, {SpecialKey::delete_, SpecialKey::deleteForward})) {
            return {RecorderKeyOutcome::clear, {}, {}};
        }
    }
    if (isWithoutStrongModifiers(flags) && !isFunctionKey(event.keyCode)) return {RecorderKeyOutcome::refuse, {}, {}};

    const auto shortcut = Shortcut::initEvent(event);
    if (!shortcut) return {RecorderKeyOutcome::refuse, {}, {}};

    if (menuItemTitle) {
        if (auto title = menuItemTitle(*shortcut)) return {RecorderKeyOutcome::usedByMenuItem, shortcut, *title};
    }
    // F12 alone is a common debugging key; the system list is not consulted for it.
    const bool isBareF12 = shortcut->carbonKeyCode == Key::f12.rawValue && shortcut->carbonModifiers == 0;
    if (!isBareF12 && registry.engine().isSystemShortcut(*shortcut)) {
        return {RecorderKeyOutcome::usedBySystem, shortcut, {}};
    }
    return {RecorderKeyOutcome::store, shortcut, {}};
}

} // namespace GlobalShortcuts
