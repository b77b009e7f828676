#include "platform/x11/UsableArea.h"

#include <gtest/gtest.h>

using platform::Rect;
using platform::Size;
using platform::x11::Strut;

TEST(UsableArea, StrutsReduceOnlyTheMonitorsTheirBandsTouch) {
    const Size root{1920, 1080};
    const Rect left(0, 0, 960, 1080), right(960, 0, 960, 1080);
    // A bottom panel of 40 pixels under the right monitor only.
    const auto rightPanel = Strut::fromValues({0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 960, 1919}, root);
    // A top bar of 30 pixels across the whole root (_NET_WM_STRUT, no ranges).
    const auto topBar = Strut::fromValues({0, 0, 30, 0}, root);
    // A left panel of 50 pixels.
    const auto leftPanel = Strut::fromValues({50, 0, 0, 0, 0, 1079, 0, 0, 0, 0, 0, 0}, root);
    // A dock of 60 pixels along the right edge, and one of 70 there that spans the whole edge (_NET_WM_STRUT).
    const auto rightDock = Strut::fromValues({0, 60, 0, 0, 0, 0, 0, 1079, 0, 0, 0, 0}, root);
    const auto rightBar = Strut::fromValues({0, 70, 0, 0}, root);
    struct Case {
        const char* name;
        Rect monitor;
        std::vector<Strut> struts;
        Rect expected;
    };
    const Case cases[] = {
        {"no struts", left, {}, left},
        {"panel under the other monitor", left, {rightPanel}, left},
        {"panel under this monitor", right, {rightPanel}, Rect(960, 0, 960, 1040)},
        {"full-width bar on both", left, {topBar}, Rect(0, 30, 960, 1050)},
        {"bar and panel", right, {topBar, rightPanel}, Rect(960, 30, 960, 1010)},
        {"left panel does not reach the right monitor", right, {leftPanel}, right},
        {"left panel", left, {leftPanel}, Rect(50, 0, 910, 1080)},
        {"right dock", right, {rightDock}, Rect(960, 0, 900, 1080)},
        {"right dock does not reach the left monitor", left, {rightDock}, left},
        {"right bar over the whole edge", right, {rightBar}, Rect(960, 0, 890, 1080)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::x11::usableArea(c.monitor, c.struts, root), c.expected) << c.name;
    }
}

TEST(UsableArea, MadeUpStrutsAreRefusedAndNeverShrinkAMonitorPastAQuarterASide) {
    const Size root{1920, 1080};
    const Rect left(0, 0, 960, 1080), right(960, 0, 960, 1080);
    const std::vector<Rect> both{left, right};
    struct Case {
        const char* name;
        std::vector<std::uint32_t> values;
        bool fits;
        Rect leftUsable, rightUsable;
    };
    const Case cases[] = {
        {"bottom of 2^32 - 1", {0, 0, 0, 0xFFFFFFFF, 0, 0, 0, 0, 0, 0, 0, 1919}, false, left, right},
        {"left of 5000", {5000, 0, 0, 0, 0, 1079, 0, 0, 0, 0, 0, 0}, false, left, right},
        {"top reaching past a quarter of the monitor", {0, 0, 271, 0}, false, left, right},
        {"top of exactly a quarter", {0, 0, 270, 0}, true, Rect(0, 270, 960, 810), Rect(960, 270, 960, 810)},
        {"right edge deep inside the left monitor", {0, 1300, 0, 0, 0, 0, 0, 1079, 0, 0, 0, 0}, false, left, right},
        // A panel at the left edge of the right monitor: the band covers the left monitor wholly,
        // which belongs to the monitor beyond and keeps all of its area.
        {"panel on the inner edge", {1008, 0, 0, 0, 0, 1079, 0, 0, 0, 0, 0, 0}, true, left, Rect(1008, 0, 912, 1080)},
    };
    for (const auto& c : cases) {
        const auto strut = Strut::fromValues(c.values, root);
        EXPECT_EQ(platform::x11::strutFitsMonitors(strut, both, root), c.fits) << c.name;
        EXPECT_EQ(platform::x11::usableArea(left, {strut}, root), c.leftUsable) << c.name;
        EXPECT_EQ(platform::x11::usableArea(right, {strut}, root), c.rightUsable) << c.name;
    }
}

TEST(UsableArea, PublishedWorkareasAreMatchedToMonitorsByOverlapWhenPlausible) {
    const Size root{1920, 1080};
    const Rect left(0, 0, 960, 1080), right(960, 0, 960, 1080);
    const std::vector<Rect> areas{Rect(960, 0, 960, 1040), Rect(0, 27, 960, 1053)};
    EXPECT_EQ(platform::x11::workareaOfMonitor(left, areas), Rect(0, 27, 960, 1053));
    EXPECT_EQ(platform::x11::workareaOfMonitor(right, areas), Rect(960, 0, 960, 1040));
    EXPECT_EQ(platform::x11::workareaOfMonitor(right, {}), std::nullopt);
    // One area over the whole root (_NET_WORKAREA) is clipped to each monitor.
    EXPECT_EQ(platform::x11::workareaOfMonitor(right, {Rect(0, 30, 1920, 1050)}), Rect(960, 30, 960, 1050));

    // Made up: a pixel, an area beyond the root, one that leaves a monitor a sliver.
    EXPECT_EQ(platform::x11::workareaOfMonitor(left, platform::x11::workareasFromValues({0, 0, 1, 1}, root)), std::nullopt);
    EXPECT_TRUE(platform::x11::workareasFromValues({0, 0, 5000, 1080, 0, 0, 1920, 1080, 4294967295u, 0, 10, 10}, root) ==
                std::vector<Rect>{Rect(0, 0, 1920, 1080)});
    EXPECT_EQ(platform::x11::workareaOfMonitor(left, {Rect(0, 0, 960, 800)}), std::nullopt);
    EXPECT_EQ(platform::x11::workareaOfMonitor(left, {Rect(0, 0, 960, 810)}), Rect(0, 0, 960, 810));
}

