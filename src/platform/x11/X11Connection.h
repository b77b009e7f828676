#pragma once

#include "platform/ObservationToken.h"

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include "platform/x11/X11Reply.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform::x11 {

class X11RawInput;
using XcbEvent = XcbPointer<xcb_generic_event_t>;

// One connection to the X server, shared by every part of the X11 backend. Events and errors are
// read in one place (pump) and handed to listeners, so nothing else ever reads the socket.
class X11Connection {
public:
    // Nothing when no X server can be reached (displayName null = $DISPLAY).
    static std::unique_ptr<X11Connection> open(const char* displayName = nullptr);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    xcb_connection_t* xcb() const { return connection_; }
    xcb_screen_t* screen() const { return screen_; } // the default screen
    xcb_window_t root() const { return screen_->root; }
    xcb_ewmh_connection_t* ewmh() { return &ewmh_; } // initialised at open
    int screenNumber() const { return screenNumber_; }
    // Interned once, cached; XCB_ATOM_NONE when the server refuses.
    xcb_atom_t atom(std::string_view name);
    // The name of an atom; empty when unknown.
    std::string atomName(xcb_atom_t atom);

    // Every event read from the server, in order, to every listener (response_type & ~0x80 tells the kind).
    [[nodiscard]] ObservationToken addEventListener(std::function<void(const xcb_generic_event_t&)> listener);
    // Listeners that only drop what was read of the desktop: each event reaches them as soon as it
    // is read from the server, which may be before its turn comes to reach the other listeners.
    [[nodiscard]] ObservationToken addCacheListener(std::function<void(const xcb_generic_event_t&)> listener);
    // X errors of unchecked requests (checked requests return theirs to the caller); ignored unless
    // a listener cares.
    [[nodiscard]] ObservationToken addErrorListener(std::function<void(const xcb_generic_error_t&)> listener);

    // Adds to the events this connection selects on the root window; every part of the backend
    // shares one mask there, so none may set it alone.
    void addRootEventMask(std::uint32_t mask);
    // The XInput raw events selected on the root, shared by every part of the backend.
    X11RawInput& rawInput();

    void flush();
    // Reads and dispatches everything pending, including what xcb has already queued internally
    // during reply waits; never blocks. Calls made from a listener do not read further.
    void pump();
    // Flushes, waits at most `seconds` for the server to send something, then pumps.
    void waitAndPump(double seconds);
    // Reads everything the server has sent so far, without blocking: cache listeners see it now,
    // the others at the next pump, in order.
    void readAhead();
    // A round trip: every request sent before has been handled and its errors have been read.
    void sync();
    int fileDescriptor() const;
    // False once the server has gone away; every request then fails quietly.
    bool isConnected() const;
    // Whether a compositing manager runs on this screen, so that translucent windows blend.
    bool compositingManagerRunning();
    // How many events have been read from the server so far: what was read of the desktop before
    // the last one may have changed since.
    std::uint64_t eventsRead() const { return eventsRead_; }
    // Runs before every flush and pump: the last chance to send requests held back to be combined.
    void setBeforeFlush(std::function<void()> hook) { beforeFlush_ = std::move(hook); }

private:
    X11Connection(xcb_connection_t* connection, int screenNumber);
    void dispatch(xcb_generic_event_t* event);
    // Counts an event just read and shows it to the cache listeners.
    XcbEvent taken(xcb_generic_event_t* event);
    // The next event to dispatch: one read ahead, else one from the server; null when none.
    XcbEvent nextEvent();

    template <typename Event>
    struct Listeners {
        std::uint64_t nextId = 1;
        std::map<std::uint64_t, std::function<void(const Event&)>> byId;
    };
    template <typename Event>
    static ObservationToken addListener(const std::shared_ptr<Listeners<Event>>& listeners,
                                        std::function<void(const Event&)> listener);
    template <typename Event>
    static void callEach(Listeners<Event>& listeners, const Event& event);

    xcb_connection_t* connection_;
    xcb_screen_t* screen_ = nullptr;
    int screenNumber_ = 0;
    xcb_ewmh_connection_t ewmh_{};
    std::unordered_map<std::string, xcb_atom_t> atoms_;
    std::unordered_map<xcb_atom_t, std::string> atomNames_;
    std::uint32_t rootEventMask_ = 0;
    std::unique_ptr<X11RawInput> rawInput_;
    std::shared_ptr<Listeners<xcb_generic_event_t>> eventListeners_;
    std::shared_ptr<Listeners<xcb_generic_event_t>> cacheListeners_;
    std::shared_ptr<Listeners<xcb_generic_error_t>> errorListeners_;
    bool pumping_ = false;
    bool readingAhead_ = false;
    std::uint64_t eventsRead_ = 0;
    std::deque<XcbEvent> readAhead_;
    std::function<void()> beforeFlush_;
    bool inBeforeFlush_ = false;
    void runBeforeFlush();
};

} // namespace platform::x11
