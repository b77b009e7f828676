#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// What the keys of the keyboard show in the current ASCII-capable layout.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;

    // The text (UTF-8) the key at a virtual key code types with no modifiers held; nothing when
    // there is no ASCII-capable layout or the key types nothing.
    virtual std::optional<std::string> displayText(std::uint16_t keyCode) const = 0;

    // The process-wide layout; one that knows no keys until a backend installs its own.
    static const KeyboardLayout& current() { return currentSlot() ? *currentSlot() : noLayout(); }
    static void install(const KeyboardLayout* layout) { currentSlot() = layout; }

private:
    static const KeyboardLayout*& currentSlot() {
        static const KeyboardLayout* slot = nullptr;
        return slot;
    }
    static const KeyboardLayout& noLayout();
};

inline const KeyboardLayout& KeyboardLayout::noLayout() {
    struct NoLayout : KeyboardLayout {
        std::optional<std::string> displayText(std::uint16_t) const override { return std::nullopt; }
    };
    static const NoLayout layout;
    return layout;
}

} // namespace platform
