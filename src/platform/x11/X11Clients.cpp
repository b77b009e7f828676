#include "platform/x11/X11Clients.h"

#include "platform/x11/X11Properties.h"
#include "platform/x11/X11Reply.h"

#include <xcb/res.h>

#include <algorithm>
#include <bit>

namespace platform::x11 {

namespace {
constexpr std::uint32_t allDesktops = 0xFFFFFFFF;
constexpr std::uint32_t iconicState = 3;

std::optional<std::string> classPart(std::optional<std::string> value) {
    if (!value) return std::nullopt;
    // "instance\0class\0"
    const auto separator = value->find('\0');
    if (separator == std::string::npos) return latin1ToUtf8(*value);
    auto className = value->substr(separator + 1);
    if (auto end = className.find('\0'); end != std::string::npos) className.resize(end);
    return latin1ToUtf8(className.empty() ? value->substr(0, separator) : className);
}
} // namespace

X11Clients::X11Clients(X11Connection& connection, ProcessId ownPid, X11Look& look)
    : connection_(connection), ownPid_(ownPid), look_(look), rootLists_(look), known_(look) {
    auto* xcb = connection_.xcb();
    const auto* extension = xcb_get_extension_data(xcb, &xcb_res_id);
    if (extension && extension->present) {
        auto version = waitForReply(xcb, xcb_res_query_version_reply, xcb_res_query_version(xcb, 1, 2));
        hasResourceExtension_ = version && (version->server_major > 1 || version->server_minor >= 2);
    }
    // _NET_SUPPORTED is kept until the window manager changes it, and new clients are watched as
    // _NET_CLIENT_LIST names them.
    connection_.addRootEventMask(XCB_EVENT_MASK_PROPERTY_CHANGE);
    watchClientWindows();
    connection_.flush();
    eventToken_ = connection_.addCacheListener([this](const xcb_generic_event_t& event) { onEvent(event); });
}

X11Clients::~X11Clients() = default;

void X11Clients::watchClientWindows() {
    auto windows = clientList();
    std::sort(windows.begin(), windows.end());
    for (auto window : windows) {
        if (std::binary_search(watched_.begin(), watched_.end(), window)) continue;
        auto cookie = xcb_change_window_attributes_checked(connection_.xcb(), window, XCB_CW_EVENT_MASK, &clientWindowEvents);
        xcb_discard_reply(connection_.xcb(), cookie.sequence);
    }
    watched_ = std::move(windows);
    // Windows that left the list are forgotten: nothing may be kept of a window unheard of.
    std::erase_if(lasting_, [this](const auto& entry) { return !isWatched(entry.first); });
}

bool X11Clients::isWatched(xcb_window_t window) const { return std::binary_search(watched_.begin(), watched_.end(), window); }

void X11Clients::onEvent(const xcb_generic_event_t& event) {
    const auto type = event.response_type & ~0x80;
    if (type == XCB_DESTROY_NOTIFY) {
        lasting_.erase(reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window);
        return;
    }
    if (type != XCB_PROPERTY_NOTIFY) return;
    const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
    auto* ewmh = connection_.ewmh();
    if (notify.window == connection_.root()) {
        if (notify.atom == ewmh->_NET_SUPPORTED) supported_.reset();
        else if (notify.atom == ewmh->_NET_CLIENT_LIST) watchClientWindows();
        return;
    }
    const auto atom = notify.atom;
    if (atom == ewmh->_NET_WM_PID || atom == ewmh->_NET_WM_WINDOW_TYPE || atom == ewmh->_NET_WM_STATE ||
        atom == XCB_ATOM_WM_TRANSIENT_FOR || atom == ewmh->_NET_WM_DESKTOP || atom == connection_.atom("WM_STATE") ||
        atom == XCB_ATOM_WM_CLASS)
        lasting_.erase(notify.window);
}

bool X11Clients::supported(xcb_atom_t atom) {
    if (!supported_) {
        auto list = PendingProperty(connection_, connection_.root(), connection_.ewmh()->_NET_SUPPORTED, XCB_ATOM_ATOM).values32();
        supported_.emplace();
        if (list) supported_->assign(list->begin(), list->end());
    }
    return std::find(supported_->begin(), supported_->end(), atom) != supported_->end();
}

const X11Clients::RootLists& X11Clients::rootLists() {
    auto& kept = rootLists_.get();
    if (kept) return *kept;
    auto* ewmh = connection_.ewmh();
    const auto root = connection_.root();
    PendingProperty stacking(connection_, root, ewmh->_NET_CLIENT_LIST_STACKING, XCB_ATOM_WINDOW);
    PendingProperty list(connection_, root, ewmh->_NET_CLIENT_LIST, XCB_ATOM_WINDOW);
    PendingProperty active(connection_, root, ewmh->_NET_ACTIVE_WINDOW, XCB_ATOM_WINDOW, 1);
    PendingProperty desktop(connection_, root, ewmh->_NET_CURRENT_DESKTOP, XCB_ATOM_CARDINAL, 1);
    // The server's own stacking, in the same round trip: some window managers' list above ignores raises.
    auto* xcb = connection_.xcb();
    const auto tree = xcb_query_tree(xcb, root);
    RootLists lists;
    auto mapped = list.values32();
    if (mapped) lists.clientList.assign(mapped->begin(), mapped->end());
    auto bottomToTop = stacking.values32();
    if (!bottomToTop) bottomToTop = mapped;
    if (bottomToTop) lists.stackingTopmostFirst.assign(bottomToTop->rbegin(), bottomToTop->rend());
    if (auto value = active.values32(); value && !value->empty() && value->front() != XCB_WINDOW_NONE) lists.active = value->front();
    if (auto value = desktop.values32(); value && !value->empty()) lists.currentDesktop = value->front();
    if (auto children = waitForReply(xcb, xcb_query_tree_reply, tree)) {
        const auto* first = xcb_query_tree_children(children.get());
        lists.rootChildren.assign(first, first + xcb_query_tree_children_length(children.get()));
    }
    kept = std::move(lists);
    return *kept;
}

std::vector<xcb_window_t> X11Clients::stackingTopmostFirst() { return rootLists().stackingTopmostFirst; }

std::vector<xcb_window_t> X11Clients::clientList() { return rootLists().clientList; }

std::vector<xcb_window_t> X11Clients::rootChildrenBottomToTop() { return rootLists().rootChildren; }

std::optional<std::uint32_t> X11Clients::currentDesktop() { return rootLists().currentDesktop; }

ProcessId X11Clients::clientIdentity(xcb_window_t window) const {
    // Every client's resources share its base: the bits above the server's resource mask.
    const std::uint32_t mask = xcb_get_setup(connection_.xcb())->resource_id_mask;
    const auto shift = static_cast<unsigned>(std::countr_one(mask));
    const std::uint32_t client = shift >= 32 ? 0 : (window & ~mask) >> shift;
    return -static_cast<ProcessId>(client & 0x7FFFFFFF) - 1;
}

void X11Clients::fetch(const std::vector<xcb_window_t>& windows, Known& into) {
    auto* ewmh = connection_.ewmh();
    const xcb_atom_t wmState = connection_.atom("WM_STATE");
    struct Requests {
        PendingProperty pid, types, states, transient, desktop, iconic, wmClass;
    };
    std::vector<Requests> requests;
    requests.reserve(windows.size());
    // Decided before asking: a change after the answer is heard only if the window was watched then.
    std::vector<bool> heard;
    for (auto window : windows) {
        heard.push_back(isWatched(window));
        requests.push_back({PendingProperty(connection_, window, ewmh->_NET_WM_PID, XCB_ATOM_CARDINAL, 1),
                            PendingProperty(connection_, window, ewmh->_NET_WM_WINDOW_TYPE, XCB_ATOM_ATOM),
                            PendingProperty(connection_, window, ewmh->_NET_WM_STATE, XCB_ATOM_ATOM),
                            PendingProperty(connection_, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 1),
                            PendingProperty(connection_, window, ewmh->_NET_WM_DESKTOP, XCB_ATOM_CARDINAL, 1),
                            PendingProperty(connection_, window, wmState, wmState, 2),
                            PendingProperty(connection_, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 256)});
    }
    std::vector<ClientInfo*> withoutPid;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        auto& r = requests[i];
        auto& slot = into[windows[i]];
        slot.reset();
        // WM_STATE is set on every managed window: without it the window is gone or no client.
        const auto state = r.iconic.values32();
        if (!state || state->empty()) continue;
        ClientInfo info;
        info.window = windows[i];
        info.iconic = state->front() == iconicState;
        if (auto pid = r.pid.values32(); pid && !pid->empty() && pid->front() != 0 && pid->front() <= 0x7FFFFFFF)
            info.pid = static_cast<ProcessId>(pid->front());
        if (auto types = r.types.values32()) info.types.assign(types->begin(), types->end());
        if (auto states = r.states.values32()) info.states.assign(states->begin(), states->end());
        if (auto transient = r.transient.values32(); transient && !transient->empty()) info.transientFor = transient->front();
        if (auto desktop = r.desktop.values32(); desktop && !desktop->empty()) info.desktop = desktop->front();
        info.className = classPart(r.wmClass.text());
        slot = std::move(info);
        if (slot->pid == 0) withoutPid.push_back(&*slot);
    }
    findProcesses(withoutPid);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const auto& slot = into[windows[i]];
        if (slot && heard[i]) lasting_[windows[i]] = *slot;
        else lasting_.erase(windows[i]);
    }
}

