#pragma once

#include "platform/ObservationToken.h"
#include "platform/x11/X11Connection.h"

#include <functional>
#include <memory>
#include <string>

namespace platform::x11 {

// One running program per user and display. The running one owns a selection named for the user,
// as the desktop's managers own theirs: the server drops it when the owner's connection closes, so
// a killed program leaves nothing behind. A later start finds the owner and asks it, by a client
// message, to bring its settings window to the front.
class X11SingleInstance {
public:
    struct Claim {
        // This process now holds the display; the guard lasts as long as this object.
        std::unique_ptr<X11SingleInstance> held;
        // Another process holds it and has been sent the request.
        bool handedOver = false;
    };
    // Claims the display for `user` on this connection, or hands the request to the process that
    // holds it, trying twice. Neither when the server could not be asked or the claim still raced.
    static Claim claim(X11Connection& connection, const std::string& user);
    ~X11SingleInstance();
    X11SingleInstance(const X11SingleInstance&) = delete;
    X11SingleInstance& operator=(const X11SingleInstance&) = delete;

    // Called for each request that arrives while this process holds the display.
    void onRequest(std::function<void()> handler) { handler_ = std::move(handler); }

    // The selection's name for `user`.
    static std::string selectionName(const std::string& user);

private:
    static Claim claimOnce(X11Connection& connection, const std::string& user);
    X11SingleInstance(X11Connection& connection, xcb_window_t window, xcb_atom_t requestType);
    void handle(const xcb_generic_event_t& event);

    X11Connection& connection_;
    xcb_window_t window_;
    xcb_atom_t requestType_;
    std::function<void()> handler_;
    ObservationToken events_;
};

} // namespace platform::x11
