#pragma once

#include "platform/ObservationToken.h"
#include "platform/x11/X11Clients.h"

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace platform::x11 {

// Window managers put a client one or two windows below the root; a deeper tree is not a frame.
constexpr int maxFrameDepth = 8;

// Tells when the frame of a managed window may have changed: the client window moved, was resized,
// reparented or destroyed, its frame extents changed, or a window between it and the root (the
// window manager's frame) moved or changed. Only a frame heard of this way may be kept from one
// command to the next.
class X11FrameWatch {
public:
    using Changed = std::function<void(xcb_window_t client)>;
    X11FrameWatch(X11Connection& connection, X11Clients& clients, Changed changed);
    X11FrameWatch(const X11FrameWatch&) = delete;
    X11FrameWatch& operator=(const X11FrameWatch&) = delete;

    struct Ancestry {
        // Whether the client's frame is heard of from now on.
        bool heard = false;
        // The windows between the client and the root, nearest first (the last one is the window
        // manager's frame); none when the client is gone or lies deeper than a frame.
        std::optional<std::vector<xcb_window_t>> above;
    };
    // Starts hearing of the frames of these clients (one round trip per level of windows above
    // those not heard of yet; those never heard of are walked every time). Reads of the frame
    // sent after this call see every change that is not announced yet.
    std::vector<Ancestry> watch(const std::vector<xcb_window_t>& clients);
    // The root's child that holds a heard client (its frame, or the client itself); none for a
    // client not heard of.
    std::optional<xcb_window_t> topLevel(xcb_window_t client) const;

private:
    void onEvent(const xcb_generic_event_t& event);
    // The client's frame may have changed; with `rewalk` the windows above it may have too.
    void changed(xcb_window_t client, bool rewalk);
    void forget(xcb_window_t client);

    X11Connection& connection_;
    X11Clients& clients_;
    Changed onChange_;
    // Each heard client's windows above it, below the root (none when the root holds it).
    std::unordered_map<xcb_window_t, std::vector<xcb_window_t>> ancestorsOf_;
    // The heard clients below each of those windows.
    std::unordered_map<xcb_window_t, std::vector<xcb_window_t>> clientsUnder_;
    ObservationToken eventToken_;
};

} // namespace platform::x11