void X11Clients::findProcesses(std::vector<ClientInfo*>& withoutPid) {
    // The server knows the process of a local client (X-Resource): one more batch for all of them.
    auto* xcb = connection_.xcb();
    std::vector<xcb_res_query_client_ids_cookie_t> cookies;
    if (hasResourceExtension_) {
        for (const auto* client : withoutPid) {
            const xcb_res_client_id_spec_t pidQuery{client->window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
            cookies.push_back(xcb_res_query_client_ids(xcb, 1, &pidQuery));
        }
    }
    for (std::size_t i = 0; i < withoutPid.size(); ++i) {
        auto* client = withoutPid[i];
        if (i < cookies.size()) {
            if (auto reply = waitForReply(xcb, xcb_res_query_client_ids_reply, cookies[i])) {
                for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem > 0; xcb_res_client_id_value_next(&it)) {
                    if (!(it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) ||
                        xcb_res_client_id_value_value_length(it.data) < 1)
                        continue;
                    const std::uint32_t pid = *xcb_res_client_id_value_value(it.data);
                    if (pid != 0 && pid <= 0x7FFFFFFF) client->pid = static_cast<ProcessId>(pid);
                    break;
                }
            }
        }
        if (client->pid == 0) client->pid = clientIdentity(client->window);
    }
}

