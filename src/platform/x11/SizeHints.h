#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::x11 {

// What a client allows for its size (WM_NORMAL_HINTS), in pixels of its own window.
struct SizeHints {
    std::optional<Size> minimum;
    std::optional<Size> maximum;
    std::optional<Size> base;
    std::optional<Size> increment;
};

// The parts a client declares in WM_NORMAL_HINTS (flags, position, size, minimum, maximum,
// increment, aspect ratios, base, gravity: 18 values, the last three missing from old clients).
SizeHints sizeHintsFromValues(const std::vector<std::uint32_t>& values);

// Hints a client cannot mean are treated as absent: a minimum, base or increment beyond the
// monitor, and any part below zero or beyond the X protocol's 16-bit sizes. `refused` names what
// was dropped, empty when nothing was.
struct CheckedSizeHints {
    SizeHints hints;
    std::string refused;
};
CheckedSizeHints checkSizeHints(const SizeHints& hints, Size monitor);

// The size the window manager will give a client that asks for `wanted`: within the minimum and
// maximum, and a whole number of increments above the base (terminals count character cells).
Size fitClientSize(const SizeHints& hints, Size wanted);

// Where a window of `size` goes when it cannot fill `slot` exactly: against the slot's edge that
// lies on (or nearer) the edge of the usable area (a right-half slot keeps its right edge on the
// area's right edge, a slot spanning a whole axis its left or top edge), centred when neither
// is nearer, and never beyond the usable area.
// Top-left-origin coordinates.
Rect alignInSlot(const Rect& slot, Size size, const Rect& usable);

} // namespace platform::x11
