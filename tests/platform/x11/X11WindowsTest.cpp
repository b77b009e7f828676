#include "StandInWindowManager.h"

#include <unistd.h>

using platform::AXError;
using platform::AXUIElement;
using platform::Point;
using platform::Rect;
using platform::Size;
using zentaris::testing::clientPid;
using zentaris::testing::letEventsArrive;
using zentaris::testing::StandInWindowManager;
using zentaris::testing::X11Session;

namespace {

std::string text(X11Session& session, const AXUIElement& element, const char* attribute) {
    return session.accessibility().copyAttributeValue(element, attribute).as<std::string>().value_or("<none>");
}

std::vector<AXUIElement> windowsOf(X11Session& session, pid_t pid) {
    auto& ax = session.accessibility();
    return ax.copyAttributeValue(ax.createApplication(pid), "AXWindows").as<std::vector<AXUIElement>>().value_or(std::vector<AXUIElement>{});
}

} // namespace

TEST(X11Windows, RolesSubrolesTitlesAndWhatIsListed) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox", "xterm");
    X11Session session;
    struct Case {
        std::vector<std::string> options;
        const char* subrole;
    };
    const Case cases[] = {
        {{"--title", "Plain ü"}, "AXStandardWindow"},
        {{"--type", "DIALOG"}, "AXDialog"},
        {{"--transient"}, "AXDialog"},
        {{"--type", "UTILITY"}, "AXFloatingWindow"},
        {{"--type", "SPLASH"}, "AXUnknown"},
    };
    for (const auto& c : cases) {
        const pid_t pid = session.launchClient(c.options);
        auto window = session.waitForWindow(pid);
        ASSERT_TRUE(window) << c.subrole;
        EXPECT_EQ(text(session, *window, "AXRole"), "AXWindow");
        EXPECT_EQ(text(session, *window, "AXSubrole"), c.subrole);
    }
    const pid_t plain = session.launchClient({"--title", "Plain ü"});
    auto window = session.waitForWindow(plain);
    ASSERT_TRUE(window);
    EXPECT_EQ(text(session, *window, "AXTitle"), "Plain ü");
    EXPECT_EQ(session.accessibility().copyAttributeValue(*window, "AXParent").as<AXUIElement>(),
              session.accessibility().createApplication(plain));

    // xterm names its window through WM_NAME only.
    const pid_t xterm = session.launch({"xterm", "-T", "terminal title"});
    auto terminal = session.waitForWindow(xterm);
    ASSERT_TRUE(terminal);
    EXPECT_EQ(text(session, *terminal, "AXTitle"), "terminal title");

    // A dock is never a window to arrange, nor are the windows of our own process.
    const pid_t dock = session.launchClient({"--strut-bottom", "30"});
    ASSERT_TRUE(session.waitUntil([&] { return session.desktop().workspace().runningApplications().size() >= 8; }, 5));
    EXPECT_TRUE(windowsOf(session, dock).empty());
    const pid_t self = ::getpid();
    const pid_t ownWindow = session.launchClient({"--title", "ours"});
    auto ours = session.waitForWindow(ownWindow);
    ASSERT_TRUE(ours);
    // Claim the client as our own by its process number.
    auto& connection = session.desktop().connection();
    const std::uint32_t selfPid = static_cast<std::uint32_t>(self);
    xcb_change_property(connection.xcb(), XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(ours->id),
                        connection.ewmh()->_NET_WM_PID, XCB_ATOM_CARDINAL, 32, 1, &selfPid);
    connection.sync();
    EXPECT_TRUE(windowsOf(session, self).empty());
    EXPECT_FALSE(session.accessibility().copyAttributeValue(session.accessibility().createApplication(self), "AXFocusedWindow").ok());
}

