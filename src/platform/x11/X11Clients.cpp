#include "platform/x11/X11Clients.h"

#include "platform/x11/X11Properties.h"

#include <algorithm>

namespace platform::x11 {

namespace {
constexpr std::uint32_t allDesktops = 0xFFFFFFFF;
constexpr std::uint32_t iconicState = 3;
} // namespace

X11Clients::X11Clients(X11Connection& connection, ProcessId ownPid) : connection_(connection), ownPid_(ownPid) {}

std::vector<xcb_window_t> X11Clients::stackingTopmostFirst() {
    auto* ewmh = connection_.ewmh();
    auto stacking = PendingProperty(connection_, connection_.root(), ewmh->_NET_CLIENT_LIST_STACKING, XCB_ATOM_WINDOW).values32();
    if (!stacking) stacking = PendingProperty(connection_, connection_.root(), ewmh->_NET_CLIENT_LIST, XCB_ATOM_WINDOW).values32();
    if (!stacking) return {};
    // The property lists bottom to top.
    return {stacking->rbegin(), stacking->rend()};
}

std::vector<xcb_window_t> X11Clients::clientList() {
    auto list = PendingProperty(connection_, connection_.root(), connection_.ewmh()->_NET_CLIENT_LIST, XCB_ATOM_WINDOW).values32();
    if (!list) return {};
    return {list->begin(), list->end()};
}

std::vector<ClientInfo> X11Clients::read(const std::vector<xcb_window_t>& windows) {
    auto* ewmh = connection_.ewmh();
    const xcb_atom_t wmState = connection_.atom("WM_STATE");
    struct Requests {
        PendingProperty pid, types, states, transient, desktop, iconic;
    };
    std::vector<Requests> requests;
    requests.reserve(windows.size());
    for (auto window : windows) {
        requests.push_back({PendingProperty(connection_, window, ewmh->_NET_WM_PID, XCB_ATOM_CARDINAL, 1),
                            PendingProperty(connection_, window, ewmh->_NET_WM_WINDOW_TYPE, XCB_ATOM_ATOM),
                            PendingProperty(connection_, window, ewmh->_NET_WM_STATE, XCB_ATOM_ATOM),
                            PendingProperty(connection_, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 1),
                            PendingProperty(connection_, window, ewmh->_NET_WM_DESKTOP, XCB_ATOM_CARDINAL, 1),
                            PendingProperty(connection_, window, wmState, wmState, 2)});
    }
    std::vector<ClientInfo> clients;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        auto& r = requests[i];
        ClientInfo info;
        info.window = windows[i];
        // WM_STATE is set on every managed window: without it the window is gone or no client.
        const auto state = r.iconic.values32();
        if (!state || state->empty()) continue;
        info.iconic = state->front() == iconicState;
        if (auto pid = r.pid.values32(); pid && !pid->empty()) info.pid = static_cast<ProcessId>(pid->front());
        if (auto types = r.types.values32()) info.types.assign(types->begin(), types->end());
        if (auto states = r.states.values32()) info.states.assign(states->begin(), states->end());
        if (auto transient = r.transient.values32(); transient && !transient->empty()) info.transientFor = transient->front();
        if (auto desktop = r.desktop.values32(); desktop && !desktop->empty()) info.desktop = desktop->front();
        clients.push_back(std::move(info));
    }
    return clients;
}

std::optional<ClientInfo> X11Clients::read(xcb_window_t window) {
    auto clients = read(std::vector<xcb_window_t>{window});
    if (clients.empty()) return std::nullopt;
    return std::move(clients.front());
}

std::optional<ClientInfo> X11Clients::activeClient() {
    auto active = PendingProperty(connection_, connection_.root(), connection_.ewmh()->_NET_ACTIVE_WINDOW, XCB_ATOM_WINDOW, 1).values32();
    if (!active || active->empty() || active->front() == XCB_WINDOW_NONE) return std::nullopt;
    auto client = read(active->front());
    if (!client) return std::nullopt;
    const auto kind = kindOf(*client);
    if (kind == ClientKind::desktop || kind == ClientKind::dock) return std::nullopt;
    return client;
}

