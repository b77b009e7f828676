#pragma once

#include "platform/Accessibility.h"
#include "platform/x11/X11Connection.h"

#include <optional>
#include <string>
#include <vector>

namespace platform::x11 {

// What the window manager and the client say about one managed (client) window.
struct ClientInfo {
    xcb_window_t window = XCB_WINDOW_NONE;
    ProcessId pid = 0; // 0 when the client does not say
    std::vector<xcb_atom_t> types;
    std::vector<xcb_atom_t> states;
    xcb_window_t transientFor = XCB_WINDOW_NONE;
    std::optional<std::uint32_t> desktop;
    bool iconic = false; // WM_STATE says IconicState
};

enum class ClientKind { standard, dialog, floating, splash, notification, desktop, dock };

// Reads client windows through EWMH and ICCCM. Our own process's windows are left out of every list.
class X11Clients {
public:
    X11Clients(X11Connection& connection, ProcessId ownPid);

    X11Connection& connection() { return connection_; }
    ProcessId ownPid() const { return ownPid_; }

    // Managed windows, topmost first (_NET_CLIENT_LIST_STACKING, else _NET_CLIENT_LIST).
    std::vector<xcb_window_t> stackingTopmostFirst();
    // Managed windows in the order the window manager first mapped them.
    std::vector<xcb_window_t> clientList();
    // Reads many clients in one round trip; windows that vanished are left out, order kept.
    std::vector<ClientInfo> read(const std::vector<xcb_window_t>& windows);
    std::optional<ClientInfo> read(xcb_window_t window);
    // _NET_ACTIVE_WINDOW; none for desktop and dock windows.
    std::optional<ClientInfo> activeClient();
    std::optional<std::uint32_t> currentDesktop();

    ClientKind kindOf(const ClientInfo& client);
    bool isMinimised(const ClientInfo& client);
    bool isOnDesktop(const ClientInfo& client, std::optional<std::uint32_t> currentDesktop);
    // A window that can be arranged: of another process, on the current desktop, not a panel.
    bool isListable(const ClientInfo& client, std::optional<std::uint32_t> currentDesktop);
    bool hasState(const ClientInfo& client, xcb_atom_t state) const;
    // _NET_WM_NAME, else WM_NAME.
    std::optional<std::string> title(xcb_window_t window);
    // The class part of WM_CLASS.
    std::optional<std::string> className(xcb_window_t window);

private:
    X11Connection& connection_;
    ProcessId ownPid_;
};

} // namespace platform::x11