TEST(X11Windows, MinimisedStateFocusAndFrontmostApplication) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    auto& ax = session.accessibility();
    const pid_t first = session.launchClient({"--title", "first"});
    auto firstWindow = session.waitForWindow(first);
    const pid_t second = session.launchClient({"--title", "second"});
    auto secondWindow = session.waitForWindow(second);
    ASSERT_TRUE(firstWindow && secondWindow);

    ASSERT_TRUE(session.waitUntil([&] { return ax.copyAttributeValue(ax.createApplication(second), "AXFocusedWindow").as<AXUIElement>() == secondWindow; }));
    EXPECT_EQ(session.desktop().workspace().frontmostApplication()->processIdentifier, second);
    EXPECT_FALSE(ax.copyAttributeValue(ax.createApplication(first), "AXFocusedWindow").ok());

    // Raising the other window makes it the focused one, topmost.
    EXPECT_EQ(ax.performAction(*firstWindow, "AXRaise"), AXError::success);
    EXPECT_TRUE(session.waitUntil([&] { return session.desktop().workspace().frontmostApplication()->processIdentifier == first; }));

    EXPECT_EQ(ax.copyAttributeValue(*secondWindow, "AXMinimized").as<bool>(), false);
    session.changeState(*secondWindow, true, "_NET_WM_STATE_HIDDEN");
    EXPECT_TRUE(session.waitUntil([&] { return ax.copyAttributeValue(*secondWindow, "AXMinimized").as<bool>() == true; }));

    // "AXHidden" has no counterpart: it reads false and writing it changes nothing.
    EXPECT_EQ(ax.copyAttributeValue(*firstWindow, "AXHidden").as<bool>(), false);
    EXPECT_EQ(ax.setAttributeValue(*firstWindow, "AXHidden", true), AXError::success);
    EXPECT_EQ(ax.copyAttributeValue(*firstWindow, "AXHidden").as<bool>(), false);
}

TEST(X11Windows, RunningApplicationsAndTheirActivationPolicy) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    const pid_t regular = session.launchClient({});
    const pid_t utility = session.launchClient({"--type", "UTILITY"});
    const pid_t skipped = session.launchClient({"--skip-taskbar"});
    // A client that does not name its process is found by the server's record of it.
    const pid_t anonymous = session.launchClient({"--no-pid", "--title", "anonymous"});
    auto& workspace = session.desktop().workspace();
    ASSERT_TRUE(session.waitUntil([&] { return workspace.runningApplications().size() == 4; }, 5));
    auto applications = workspace.runningApplications();
    auto policyOf = [&](pid_t pid) {
        for (const auto& app : applications) {
            if (app.processIdentifier == pid) return app.activationPolicy;
        }
        return platform::ActivationPolicy::prohibited;
    };
    EXPECT_EQ(policyOf(regular), platform::ActivationPolicy::regular);
    EXPECT_EQ(policyOf(utility), platform::ActivationPolicy::accessory);
    EXPECT_EQ(policyOf(skipped), platform::ActivationPolicy::accessory);
    EXPECT_EQ(policyOf(anonymous), platform::ActivationPolicy::regular);
    EXPECT_EQ(applications.front().localizedName, "ZentarisTestClient");

    EXPECT_TRUE(workspace.activate(regular));
    EXPECT_TRUE(session.waitUntil([&] { return workspace.frontmostApplication()->processIdentifier == regular; }));
    EXPECT_FALSE(workspace.activate(999999));
}

TEST(X11Windows, PositionAndSizeAreTheOuterFrameForEveryKindOfClient) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    struct Case {
        const char* name;
        std::vector<std::string> argv;
    };
    const Case cases[] = {
        {"decorated by the window manager", {ZENTARIS_TEST_CLIENT}},
        {"client-side decorations with a shadow", {ZENTARIS_TEST_CLIENT, "--gtk-extents", "20", "20", "15", "25"}},
        {"Qt window", {ZENTARIS_TEST_QT_CLIENT, "qt"}},
    };
    // Away from the screen edges: the window manager keeps a shadow margin on the screen.
    const Rect targets[] = {Rect(100, 50, 800, 600), Rect(961, 41, 898, 498), Rect(30, 30, 1860, 1020)};
    for (const auto& c : cases) {
        const pid_t pid = session.launch(c.argv);
        auto window = session.waitForWindow(pid);
        ASSERT_TRUE(window) << c.name;
        for (const auto& target : targets) {
            session.setFrame(*window, target);
            // Read straight back, before the window manager has answered: the frame asked for.
            EXPECT_EQ(session.frameOf(*window), target) << c.name;
            EXPECT_EQ(session.waitForFrame(*window, target), target) << c.name;
        }
        session.terminate(pid);
    }
}

