#include "platform/x11/X11ScreenProvider.h"

#include "platform/x11/X11Reply.h"

#include <xcb/randr.h>

#include <algorithm>

namespace platform::x11 {

X11ScreenProvider::X11ScreenProvider(X11Connection& connection, X11Clients& clients, X11Monitors& monitors, MainQueue& queue)
    : connection_(connection), clients_(clients), monitors_(monitors), queue_(queue), observers_(std::make_shared<Observers>()) {}

X11ScreenProvider::~X11ScreenProvider() = default;

std::vector<Screen> X11ScreenProvider::screens() const {
    std::vector<Screen> result;
    if (!connection_.isConnected()) return result;
    const auto monitors = monitors_.read();
    const RootSpace space{monitors.front().bounds};
    for (const auto& monitor : monitors) {
        result.push_back({space.toScreen(monitor.bounds), space.toScreen(monitor.usable), monitor.number, monitor.name});
    }
    return result;
}

std::optional<Screen> X11ScreenProvider::mainScreen() const {
    const auto all = screens();
    if (all.empty()) return std::nullopt;
    // The screen of the focused window stands for the screen with the keyboard focus.
    if (auto active = clients_.activeClient()) {
        auto geometry = waitForReply(connection_.xcb(), xcb_get_geometry_reply, xcb_get_geometry(connection_.xcb(), active->window));
        auto origin = waitForReply(connection_.xcb(), xcb_translate_coordinates_reply,
                                   xcb_translate_coordinates(connection_.xcb(), active->window, connection_.root(), 0, 0));
        if (geometry && origin) {
            const RootSpace space = monitors_.rootSpace();
            const Point centre = space.toScreen(Point{origin->dst_x + geometry->width / 2.0, origin->dst_y + geometry->height / 2.0});
            for (const auto& screen : all) {
                if (screen.frame.containsMouse(centre)) return screen;
            }
        }
    }
    return all.front();
}

Point X11ScreenProvider::mouseLocation() const {
    auto pointer = waitForReply(connection_.xcb(), xcb_query_pointer_reply, xcb_query_pointer(connection_.xcb(), connection_.root()));
    if (!pointer) return {};
    return monitors_.rootSpace().toScreen(Point{double(pointer->root_x), double(pointer->root_y)});
}

bool X11ScreenProvider::displayIsBuiltin(std::uint32_t displayNumber) const {
    if (!connection_.isConnected()) return false;
    const auto monitors = monitors_.read();
    return std::any_of(monitors.begin(), monitors.end(),
                       [&](const Monitor& m) { return m.number == displayNumber && m.builtin; });
}

ObservationToken X11ScreenProvider::observeScreenParameters(std::function<void()> onChange) {
    if (observers_->byId.empty()) startWatching();
    const auto id = observers_->nextId++;
    observers_->byId.emplace(id, std::move(onChange));
    return ObservationToken([weak = std::weak_ptr<Observers>(observers_), id] {
        if (auto alive = weak.lock()) alive->byId.erase(id);
    });
}

void X11ScreenProvider::startWatching() {
    if (eventToken_.isActive()) return;
    lastScreens_ = screens();
    connection_.addRootEventMask(XCB_EVENT_MASK_PROPERTY_CHANGE);
    if (monitors_.randrFirstEvent() != 0) {
        xcb_randr_select_input(connection_.xcb(), connection_.root(),
                               XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE);
    }
    watchStrutWindows();
    connection_.flush();
    eventToken_ = connection_.addEventListener([this](const xcb_generic_event_t& event) { onEvent(event); });
}

void X11ScreenProvider::watchStrutWindows() {
    // Panels may change their struts without the window manager touching the root: watch them.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    auto windows = clients_.clientList();
    for (auto window : windows) {
        if (std::find(watchedWindows_.begin(), watchedWindows_.end(), window) != watchedWindows_.end()) continue;
        auto cookie = xcb_change_window_attributes_checked(connection_.xcb(), window, XCB_CW_EVENT_MASK, &mask);
        xcb_discard_reply(connection_.xcb(), cookie.sequence);
    }
    watchedWindows_ = std::move(windows);
}

void X11ScreenProvider::onEvent(const xcb_generic_event_t& event) {
    const auto type = event.response_type & ~0x80;
    const auto randr = monitors_.randrFirstEvent();
    if (randr != 0 && (type == randr + XCB_RANDR_SCREEN_CHANGE_NOTIFY || type == randr + XCB_RANDR_NOTIFY)) {
        changeSeen();
        return;
    }
    if (type != XCB_PROPERTY_NOTIFY) return;
    const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
    auto* ewmh = connection_.ewmh();
    if (notify.window == connection_.root()) {
        if (notify.atom == ewmh->_NET_CLIENT_LIST) {
            watchStrutWindows();
            changeSeen();
        } else if (notify.atom == ewmh->_NET_WORKAREA || notify.atom == ewmh->_NET_CURRENT_DESKTOP ||
                   connection_.atomName(notify.atom).rfind("_GTK_WORKAREAS_D", 0) == 0) {
            changeSeen();
        }
    } else if (notify.atom == ewmh->_NET_WM_STRUT_PARTIAL || notify.atom == ewmh->_NET_WM_STRUT) {
        changeSeen();
    }
}

void X11ScreenProvider::changeSeen() {
    // Each change restarts the wait, so a burst ends when it has been quiet for a moment.
    burst_ = queue_.postAfter(burstInterval, [this] { endOfBurst(); });
}

void X11ScreenProvider::endOfBurst() {
    auto current = screens();
    // Many of the events watched (a new client, a desktop switch) change nothing for the screens.
    if (current == lastScreens_) return;
    lastScreens_ = std::move(current);
    std::vector<std::uint64_t> ids;
    for (const auto& [id, _] : observers_->byId) ids.push_back(id);
    for (auto id : ids) {
        auto found = observers_->byId.find(id);
        if (found == observers_->byId.end()) continue;
        auto observer = found->second;
        observer();
    }
}

} // namespace platform::x11
