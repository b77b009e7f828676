#pragma once

#include "layout/RelativeFrame.h"

#include <functional>
#include <optional>

namespace zentaris {

// How a window moved to another screen is placed again there, by the kind of place it had.
struct MovePlacement {
    enum class Kind {
        wholeArea,     // the whole usable area
        leftColumn,    // a full-height column of `fraction` of the width at the left edge
        threeColumn,   // three-column column `index`
        rightThirty,   // the second slot of the 70/30 split
        rightHalf,     // the second slot of the vertical split
        rightSeventy,  // the second slot of the 30/70 split
        topHalf,
        bottomHalf,
        quarter,       // quarter `index`: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right
        scaled,        // the same fractions of the destination's usable area
    };
    Kind kind = Kind::scaled;
    int index = 0;
    double fraction = 0;

    bool operator==(const MovePlacement&) const = default;
};

MovePlacement placementForMove(const RelativeFrame& frame, const ColumnFractions& columns);

// The same fractions of another usable area.
Rect scaledFrame(const RelativeFrame& frame, const Rect& usable);

// Where the screen swap puts a window in the other screen's usable area. `rememberedColumn` is
// asked only for full-height windows narrower than the screen.
Rect placementForSwap(const RelativeFrame& frame, const Rect& usable, const ColumnFractions& columns,
                      const std::function<std::optional<int>()>& rememberedColumn);

} // namespace zentaris
