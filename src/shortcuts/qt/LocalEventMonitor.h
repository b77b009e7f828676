#pragma once

#include <QEvent>

#include <functional>
#include <initializer_list>
#include <memory>
#include <set>

class QObject;

namespace GlobalShortcuts {

// Sees the chosen kinds of events of every window of the program before they reach their
// widget, as long as the object lives. The handler answers true to swallow an event.
class LocalEventMonitor {
public:
    using Handler = std::function<bool(QObject* receiver, QEvent* event)>;

    LocalEventMonitor(std::initializer_list<QEvent::Type> types, Handler handler);
    ~LocalEventMonitor();
    LocalEventMonitor(const LocalEventMonitor&) = delete;
    LocalEventMonitor& operator=(const LocalEventMonitor&) = delete;

private:
    class Filter;
    // Owned by Qt once released: the monitor may be dropped from inside its own handler.
    Filter* filter_;
};

} // namespace GlobalShortcuts
