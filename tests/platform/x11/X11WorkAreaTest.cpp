// Panels that keep themselves out of the desktop's work area without reserving a strut, and
// desktops whose one work area spans several monitors.
#include "X11LayoutEngine.h"

#include "platform/x11/X11Reply.h"
#include "support/TemporaryDirectory.h"

#include <xcb/xcb.h>

#include <cstring>

using platform::AXUIElement;
using platform::Rect;
using platform::x11::waitForReply;
using zentaris::testing::X11Session;
using Engine = zentaris::testing::X11LayoutEngine;

namespace {

// What the server itself says about windows, over a connection of its own: independent of the
// backend under test.
class ServerView {
public:
    explicit ServerView(X11Session& session) : c_(xcb_connect(session.display().name().c_str(), nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    }
    ~ServerView() { xcb_disconnect(c_); }
    ServerView(const ServerView&) = delete;
    ServerView& operator=(const ServerView&) = delete;

    // The area a mapped top-level window with this WM_WINDOW_ROLE covers, border included.
    std::optional<Rect> topLevelWithRole(const std::string& role) {
        auto tree = waitForReply(c_, xcb_query_tree_reply, xcb_query_tree(c_, root_));
        if (!tree) return std::nullopt;
        const xcb_atom_t roleAtom = atom("WM_WINDOW_ROLE");
        const auto* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            auto property = waitForReply(c_, xcb_get_property_reply,
                                         xcb_get_property(c_, 0, children[i], roleAtom, XCB_ATOM_STRING, 0, 64));
            if (!property || property->format != 8) continue;
            const std::string value(static_cast<const char*>(xcb_get_property_value(property.get())),
                                    static_cast<std::size_t>(xcb_get_property_value_length(property.get())));
            auto attributes = waitForReply(c_, xcb_get_window_attributes_reply, xcb_get_window_attributes(c_, children[i]));
            if (value == role && attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) return outerArea(children[i]);
        }
        return std::nullopt;
    }

    // The area the window manager's frame around a client covers, border included.
    std::optional<Rect> frameOf(xcb_window_t client) {
        xcb_window_t window = client;
        for (;;) {
            auto tree = waitForReply(c_, xcb_query_tree_reply, xcb_query_tree(c_, window));
            if (!tree) return std::nullopt;
            if (tree->parent == root_) return outerArea(window);
            window = tree->parent;
        }
    }

private:
    xcb_atom_t atom(const char* name) {
        auto reply = waitForReply(c_, xcb_intern_atom_reply,
                                  xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    std::optional<Rect> outerArea(xcb_window_t topLevel) {
        auto geometry = waitForReply(c_, xcb_get_geometry_reply, xcb_get_geometry(c_, topLevel));
        if (!geometry) return std::nullopt;
        const double border = geometry->border_width;
        return Rect(geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border);
    }

    xcb_connection_t* c_;
    xcb_window_t root_ = XCB_NONE;
};

// fluxbox as it comes, its toolbar along the whole bottom edge.
void writeStockFluxboxSetup(const zentaris::testing::TemporaryDirectory& home) {
    std::filesystem::create_directories(home / ".fluxbox");
    zentaris::testing::writeFile(home / ".fluxbox" / "init", "session.screen0.toolbar.visible: true\n"
                                                             "session.screen0.toolbar.placement: BottomCenter\n"
                                                             "session.screen0.toolbar.widthPercent: 100\n");
}

} // namespace

TEST(X11WorkArea, FillAndTheBottomHalfStayAboveAToolbarThatReservesNoStrut) {
    ZENTARIS_REQUIRE_PROGRAMS("Xvfb", "fluxbox");
    zentaris::testing::TemporaryDirectory home;
    writeStockFluxboxSetup(home);
    X11Session session({.windowManager = {"env", "HOME=" + home.path().string(), "fluxbox"}});
    ServerView server(session);
    std::optional<Rect> toolbar;
    ASSERT_TRUE(session.waitUntil([&] { return (toolbar = server.topLevelWithRole("fluxbox-toolbar")).has_value(); }, 5));
    ASSERT_EQ(toolbar->maxY(), 1080);
    ASSERT_GT(toolbar->height(), 0);
    const double toolbarTop = toolbar->minY();

    Engine engine(session);
    const pid_t pid = session.launchClient({});
    auto window = session.waitForWindow(pid);
    ASSERT_TRUE(window);
    auto& ax = session.accessibility();
    ASSERT_TRUE(session.waitUntil(
        [&] { return ax.copyAttributeValue(ax.createApplication(pid), "AXFocusedWindow").as<AXUIElement>() == window; }));
    const auto client = static_cast<xcb_window_t>(window->id);

    // Fill: the whole usable area of the screen, less half the default 2-pixel gap on each side.
    const auto screen = engine.service.layoutService().targetScreen();
    ASSERT_TRUE(screen);
    const auto usable = engine.service.frameCalculator().usableFrame(*screen);
    ASSERT_TRUE(engine.service.moveService().moveWindow(*window, false, false, usable));
    const Rect filled(1, 1, 1918, toolbarTop - 2);
    session.waitForFrame(*window, filled);
    EXPECT_EQ(server.frameOf(client), filled) << "toolbar from y = " << toolbarTop;

    ASSERT_TRUE(engine.service.layoutService().applyHalf(true, true));
    const Rect bottomHalf(1, toolbarTop / 2 + 1, 1918, toolbarTop / 2 - 2);
    session.waitForFrame(*window, bottomHalf);
    EXPECT_EQ(server.frameOf(client), bottomHalf) << "toolbar from y = " << toolbarTop;
}
