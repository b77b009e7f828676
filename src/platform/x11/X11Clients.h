#pragma once

#include "platform/Accessibility.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Look.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::x11 {

// What the window manager and the client say about one managed (client) window.
struct ClientInfo {
    xcb_window_t window = XCB_WINDOW_NONE;
    // The application the window belongs to: its process (_NET_WM_PID, else the server's record of
    // a local client), else an identity of the X client that made the window (negative, never a
    // process number). Never 0.
    ProcessId pid = 0;
    std::vector<xcb_atom_t> types;
    std::vector<xcb_atom_t> states;
    xcb_window_t transientFor = XCB_WINDOW_NONE;
    std::optional<std::uint32_t> desktop;
    bool iconic = false; // WM_STATE says IconicState
    std::optional<std::string> className; // the class part of WM_CLASS
};

enum class ClientKind { standard, dialog, floating, splash, notification, desktop, dock };

// What this process hears of every managed window, and of the frame around it: changes of its
// properties, and its moves, resizes, reparenting and end.
constexpr std::uint32_t clientWindowEvents = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

// Reads client windows through EWMH and ICCCM. Our own process's windows are left out of every
// list. The root's lists are kept for the current look (one command) and read in one round trip;
// the clients' properties are read in one pipelined batch for as many windows as are asked at once
// and kept until the window says they changed, which a desktop of many windows would otherwise
// pay for on every command.
class X11Clients {
public:
    X11Clients(X11Connection& connection, ProcessId ownPid, X11Look& look);
    ~X11Clients();
    X11Clients(const X11Clients&) = delete;
    X11Clients& operator=(const X11Clients&) = delete;

    X11Connection& connection() { return connection_; }
    X11Look& look() { return look_; }
    ProcessId ownPid() const { return ownPid_; }

    // Managed windows, topmost first (_NET_CLIENT_LIST_STACKING, else _NET_CLIENT_LIST).
    std::vector<xcb_window_t> stackingTopmostFirst();
    // Managed windows in the order the window manager first mapped them.
    std::vector<xcb_window_t> clientList();
    // The root's children bottom to top, as the server stacks them (read with the lists above).
    std::vector<xcb_window_t> rootChildrenBottomToTop();
    // Reads many clients in one round trip; windows that vanished are left out, order kept.
    std::vector<ClientInfo> read(const std::vector<xcb_window_t>& windows);
    std::optional<ClientInfo> read(xcb_window_t window);
    // Asks the server again, whatever the look holds (for a state this process is waiting on).
    std::optional<ClientInfo> readAfresh(xcb_window_t window);
    // _NET_ACTIVE_WINDOW; none for desktop and dock windows.
    std::optional<ClientInfo> activeClient();
    std::optional<std::uint32_t> currentDesktop();
    // Whether the window manager says it supports this hint (_NET_SUPPORTED, kept until it changes).
    bool supported(xcb_atom_t atom);

    ClientKind kindOf(const ClientInfo& client);
    bool isMinimised(const ClientInfo& client);
    bool isOnDesktop(const ClientInfo& client, std::optional<std::uint32_t> currentDesktop);
    // A window that can be arranged: of another process, on the current desktop, not a panel.
    bool isListable(const ClientInfo& client, std::optional<std::uint32_t> currentDesktop);
    bool hasState(const ClientInfo& client, xcb_atom_t state) const;
    // _NET_WM_NAME, else WM_NAME.
    std::optional<std::string> title(xcb_window_t window);

    // The application identity of a window whose client names no process: one per X client.
    ProcessId clientIdentity(xcb_window_t window) const;
    // Whether this process hears of the window's changes (clientWindowEvents), so that what was
    // read of it stays true until an event says otherwise.
    bool isWatched(xcb_window_t window) const;

private:
    struct RootLists {
        std::vector<xcb_window_t> stackingTopmostFirst;
        std::vector<xcb_window_t> clientList;
        std::vector<xcb_window_t> rootChildren;
        std::optional<xcb_window_t> active;
        std::optional<std::uint32_t> currentDesktop;
    };
    using Known = std::unordered_map<xcb_window_t, std::optional<ClientInfo>>;
    const RootLists& rootLists();
    void fetch(const std::vector<xcb_window_t>& windows, Known& into);
    void findProcesses(std::vector<ClientInfo*>& withoutPid);
    // Selects clientWindowEvents on every managed window not yet watched.
    void watchClientWindows();
    void onEvent(const xcb_generic_event_t& event);

    X11Connection& connection_;
    ProcessId ownPid_;
    X11Look& look_;
    LookCache<std::optional<RootLists>> rootLists_;
    LookCache<Known> known_;
    // Sorted: a desktop of many windows costs a search per window, not a scan.
    std::vector<xcb_window_t> watched_;
    // What was read of watched windows, kept across looks until their own events drop it.
    std::unordered_map<xcb_window_t, ClientInfo> lasting_;
    std::optional<std::vector<xcb_atom_t>> supported_;
    bool hasResourceExtension_ = false;
    ObservationToken eventToken_;
};

} // namespace platform::x11
