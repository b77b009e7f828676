#pragma once

#include "platform/KeyCodeTranslator.h"
#include "platform/x11/X11Keymap.h"

#include <limits>

namespace platform::x11 {

// X keycodes to key positions through the server's current keymap.
class X11KeyCodeTranslator : public KeyCodeTranslator {
public:
    explicit X11KeyCodeTranslator(const X11Keymap& keymap) : keymap_(keymap) {}

    std::optional<std::uint32_t> virtualKeyForNativeKey(std::uint32_t nativeKey) const override {
        if (nativeKey > std::numeric_limits<xcb_keycode_t>::max()) return std::nullopt;
        return keymap_.virtualKeyForKeycode(static_cast<xcb_keycode_t>(nativeKey));
    }

private:
    const X11Keymap& keymap_;
};

} // namespace platform::x11
