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

INSTANTIATE_TEST_SUITE_P(
    OnAThousandByEightHundredArea, DropZone,
    ::testing::Values(
        ZoneCase{{100, 700}, {0, 400, 500, 400}},   // top-left corner
        ZoneCase{{100, 790}, {0, 400, 500, 400}},   // the corner wins over the top edge
        ZoneCase{{900, 700}, {500, 400, 500, 400}}, // top-right corner
        ZoneCase{{100, 100}, {0, 0, 500, 400}},     // bottom-left corner
        ZoneCase{{900, 100}, {500, 0, 500, 400}},   // bottom-right corner
        ZoneCase{{100, 400}, {0, 0, 250, 800}},     // left column
        ZoneCase{{900, 400}, {750, 0, 250, 800}},   // right column
        ZoneCase{{500, 780}, {0, 400, 1000, 400}},  // top half
        ZoneCase{{500, 20}, {0, 0, 1000, 400}},     // bottom half
        ZoneCase{{550, 440}, {0, 0, 1000, 800}},    // centre box
        ZoneCase{{560, 400}, {250, 0, 500, 800}},   // just outside the 120-point box: centre column
        ZoneCase{{500, 200}, {250, 0, 500, 800}},   // centre column at any height
        ZoneCase{{620, 400}, {300, 0, 700, 800}},   // right 70
        ZoneCase{{590, 400}, {300, 0, 700, 800}},   // right 70 starts exactly at maxX - 0.41W
        ZoneCase{{700, 400}, {500, 0, 500, 800}},   // right half
        ZoneCase{{690, 400}, {500, 0, 500, 800}},   // right half starts exactly there
        ZoneCase{{800, 400}, {700, 0, 300, 800}},   // right 30
        ZoneCase{{390, 400}, {0, 0, 700, 800}},     // left 70
        ZoneCase{{410, 400}, {0, 0, 700, 800}},     // left 70 ends exactly at x + 0.41W
        ZoneCase{{300, 400}, {0, 0, 500, 800}},     // left half
        ZoneCase{{310, 400}, {0, 0, 500, 800}},     // left half ends exactly at L - 0.1W
        ZoneCase{{200, 400}, {0, 0, 300, 800}},     // left 30
        ZoneCase{{150, 400}, {0, 0, 500, 800}},     // exactly on the left band edge: left half
        ZoneCase{{850, 400}, {500, 0, 500, 800}})); // exactly on the right band edge: right half

TEST(DropZoneOffsetArea, followsTheAreaOrigin) {
    const Rect area{1440, 100, 1000, 800};
    EXPECT_EQ(dropZoneFor({1440 + 100, 100 + 700}, area), (Rect{1440, 500, 500, 400}));
    EXPECT_EQ(dropZoneFor({1440 + 800, 100 + 400}, area), (Rect{2140, 100, 300, 800}));
}

} // namespace
} // namespace zentaris