std::vector<ClientInfo> X11Clients::read(const std::vector<xcb_window_t>& windows) {
    auto& known = known_.get();
    std::vector<xcb_window_t> missing;
    for (auto window : windows) {
        if (!known.count(window) && !lasting_.count(window)) missing.push_back(window);
    }
    if (!missing.empty()) fetch(missing, known);
    std::vector<ClientInfo> clients;
    clients.reserve(windows.size());
    for (auto window : windows) {
        if (auto kept = known.find(window); kept != known.end()) {
            if (kept->second) clients.push_back(*kept->second);
        } else if (auto lasting = lasting_.find(window); lasting != lasting_.end()) {
            clients.push_back(lasting->second);
        }
    }
    return clients;
}

std::optional<ClientInfo> X11Clients::read(xcb_window_t window) {
    auto clients = read(std::vector<xcb_window_t>{window});
    if (clients.empty()) return std::nullopt;
    return std::move(clients.front());
}

std::optional<ClientInfo> X11Clients::readAfresh(xcb_window_t window) {
    auto& known = known_.get();
    fetch({window}, known);
    return known[window];
}

std::optional<ClientInfo> X11Clients::activeClient() {
    const auto active = rootLists().active;
    if (!active) return std::nullopt;
    auto client = read(*active);
    if (!client) return std::nullopt;
    const auto kind = kindOf(*client);
    if (kind == ClientKind::desktop || kind == ClientKind::dock) return std::nullopt;
    return client;
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

} // namespace platform::x11
