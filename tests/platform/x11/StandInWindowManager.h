#pragma once

// On a bare server (no window manager), the test itself plays the window manager: it makes client
// windows of another application, lists them on the root, frames them and sets their properties.

#include "X11BackendFixture.h"

#include <xcb/xcb.h>

#include <vector>

namespace zentaris::testing {

// The process the stand-in's windows say they belong to.
constexpr pid_t clientPid = 4242;

class StandInWindowManager {
public:
    explicit StandInWindowManager(X11Session& session);
    ~StandInWindowManager();
    StandInWindowManager(const StandInWindowManager&) = delete;
    StandInWindowManager& operator=(const StandInWindowManager&) = delete;

    xcb_atom_t atom(const char* name);
    void set(xcb_window_t window, const char* name, xcb_atom_t type, const std::vector<std::uint32_t>& values);
    void setOnRoot(const char* name, xcb_atom_t type, const std::vector<std::uint32_t>& values) { set(root_, name, type, values); }

    // A mapped window of another application, managed as far as the backend can tell; a dock
    // when it reserves a strut (_NET_WM_STRUT_PARTIAL).
    xcb_window_t manage(const platform::Rect& frame, const std::vector<std::uint32_t>& strut = {}, pid_t pid = clientPid);
    void stackBottomToTop(const std::vector<std::uint32_t>& windows) { setOnRoot("_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW, windows); }

    // Puts the client into a new frame window at `frame`, the client at (left, top) inside it, and
    // says so in _NET_FRAME_EXTENTS; the frame window. `nested`: the client sits in an inner window
    // of its size there instead, two windows below the frame, as some window managers put it.
    xcb_window_t frame(xcb_window_t client, const platform::Rect& frame, std::uint32_t left, std::uint32_t top,
                       bool nested = false);
    void configure(xcb_window_t window, std::uint16_t mask, const std::vector<std::uint32_t>& values);
    // Done by the server when these return, the window left in the lists as a client may leave it.
    void unmap(xcb_window_t window);
    void destroy(xcb_window_t window);
    // A no-op request on the backend's connection: its number tells how many went before it.
    static unsigned int requestNumber(X11Session& session);

    // From now on requests to configure other clients' windows come here instead of being carried out.
    void redirect();
    // What reached the stand-in since the last call: the type of each client message, the window
    // and stack mode of each restack message, and, for a configure request, its frame.
    struct Restack {
        xcb_window_t window;
        std::uint32_t mode;
    };
    struct Requests {
        std::vector<xcb_atom_t> messages;
        std::vector<Restack> restacks;
        std::vector<platform::Rect> configures;
    };
    Requests received(X11Session& session);

private:
    xcb_connection_t* c_;
    xcb_window_t root_;
    std::vector<std::uint32_t> managed_;
};

// A turn of the loop with nothing asked: the events that arrived are seen.
void letEventsArrive(X11Session& session);

} // namespace zentaris::testing
