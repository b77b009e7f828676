#pragma once

#include "platform/KeyCodeTranslator.h"

namespace platform::fake {

// Native key numbers that lie a fixed distance above the virtual key codes, so that a test which
// forgets to translate sees the wrong key.
class FakeKeyCodeTranslator : public KeyCodeTranslator {
public:
    static constexpr std::uint32_t offset = 300;

    static std::uint32_t nativeKeyFor(std::uint32_t virtualKey) { return virtualKey + offset; }

    std::optional<std::uint32_t> virtualKeyForNativeKey(std::uint32_t nativeKey) const override {
        if (nativeKey < offset) return std::nullopt;
        return nativeKey - offset;
    }
};

} // namespace platform::fake