TEST(UsableArea, TheDesktopsWorkareaIsItsOwnRectangleWhenTheValuesHoldOnePerDesktop) {
    const Size root{1920, 1080};
    using platform::x11::workareaOfDesktop;
    const std::vector<std::uint32_t> four{0, 0, 1920, 1060, 0, 0, 1920, 1080, 0, 24, 1920, 1056, 0, 0, 1920, 1080};
    EXPECT_EQ(workareaOfDesktop(four, 0, 4, root), Rect(0, 0, 1920, 1060));
    EXPECT_EQ(workareaOfDesktop(four, 2, 4, root), Rect(0, 24, 1920, 1056));
    EXPECT_EQ(workareaOfDesktop(four, 2, std::nullopt, root), Rect(0, 24, 1920, 1056)) << "desktop count unknown";

    struct Case {
        const char* name;
        std::vector<std::uint32_t> values;
        std::uint32_t desktop;
        std::optional<std::uint32_t> desktops;
    };
    const Case absent[] = {
        {"no values", {}, 0, std::nullopt},
        {"a desktop beyond the list", four, 4, std::nullopt},
        {"desktop 2^32 - 1", four, 0xFFFFFFFF, std::nullopt},
        {"fewer rectangles than desktops", four, 0, 5},
        {"more rectangles than desktops", four, 0, 3},
        {"values that are no whole rectangles", {0, 0, 1920, 1060, 0}, 0, std::nullopt},
        {"a negative origin", {0xFFFFFFF6, 0, 1920, 1060}, 0, 1},
        {"a width of 2^32 - 1", {0, 0, 0xFFFFFFFF, 1060}, 0, 1},
        {"reaching past the root", {100, 0, 1920, 1060}, 0, 1},
        {"no height", {0, 0, 1920, 0}, 0, 1},
    };
    for (const auto& c : absent) EXPECT_EQ(workareaOfDesktop(c.values, c.desktop, c.desktops, root), std::nullopt) << c.name;
}

TEST(UsableArea, AWorkareaNarrowsTheStrutsOnlyOnTheOneMonitorItPlausiblyBelongsTo) {
    using platform::x11::narrowedByWorkarea;
    const Rect whole(0, 0, 1920, 1080);
    // A toolbar of 20 pixels at the bottom that reserves no strut, and a top panel's strut of 24.
    const Rect struts(0, 24, 1920, 1056);
    EXPECT_EQ(narrowedByWorkarea(whole, whole, Rect(0, 0, 1920, 1060)), Rect(0, 0, 1920, 1060));
    EXPECT_EQ(narrowedByWorkarea(struts, whole, Rect(0, 0, 1920, 1060)), Rect(0, 24, 1920, 1036)) << "both kept out";
    EXPECT_EQ(narrowedByWorkarea(struts, whole, Rect(0, 0, 1920, 1080)), struts) << "a work area behind a new strut";
    EXPECT_EQ(narrowedByWorkarea(struts, whole, std::nullopt), struts);
    EXPECT_EQ(narrowedByWorkarea(whole, whole, Rect(0, 0, 1920, 800)), whole) << "more than a quarter off";
    EXPECT_EQ(narrowedByWorkarea(whole, whole, Rect(0, 0, 1, 1)), whole) << "a pixel";

    // One rectangle for several monitors: the struts decide on each, whatever it leaves out.
    const Rect left(0, 0, 960, 1080), right(960, 0, 960, 1080);
    const Rect rightDocked(960, 0, 960, 1040);
    const Rect spanning(0, 0, 1920, 1040);
    EXPECT_EQ(narrowedByWorkarea(left, left, spanning), left) << "a dock on the other monitor";
    EXPECT_EQ(narrowedByWorkarea(rightDocked, right, spanning), rightDocked);
    const Rect third(1920, 0, 1280, 1024);
    EXPECT_EQ(narrowedByWorkarea(third, third, Rect(0, 0, 3200, 1040)), third) << "three monitors";
    // A work area that lies on one monitor of several belongs to that one alone.
    EXPECT_EQ(narrowedByWorkarea(left, left, Rect(0, 0, 960, 1060)), Rect(0, 0, 960, 1060));
    EXPECT_EQ(narrowedByWorkarea(right, right, Rect(0, 0, 960, 1060)), right);
}
