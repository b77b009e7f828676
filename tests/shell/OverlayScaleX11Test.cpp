// The drop-zone preview and the feedback panels on a real X server with Qt's scaling on: the
// desktop hands the shell device pixels, Qt places windows in logical pixels, and the overlays
// must still land where the desktop meant them.

#include "platform/HotKeys.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeHostInformation.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/x11/X11Desktop.h"
#include "preferences/LanguageManager.h"
#include "shell/QtApplicationShell.h"
#include "shell/ScreenToWidgetGeometry.h"
#include "shortcuts/Registry.h"
#include "support/PrivateDisplay.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace zentaris::testing {
namespace {

constexpr int screenWidth = 3840, screenHeight = 2160;

struct DeviceRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// What the child shows, in screen coordinates (origin at the bottom left of the primary monitor,
// y upwards): the preview over each zone, then each card centred on one point. With `fromRoot`
// the zones and the centre are root coordinates that the X11 backend converts, and the shell
// counts from the backend's primary monitor, as in the program.
struct Scene {
    std::vector<std::pair<std::string, platform::Rect>> zones;
    platform::Point cardCentre;
    bool fromRoot = false;
};

// Where the server put a window, in device pixels from the top left of the root.
std::optional<DeviceRect> serverGeometry(xcb_connection_t* connection, xcb_window_t window) {
    auto* attributes = xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr);
    const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    if (!viewable) return std::nullopt;
    auto* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry) return std::nullopt;
    auto* origin = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, geometry->root, 0, 0), nullptr);
    std::optional<DeviceRect> result;
    if (origin) result = DeviceRect{origin->dst_x, origin->dst_y, geometry->width, geometry->height};
    std::free(origin);
    std::free(geometry);
    return result;
}

// The one overlay on screen once the server shows it.
std::optional<DeviceRect> shownOverlay(xcb_connection_t* connection) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QWidget* overlay = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible()) overlay = widget;
        }
        if (overlay) {
            if (auto geometry = serverGeometry(connection, static_cast<xcb_window_t>(overlay->winId()))) return geometry;
        }
    }
    return std::nullopt;
}

// Runs in a child process, which owns the one QApplication with this scale factor: shows the
// preview over each zone and each card in its panel, and writes where the server put them, one
// "name x y width height" line each.
[[noreturn]] void placeOverlays(const std::string& display, const char* scaleFactor, const Scene& scene, int output) {
    setenv("DISPLAY", display.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("QT_SCALE_FACTOR", scaleFactor, 1);
    unsetenv("QT_SCREEN_SCALE_FACTORS");
    int argc = 1;
    char name[] = "overlay_scale";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);

    platform::fake::FakeDesktop desktop;
    platform::fake::FakeHostInformation host;
    platform::fake::FakeHotKeys hotKeys;
    platform::UserDefaults::installStandard(&desktop.defaults());
    platform::MainQueue::installMain(&desktop.mainQueue());
    platform::HotKeys::installShared(&hotKeys);
    LanguageManager::resetShared();
    GlobalShortcuts::Registry::resetShared();
    QtApplicationShell shell(desktop.defaults(), SupportSettingsView::standardDependencies(desktop, host));

    auto zones = scene.zones;
    auto cardCentre = scene.cardCentre;
    std::unique_ptr<platform::x11::X11Desktop> backend;
    if (scene.fromRoot) {
        backend = platform::x11::X11Desktop::open(desktop.mainQueue(), {.displayName = display.c_str()});
        if (!backend) _exit(2);
        installPrimaryMonitorQuery([&backend] { return std::optional(backend->monitors().rootSpace().primary); });
        const auto space = backend->monitors().rootSpace();
        for (auto& [zone, frame] : zones) frame = space.toScreen(frame);
        cardCentre = space.toScreen(cardCentre);
    }

    std::ostringstream lines;
    const auto report = [&lines](const std::string& what, const std::optional<DeviceRect>& rect) {
        if (rect) lines << what << ' ' << rect->x << ' ' << rect->y << ' ' << rect->width << ' ' << rect->height << '\n';
    };
    for (const auto& [zone, frame] : zones) {
        shell.showDragPreview(frame);
        report(zone, shownOverlay(connection));
        shell.hideDragPreview();
    }
    const std::tuple<const char*, FeedbackCard, double, double> cards[] = {
        {"cancellation", FeedbackCard::cancellation(), 280, 90},
        {"drag-mode", FeedbackCard::dragModeToggle(true), 280, 90},
        {"too-many", FeedbackCard::tooManyWindows(2, 5), 400, 110},
    };
    for (const auto& [card, content, width, height] : cards) {
        const platform::Rect centred(cardCentre.x - width / 2, cardCentre.y - height / 2, width, height);
        const auto panel = shell.showFeedbackPanel(content, centred);
        report(card, shownOverlay(connection));
        shell.hideFeedbackPanel(panel);
    }
    xcb_disconnect(connection);
    const std::string text = lines.str();
    const bool written = write(output, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    std::fflush(nullptr);
    _exit(written ? 0 : 1);
}

std::map<std::string, DeviceRect> overlaysAt(const std::string& display, const char* scaleFactor, const Scene& scene) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        placeOverlays(display, scaleFactor, scene, pipeFds[1]);
    }
    close(pipeFds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the overlay process failed";

    std::map<std::string, DeviceRect> placed;
    std::istringstream input(text);
    std::string what;
    DeviceRect rect;
    while (input >> what >> rect.x >> rect.y >> rect.width >> rect.height) placed[what] = rect;
    return placed;
}