TEST(X11Windows, SizeHintsKeepTheWindowOnTheSlotsOuterEdges) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox", "xterm");
    X11Session session;
    const pid_t xterm = session.launch({"xterm"});
    auto terminal = session.waitForWindow(xterm);
    ASSERT_TRUE(terminal);
    // The right half, less a 2-pixel gap: terminals snap to character cells.
    const Rect rightHalf(961, 1, 958, 1078);
    session.setFrame(*terminal, rightHalf);
    auto applied = session.waitForFrame(*terminal, *session.frameOf(*terminal));
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->maxX(), rightHalf.maxX());
    EXPECT_EQ(applied->minY(), rightHalf.minY());
    EXPECT_LE(applied->width(), rightHalf.width());
    EXPECT_GT(applied->width(), rightHalf.width() - 20);

    const pid_t large = session.launchClient({"--min-size", "1100", "700"});
    auto window = session.waitForWindow(large);
    ASSERT_TRUE(window);
    // A bottom-right quarter too small for the window: it keeps the screen's right and bottom edges.
    const Rect quarter(961, 541, 958, 538);
    session.setFrame(*window, quarter);
    applied = session.waitForFrame(*window, *session.frameOf(*window));
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->maxX(), quarter.maxX());
    EXPECT_EQ(applied->maxY(), quarter.maxY());
    EXPECT_GE(applied->width(), 1100);
    EXPECT_GE(applied->height(), 700);
}

TEST(X11Windows, AClientWithABorderIsSizedToWholeStepsOfItsOwnArea) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    const auto client = wm.manage(Rect(50, 50, 400, 300));
    // A border of 3 pixels kept by the server, and steps of 10 by 20 (WM_NORMAL_HINTS, resize increments).
    wm.configure(client, XCB_CONFIG_WINDOW_BORDER_WIDTH, {3});
    constexpr std::uint32_t incrementFlag = 1u << 6;
    std::vector<std::uint32_t> hints(18, 0);
    hints[0] = incrementFlag;
    hints[9] = 10;
    hints[10] = 20;
    wm.set(client, "WM_NORMAL_HINTS", XCB_ATOM_WM_SIZE_HINTS, hints);
    letEventsArrive(session);
    const AXUIElement window{AXUIElement::Kind::window, clientPid, client};
    // The steps count inside the border: 301 by 207 there comes down to 300 by 200.
    session.setFrame(window, Rect(100, 100, 307, 213));
    EXPECT_EQ(session.waitForFrame(window, Rect(100, 100, 306, 206)), Rect(100, 100, 306, 206));
}

TEST(X11Windows, MaximisedAndFullScreenWindowsAreMoved) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    const pid_t pid = session.launchClient({});
    auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    const Rect target(200, 100, 640, 480);
    const auto screen = session.desktop().screens().screens().front();
    session.changeState(*window, true, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
    // The state shows before the window manager has changed the decorations and the size.
    ASSERT_EQ(session.waitForFrame(*window, screen.visibleFrame), screen.visibleFrame);
    session.setFrame(*window, target);
    EXPECT_EQ(session.waitForFrame(*window, target), target);

    session.changeState(*window, true, "_NET_WM_STATE_FULLSCREEN");
    ASSERT_EQ(session.waitForFrame(*window, screen.frame), screen.frame);
    const Rect other(300, 150, 500, 400);
    session.setFrame(*window, other);
    EXPECT_EQ(session.waitForFrame(*window, other), other);
}

TEST(X11Windows, AWindowThatVanishedEndsTheCommandQuietly) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    auto& ax = session.accessibility();
    const pid_t pid = session.launchClient({});
    auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    EXPECT_EQ(ax.setAttributeValue(*window, "AXPosition", Point{10, 10}), AXError::success);
    session.terminate(pid);
    ASSERT_TRUE(session.waitUntil([&] { return windowsOf(session, pid).empty(); }));
    EXPECT_EQ(ax.setAttributeValue(*window, "AXSize", Size{300, 300}), AXError::invalidUIElement);
    EXPECT_EQ(ax.setAttributeValue(*window, "AXPosition", Point{0, 0}), AXError::invalidUIElement);
    EXPECT_FALSE(ax.copyAttributeValue(*window, "AXPosition").ok());
    EXPECT_FALSE(ax.copyAttributeValue(*window, "AXRole").ok());
    EXPECT_EQ(ax.performAction(*window, "AXRaise"), AXError::invalidUIElement);
    // The error guard of the session fails the test on any X error that got through.
}

