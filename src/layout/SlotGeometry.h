#pragma once

#include "layout/LayoutType.h"
#include "platform/Geometry.h"
#include "preferences/SettingsTypes.h"

#include <optional>
#include <vector>

namespace zentaris {

using platform::Point;
using platform::Rect;

// The named slots of a usable area F, in screen coordinates (bottom-left origin).
namespace namedSlots {
Rect leftHalf(const Rect& f);
Rect rightHalf(const Rect& f);
Rect topHalf(const Rect& f);
Rect bottomHalf(const Rect& f);
Rect topLeftQuarter(const Rect& f);
Rect topRightQuarter(const Rect& f);
Rect bottomLeftQuarter(const Rect& f);
Rect bottomRightQuarter(const Rect& f);
// 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right; none for any other index.
std::optional<Rect> quarter(const Rect& f, int index);
// A full-height column starting `left` of the width from the left edge, `width` of the width wide.
Rect column(const Rect& f, double left, double width);
} // namespace namedSlots

// The three-column layout as fractions of the width: the outer columns' width, the middle
// column's width and the right column's left edge.
struct ColumnFractions {
    double outer;
    double middle;
    double rightEdge;
};

ColumnFractions columnFractions(ThreeColumnStyle style);

// The ordered slots of a multi-window layout in F.
std::vector<Rect> framesForLayoutInRect(LayoutType layout, const Rect& f, ThreeColumnStyle style);

} // namespace zentaris
