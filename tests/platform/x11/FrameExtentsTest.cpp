#include "platform/x11/FrameExtents.h"

#include "X11BackendFixture.h"
#include "platform/x11/X11Properties.h"
#include "platform/x11/X11Reply.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <string>
#include <thread>

using platform::Rect;
using platform::Size;
using platform::x11::FrameExtents;
using platform::x11::ProtocolRect;

TEST(FrameExtents, SidesBeyondAQuarterOfTheMonitorAreMadeUp) {
    const Size monitor{1920, 1080};
    EXPECT_EQ(platform::x11::plausibleFrameExtents({1, 1, 20, 5}, monitor), (FrameExtents{1, 1, 20, 5}));
    EXPECT_EQ(platform::x11::plausibleFrameExtents({480, 480, 270, 270}, monitor), (FrameExtents{480, 480, 270, 270}));
    EXPECT_EQ(platform::x11::plausibleFrameExtents({1, 1, 20}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({481, 0, 0, 0}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({0, 0, 0, 271}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({5000, 5000, 5000, 5000}, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::plausibleFrameExtents({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, monitor), std::nullopt);
}

TEST(FrameExtents, TheFrameWindowAroundItsClientGivesTheSides) {
    const Size monitor{1920, 1080};
    const Rect frame(100, 50, 402, 325);
    EXPECT_EQ(platform::x11::extentsAround(Rect(101, 70, 400, 300), frame, monitor), (FrameExtents{1, 1, 20, 5}));
    EXPECT_EQ(platform::x11::extentsAround(frame, frame, monitor), (FrameExtents{}));
    // A client reaching beyond its frame is no frame of it; nor a side beyond a quarter of the monitor.
    EXPECT_EQ(platform::x11::extentsAround(Rect(99, 70, 400, 300), frame, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::extentsAround(Rect(101, 70, 400, 306), frame, monitor), std::nullopt);
    EXPECT_EQ(platform::x11::extentsAround(Rect(101, 70, 400, 300), Rect(100, -300, 402, 675), monitor), std::nullopt);
}

TEST(FrameExtents, ATopDecorationIsATitleBarOnlyWhenTallerThanTheOtherSides) {
    using platform::x11::hasTitleBar;
    EXPECT_TRUE(hasTitleBar({1, 1, 20, 5}));
    EXPECT_TRUE(hasTitleBar({0, 0, 2, 0}));
    EXPECT_TRUE(hasTitleBar({0, 0, 2, 1}));
    // Nothing, or a border all round, or one thicker below.
    for (const FrameExtents& border : {FrameExtents{}, FrameExtents{1, 1, 1, 1}, FrameExtents{4, 4, 4, 4}, FrameExtents{0, 0, 3, 5},
                                       FrameExtents{0, 6, 5, 0}})
        EXPECT_FALSE(hasTitleBar(border)) << border.left << " " << border.right << " " << border.top << " " << border.bottom;
}

TEST(FrameExtents, DeclaredSidesCountOnlyWhereTheFrameWindowBearsThemOut) {
    using platform::x11::frameBearsOut;
    const Rect frame(100, 50, 402, 325), client(101, 70, 400, 300);
    EXPECT_TRUE(frameBearsOut({1, 1, 20, 5}, client, frame));
    // An invisible border for resizing at the sides and bottom, left out of what is declared.
    EXPECT_TRUE(frameBearsOut({0, 0, 20, 0}, Rect(110, 70, 400, 300), Rect(100, 50, 420, 330)));
    // Sides a client wrote itself: no title bar, a taller one, more on the left than the frame has.
    for (const FrameExtents& made : {FrameExtents{}, FrameExtents{1, 1, 40, 5}, FrameExtents{2, 1, 20, 5}})
        EXPECT_FALSE(frameBearsOut(made, client, frame)) << made.left << " " << made.top;
    // Right and bottom are not compared: a frame read between the manager's two requests of a
    // resize shows them wrong.
    EXPECT_TRUE(frameBearsOut({1, 1, 20, 5}, Rect(101, 70, 100, 50), frame));
}

TEST(FrameExtents, RequestsPlaceTheShadowedFrameAndSizeTheClientWithinTheProtocol) {
    const FrameExtents decoration{1, 1, 20, 5}, none{}, shadow{10, 10, 8, 12};
    // The frame's corner at the target, the client less its decorations and border.
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(960, 0, 960, 1080), decoration, none, 1), (ProtocolRect{960, 0, 956, 1053}));
    // A shadowed window: the frame starts before the visible edge and the client includes the shadow.
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(0, 0, 400, 300), none, shadow, 0), (ProtocolRect{-10, -8, 420, 320}));
    // Smaller than its decorations: one pixel.
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(0, 0, 1, 1), decoration, none, 0), (ProtocolRect{0, 0, 1, 1}));
    EXPECT_EQ(platform::x11::clientRequestFor(Rect(-32768, 32767, 65535, 1), none, none, 0), (ProtocolRect{-32768, 32767, 65535, 1}));

    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const Rect& beyond : {Rect(-32769, 0, 400, 300), Rect(0, 32768, 400, 300), Rect(0, 0, 65536, 300),
                               Rect(0, 0, 400, 1e300), Rect(nan, 0, 400, 300), Rect(0, 0, inf, 300)}) {
        EXPECT_EQ(platform::x11::clientRequestFor(beyond, none, none, 0), std::nullopt)
            << beyond.minX() << " " << beyond.minY() << " " << beyond.width() << " " << beyond.height();
    }
}

