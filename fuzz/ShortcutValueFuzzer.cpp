// A stored shortcut value as text in the settings file: what decodes encodes to the same shortcut,
// and its caption and menu key can be drawn whatever numbers it holds.
#include "shortcuts/Shortcut.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto shortcut = GlobalShortcuts::Shortcut::fromJsonText(text);
    if (!shortcut) return 0;
    if (GlobalShortcuts::Shortcut::fromJsonText(shortcut->jsonText()) != shortcut) std::abort();
    (void)shortcut->description();
    (void)shortcut->keyEquivalent();
    (void)shortcut->modifiers();
    return 0;
}