std::optional<std::uint32_t> X11Clients::currentDesktop() {
    auto current = PendingProperty(connection_, connection_.root(), connection_.ewmh()->_NET_CURRENT_DESKTOP, XCB_ATOM_CARDINAL, 1).values32();
    if (!current || current->empty()) return std::nullopt;
    return current->front();
}

ClientKind X11Clients::kindOf(const ClientInfo& client) {
    auto* ewmh = connection_.ewmh();
    // The list is in order of preference: the first type we know decides.
    for (auto type : client.types) {
        if (type == ewmh->_NET_WM_WINDOW_TYPE_NORMAL) return ClientKind::standard;
        if (type == ewmh->_NET_WM_WINDOW_TYPE_DIALOG) return ClientKind::dialog;
        if (type == ewmh->_NET_WM_WINDOW_TYPE_UTILITY || type == ewmh->_NET_WM_WINDOW_TYPE_TOOLBAR ||
            type == ewmh->_NET_WM_WINDOW_TYPE_MENU || type == ewmh->_NET_WM_WINDOW_TYPE_DROPDOWN_MENU ||
            type == ewmh->_NET_WM_WINDOW_TYPE_POPUP_MENU || type == ewmh->_NET_WM_WINDOW_TYPE_TOOLTIP ||
            type == ewmh->_NET_WM_WINDOW_TYPE_COMBO || type == ewmh->_NET_WM_WINDOW_TYPE_DND)
            return ClientKind::floating;
        if (type == ewmh->_NET_WM_WINDOW_TYPE_SPLASH) return ClientKind::splash;
        if (type == ewmh->_NET_WM_WINDOW_TYPE_NOTIFICATION) return ClientKind::notification;
        if (type == ewmh->_NET_WM_WINDOW_TYPE_DESKTOP) return ClientKind::desktop;
        if (type == ewmh->_NET_WM_WINDOW_TYPE_DOCK) return ClientKind::dock;
    }
    // Without a type, a transient window is a dialog.
    return client.transientFor != XCB_WINDOW_NONE ? ClientKind::dialog : ClientKind::standard;
}

bool X11Clients::hasState(const ClientInfo& client, xcb_atom_t state) const {
    return std::find(client.states.begin(), client.states.end(), state) != client.states.end();
}

bool X11Clients::isMinimised(const ClientInfo& client) {
    return client.iconic || hasState(client, connection_.ewmh()->_NET_WM_STATE_HIDDEN);
}

bool X11Clients::isOnDesktop(const ClientInfo& client, std::optional<std::uint32_t> currentDesktop) {
    if (!client.desktop || !currentDesktop || *client.desktop == allDesktops) return true;
    return *client.desktop == *currentDesktop || hasState(client, connection_.ewmh()->_NET_WM_STATE_STICKY);
}

bool X11Clients::isListable(const ClientInfo& client, std::optional<std::uint32_t> currentDesktop) {
    if (client.pid == ownPid_) return false;
    const auto kind = kindOf(client);
    if (kind == ClientKind::desktop || kind == ClientKind::dock) return false;
    return isOnDesktop(client, currentDesktop);
}

std::optional<std::string> X11Clients::title(xcb_window_t window) {
    PendingProperty netName(connection_, window, connection_.ewmh()->_NET_WM_NAME, connection_.ewmh()->UTF8_STRING);
    PendingProperty wmName(connection_, window, XCB_ATOM_WM_NAME);
    if (auto name = netName.text()) return name;
    xcb_atom_t type = XCB_ATOM_NONE;
    auto name = wmName.text(&type);
    if (!name) return std::nullopt;
    return type == XCB_ATOM_STRING ? latin1ToUtf8(*name) : *name;
}

std::optional<std::string> X11Clients::className(xcb_window_t window) {
    auto value = PendingProperty(connection_, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).text();
    if (!value) return std::nullopt;
    // "instance\0class\0"
    const auto separator = value->find('\0');
    if (separator == std::string::npos) return latin1ToUtf8(*value);
    auto className = value->substr(separator + 1);
    if (auto end = className.find('\0'); end != std::string::npos) className.resize(end);
    return latin1ToUtf8(className.empty() ? value->substr(0, separator) : className);
}

} // namespace platform::x11
