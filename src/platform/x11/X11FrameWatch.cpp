#include "platform/x11/X11FrameWatch.h"

#include "platform/x11/X11Reply.h"

#include <algorithm>

namespace platform::x11 {

X11FrameWatch::X11FrameWatch(X11Connection& connection, X11Clients& clients, Changed changed)
    : connection_(connection), clients_(clients), onChange_(std::move(changed)) {
    eventToken_ = connection_.addCacheListener([this](const xcb_generic_event_t& event) { onEvent(event); });
}

std::vector<X11FrameWatch::Ancestry> X11FrameWatch::watch(const std::vector<xcb_window_t>& clients) {
    std::vector<Ancestry> result(clients.size());
    struct Walk {
        std::size_t index;
        xcb_window_t at;
        std::vector<xcb_window_t> above;
    };
    std::vector<Walk> walking;
    for (std::size_t i = 0; i < clients.size(); ++i) {
        if (auto known = ancestorsOf_.find(clients[i]); known != ancestorsOf_.end()) result[i] = {true, known->second};
        else walking.push_back({i, clients[i], {}});
    }
    auto* c = connection_.xcb();
    std::vector<xcb_window_t> newlyWatched;
    for (int depth = 0; depth < maxFrameDepth && !walking.empty(); ++depth) {
        std::vector<xcb_query_tree_cookie_t> cookies;
        for (const auto& walk : walking) cookies.push_back(xcb_query_tree(c, walk.at));
        std::vector<Walk> next;
        for (std::size_t i = 0; i < walking.size(); ++i) {
            auto tree = waitForReply(c, xcb_query_tree_reply, cookies[i]);
            auto& walk = walking[i];
            if (!tree || tree->parent == XCB_WINDOW_NONE) continue; // gone
            if (tree->parent != connection_.root()) {
                walk.above.push_back(tree->parent);
                walk.at = tree->parent;
                next.push_back(std::move(walk));
                continue;
            }
            auto& found = result[walk.index];
            found.above = walk.above;
            const auto client = clients[walk.index];
            // A client not watched itself would not tell of its reparenting or its end.
            if (!clients_.isWatched(client)) continue;
            for (auto window : walk.above) {
                auto& under = clientsUnder_[window];
                if (under.empty()) newlyWatched.push_back(window);
                if (std::find(under.begin(), under.end(), client) == under.end()) under.push_back(client);
            }
            ancestorsOf_[client] = std::move(walk.above);
            found.heard = true;
        }
        walking = std::move(next);
    }
    for (auto window : newlyWatched) {
        auto cookie = xcb_change_window_attributes_checked(c, window, XCB_CW_EVENT_MASK, &clientWindowEvents);
        xcb_discard_reply(c, cookie.sequence);
    }
    return result;
}

std::optional<xcb_window_t> X11FrameWatch::topLevel(xcb_window_t client) const {
    const auto found = ancestorsOf_.find(client);
    if (found == ancestorsOf_.end()) return std::nullopt;
    return found->second.empty() ? client : found->second.back();
}

void X11FrameWatch::forget(xcb_window_t client) {
    auto found = ancestorsOf_.find(client);
    if (found == ancestorsOf_.end()) return;
    for (auto window : found->second) {
        auto under = clientsUnder_.find(window);
        if (under == clientsUnder_.end()) continue;
        std::erase(under->second, client);
        if (under->second.empty()) clientsUnder_.erase(under);
    }
    ancestorsOf_.erase(found);
}

void X11FrameWatch::changed(xcb_window_t client, bool rewalk) {
    if (rewalk) forget(client);
    onChange_(client);
}

void X11FrameWatch::onEvent(const xcb_generic_event_t& event) {
    xcb_window_t window = XCB_WINDOW_NONE;
    bool rewalk = false;
    switch (event.response_type & ~0x80) {
    case XCB_CONFIGURE_NOTIFY: window = reinterpret_cast<const xcb_configure_notify_event_t&>(event).window; break;
    case XCB_GRAVITY_NOTIFY: window = reinterpret_cast<const xcb_gravity_notify_event_t&>(event).window; break;
    case XCB_REPARENT_NOTIFY:
        window = reinterpret_cast<const xcb_reparent_notify_event_t&>(event).window;
        rewalk = true;
        break;
    case XCB_DESTROY_NOTIFY:
        window = reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window;
        rewalk = true;
        break;
    case XCB_PROPERTY_NOTIFY: {
        const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (notify.atom == connection_.ewmh()->_NET_FRAME_EXTENTS || notify.atom == connection_.atom("_GTK_FRAME_EXTENTS"))
            window = notify.window;
        break;
    }
    default: return;
    }
    if (window == XCB_WINDOW_NONE) return;
    if (ancestorsOf_.count(window)) changed(window, rewalk);
    if (auto under = clientsUnder_.find(window); under != clientsUnder_.end()) {
        const auto clients = under->second; // changed() may drop the list
        for (auto client : clients) changed(client, rewalk);
    }
}

} // namespace platform::x11
