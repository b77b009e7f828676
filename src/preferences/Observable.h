#pragma once

#include "platform/ObservationToken.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace zentaris {

// A list of callbacks; subscribers are called in subscription order and may unsubscribe
// themselves or others while a value is being sent.
template <typename... Args>
class Signal {
public:
    using Callback = std::function<void(const Args&...)>;

    [[nodiscard]] platform::ObservationToken subscribe(Callback callback) {
        const auto id = nextId_++;
        subscribers_->push_back({id, std::move(callback)});
        std::weak_ptr<std::vector<Subscriber>> weak = subscribers_;
        return platform::ObservationToken([weak, id] {
            if (auto list = weak.lock()) std::erase_if(*list, [id](const Subscriber& s) { return s.id == id; });
        });
    }

    void send(const Args&... args) const {
        auto keepAlive = subscribers_;
        std::vector<std::uint64_t> ids;
        for (const auto& subscriber : *keepAlive) ids.push_back(subscriber.id);
        for (auto id : ids) {
            auto it = std::find_if(keepAlive->begin(), keepAlive->end(), [id](const Subscriber& s) { return s.id == id; });
            if (it == keepAlive->end()) continue;
            auto callback = it->callback;
            callback(args...);
        }
    }

private:
    struct Subscriber {
        std::uint64_t id;
        Callback callback;
    };
    std::shared_ptr<std::vector<Subscriber>> subscribers_ = std::make_shared<std::vector<Subscriber>>();
    std::uint64_t nextId_ = 1;
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
