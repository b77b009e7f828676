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
        {"base stands in for a missing minimum", {.base = Size{300, 200}}, {120, 90}, {300, 200}},
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
        // Slots that touch no edge of the area: the nearer edge, or centred when neither is nearer.
        {"second of four columns keeps its left edge", {481, 1, 478, 1038}, {470, 1030}, {481, 1, 470, 1030}},
        {"third of four columns keeps its right edge", {961, 1, 478, 1038}, {470, 1030}, {969, 1, 470, 1030}},
        {"a slot in the middle is centred both ways", {480, 260, 960, 520}, {950, 510}, {485, 265, 950, 510}},
        {"upper of two inner rows keeps its top edge", {200, 300, 800, 200}, {790, 190}, {200, 300, 790, 190}},
        {"lower of two inner rows keeps its bottom edge", {200, 600, 800, 200}, {790, 190}, {200, 610, 790, 190}},
        {"too large for a bottom quarter: pushed back inside", {961, 521, 958, 518}, {1000, 700}, {919, 339, 1000, 700}},
        {"larger than the whole area: its top-left corner", {0, 0, 1920, 1040}, {2000, 1100}, {0, 0, 2000, 1100}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::x11::alignInSlot(c.slot, c.size, usable), c.expected) << c.name;
    }
}

TEST(SizeHints, ReadsTheDeclaredPartsOfTheProperty) {
    // flags: minimum, increment and base; the maximum's values are there but not flagged.
    std::vector<std::uint32_t> values(18, 0);
    values[0] = (1u << 4) | (1u << 6) | (1u << 8);
    values[5] = 10, values[6] = 17, values[7] = 500, values[8] = 400, values[9] = 6, values[10] = 13;
    values[15] = 4, values[16] = 5;
    const auto hints = platform::x11::sizeHintsFromValues(values);
    EXPECT_EQ(hints.minimum, (Size{10, 17}));
    EXPECT_EQ(hints.increment, (Size{6, 13}));
    EXPECT_EQ(hints.base, (Size{4, 5}));
    EXPECT_FALSE(hints.maximum);
    // An old client's 15 values hold no base; a negative number stays negative.
    values.resize(15);
    values[5] = static_cast<std::uint32_t>(-3);
    const auto old = platform::x11::sizeHintsFromValues(values);
    EXPECT_FALSE(old.base);
    EXPECT_EQ(old.minimum, (Size{-3, 17}));
}

TEST(SizeHints, PartsAClientMadeUpCountAsAbsent) {
    const Size monitor{1920, 1080};
    struct Case {
        const char* name;
        SizeHints hints;
        SizeHints kept;
    };
    const Case cases[] = {
        {"a terminal's hints", {.minimum = Size{10, 17}, .base = Size{4, 4}, .increment = Size{6, 13}},
         {.minimum = Size{10, 17}, .base = Size{4, 4}, .increment = Size{6, 13}}},
        {"minimum as large as the monitor", {.minimum = Size{1920, 1080}}, {.minimum = Size{1920, 1080}}},
        {"minimum beyond the monitor", {.minimum = Size{100000, 100000}}, {}},
        {"minimum one pixel too tall", {.minimum = Size{800, 1081}}, {}},
        {"increment beyond the monitor", {.minimum = Size{10, 17}, .increment = Size{100000, 100000}}, {.minimum = Size{10, 17}}},
        {"negative base", {.base = Size{-5, 4}}, {}},
        {"maximum larger than the monitor limits nothing", {.maximum = Size{32767, 32767}}, {.maximum = Size{32767, 32767}}},
        {"maximum beyond 16 bits", {.maximum = Size{100000, 300}}, {}},
    };
    for (const auto& c : cases) {
        const auto checked = platform::x11::checkSizeHints(c.hints, monitor);
        EXPECT_EQ(checked.hints.minimum, c.kept.minimum) << c.name;
        EXPECT_EQ(checked.hints.maximum, c.kept.maximum) << c.name;
        EXPECT_EQ(checked.hints.base, c.kept.base) << c.name;
        EXPECT_EQ(checked.hints.increment, c.kept.increment) << c.name;
        const bool dropped = c.hints.minimum != c.kept.minimum || c.hints.maximum != c.kept.maximum ||
                             c.hints.base != c.kept.base || c.hints.increment != c.kept.increment;
        EXPECT_EQ(checked.refused.empty(), !dropped) << c.name << ": " << checked.refused;
    }
}