TEST(X11Windows, AWindowGoneBetweenItsPositionAndItsSizeIsNotMoved) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb");
    X11Session session({.windowManager = {}});
    StandInWindowManager wm(session);
    const auto client = wm.manage(Rect(50, 50, 400, 300));
    letEventsArrive(session);
    const AXUIElement window{AXUIElement::Kind::window, clientPid, client};
    auto& ax = session.accessibility();
    // One command: the window is read and placed, then closed by its owner before it is sized.
    ASSERT_EQ(session.frameOf(window), Rect(50, 50, 400, 300));
    EXPECT_EQ(ax.setAttributeValue(window, "AXPosition", Point{100, 100}), AXError::success);
    wm.destroy(client);
    EXPECT_EQ(ax.setAttributeValue(window, "AXSize", Size{300, 200}), AXError::invalidUIElement);
}

TEST(X11Windows, ElementAtPositionIsTheTopmostVisibleWindow) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    auto& ax = session.accessibility();
    const pid_t lower = session.launchClient({});
    auto lowerWindow = session.waitForWindow(lower);
    const pid_t upper = session.launchClient({});
    auto upperWindow = session.waitForWindow(upper);
    ASSERT_TRUE(lowerWindow && upperWindow);
    session.setFrame(*lowerWindow, Rect(0, 0, 600, 400));
    session.setFrame(*upperWindow, Rect(300, 200, 600, 400));
    session.waitForFrame(*lowerWindow, Rect(0, 0, 600, 400));
    session.waitForFrame(*upperWindow, Rect(300, 200, 600, 400));
    ASSERT_TRUE(session.waitUntil([&] {
        auto front = session.desktop().workspace().frontmostApplication();
        return front && front->processIdentifier == upper;
    }));

    AXUIElement hit;
    EXPECT_EQ(ax.copyElementAtPosition(ax.createSystemWide(), 350, 250, hit), AXError::success);
    EXPECT_EQ(hit, *upperWindow);
    EXPECT_EQ(ax.copyElementAtPosition(ax.createSystemWide(), 100, 100, hit), AXError::success);
    EXPECT_EQ(hit, *lowerWindow);
    EXPECT_EQ(ax.copyElementAtPosition(ax.createSystemWide(), 1500, 900, hit), AXError::noValue);

    session.changeState(*upperWindow, true, "_NET_WM_STATE_HIDDEN");
    ASSERT_TRUE(session.waitUntil([&] {
        AXUIElement under;
        return ax.copyElementAtPosition(ax.createSystemWide(), 350, 250, under) == AXError::success && under == *lowerWindow;
    }));
}

TEST(X11Windows, AFrameTheWindowManagerRefusesIsReadBackOnlyForAMoment) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    // Openbox keeps a client window that would fill the screen on it, invisible shadow margin
    // included, when it is first put at the corner with its old size and then resized.
    const pid_t pid = session.launchClient({"--gtk-extents", "20", "20", "15", "25"});
    auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    const Rect target(0, 0, 1920, 1080);
    ASSERT_EQ(session.accessibility().setAttributeValue(*window, "AXPosition", target.origin), platform::AXError::success);
    session.waitUntil([] { return false; }, 0.1);
    ASSERT_EQ(session.accessibility().setAttributeValue(*window, "AXSize", target.size), platform::AXError::success);
    EXPECT_EQ(session.frameOf(*window), target);
    session.waitUntil([] { return false; }, 0.3);
    auto frame = session.frameOf(*window);
    ASSERT_TRUE(frame);
    EXPECT_NE(*frame, target);
    EXPECT_EQ(frame->size, target.size);
}

TEST(X11Windows, APositionAloneIsSentAndAFullFrameGoesAsOneRequest) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    X11Session session;
    const pid_t pid = session.launchClient({"--gtk-extents", "20", "20", "15", "25"});
    auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    const auto before = session.frameOf(*window);
    ASSERT_TRUE(before);

    // A position waits for a size; with none coming it still goes out before the next wait.
    ASSERT_EQ(session.accessibility().setAttributeValue(*window, "AXPosition", platform::Point{300, 200}),
              platform::AXError::success);
    EXPECT_EQ(session.waitForFrame(*window, Rect({300, 200}, before->size)), Rect({300, 200}, before->size));

    // Position and size together reach the window manager as one move, which it takes whole even
    // for a window whose shadow margin would otherwise be kept on screen.
    const Rect full(0, 0, 1920, 1080);
    session.setFrame(*window, full);
    EXPECT_EQ(session.waitForFrame(*window, full), full);
}
