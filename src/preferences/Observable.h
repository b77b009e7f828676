#pragma once

#include "platform/ObserverList.h"

#include <functional>
#include <utility>

namespace zentaris {

// A list of callbacks; subscribers are called in subscription order and may unsubscribe
// themselves or others while a value is being sent.
template <typename... Args>
class Signal {
public:
    using Callback = std::function<void(const Args&...)>;

    [[nodiscard]] platform::ObservationToken subscribe(Callback callback) { return subscribers_.add(0, std::move(callback)); }
    void send(const Args&... args) const { subscribers_.notify(0, args...); }

private:
    platform::ObserverList<int, Args...> subscribers_;
};

// A value that announces every assignment, including one of the value it already holds.
template <typename T>
class Published {
public:
    explicit Published(T initial) : value_(std::move(initial)) {}

    const T& value() const { return value_; }

    // Assigns and sends the new value to every subscriber.
    void set(T newValue) {
        value_ = std::move(newValue);
        changes_.send(value_);
    }
    // Assigns without announcing (for loading).
    void setQuietly(T newValue) { value_ = std::move(newValue); }

    // The callback receives every later value; with `receiveCurrent` it is first called with the
    // current one.
    [[nodiscard]] platform::ObservationToken subscribe(std::function<void(const T&)> callback, bool receiveCurrent = true) {
        if (receiveCurrent) callback(value_);
        return changes_.subscribe(std::move(callback));
    }

private:
    T value_;
    Signal<T> changes_;
};

} // namespace zentaris
