#pragma once

#include "platform/Accessibility.h"
#include "platform/x11/FrameExtents.h"
#include "platform/x11/X11Clients.h"
#include "platform/x11/X11FrameReader.h"
#include "platform/x11/X11FrameWatch.h"
#include "platform/x11/X11Monitors.h"
#include "platform/x11/X11Properties.h"

#include <chrono>
#include <optional>
#include <unordered_map>

namespace platform::x11 {

// Reads and changes the frame of client windows. A frame is the outer rectangle the user sees:
// the client plus the window manager's decorations, less the invisible shadow margin of
// client-side-decorated windows; in accessibility coordinates. A frame read is kept for the look,
// and for as long as nothing is heard of a change when the window's changes are heard of.
class X11WindowMover {
public:
    // How long a requested frame stands in for the real one while the window manager has not
    // applied it yet.
    static constexpr std::chrono::milliseconds pendingLifetime{250};

    X11WindowMover(X11Connection& connection, X11Clients& clients, X11Monitors& monitors);
    ~X11WindowMover();
    X11WindowMover(const X11WindowMover&) = delete;
    X11WindowMover& operator=(const X11WindowMover&) = delete;

    // Nothing when the window has gone.
    std::optional<Rect> frame(xcb_window_t window);
    // The frame the window has now, whatever was requested last.
    std::optional<Rect> appliedFrame(xcb_window_t window);
    // The window manager's decorations as read with the frame (made-up ones refused); nothing when
    // the window has gone.
    std::optional<FrameExtents> decoration(xcb_window_t window);
    AXError setPosition(xcb_window_t window, Point position);
    // Sizes the client cannot take are rounded to what it accepts and aligned to the slot's
    // outer edges.
    AXError setSize(xcb_window_t window, Size size);
    // Raises the window and gives it the focus.
    void activate(xcb_window_t window);
    // Reads the frames of these windows in one round trip, for the reads of this look that follow.
    void prefetchFrames(const std::vector<xcb_window_t>& windows);
    // The root's child that holds the window, once its frame was read (X11FrameWatch::topLevel).
    std::optional<xcb_window_t> topLevel(xcb_window_t window) const { return frameWatch_.topLevel(window); }

private:
    using Extents = FrameExtents;
    struct ClientFrame {
        Rect client; // in root coordinates, border included
        double border = 0;
        Extents decoration; // as the frame window bears them out (FrameReading::decoration)
        Extents shadow;     // _GTK_FRAME_EXTENTS
        Rect outer() const;
    };
    struct Pending {
        Rect target;
        std::chrono::steady_clock::time_point until;
    };

    // A new position waits for the size that normally follows it, so that the window manager gets
    // one request and the window never shows its new place with its old size.
    struct HeldMove {
        xcb_window_t window;
        ClientFrame current;
        Rect target;
        RootSpace space;
    };
    void sendHeldMove();

    using KnownFrames = std::unordered_map<xcb_window_t, std::optional<ClientFrame>>;
    void fetchFrames(const std::vector<xcb_window_t>& windows, KnownFrames& into);
    // What was read of the window is about to change.
    void forgetFrame(xcb_window_t window);
    // From this look's reads; afresh when this process waits for a change.
    std::optional<ClientFrame> readFrame(xcb_window_t window);
    std::optional<ClientFrame> readFrameAfresh(xcb_window_t window);
    std::optional<Rect> inAccessibilitySpace(const std::optional<ClientFrame>& current);
    bool leaveMaximisedState(xcb_window_t window);
    AXError request(xcb_window_t window, const ClientFrame& current, const Rect& target, const RootSpace& space);
    void sendToRoot(xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1 = 0, std::uint32_t d2 = 0,
                    std::uint32_t d3 = 0, std::uint32_t d4 = 0);

    X11Connection& connection_;
    X11Clients& clients_;
    X11Monitors& monitors_;
    LookCache<KnownFrames> knownFrames_;
    // Frames of heard windows (see X11FrameWatch), kept across looks; they are measured against
    // the primary monitor they were read with.
    std::unordered_map<xcb_window_t, ClientFrame> lastingFrames_;
    Rect lastingPrimary_;
    X11FrameWatch frameWatch_;
    X11FrameReader frameReader_;
    std::unordered_map<xcb_window_t, Pending> pending_;
    std::optional<HeldMove> held_;
};

} // namespace platform::x11
