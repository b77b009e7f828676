// The settings window's frame on a real X server with a window manager, moved and resized by
// another client as the manager does when the user drags it: the frame is saved without the window
// being closed, and a stored frame is taken back only when the whole window, title bar included,
// fits the screen less its panels.

#include "platform/UserDefaults.h"
#include "shell/RememberedWindow.h"
#include "support/PrivateDisplay.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

namespace zentaris::testing {
namespace {

constexpr const char* frameKey = "windowFrame.Settings";
// Where a window that takes no stored frame opens, centred on the screen.
const QPoint firstCorner(560, 240);
const QSize firstSize(800, 600);

class RememberedWindowX11 : public ::testing::Test {
protected:
    // One display and one application for the suite; Qt cannot be started twice in a process.
    static void SetUpTestSuite() {
        if (!programAvailable("Xvfb") || !programAvailable("openbox")) return;
        display_ = new PrivateDisplay();
        setenv("DISPLAY", display_->name().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        static int argc = 1;
        static char name[] = "remembered_window";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
        connection_ = xcb_connect(display_->name().c_str(), nullptr);
    }
    static void TearDownTestSuite() {
        if (connection_) xcb_disconnect(connection_);
        delete display_; // the application is left: Qt torn down among the statics at exit crashes
    }

    void SetUp() override {
        if (!application_) GTEST_SKIP() << "Xvfb or openbox is missing";
        window_ = std::make_unique<RememberedWindow>(defaults_, frameKey);
        window_->setGeometry(100, 100, 400, 300);
        window_->show();
        ASSERT_TRUE(settle([this] { return window_->windowHandle() && window_->windowHandle()->isExposed(); }));
    }

    // Moves and sizes the window from outside the program.
    void configureFromOutside(int x, int y, int width, int height) {
        const std::uint32_t values[] = {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                                        static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
        xcb_configure_window(connection_, static_cast<xcb_window_t>(window_->winId()),
                             XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                 XCB_CONFIG_WINDOW_HEIGHT,
                             values);
        xcb_flush(connection_);
    }

    // Where the X server has the window, in root coordinates.
    static QRect serverFrame(const QWidget& window) {
        const auto id = static_cast<xcb_window_t>(window.winId());
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        auto* geometry = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, id), nullptr);
        auto* origin = xcb_translate_coordinates_reply(
            connection_, xcb_translate_coordinates(connection_, id, screen->root, 0, 0), nullptr);
        const QRect frame = geometry && origin ? QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height) : QRect();
        std::free(geometry);
        std::free(origin);
        return frame;
    }

    // The window manager's frame around the window, in root coordinates: the root's child it lies in.
    static QRect outerFrame(const QWidget& window) {
        xcb_window_t frame = static_cast<xcb_window_t>(window.winId());
        for (;;) {
            std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
                xcb_query_tree_reply(connection_, xcb_query_tree(connection_, frame), nullptr), &std::free);
            if (!tree || tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) break;
            frame = tree->parent;
        }
        std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, frame), nullptr), &std::free);
        return geometry ? QRect(geometry->x, geometry->y, geometry->width, geometry->height) : QRect();
    }

    // Whether a window with this stored frame opens at `restored`, or when that is nothing as the
    // first time: at its first size, its frame's corner where its owner moved it to centre it.
    static ::testing::AssertionResult opensAt(const std::string& stored, std::optional<QRect> restored) {
        platform::MemoryUserDefaults defaults;
        defaults.set(frameKey, stored);
        RememberedWindow window(defaults, frameKey);
        window.resize(firstSize);
        window.move(firstCorner);
        window.restoreFrame();
        window.show();
        const bool inPlace = settle([&] {
            if (!window.windowHandle()->isExposed()) return false;
            if (restored) return serverFrame(window) == *restored;
            return outerFrame(window).topLeft() == firstCorner && serverFrame(window).size() == firstSize;
        });
        if (inPlace) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "on the server at " << serverFrame(window).x() << ","
                                             << serverFrame(window).y() << " " << serverFrame(window).width() << "x"
                                             << serverFrame(window).height() << ", framed at " << outerFrame(window).x()
                                             << "," << outerFrame(window).y();
    }

    template <typename Condition>
    static bool settle(Condition done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    platform::MemoryUserDefaults defaults_;
    std::unique_ptr<RememberedWindow> window_;
    static inline PrivateDisplay* display_ = nullptr;
    static inline QApplication* application_ = nullptr;
    static inline xcb_connection_t* connection_ = nullptr;
};

