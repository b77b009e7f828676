#pragma once

#include "ScreenObserver.h"

#include <gtest/gtest.h>

#include <utility>

namespace zentaris::testing {

// A slot in root coordinates (top-left origin), before the window gap.
struct Slot {
    double x = 0, y = 0, width = 0, height = 0;
};

// The slot covering the given fractions of `area`; fractions measured from the top left.
inline Slot fractionOf(const PixelRect& area, double fx, double fy, double fw, double fh) {
    return {area.x + fx * area.width, area.y + fy * area.height, fw * area.width, fh * area.height};
}

// Whether a window with resize steps `increment` sits where the layout puts it for `slot` in the
// usable `area` with a gap of `gap` pixels. A window that cannot take the exact size is aligned to
// the slot edge that lies on the area's edge, so that edge must be exact (a pixel of rounding
// allowed); the far edge may fall short by less than one resize step.
::testing::AssertionResult fillsSlot(const PixelRect& actual, const Slot& slot, const PixelRect& area,
                                     std::pair<int, int> increment, double gap = 2);

} // namespace zentaris::testing
