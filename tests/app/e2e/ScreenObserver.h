#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zentaris::testing {

// A rectangle in root coordinates, whole pixels, origin at the top left.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    int maxX() const { return x + width; }
    int maxY() const { return y + height; }
    bool operator==(const PixelRect&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const PixelRect& r) {
    return out << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}

// Looks at the display with its own plain connection, so that what the tests see does not depend
// on the backend under test.
class ScreenObserver {
public:
    explicit ScreenObserver(const std::string& display);
    ~ScreenObserver();
    ScreenObserver(const ScreenObserver&) = delete;
    ScreenObserver& operator=(const ScreenObserver&) = delete;

    // The frame a user sees: the client plus the window manager's decorations (_NET_FRAME_EXTENTS).
    std::optional<PixelRect> outerFrame(xcb_window_t client);
    // The height of the decoration above the client (the top of _NET_FRAME_EXTENTS); 0 without one.
    int decorationAbove(xcb_window_t client);
    std::optional<xcb_window_t> activeWindow();
    // The client stacked above every other but the panels (docks), as the window manager lists them.
    std::optional<xcb_window_t> topmostClient();
    std::optional<xcb_window_t> clientTitled(const std::string& title);
    // The clients whose WM_CLASS instance is `instance`, as the window manager lists them.
    std::vector<xcb_window_t> clientsOfClass(const std::string& instance);
    // The client's resize steps (WM_NORMAL_HINTS); 1 by 1 when it has none.
    std::pair<int, int> resizeIncrement(xcb_window_t client);
    // A mapped override-redirect top-level window (a panel or popup) with this WM_NAME.
    bool overlayShown(const std::string& name);
    // Every viewable window, at any depth, whose WM_CLASS instance is `instance`, in root coordinates.
    std::vector<PixelRect> viewableWindowsOfClass(const std::string& instance);
    // Whether another client holds the keyboard (an open menu does): a trial grab is refused.
    bool keyboardGrabbed();
    // Whether another client holds a passive grab of this key with exactly these modifiers, so
    // that the focused window never sees it: a trial grab of the same combination is refused.
    bool keyGrabbed(xcb_keysym_t keysym, std::uint16_t modifiers);
    // The monitors RandR reports, in its order.
    std::vector<PixelRect> monitors();
    // The viewable windows the server stacks above the client's frame that overlap it: what covers it.
    std::vector<xcb_window_t> windowsAbove(xcb_window_t client);
    // The workspace the client is on (_NET_WM_DESKTOP) and the one in view (_NET_CURRENT_DESKTOP).
    std::optional<std::uint32_t> workspaceOf(xcb_window_t client);
    std::optional<std::uint32_t> currentWorkspace();
    // The window the client is a dialog of (WM_TRANSIENT_FOR).
    std::optional<xcb_window_t> transientFor(xcb_window_t client);
    // Whether the client's _NET_WM_STATE holds `state`.
    bool inState(xcb_window_t client, const char* state);
    // Whether the window can be seen: it and all its ancestors are mapped.
    bool viewable(xcb_window_t client);
    // The instance part of the window's WM_CLASS.
    std::string classInstance(xcb_window_t window);

private:
    xcb_atom_t atom(const char* name);
    std::vector<std::uint32_t> cardinals(xcb_window_t window, xcb_atom_t property, xcb_atom_t type);
    std::string windowName(xcb_window_t window);
    void collectWindowsOfClass(xcb_window_t parent, const std::string& instance, std::vector<PixelRect>& found);

    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_NONE;
};

} // namespace zentaris::testing
