#pragma once

#include <cstdint>

namespace zentaris {

// What one feedback panel shows: which card, and the inputs of that card.
struct FeedbackCard {
    enum class Kind : std::uint8_t { cancellation, dragModeToggle, tooManyWindows };

    Kind kind = Kind::cancellation;
    bool isEnabled = false;    // dragModeToggle: the state drag-to-snap was switched to
    std::int64_t required = 0; // tooManyWindows: the layout's slot count
    std::int64_t actual = 0;   // tooManyWindows: the windows found on the screen

    static FeedbackCard cancellation() { return {}; }
    static FeedbackCard dragModeToggle(bool isEnabled) { return {Kind::dragModeToggle, isEnabled, 0, 0}; }
    static FeedbackCard tooManyWindows(std::int64_t required, std::int64_t actual) {
        return {Kind::tooManyWindows, false, required, actual};
    }

    bool operator==(const FeedbackCard&) const = default;
};

using FeedbackPanelId = std::uint64_t;

} // namespace zentaris