// Device pixels may round by one at fractional factors.
::testing::AssertionResult near(const DeviceRect& actual, const DeviceRect& expected) {
    const auto close = [](int a, int b) { return std::abs(a - b) <= 1; };
    if (close(actual.x, expected.x) && close(actual.y, expected.y) && close(actual.width, expected.width) &&
        close(actual.height, expected.height)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << actual.width << 'x' << actual.height << '+' << actual.x << '+' << actual.y
                                         << " instead of " << expected.width << 'x' << expected.height << '+'
                                         << expected.x << '+' << expected.y;
}

// The cards keep their own layout, so their panels grow with the factor around the centre they
// were given.
void expectCardsCentredOn(const std::map<std::string, DeviceRect>& placed, int x, int y, double scale) {
    for (const auto& [card, width, height] :
         {std::tuple{"cancellation", 280, 90}, std::tuple{"drag-mode", 280, 90}, std::tuple{"too-many", 400, 110}}) {
        SCOPED_TRACE(card);
        const int w = static_cast<int>(width * scale), h = static_cast<int>(height * scale);
        ASSERT_TRUE(placed.count(card)) << "the card came on screen";
        EXPECT_TRUE(near(placed.at(card), {x - w / 2, y - h / 2, w, h}));
    }
}

const std::pair<const char*, double> scaleFactors[] = {{"1", 1.0}, {"1.5", 1.5}, {"2", 2.0}};

TEST(OverlayScaleX11, PreviewCoversItsZoneAndCardsSitCentredAtTheirOwnSizeAtEveryScaleFactor) {
    if (!programAvailable("Xvfb")) GTEST_SKIP() << "Xvfb is missing";
    PrivateDisplay display({.width = screenWidth, .height = screenHeight, .windowManager = {}});
    const Scene scene{{{"left-half", {0, 0, 1920, 2160}}, {"top-right", {2560, 1440, 1280, 720}},
                       {"bottom-band", {0, 0, 3840, 720}}},
                      {screenWidth / 2.0, screenHeight / 2.0}};
    for (const auto& [factor, scale] : scaleFactors) {
        SCOPED_TRACE(std::string("QT_SCALE_FACTOR=") + factor);
        const auto placed = overlaysAt(display.name(), factor, scene);
        ASSERT_EQ(placed.size(), 6u) << "every overlay came on screen";
        // Top-left origin on the server: the zones flipped at the screen's bottom edge.
        EXPECT_TRUE(near(placed.at("left-half"), {0, 0, 1920, 2160}));
        EXPECT_TRUE(near(placed.at("top-right"), {2560, 0, 1280, 720}));
        EXPECT_TRUE(near(placed.at("bottom-band"), {0, 1440, 3840, 720}));
        expectCardsCentredOn(placed, screenWidth / 2, screenHeight / 2, scale);
    }
}

// Qt keeps each monitor's top-left corner in device pixels and scales from there, so a point on
// the second monitor converts by that monitor's origin, not the primary's.
TEST(OverlayScaleX11, OnTheSecondOfTwoMonitorsEverythingLandsOnThatMonitor) {
    if (!programAvailable("Xvfb") || !programAvailable("xrandr")) GTEST_SKIP() << "Xvfb or xrandr is missing";
    PrivateDisplay display({.width = screenWidth, .height = screenHeight, .windowManager = {}});
    ASSERT_EQ(display.run({"xrandr", "--setmonitor", "Left", "1920/254x2160/286+0+0", "screen"}), 0);
    ASSERT_EQ(display.run({"xrandr", "--setmonitor", "Right", "1920/254x2160/286+1920+0", "none"}), 0);
    const Scene scene{{{"right-monitor-right-half", {2880, 0, 960, 2160}}, {"right-monitor-top", {1920, 1080, 1920, 1080}}},
                      {2880, 1080}};
    for (const auto& [factor, scale] : scaleFactors) {
        SCOPED_TRACE(std::string("QT_SCALE_FACTOR=") + factor);
        const auto placed = overlaysAt(display.name(), factor, scene);
        ASSERT_EQ(placed.size(), 5u) << "every overlay came on screen";
        EXPECT_TRUE(near(placed.at("right-monitor-right-half"), {2880, 0, 960, 2160}));
        EXPECT_TRUE(near(placed.at("right-monitor-top"), {1920, 0, 1920, 1080}));
        expectCardsCentredOn(placed, 2880, 1080, scale);
    }
}

// Without a monitor marked primary, Qt takes the first one listed as its primary screen whatever
// the backend counts screen coordinates from; a first-listed monitor away from the root's origin
// then shifts every overlay by its offset, or pushes it below the root.
TEST(OverlayScaleX11, WithoutAMarkedPrimaryOverlaysLandWhereTheBackendMeantThem) {
    if (!programAvailable("Xvfb") || !programAvailable("xrandr")) GTEST_SKIP() << "Xvfb or xrandr is missing";
    struct Layout {
        const char* name;
        std::vector<std::vector<std::string>> monitors; // first listed first, none marked
        Scene scene;
    };
    const Layout layouts[] = {
        {"side by side, the right one listed first",
         {{"Right", "1920/254x2160/286+1920+0", "screen"}, {"Left", "1920/254x2160/286+0+0", "none"}},
         {{{"left-bottom-left", {0, 1080, 960, 1080}}, {"right-right-half", {2880, 0, 960, 2160}}}, {960, 1080}, true}},
        {"stacked, the bottom one listed first",
         {{"Bottom", "3840/254x1080/286+0+1080", "screen"}, {"Top", "3840/254x1080/286+0+0", "none"}},
         {{{"top-left-half", {0, 0, 1920, 1080}}, {"bottom-bottom-left", {0, 1620, 1920, 540}}}, {1920, 540}, true}},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.name);
        PrivateDisplay display({.width = screenWidth, .height = screenHeight, .windowManager = {}});
        for (const auto& monitor : layout.monitors) {
            std::vector<std::string> argv{"xrandr", "--setmonitor"};
            argv.insert(argv.end(), monitor.begin(), monitor.end());
            ASSERT_EQ(display.run(argv), 0);
        }
        for (const auto& [factor, scale] : {std::pair{"1", 1.0}, std::pair{"2", 2.0}}) {
            SCOPED_TRACE(std::string("QT_SCALE_FACTOR=") + factor);
            const auto placed = overlaysAt(display.name(), factor, layout.scene);
            ASSERT_EQ(placed.size(), 5u) << "every overlay came on screen";
            for (const auto& [zone, root] : layout.scene.zones) {
                SCOPED_TRACE(zone);
                EXPECT_TRUE(near(placed.at(zone), {int(root.minX()), int(root.minY()), int(root.width()), int(root.height())}));
            }
            expectCardsCentredOn(placed, int(layout.scene.cardCentre.x), int(layout.scene.cardCentre.y), scale);
        }
    }
}

} // namespace
} // namespace zentaris::testing
