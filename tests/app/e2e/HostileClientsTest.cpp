// Clients that put nonsense into the geometry they declare, against the real program: docks with
// absurd struts, made-up work areas on the root, frame extents and size hints far beyond the
// monitor. Whatever they say, no window is shrunk without a key pressed, and after shortcuts,
// arrange-all and a monitor change every window lies on a monitor with a size a person can use.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <csignal>
#include <memory>
#include <stdexcept>
#include <sys/wait.h>

namespace zentaris::testing {
namespace {

const PixelRect screenArea{0, 0, 1920, 1080};
const std::vector<std::vector<std::string>> twoMonitors{{"Left", "960/254x1080/286+0+0", "screen"},
                                                        {"Right", "960/254x1080/286+960+0", "none"}};
const std::string allOnes = "0xFFFFFFFF,0xFFFFFFFF,0xFFFFFFFF,0xFFFFFFFF";
constexpr int minimumUsable = 200;

// The client window itself in root coordinates, read without any property a client could forge.
class ClientGeometry {
public:
    explicit ClientGeometry(const std::string& display) : connection_(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(connection_)) throw std::runtime_error("cannot connect to " + display);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~ClientGeometry() { xcb_disconnect(connection_); }
    ClientGeometry(const ClientGeometry&) = delete;
    ClientGeometry& operator=(const ClientGeometry&) = delete;

    std::optional<PixelRect> of(xcb_window_t window) {
        auto* geometry = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        auto* origin =
            xcb_translate_coordinates_reply(connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr);
        std::optional<PixelRect> rect;
        if (geometry && origin) rect = PixelRect{origin->dst_x, origin->dst_y, geometry->width, geometry->height};
        std::free(geometry);
        std::free(origin);
        return rect;
    }

    // The window manager's frame around the client: the root's child that holds it.
    std::optional<PixelRect> frameOf(xcb_window_t window) {
        for (int depth = 0; depth < 8; ++depth) {
            auto* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr);
            if (!tree) return std::nullopt;
            const xcb_window_t parent = tree->parent;
            std::free(tree);
            if (parent == root_) {
                auto* geometry = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
                if (!geometry) return std::nullopt;
                const int border = geometry->border_width;
                const PixelRect rect{geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border};
                std::free(geometry);
                return rect;
            }
            window = parent;
        }
        return std::nullopt;
    }

private:
    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_NONE;
};

bool inside(const PixelRect& r, const PixelRect& m) {
    return r.x >= m.x && r.y >= m.y && r.maxX() <= m.maxX() && r.maxY() <= m.maxY();
}

class HostileClients : public ::testing::Test {
protected:
    void SetUp() override {
        if (!endToEndToolsAvailable()) GTEST_SKIP() << "Xvfb, openbox, xterm, xdotool, xrandr or the program is missing";
        session_ = std::make_unique<ZentarisSession>();
        geometry_ = std::make_unique<ClientGeometry>(session_->display().name());
        for (const auto& [title, x, y] : {std::tuple{"Terminal 1", 100, 100}, {"Terminal 2", 700, 300}, {"Terminal 3", 1300, 500}})
            terminals_.push_back(session_->openTerminal(title, x, y));
        ASSERT_TRUE(session_->startProgram(terminals_.front(), screenArea)) << "the program's shortcuts never answered";
    }

    ZentarisSession& session() { return *session_; }

    // Starts our test client with these options and waits for its window.
    std::pair<pid_t, xcb_window_t> launch(const std::string& title, std::vector<std::string> options) {
        options.insert(options.begin(), {ZENTARIS_TEST_CLIENT, "--title", title});
        const pid_t pid = session().display().spawn(options);
        for (int i = 0; i < 500; ++i) {
            if (auto window = session().screen().clientTitled(title)) {
                pauseFor(0.3); // mapped, and the values it sets once mapped are in
                return {pid, *window};
            }
            pauseFor(0.02);
        }
        throw std::runtime_error("client \"" + title + "\" did not appear");
    }

    void quit(pid_t pid) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }

    void setRootCardinals(const std::string& name, const std::string& values) {
        ASSERT_EQ(session().display().run({"xprop", "-root", "-f", name, "32c", "-set", name, values}), 0);
    }

