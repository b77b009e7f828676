#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// Turns the backend's own key number of a key event (the X keycode on X11) into the virtual key
// code of the key's position, which is what shortcuts store.
class KeyCodeTranslator {
public:
    virtual ~KeyCodeTranslator() = default;

    virtual std::optional<std::uint32_t> virtualKeyForNativeKey(std::uint32_t nativeKey) const = 0;

    // The process-wide translator; one that knows no keys until a backend installs its own.
    static const KeyCodeTranslator& current() { return currentSlot() ? *currentSlot() : noTranslator(); }
    static void install(const KeyCodeTranslator* translator) { currentSlot() = translator; }

private:
    static const KeyCodeTranslator*& currentSlot() {
        static const KeyCodeTranslator* slot = nullptr;
        return slot;
    }
    static const KeyCodeTranslator& noTranslator() {
        struct NoTranslator : KeyCodeTranslator {
            std::optional<std::uint32_t> virtualKeyForNativeKey(std::uint32_t) const override { return std::nullopt; }
        };
        static const NoTranslator translator;
        return translator;
    }
};

} // namespace platform
