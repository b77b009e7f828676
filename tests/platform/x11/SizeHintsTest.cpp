#include "platform/x11/SizeHints.h"

#include <gtest/gtest.h>

using platform::Rect;
using platform::Size;
using platform::x11::SizeHints;

TEST(SizeHints, FitsToMinimumMaximumAndWholeIncrements) {
    struct Case {
        const char* name;
        SizeHints hints;
        Size wanted;
        Size expected;
    };
    const Case cases[] = {
        {"no hints", {}, {953, 517}, {953, 517}},
        {"terminal cells above the base", {.base = Size{4, 4}, .increment = Size{6, 13}}, {953, 517}, {952, 511}},
        {"minimum stands in for a missing base", {.minimum = Size{10, 17}, .increment = Size{6, 13}}, {953, 517}, {952, 511}},
        {"too small for the minimum", {.minimum = Size{700, 500}}, {478, 268}, {700, 500}},
        {"never below the minimum after rounding", {.minimum = Size{100, 100}, .base = Size{0, 0}, .increment = Size{30, 30}},
         {100, 100}, {120, 120}},
        {"maximum", {.maximum = Size{300, 200}}, {953, 517}, {300, 200}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::x11::fitClientSize(c.hints, c.wanted), c.expected) << c.name;
    }
}

TEST(SizeHints, AlignsToTheSlotEdgeNearestTheUsableAreaAndStaysInside) {
    const Rect usable(0, 0, 1920, 1040);
    struct Case {
        const char* name;
        Rect slot;
        Size size;
        Rect expected;
    };
    const Case cases[] = {
        {"right half keeps its right and top edges", {961, 1, 958, 1038}, {950, 1030}, {969, 1, 950, 1030}},
        {"left half keeps its left edge", {1, 1, 958, 1038}, {950, 1030}, {1, 1, 950, 1030}},
        {"bottom-right quarter keeps both outer edges", {961, 521, 958, 518}, {950, 510}, {969, 529, 950, 510}},
        {"centre column is centred", {480, 0, 960, 1040}, {950, 1040}, {485, 0, 950, 1040}},
        {"too large for a bottom quarter: pushed back inside", {961, 521, 958, 518}, {1000, 700}, {919, 339, 1000, 700}},
        {"larger than the whole area: its top-left corner", {0, 0, 1920, 1040}, {2000, 1100}, {0, 0, 2000, 1100}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::x11::alignInSlot(c.slot, c.size, usable), c.expected) << c.name;
    }
}
