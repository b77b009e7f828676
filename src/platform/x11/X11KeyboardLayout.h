#pragma once

#include "platform/KeyboardLayout.h"
#include "platform/x11/X11Keymap.h"

namespace platform::x11 {

// The key captions of the X server's keyboard mapping.
class X11KeyboardLayout : public KeyboardLayout {
public:
    explicit X11KeyboardLayout(const X11Keymap& keymap) : keymap_(keymap) {}
    std::optional<std::string> displayText(std::uint16_t keyCode) const override { return keymap_.displayText(keyCode); }

private:
    const X11Keymap& keymap_;
};

} // namespace platform::x11
