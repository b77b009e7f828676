#include "platform/x11/X11Connection.h"

#include "platform/x11/X11RawInput.h"
#include "platform/x11/X11Reply.h"

#include <cstdlib>
#include <poll.h>
#include <vector>

namespace platform::x11 {

std::unique_ptr<X11Connection> X11Connection::open(const char* displayName) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    std::unique_ptr<X11Connection> result(new X11Connection(connection, screenNumber));
    if (!result->screen_) return nullptr;
    return result;
}

X11Connection::X11Connection(xcb_connection_t* connection, int screenNumber)
    : connection_(connection), screenNumber_(screenNumber),
      eventListeners_(std::make_shared<Listeners<xcb_generic_event_t>>()),
      cacheListeners_(std::make_shared<Listeners<xcb_generic_event_t>>()),
      errorListeners_(std::make_shared<Listeners<xcb_generic_error_t>>()) {
    auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; roots.rem > 0; ++i, xcb_screen_next(&roots)) {
        if (i == screenNumber_) {
            screen_ = roots.data;
            break;
        }
    }
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection_, &ewmh_);
    if (!xcb_ewmh_init_atoms_replies(&ewmh_, cookies, nullptr)) ewmh_.connection = connection_;
}

X11Connection::~X11Connection() {
    rawInput_.reset();
    xcb_ewmh_connection_wipe(&ewmh_);
    xcb_disconnect(connection_);
}

xcb_atom_t X11Connection::atom(std::string_view name) {
    const std::string key(name);
    if (auto found = atoms_.find(key); found != atoms_.end()) return found->second;
    auto cookie = xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(key.size()), key.data());
    auto reply = waitForReply(connection_, xcb_intern_atom_reply, cookie);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    if (value != XCB_ATOM_NONE) {
        atoms_.emplace(key, value);
        atomNames_.emplace(value, key);
    }
    return value;
}

bool X11Connection::compositingManagerRunning() {
    const auto selection = atom("_NET_WM_CM_S" + std::to_string(screenNumber_));
    auto* reply = xcb_get_selection_owner_reply(xcb(), xcb_get_selection_owner(xcb(), selection), nullptr);
    const bool running = reply && reply->owner != XCB_WINDOW_NONE;
    std::free(reply);
    return running;
}

std::string X11Connection::atomName(xcb_atom_t atom) {
    if (auto found = atomNames_.find(atom); found != atomNames_.end()) return found->second;
    auto cookie = xcb_get_atom_name(connection_, atom);
    auto reply = waitForReply(connection_, xcb_get_atom_name_reply, cookie);
    if (!reply) return {};
    std::string name(xcb_get_atom_name_name(reply.get()), static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
    atoms_.emplace(name, atom);
    atomNames_.emplace(atom, name);
    return name;
}

template <typename Event>
ObservationToken X11Connection::addListener(const std::shared_ptr<Listeners<Event>>& listeners,
                                            std::function<void(const Event&)> listener) {
    const auto id = listeners->nextId++;
    listeners->byId.emplace(id, std::move(listener));
    // The token may outlive the connection: it then has nothing left to remove.
    return ObservationToken([weak = std::weak_ptr<Listeners<Event>>(listeners), id] {
        if (auto alive = weak.lock()) alive->byId.erase(id);
    });
}

ObservationToken X11Connection::addEventListener(std::function<void(const xcb_generic_event_t&)> listener) {
    return addListener(eventListeners_, std::move(listener));
}

ObservationToken X11Connection::addCacheListener(std::function<void(const xcb_generic_event_t&)> listener) {
    return addListener(cacheListeners_, std::move(listener));
}

ObservationToken X11Connection::addErrorListener(std::function<void(const xcb_generic_error_t&)> listener) {
    return addListener(errorListeners_, std::move(listener));
}

void X11Connection::addRootEventMask(std::uint32_t mask) {
    if ((rootEventMask_ | mask) == rootEventMask_) return;
    rootEventMask_ |= mask;
    xcb_change_window_attributes(connection_, root(), XCB_CW_EVENT_MASK, &rootEventMask_);
}

X11RawInput& X11Connection::rawInput() {
    if (!rawInput_) rawInput_ = std::make_unique<X11RawInput>(*this);
    return *rawInput_;
}

void X11Connection::runBeforeFlush() {
    if (!beforeFlush_ || inBeforeFlush_) return;
    inBeforeFlush_ = true;
    beforeFlush_();
    inBeforeFlush_ = false;
}

void X11Connection::flush() {
    runBeforeFlush();
    xcb_flush(connection_);
}

template <typename Event>
void X11Connection::callEach(Listeners<Event>& listeners, const Event& event) {
    // Listeners may add or remove listeners while being called: walk a snapshot of the ids and
    // skip those removed meanwhile.
    std::vector<std::uint64_t> ids;
    for (const auto& [id, _] : listeners.byId) ids.push_back(id);
    for (auto id : ids) {
        auto found = listeners.byId.find(id);
        if (found == listeners.byId.end()) continue;
        auto listener = found->second;
        listener(event);
    }
}

XcbEvent X11Connection::taken(xcb_generic_event_t* event) {
    XcbEvent owned(event);
    if (!event) return owned;
    ++eventsRead_;
    if (event->response_type != 0) callEach(*cacheListeners_, *event);
    return owned;
}

XcbEvent X11Connection::nextEvent() {
    if (readAhead_.empty()) return taken(xcb_poll_for_event(connection_));
    auto event = std::move(readAhead_.front());
    readAhead_.pop_front();
    return event;
}

void X11Connection::readAhead() {
    if (readingAhead_ || !isConnected()) return;
    readingAhead_ = true;
    while (auto* event = xcb_poll_for_event(connection_)) readAhead_.push_back(taken(event));
    readingAhead_ = false;
}

void X11Connection::dispatch(xcb_generic_event_t* event) {
    if (event->response_type == 0) {
        callEach(*errorListeners_, *reinterpret_cast<xcb_generic_error_t*>(event));
    } else {
        callEach(*eventListeners_, *event);
    }
}

void X11Connection::pump() {
    if (pumping_ || !isConnected()) return;
    runBeforeFlush();
    pumping_ = true;
    // xcb_poll_for_event returns what is already queued first and reads the socket only when
    // the queue is empty, so this drains both.
    while (auto event = nextEvent()) dispatch(event.get());
    pumping_ = false;
}

void X11Connection::waitAndPump(double seconds) {
    flush();
    pollfd readable{fileDescriptor(), POLLIN, 0};
    const int milliseconds = static_cast<int>(seconds * 1000.0 + 0.5);
    if (pumping_) {
        // Called from a listener: the outer pump reads what arrives, in order.
        ::poll(&readable, 1, milliseconds);
        return;
    }
    if (!readAhead_.empty()) {
        // Already read: the socket may stay silent.
    } else if (auto queued = taken(xcb_poll_for_queued_event(connection_))) {
        pumping_ = true;
        dispatch(queued.get());
        pumping_ = false;
    } else {
        ::poll(&readable, 1, milliseconds);
    }
    pump();
}

void X11Connection::sync() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

int X11Connection::fileDescriptor() const { return xcb_get_file_descriptor(connection_); }

bool X11Connection::isConnected() const { return xcb_connection_has_error(connection_) == 0; }

} // namespace platform::x11
