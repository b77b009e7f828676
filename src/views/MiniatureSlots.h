#pragma once

#include "layout/LayoutType.h"

#include <vector>

namespace zentaris {

// One window place of a layout miniature, in points from the miniature's top-left corner, with
// the delay after which it follows a change of the row's hover state.
struct MiniatureSlot {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    double delay = 0;

    bool operator==(const MiniatureSlot&) const = default;
};

// The slots of `layout` in a miniature of the given size: a 4-point margin and 4 points between
// neighbours; sizes not fixed by the layout are equal shares of what remains.
std::vector<MiniatureSlot> miniatureSlots(LayoutType layout, double previewWidth, double previewHeight);

} // namespace zentaris
