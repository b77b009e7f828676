#pragma once

#include "layout/SlotGeometry.h"
#include "platform/UserDefaults.h"

#include <optional>

namespace zentaris {

// A window's place as fractions of a usable area, its width and height counted with the gap so a
// window filling a gap-inset slot measures as the slot's share.
struct RelativeFrame {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// How close a fraction must be to count as a known share.
constexpr double relativeTolerance = 0.02;

// The gap used when measuring: the stored number as it is, even when not positive.
double measuringGap(const platform::UserDefaults& defaults);

// The window (accessibility frame) measured against a usable area (screen coordinates); none when
// the area has no width or height.
std::optional<RelativeFrame> relativeFrame(const Rect& axFrame, double primaryHeight, const Rect& usable, double gap);

// 0.3, 0.5 or 0.7 when the relative width lies within the tolerance of one (the narrower on a tie).
std::optional<double> widthClass(double relativeWidth);

// The three-column column (0, 1, 2) a full-height window occupies by its width and left edge.
std::optional<int> recognisedColumn(const RelativeFrame& frame, const ColumnFractions& columns);

} // namespace zentaris