TEST_F(RememberedWindowX11, AMoveOrResizeIsSavedOnceItSettlesWhileTheWindowStaysOpen) {
    for (const auto& [x, y, width, height] : {std::tuple{300, 200, 400, 300}, std::tuple{300, 200, 640, 480}}) {
        configureFromOutside(x, y, width, height);
        const std::string expected = std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
                                     std::to_string(height);
        EXPECT_TRUE(settle([&] { return defaults_.stringValue(frameKey) == expected; }))
            << "saved: " << defaults_.stringValue(frameKey).value_or("nothing") << ", expected " << expected;
        EXPECT_TRUE(window_->isVisible());
    }
    const int writes = defaults_.writeCount();
    for (int step = 1; step <= 10; ++step) { // a drag: each step reaches the window before the next
        configureFromOutside(300 + step, 200, 640, 480);
        ASSERT_TRUE(settle([&] { return window_->geometry().x() == 300 + step; }));
    }
    EXPECT_TRUE(settle([&] { return defaults_.stringValue(frameKey) == "310 200 640 480"; }));
    EXPECT_EQ(defaults_.writeCount(), writes + 1) << "a drag is saved once, where it ends";
}

TEST_F(RememberedWindowX11, AFrameNotSettledYetIsSavedWhenTheApplicationQuits) {
    configureFromOutside(500, 400, 400, 300);
    ASSERT_TRUE(settle([this] { return window_->geometry().topLeft() == QPoint(500, 400); }));
    // exit() ends the loop without closing any window first, unlike quit().
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    EXPECT_EQ(defaults_.stringValue(frameKey), "500 400 400 300");
}

TEST_F(RememberedWindowX11, AStoredFrameIsTakenOnlyWhenTheWholeWindowTitleBarIncludedFitsTheScreen) {
    // The private screen is 1920 by 1080.
    const std::pair<const char*, std::optional<QRect>> cases[] = {
        {"300 200 640 480", QRect(300, 200, 640, 480)},
        {"1270 560 640 480", QRect(1270, 560, 640, 480)}, // near the bottom right corner, frame and all
        {"-200 200 640 480", std::nullopt},               // partly off the left edge
        {"-16000 0 32767 2150", std::nullopt},            // far larger than the screen, title bar off it
        {"100 0 800 600", std::nullopt},                  // the window on the screen, its title bar above it
        {"1500 500 800 600", std::nullopt},               // its right part beyond the screen
        {"100 100 2147483647 2147483647", std::nullopt},  // its right edge overflows
        {"2147483600 100 800 600", std::nullopt},         // its centre overflows back onto the screen
        {"-2147483648 -2147483648 800 600", std::nullopt},
        {"100 100 800 99999999999999999999", std::nullopt},
        {"100 100 -800 600", std::nullopt},
        {"30000 100 800 600", std::nullopt},              // beyond the screen
        {"100 -500 800 1200", std::nullopt},              // its title bar above the screen
        {"100 100 800 600 5", std::nullopt},
        {"100 100 800", std::nullopt},
    };
    for (const auto& [stored, restored] : cases) EXPECT_TRUE(opensAt(stored, restored)) << stored;
}

TEST_F(RememberedWindowX11, AStoredFrameReachingUnderABottomPanelIsNotTaken) {
    const auto available = [] { return QGuiApplication::primaryScreen()->availableGeometry(); };
    // A panel reserving the bottom 40 pixels, gone again before the next test.
    struct Panel {
        pid_t pid;
        ~Panel() {
            ::kill(pid, SIGTERM);
            settle([] { return QGuiApplication::primaryScreen()->availableGeometry().height() == 1080; });
        }
    } panel{display_->spawn({ZENTARIS_TEST_CLIENT, "--strut-bottom", "40"})};
    ASSERT_TRUE(settle([&] { return available() == QRect(0, 0, 1920, 1040); })) << "the panel never reserved its edge";
    EXPECT_TRUE(opensAt("300 500 640 480", QRect(300, 500, 640, 480)));
    EXPECT_TRUE(opensAt("300 580 640 480", std::nullopt)) << "the window's bottom under the panel";
    EXPECT_TRUE(opensAt("300 560 640 480", std::nullopt)) << "the window above the panel, its frame's bottom on it";
}

} // namespace
} // namespace zentaris::testing
