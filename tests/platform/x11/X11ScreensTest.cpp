#include "X11BackendFixture.h"

#include "platform/x11/X11Monitors.h"

#include <algorithm>

using platform::Point;
using platform::Rect;
using zentaris::testing::X11Session;

namespace {

// Splits the 1920x1080 display into two monitors side by side; the name with a star is the primary.
void splitIntoTwoMonitors(X11Session& session, const std::string& leftName = "*left", const std::string& rightName = "right") {
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", leftName, "960/254x1080/286+0+0", "screen"}), 0);
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", rightName, "960/254x1080/286+960+0", "none"}), 0);
}

} // namespace

TEST(X11Screens, OneMonitorLessTheStrutOfADock) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    auto& screens = session.desktop().screens();
    auto all = screens.screens();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].frame, Rect(0, 0, 1920, 1080));
    EXPECT_EQ(all[0].visibleFrame, Rect(0, 0, 1920, 1080));

    session.launchClient({"--strut-bottom", "40"});
    ASSERT_TRUE(session.waitUntil([&] { return screens.screens()[0].visibleFrame != all[0].visibleFrame; }, 5));
    // Screen coordinates grow upwards: a bottom panel raises the usable area's bottom edge.
    EXPECT_EQ(screens.screens()[0].visibleFrame, Rect(0, 40, 1920, 1040));
    EXPECT_EQ(screens.mainScreen()->frame, Rect(0, 0, 1920, 1080));

    ASSERT_EQ(session.display().run({"xdotool", "mousemove", "100", "200"}), 0);
    EXPECT_EQ(screens.mouseLocation(), (Point{100, 880}));
}

// Monitors set up by hand reach clients only as a new configuration of the root window, not as a
// RandR event: the next listing must show them without any other change on the desktop (no window
// manager here, which would rewrite the work area and so hide a missed change).
TEST(X11Screens, MonitorsSetUpWhileRunningAreListedNext) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "xrandr");
    X11Session session({.windowManager = {}});
    auto& screens = session.desktop().screens();
    ASSERT_EQ(screens.screens().size(), 1u);
    splitIntoTwoMonitors(session);
    EXPECT_TRUE(session.waitUntil([&] { return screens.screens().size() == 2; }, 5));
    ASSERT_EQ(session.display().run({"xrandr", "--delmonitor", "right"}), 0);
    EXPECT_TRUE(session.waitUntil([&] { return screens.screens().size() == 1; }, 5));
    EXPECT_EQ(screens.screens()[0].frame, Rect(0, 0, 960, 1080));
}

TEST(X11Screens, TwoMonitorsWithTheirOwnUsableAreasAndAMoveAcross) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox", "xrandr");
    X11Session session;
    auto& screens = session.desktop().screens();
    int notifications = 0;
    auto token = screens.observeScreenParameters([&] { ++notifications; });
    splitIntoTwoMonitors(session);
    // A panel under the right monitor only.
    session.launchClient({"--strut-bottom", "40", "--strut-x", "960", "1919"});
    ASSERT_TRUE(session.waitUntil([&] {
        auto all = screens.screens();
        return all.size() == 2 && all[1].visibleFrame.height() == 1040;
    }, 5));
    auto all = screens.screens();
    EXPECT_EQ(all[0].localizedName, "left");
    EXPECT_EQ(all[0].frame, Rect(0, 0, 960, 1080));
    EXPECT_EQ(all[0].visibleFrame, Rect(0, 0, 960, 1080));
    EXPECT_EQ(all[1].frame, Rect(960, 0, 960, 1080));
    EXPECT_EQ(all[1].visibleFrame, Rect(960, 40, 960, 1040));
    EXPECT_FALSE(screens.displayIsBuiltin(*all[0].displayNumber));

    // The changes came as a burst: one notification once it is over.
    session.waitUntil([] { return false; }, 0.2);
    session.queue().advance(1);
    EXPECT_EQ(notifications, 1);
    session.queue().advance(1);
    EXPECT_EQ(notifications, 1);

    // A window moves from the left screen to the right one.
    const pid_t pid = session.launchClient({});
    auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    session.setFrame(*window, Rect(1, 1, 958, 1078));
    EXPECT_EQ(session.waitForFrame(*window, Rect(1, 1, 958, 1078)), Rect(1, 1, 958, 1078));
    session.setFrame(*window, Rect(961, 1, 958, 1038));
    EXPECT_EQ(session.waitForFrame(*window, Rect(961, 1, 958, 1038)), Rect(961, 1, 958, 1038));
    EXPECT_EQ(screens.mainScreen()->frame, all[1].frame);
}

