#include "platform/x11/X11ScreenProvider.h"

#include "platform/x11/X11Reply.h"

#include <algorithm>

namespace platform::x11 {

X11ScreenProvider::X11ScreenProvider(X11Connection& connection, X11Clients& clients, X11Monitors& monitors, MainQueue& queue)
    : connection_(connection), clients_(clients), monitors_(monitors), queue_(queue), observers_(std::make_shared<Observers>()) {}

X11ScreenProvider::~X11ScreenProvider() {
    if (watching_) monitors_.setChangeHandler(nullptr);
}

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
        auto geometryCookie = xcb_get_geometry(connection_.xcb(), active->window);
        auto originCookie = xcb_translate_coordinates(connection_.xcb(), active->window, connection_.root(), 0, 0);
        auto geometry = waitForReply(connection_.xcb(), xcb_get_geometry_reply, geometryCookie);
        auto origin = waitForReply(connection_.xcb(), xcb_translate_coordinates_reply, originCookie);
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
    if (watching_) return;
    watching_ = true;
    lastScreens_ = screens();
    monitors_.setChangeHandler([this] { changeSeen(); });
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