    // The terminal lies inside one monitor with a size a person can use (the fault collapsed
    // terminals to 17 pixels).
    ::testing::AssertionResult usable(xcb_window_t window) {
        const auto frame = session().screen().outerFrame(window);
        if (!frame) return ::testing::AssertionFailure() << "the window is gone";
        for (const auto& m : session().screen().monitors()) {
            if (inside(*frame, m) && frame->width >= minimumUsable && frame->height >= minimumUsable)
                return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << *frame << " is not a usable window on one monitor";
    }

    // The client's top-left corner, where its title bar is, lies on a monitor.
    ::testing::AssertionResult reachable(xcb_window_t window) {
        const auto client = geometry_->of(window);
        if (!client) return ::testing::AssertionFailure() << "the window is gone";
        for (const auto& m : session().screen().monitors()) {
            if (client->x >= m.x && client->y >= m.y && client->x < m.maxX() && client->y < m.maxY())
                return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "its corner " << *client << " is on no monitor";
    }

    // Every terminal stays usable for a moment (the re-fit runs a tenth of a second after a change).
    void expectTerminalsUsable(const std::string& when) {
        pauseFor(0.6);
        for (auto window : terminals_) EXPECT_TRUE(usable(window)) << when;
    }

    // Shortcuts on each terminal, then arrange-all of three, then two monitors instead of one.
    void driveEverything(const std::vector<xcb_window_t>& others) {
        for (auto window : terminals_) {
            session().focus(window);
            session().press({"super+alt+Left"});
            pauseFor(0.3);
            session().press({"super+alt+Down"});
        }
        expectTerminalsUsable("after single-window shortcuts");
        session().focus(terminals_.front());
        session().press({"super+alt+5"});
        expectTerminalsUsable("after arranging three columns");
        session().setMonitors(twoMonitors);
        expectTerminalsUsable("after the monitors changed");
        for (auto window : others) EXPECT_TRUE(reachable(window)) << "after the monitors changed";
    }

    // Waits until the window manager's frame of each window fills one slot of its own; the last
    // comparison. The frame is read from the window tree, whatever the client declared.
    ::testing::AssertionResult waitForRealFrames(const std::vector<xcb_window_t>& windows, const std::vector<Slot>& slots) {
        ::testing::AssertionResult last = ::testing::AssertionFailure() << "not compared";
        for (int attempt = 0; attempt < 150; ++attempt) {
            last = ::testing::AssertionSuccess();
            std::vector<bool> taken(slots.size(), false);
            for (auto window : windows) {
                const auto frame = geometry_->frameOf(window);
                if (!frame) {
                    last = ::testing::AssertionFailure() << "a window is gone";
                    break;
                }
                const auto increment = session().screen().resizeIncrement(window);
                bool placed = false;
                for (std::size_t i = 0; i < slots.size() && !placed; ++i) {
                    if (taken[i] || !fillsSlot(*frame, slots[i], screenArea, increment)) continue;
                    taken[i] = placed = true;
                }
                if (!placed) {
                    last = ::testing::AssertionFailure() << "the frame " << *frame << " fills no slot left";
                    if (slots.size() == 1) last = fillsSlot(*frame, slots.front(), screenArea, increment);
                    break;
                }
            }
            if (last) return last;
            pauseFor(0.02);
        }
        return last;
    }

    std::unique_ptr<ZentarisSession> session_;
    std::unique_ptr<ClientGeometry> geometry_;
    std::vector<xcb_window_t> terminals_;
};

TEST_F(HostileClients, AbsurdStrutsAndWorkAreasShrinkNoWindow) {
    std::vector<std::optional<PixelRect>> before;
    // Three side by side, the state a made-up area would shrink.
    auto arrange = [&] {
        session().focus(terminals_.front());
        session().press({"super+alt+5"});
        pauseFor(0.5);
        before.clear();
        for (auto window : terminals_) before.push_back(session().screen().outerFrame(window));
    };
    // No window moves by itself, and the full-screen shortcut still gives the whole monitor.
    auto expectNoEffect = [&](const std::string& what) {
        pauseFor(0.6);
        for (std::size_t i = 0; i < terminals_.size(); ++i)
            EXPECT_EQ(session().screen().outerFrame(terminals_[i]), before[i]) << what;
        session().focus(terminals_[1]);
        session().press({"super+alt+f"});
        EXPECT_TRUE(session().waitForSlot(terminals_[1], fractionOf(screenArea, 0, 0, 1, 1), screenArea)) << what;
        arrange();
    };
    arrange();

    auto [bottom, bottomDock] = launch("bottom dock", {"--strut-bottom", "40", "--cardinals", "_NET_WM_STRUT_PARTIAL",
                                                       "0,0,0,0xFFFFFFFF,0,0,0,0,0,0,0,1919"});
    expectNoEffect("a dock reserving 2^32 - 1 pixels at the bottom");
    quit(bottom);
    expectNoEffect("after that dock quit");

    auto [left, leftDock] = launch("left dock", {"--strut-bottom", "40", "--cardinals", "_NET_WM_STRUT_PARTIAL",
                                                 "5000,0,0,0,0,1079,0,0,0,0,0,0"});
    expectNoEffect("a dock reserving 5000 pixels on the left");

    setRootCardinals("_GTK_WORKAREAS_D0", "0,0,1,1");
    expectNoEffect("a per-monitor work area of one pixel");
    setRootCardinals("_GTK_WORKAREAS_D0", "5000,5000,100,100");
    expectNoEffect("a per-monitor work area beyond the screen");
    setRootCardinals("_NET_WORKAREA", "0,0,1,1");
    expectNoEffect("a work area of one pixel");

    driveEverything({leftDock});
    quit(left);
}

TEST_F(HostileClients, MadeUpFrameExtentsAndSizeHintsKeepWindowsOnTheirMonitor) {
    struct Case {
        std::string title;
        std::vector<std::string> options;
        // The window manager itself gives a window the absurd size its hints ask for.
        bool sizeSane;
    };
    const Case cases[] = {
        {"shadow of 2^32 - 1", {"--gtk-extents", "0", "0", "0", "0", "--cardinals", "_GTK_FRAME_EXTENTS", allOnes}, true},
        {"shadow of 5000", {"--gtk-extents", "0", "0", "0", "0", "--cardinals", "_GTK_FRAME_EXTENTS", "5000,5000,5000,5000"}, true},
        {"decorations of 5000", {"--cardinals", "_NET_FRAME_EXTENTS", "5000,5000,5000,5000"}, true},
        {"increment of 100000", {"--increment", "100000", "100000"}, false},
        {"minimum of 100000", {"--min-size", "100000", "100000"}, false},
    };
    std::vector<pid_t> pids;
    std::vector<xcb_window_t> windows;
    for (const auto& c : cases) {
        auto [pid, window] = launch(c.title, c.options);
        pids.push_back(pid);
        windows.push_back(window);
        session().focus(window);
        for (const char* chord : {"super+alt+Left", "super+alt+f", "super+alt+Right"}) {
            session().press({chord});
            pauseFor(0.4);
            EXPECT_TRUE(reachable(window)) << c.title << " after " << chord;
            // Within the monitor's size and no smaller than the client was; the frame the window
            // manager drew, title bar and all, on the screen whatever the client declared.
            const auto client = geometry_->of(window);
            if (c.sizeSane && client) {
                EXPECT_TRUE(client->width >= 400 && client->width <= screenArea.width && client->height >= 300 &&
                            client->height <= screenArea.height)
                    << c.title << " after " << chord << ": " << *client;
                const auto frame = geometry_->frameOf(window);
                EXPECT_TRUE(frame && inside(*frame, screenArea))
                    << c.title << " after " << chord << ": its frame " << frame.value_or(PixelRect{});
            }
        }
    }
    expectTerminalsUsable("next to the hostile clients");
    driveEverything(windows);
    for (auto pid : pids) quit(pid);
}

TEST_F(HostileClients, FrameExtentsAClientWroteItselfPutTheRealFrameInEverySlot) {
    const Slot whole = fractionOf(screenArea, 0, 0, 1, 1);
    const Slot topHalf = fractionOf(screenArea, 0, 0, 1, 0.5), bottomHalf = fractionOf(screenArea, 0, 0.5, 1, 0.5);
    const std::vector<Slot> quarters{fractionOf(screenArea, 0, 0, 0.5, 0.5), fractionOf(screenArea, 0.5, 0, 0.5, 0.5),
                                     fractionOf(screenArea, 0, 0.5, 0.5, 0.5), fractionOf(screenArea, 0.5, 0.5, 0.5, 0.5)};
    for (const std::string lie : {"5000,5000,5000,5000", "0,0,0,0"}) {
        auto [pid, window] = launch("declares " + lie, {"--cardinals", "_NET_FRAME_EXTENTS", lie});
        for (int round = 0; round < 3; ++round) {
            session().focus(window);
            session().press({"super+alt+f"});
            EXPECT_TRUE(waitForRealFrames({window}, {whole})) << lie << ": fill";
            session().press({"super+alt+Down"});
            EXPECT_TRUE(waitForRealFrames({window}, {bottomHalf})) << lie << ": bottom half";
            session().press({"super+alt+Down"});
            EXPECT_TRUE(waitForRealFrames({window}, {topHalf})) << lie << ": top half";
            session().press({"super+alt+0"});
            std::vector<xcb_window_t> four = terminals_;
            four.push_back(window);
            EXPECT_TRUE(waitForRealFrames(four, quarters)) << lie << ": four windows";
        }
        quit(pid);
    }
}

} // namespace
} // namespace zentaris::testing