// openbox publishes one work area for all monitors: the root less every strut, whichever monitor
// it is on. It says nothing about any one monitor, so a dock narrows only its own.
TEST(X11Screens, WithOneWorkAreaForTwoMonitorsADockNarrowsOnlyItsOwnMonitor) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox", "xrandr");
    X11Session session;
    // The primary monitor on the right, a dock under the left one.
    splitIntoTwoMonitors(session, "left", "*right");
    auto& screens = session.desktop().screens();
    session.launchClient({"--strut-bottom", "40", "--strut-x", "0", "959"});
    ASSERT_TRUE(session.waitUntil([&] {
        const auto all = screens.screens();
        return all.size() == 2 && all[1].visibleFrame.height() == 1040;
    }, 5));
    const auto all = screens.screens();
    EXPECT_EQ(all[0].frame, Rect(0, 0, 960, 1080));
    EXPECT_EQ(all[0].visibleFrame, Rect(0, 0, 960, 1080));
    EXPECT_EQ(all[1].frame, Rect(-960, 0, 960, 1080));
    EXPECT_EQ(all[1].visibleFrame, Rect(-960, 40, 960, 1040));
}

TEST(X11Screens, PrimaryMonitorComesFirstAndDefinesTheOrigin) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox", "xrandr");
    X11Session session;
    // The primary monitor is the right one, and a laptop panel by its name.
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "left", "960/254x1080/286+0+0", "screen"}), 0);
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "*eDP-1", "960/254x1080/286+960+0", "none"}), 0);
    auto& screens = session.desktop().screens();
    auto all = screens.screens();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].localizedName, "eDP-1");
    EXPECT_EQ(all[0].frame, Rect(0, 0, 960, 1080));
    EXPECT_EQ(all[1].frame, Rect(-960, 0, 960, 1080));
    EXPECT_TRUE(screens.displayIsBuiltin(*all[0].displayNumber));
    EXPECT_FALSE(screens.displayIsBuiltin(*all[1].displayNumber));

    // Accessibility coordinates start at the primary monitor's top left too.
    const pid_t pid = session.launchClient({});
    auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    session.setFrame(*window, Rect(-900, 100, 400, 300));
    EXPECT_EQ(session.waitForFrame(*window, Rect(-900, 100, 400, 300)), Rect(-900, 100, 400, 300));
}

TEST(X11Screens, TheFlaggedPrimaryGoesFirstWhereverItIsListedAndTheOthersKeepTheirOrder) {
    using platform::x11::Monitor;
    auto named = [](std::vector<Monitor> monitors, std::optional<std::size_t> flagged) {
        platform::x11::putPrimaryFirst(monitors, flagged);
        std::string names;
        for (const auto& m : monitors) names += m.name;
        return names;
    };
    const Monitor a{Rect(0, 0, 640, 1080), {}, "A"}, b{Rect(640, 0, 640, 1080), {}, "B"}, c{Rect(1280, 0, 640, 1080), {}, "C"};
    EXPECT_EQ(named({a, b, c}, 2), "CAB");
    EXPECT_EQ(named({a, b, c}, 1), "BAC");
    EXPECT_EQ(named({a, b, c}, 0), "ABC");
    // None flagged (or a flag beyond the list): the one at the origin, else the first.
    EXPECT_EQ(named({b, c, a}, std::nullopt), "ABC");
    EXPECT_EQ(named({b, c, a}, 7), "ABC");
    EXPECT_EQ(named({c, b}, std::nullopt), "CB");
}

TEST(X11Screens, ThePrimaryMonitorSetUpLastIsTheMainOneAndTheOrigin) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox", "xrandr");
    X11Session session;
    // Three side by side; the primary, in the middle, is set up last.
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "left", "640/169x1080/286+0+0", "screen"}), 0);
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "right", "640/169x1080/286+1280+0", "none"}), 0);
    ASSERT_EQ(session.display().run({"xrandr", "--setmonitor", "*middle", "640/169x1080/286+640+0", "none"}), 0);
    auto& screens = session.desktop().screens();
    ASSERT_TRUE(session.waitUntil([&] { return screens.screens().size() == 3; }, 5));
    const auto all = screens.screens();
    EXPECT_EQ(all[0].localizedName, "middle");
    EXPECT_EQ(all[0].frame, Rect(0, 0, 640, 1080));
    std::vector<Rect> others{all[1].frame, all[2].frame};
    std::sort(others.begin(), others.end(), [](const Rect& l, const Rect& r) { return l.minX() < r.minX(); });
    EXPECT_EQ(others, (std::vector<Rect>{Rect(-640, 0, 640, 1080), Rect(640, 0, 640, 1080)}));
    ASSERT_TRUE(screens.mainScreen());
    EXPECT_EQ(screens.mainScreen()->frame, all[0].frame) << "no window has the focus";

    // Accessibility coordinates start at the middle monitor's top left: x = -600 is on the left one.
    const pid_t pid = session.launchClient({});
    auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    session.setFrame(*window, Rect(-600, 100, 400, 300));
    EXPECT_EQ(session.waitForFrame(*window, Rect(-600, 100, 400, 300)), Rect(-600, 100, 400, 300));
    // Once the window manager has given it the focus, the focused window's screen is the main one.
    EXPECT_TRUE(session.waitUntil([&] {
        const auto main = screens.mainScreen();
        return main && main->frame == Rect(-640, 0, 640, 1080);
    }));
}