namespace {

// The window manager's frame of a client, read from the window tree: nothing a client can forge.
std::optional<Rect> frameWindowGeometry(platform::x11::X11Connection& connection, xcb_window_t client) {
    using platform::x11::waitForReply;
    auto* c = connection.xcb();
    for (xcb_window_t window = client;;) {
        auto tree = waitForReply(c, xcb_query_tree_reply, xcb_query_tree(c, window));
        if (!tree) return std::nullopt;
        if (tree->parent == connection.root()) {
            auto geometry = waitForReply(c, xcb_get_geometry_reply, xcb_get_geometry(c, window));
            if (!geometry) return std::nullopt;
            return Rect(geometry->x, geometry->y, geometry->width + 2 * geometry->border_width,
                        geometry->height + 2 * geometry->border_width);
        }
        window = tree->parent;
    }
}

} // namespace

TEST(FrameExtents, MadeUpDecorationsGiveWayToTheFrameTheWindowManagerDrew) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    zentaris::testing::X11Session session;
    auto& connection = session.desktop().connection();
    const pid_t pid = session.launchClient({"--cardinals", "_NET_FRAME_EXTENTS", "5000,5000,5000,5000"});
    const auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    const auto client = static_cast<xcb_window_t>(window->id);
    ASSERT_TRUE(session.waitUntil([&] {
        platform::x11::PendingProperty declared(connection, client, connection.ewmh()->_NET_FRAME_EXTENTS, XCB_ATOM_CARDINAL, 4);
        const auto values = declared.values32();
        return values && !values->empty() && values->front() == 5000;
    })) << "the client overwrote the window manager's extents";

    for (const Rect& target : {Rect(0, 0, 1920, 1080), Rect(960, 540, 960, 540)}) {
        session.setFrame(*window, target);
        EXPECT_EQ(session.waitForFrame(*window, target), target);
        EXPECT_EQ(frameWindowGeometry(connection, client), target) << "the frame on screen";
    }
    session.terminate(pid);
}

namespace {

// Another client that keeps moving and resizing a window between two frames, as a pager would,
// until it is dropped: the window manager is nearly always busy with one of the moves.
class MovingWindow {
public:
    MovingWindow(const std::string& display, xcb_window_t window, const ProtocolRect& a, const ProtocolRect& b)
        : c_(xcb_connect(display.c_str(), nullptr)), window_(window) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const std::string name = "_NET_MOVERESIZE_WINDOW";
        auto* reply = xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
        type_ = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        mover_ = std::jthread([this, a, b](std::stop_token stop) {
            for (int i = 0; !stop.stop_requested(); ++i) {
                send(i % 2 ? b : a);
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        });
    }
    ~MovingWindow() {
        mover_.request_stop();
        mover_.join();
        xcb_disconnect(c_);
    }
    MovingWindow(const MovingWindow&) = delete;
    MovingWindow& operator=(const MovingWindow&) = delete;

