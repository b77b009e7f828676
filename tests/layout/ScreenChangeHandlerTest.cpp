#include "LayoutScene.h"

#include <limits>

namespace zentaris::testing {
namespace {

using platform::Screen;

class ScreenChange : public LayoutScene {
protected:
    void SetUp() override { desktop.addScreen({0, 0, 1440, 900}, Rect{0, 0, 1440, 875}); }
};

TEST_F(ScreenChange, pullsWindowsBackInsideTheUsableArea) {
    auto oversized = desktop.addWindow({0, 0, 2000, 1200});
    auto overhanging = desktop.addWindow({640, 100, 900, 500});
    auto inside = desktop.addWindow({100, 100, 800, 500});
    auto filling = desktop.addWindow({0, 0, 1440, 875}); // touches every edge, crosses none
    desktop.accessibility().clearCalls();

    service().screenChangeHandler().handleScreenChange();

    EXPECT_EQ(frameOf(oversized), (Rect{1, 1, 1438, 873}));
    EXPECT_EQ(frameOf(overhanging), (Rect{541, 101, 898, 498}));
    EXPECT_EQ(frameOf(inside), (Rect{100, 100, 800, 500}));
    EXPECT_TRUE(desktop.accessibility().writes(inside).empty());
    EXPECT_TRUE(desktop.accessibility().writes(filling).empty()) << "no gap for a window that fits";
    EXPECT_TRUE(desktop.mainQueue().sleeps().empty());
}

// A usable area inset on every side, (50, 40, 1300, 800), and no gap, so the clamped frames land
// exactly: each edge is pulled in on its own, and a frame larger than the area is cut to it.
TEST(ScreenChangeRefit, eachEdgeAndEachOversizeIsPulledInside) {
    const struct {
        const char* what;
        Rect from, to;
    } cases[] = {
        {"over the right edge", {1200, 100, 400, 300}, {950, 100, 400, 300}},
        {"over the left edge", {10, 100, 400, 300}, {50, 100, 400, 300}},
        {"over the top edge", {100, 700, 400, 300}, {100, 540, 400, 300}},
        {"over the bottom edge", {100, 10, 400, 300}, {100, 40, 400, 300}},
        {"over the top-right corner", {1200, 700, 400, 300}, {950, 540, 400, 300}},
        {"wider, over the right", {0, 100, 2000, 300}, {50, 100, 1300, 300}},
        {"wider, over the left only", {0, 100, 1340, 300}, {50, 100, 1300, 300}},
        {"taller, over the top", {100, 0, 400, 1000}, {100, 40, 400, 800}},
        {"taller, over the bottom only", {100, 0, 400, 830}, {100, 40, 400, 800}},
        {"inside", {50, 40, 1300, 800}, {50, 40, 1300, 800}},
    };
    for (const auto& c : cases) {
        platform::fake::FakeDesktop desktop;
        platform::NotificationCenter notifications;
        ShortcutSettings settings{desktop.defaults(), notifications};
        desktop.defaults().set("windowGap", 0.0);
        desktop.addScreen({0, 0, 1440, 900}, Rect{50, 40, 1300, 800});
        auto window = desktop.addWindow(c.from);
        WindowManagementService(desktop, settings).screenChangeHandler().handleScreenChange();
        EXPECT_EQ(desktop.frameOf(window), c.to) << c.what;
    }
}

TEST_F(ScreenChange, aWindowOffEveryScreenGoesToTheNearestOne) {
    desktop.addScreen({1440, 0, 1440, 900});
    auto lost = desktop.addWindow({3000, 100, 400, 300});
    service().screenChangeHandler().handleScreenChange();
    EXPECT_EQ(frameOf(lost), (Rect{2481, 101, 398, 298}));
}

TEST_F(ScreenChange, unreadableWindowsAreLeftAlone) {
    auto window = desktop.addWindow({-500, 100, 400, 300});
    desktop.accessibility().failReads(window, "AXPosition");
    service().screenChangeHandler().handleScreenChange();
    EXPECT_TRUE(desktop.accessibility().writes(window).empty());
}

// A usable area that lies outside its screen or leaves less than half of it comes from a value
// some program made up: the re-fit pulls windows into the whole screen instead of shrinking them.
TEST_F(ScreenChange, aUsableAreaNoPanelCouldLeaveShrinksNoWindow) {
    desktop.addScreen({1440, 0, 1440, 900}, Rect{1440, 0, 1, 1});
    auto inside = desktop.addWindow({1500, 100, 800, 500});
    auto overhanging = desktop.addWindow({2500, 100, 800, 500});
    desktop.accessibility().clearCalls();
    service().screenChangeHandler().handleScreenChange();
    EXPECT_TRUE(desktop.accessibility().writes(inside).empty());
    EXPECT_EQ(frameOf(overhanging), (Rect{2081, 101, 798, 498}));

    const Screen screen{{0, 0, 1440, 900}, {0, 0, 1440, 875}, std::nullopt, "s"};
    EXPECT_EQ(ScreenChangeHandler::refitArea(screen, {0, 0, 1440, 875}), (Rect{0, 0, 1440, 875}));
    EXPECT_EQ(ScreenChangeHandler::refitArea(screen, {0, 0, 720, 450}), (Rect{0, 0, 720, 450}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Rect& madeUp : {Rect{0, 0, 1, 1}, Rect{0, 0, 719, 900}, Rect{0, 0, 1440, 449}, Rect{-10, 0, 1440, 900},
                               Rect{0, 0, 1440, 901}, Rect{5000, 5000, 1440, 900}, Rect{nan, 0, 1440, 900}}) {
        EXPECT_EQ(ScreenChangeHandler::refitArea(screen, madeUp), screen.frame)
            << madeUp.minX() << " " << madeUp.minY() << " " << madeUp.width() << " " << madeUp.height();
    }
}

TEST(NearestScreen, prefersTheHoldingScreenThenTheNearestCentreThenTheEarlierOne) {
    const std::vector<Screen> screens{{{0, 0, 1000, 1000}, {0, 0, 1000, 1000}, std::nullopt, "a"},
                                      {{2000, 0, 1000, 1000}, {2000, 0, 1000, 1000}, std::nullopt, "b"}};
    EXPECT_EQ(ScreenChangeHandler::nearestScreen(screens, {2100, 100, 10, 10})->localizedName, "b");
    EXPECT_EQ(ScreenChangeHandler::nearestScreen(screens, {1400, 100, 10, 10})->localizedName, "a");
    EXPECT_EQ(ScreenChangeHandler::nearestScreen(screens, {1495, 495, 10, 10})->localizedName, "a"); // a tie
    EXPECT_EQ(ScreenChangeHandler::nearestScreen(screens, {1600, 100, 10, 10})->localizedName, "b");
    EXPECT_EQ(ScreenChangeHandler::nearestScreen({}, {0, 0, 10, 10}), std::nullopt);
}

} // namespace
} // namespace zentaris::testing
