#pragma once

#include "platform/x11/X11Connection.h"

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace platform::x11 {

// Hooks a connection into the Qt event loop of the calling thread. A socket notifier alone misses
// events that xcb read into its own queue while waiting for a reply, so the queue is also drained
// each time the loop is about to sleep.
class X11QtEventPump {
public:
    explicit X11QtEventPump(X11Connection& connection);
    ~X11QtEventPump();
    X11QtEventPump(const X11QtEventPump&) = delete;
    X11QtEventPump& operator=(const X11QtEventPump&) = delete;

private:
    X11Connection& connection_;
    QObject context_; // ends the dispatcher connection with the pump
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace platform::x11