    // The frame's corner at (x, y), the client of the given size (north-west gravity, from a pager).
    void send(const ProtocolRect& r) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window_;
        message.type = type_;
        message.data.data32[0] = 1 | (0xFu << 8) | (2u << 12);
        message.data.data32[1] = static_cast<std::uint32_t>(r.x);
        message.data.data32[2] = static_cast<std::uint32_t>(r.y);
        message.data.data32[3] = r.width;
        message.data.data32[4] = r.height;
        xcb_send_event(c_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c_);
    }

private:
    xcb_connection_t* c_;
    xcb_window_t window_;
    xcb_window_t root_ = XCB_NONE;
    xcb_atom_t type_ = XCB_ATOM_NONE;
    std::jthread mover_;
};

} // namespace

TEST(FrameExtents, AFrameReadWhileTheWindowIsMovingHasTheRealDecorations) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "openbox");
    zentaris::testing::X11Session session;
    auto& connection = session.desktop().connection();
    const ProtocolRect a{100, 100, 500, 300}, b{700, 400, 700, 450};
    // The window manager's own word, then what clients wrote over it: sides beyond the monitor,
    // none at all, no title bar.
    const std::vector<std::vector<std::uint32_t>> declarations{{}, {5000, 5000, 5000, 5000}, {0, 0, 0, 0}, {1, 1, 0, 5}};
    for (const auto& declared : declarations) {
        std::string text;
        for (auto value : declared) text += (text.empty() ? "" : ",") + std::to_string(value);
        SCOPED_TRACE("declared: " + (declared.empty() ? std::string("by the window manager") : text));
        std::vector<std::string> options;
        if (!declared.empty()) options = {"--cardinals", "_NET_FRAME_EXTENTS", text};
        const pid_t pid = session.launchClient(options);
        const auto window = session.waitForWindow(pid);
        ASSERT_TRUE(window);
        const auto client = static_cast<xcb_window_t>(window->id);
        if (!declared.empty()) {
            ASSERT_TRUE(session.waitUntil([&] {
                platform::x11::PendingProperty now(connection, client, connection.ewmh()->_NET_FRAME_EXTENTS, XCB_ATOM_CARDINAL, 4);
                return now.values32() == std::optional(declared);
            })) << "the client overwrote the window manager's extents";
        }
        // The frame the window manager draws for each of the two requests, once it is still.
        std::vector<Rect> still;
        {
            MovingWindow settle(session.display().name(), client, a, a);
        }
        for (const auto& r : {a, b}) {
            MovingWindow once(session.display().name(), client, r, r);
            std::optional<Rect> last;
            // The window manager resizes the frame and the client apart: both must be done.
            session.waitUntil([&] {
                auto now = frameWindowGeometry(connection, client);
                auto inside = platform::x11::waitForReply(connection.xcb(), xcb_get_geometry_reply,
                                                          xcb_get_geometry(connection.xcb(), client));
                const bool steady = now && now == last && now->minX() == r.x && now->minY() == r.y && inside &&
                                    inside->width == r.width && inside->height == r.height;
                last = now;
                return steady;
            });
            ASSERT_TRUE(last);
            // As a person's first press finds it: at rest.
            EXPECT_EQ(session.desktop().mover().appliedFrame(client), last) << "at rest";
            still.push_back(*last);
        }
        const Rect frameA = still[0], frameB = still[1];
        ASSERT_NE(frameA.size, frameB.size);

        MovingWindow moving(session.display().name(), client, a, b);
        int wrong = 0;
        std::optional<Rect> firstWrong;
        for (int i = 0; i < 300; ++i) {
            const auto frame = session.desktop().mover().appliedFrame(client);
            ASSERT_TRUE(frame);
            // Caught between the two, the frame may have one's width and the other's height, but
            // never a size that leaves out or makes up decorations.
            const bool real = (frame->width() == frameA.width() || frame->width() == frameB.width()) &&
                              (frame->height() == frameA.height() || frame->height() == frameB.height());
            if (!real && !wrong++) firstWrong = frame;
            connection.pump();
        }
        EXPECT_EQ(wrong, 0) << "of 300 reads, the first " << ::testing::PrintToString(*firstWrong) << " for "
                            << ::testing::PrintToString(frameA) << " or " << ::testing::PrintToString(frameB);
        session.terminate(pid);
    }
}

