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
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::x11::usableArea(c.monitor, c.struts, root), c.expected) << c.name;
    }
}

TEST(UsableArea, PublishedWorkareasAreMatchedToMonitorsByOverlap) {
    const Rect left(0, 0, 960, 1080), right(960, 0, 960, 1080);
    const std::vector<Rect> areas{Rect(960, 0, 960, 1040), Rect(0, 27, 960, 1053)};
    EXPECT_EQ(platform::x11::workareaOfMonitor(left, areas), Rect(0, 27, 960, 1053));
    EXPECT_EQ(platform::x11::workareaOfMonitor(right, areas), Rect(960, 0, 960, 1040));
    EXPECT_EQ(platform::x11::workareaOfMonitor(right, {}), right);
}
