#include "layout/PreviewService.h"

#include "LayoutScene.h"

#include <gtest/gtest.h>

namespace zentaris {
namespace {

using platform::Point;
using platform::Rect;

struct ZoneCase {
    Point pointer;
    Rect zone;
};

class DropZone : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(DropZone, mapsThePointerToItsZone) {
    EXPECT_EQ(dropZoneFor(GetParam().pointer, {0, 0, 1000, 800}), GetParam().zone);
}

// What the band table below does not show: precedence, full height, and the exact band edges.
INSTANTIATE_TEST_SUITE_P(
    OnAThousandByEightHundredArea, DropZone,
    ::testing::Values(
        ZoneCase{{100, 790}, {0, 400, 500, 400}},   // the corner wins over the top edge
        ZoneCase{{500, 200}, {250, 0, 500, 800}},   // centre column at any height
        ZoneCase{{150, 400}, {0, 0, 500, 800}},     // exactly on the left band edge: left half
        ZoneCase{{850, 400}, {500, 0, 500, 800}})); // exactly on the right band edge: right half

// Every band on an area away from the origin, a tenth of a point inside and outside each border.
// F = (100, 50, 1000, 800): corners 250 x 200, side bands 150, top and bottom bands 120, the
// centre box 440..560 x 340..460, L = 410 and R = 590, all relative to the origin.
struct BandCase {
    double px, py; // relative to the area's origin
    Rect zone;
    const char* where;
};

class DropZoneBands : public ::testing::TestWithParam<BandCase> {};

TEST_P(DropZoneBands, borderPointsFallOnTheRightSide) {
    const auto& c = GetParam();
    EXPECT_EQ(dropZoneFor({100 + c.px, 50 + c.py}, {100, 50, 1000, 800}), c.zone) << c.where;
}

const Rect topLeft{100, 450, 500, 400}, topRight{600, 450, 500, 400}, bottomLeft{100, 50, 500, 400},
    bottomRight{600, 50, 500, 400}, leftColumn{100, 50, 250, 800}, rightColumn{850, 50, 250, 800},
    topHalf{100, 450, 1000, 400}, bottomHalf{100, 50, 1000, 400}, whole{100, 50, 1000, 800},
    centreColumn{350, 50, 500, 800}, right70{400, 50, 700, 800}, rightHalf{600, 50, 500, 800},
    right30{800, 50, 300, 800}, left70{100, 50, 700, 800}, leftHalf{100, 50, 500, 800}, left30{100, 50, 300, 800};

INSTANTIATE_TEST_SUITE_P(
    JustInsideAndOutside, DropZoneBands,
    ::testing::Values(
        BandCase{249.9, 600.1, topLeft, "top-left corner"}, BandCase{250.1, 700, topHalf, "right of it"},
        BandCase{100, 599.9, leftColumn, "below it"},
        BandCase{750.1, 600.1, topRight, "top-right corner"}, BandCase{749.9, 700, topHalf, "left of it"},
        BandCase{900, 599.9, rightColumn, "below it"},
        BandCase{249.9, 199.9, bottomLeft, "bottom-left corner"}, BandCase{250.1, 100, bottomHalf, "right of it"},
        BandCase{100, 200.1, leftColumn, "above it"},
        BandCase{750.1, 199.9, bottomRight, "bottom-right corner"}, BandCase{749.9, 100, bottomHalf, "left of it"},
        BandCase{900, 200.1, rightColumn, "above it"},
        BandCase{149.9, 400, leftColumn, "left band"}, BandCase{150.1, 400, left30, "past it"},
        BandCase{850.1, 400, rightColumn, "right band"}, BandCase{849.9, 400, right30, "short of it"},
        BandCase{500, 680.1, topHalf, "top band"}, BandCase{500, 679.9, centreColumn, "below it"},
        BandCase{500, 119.9, bottomHalf, "bottom band"}, BandCase{500, 120.1, centreColumn, "above it"},
        BandCase{440.1, 400, whole, "centre box, left side"}, BandCase{439.9, 400, centreColumn, "outside"},
        BandCase{559.9, 400, whole, "centre box, right side"}, BandCase{560.1, 400, centreColumn, "outside"},
        BandCase{500, 340.1, whole, "centre box, bottom"}, BandCase{500, 339.9, centreColumn, "outside"},
        BandCase{500, 459.9, whole, "centre box, top"}, BandCase{500, 460.1, centreColumn, "outside"},
        BandCase{410.1, 600, centreColumn, "centre column, left end"}, BandCase{410, 600, left70, "at L"},
        BandCase{589.9, 600, centreColumn, "centre column, right end"}, BandCase{590, 600, right70, "at R"},
        BandCase{689.9, 250, right70, "right 70 end"}, BandCase{690, 250, rightHalf, "right half start"},
        BandCase{789.9, 250, rightHalf, "right half end"}, BandCase{790, 250, right30, "right 30 start"},
        BandCase{310.1, 250, left70, "left 70 end"}, BandCase{310, 250, leftHalf, "left half start"},
        BandCase{210.1, 250, leftHalf, "left half end"}, BandCase{210, 250, left30, "left 30 start"}));

} // namespace
} // namespace zentaris
