#pragma once

#include "platform/MainQueue.h"
#include "platform/x11/X11Connection.h"

#include <cstdint>

namespace platform::x11 {

// How long what was read of the desktop may be reused: one look lasts for one command, that is
// until the main queue's turn ends or the server sends anything new, whichever comes first. Reads
// keep what they fetched under the look's number and fetch again once it has changed. Without a
// queue no look is kept and every read goes to the server.
class X11Look {
public:
    X11Look(X11Connection& connection, MainQueue* queue);

    // The number of the look in force, starting one when none is.
    std::uint64_t current();
    // Ends the look now (something this process did makes what was read wrong).
    void end();

private:
    X11Connection& connection_;
    MainQueue* queue_;
    std::uint64_t number_ = 1;
    bool open_ = false;
    std::uint64_t eventsAtStart_ = 0;
    ScheduledTask endOfTurn_;
};

// What one look fetched, dropped when a new look starts.
template <typename Value>
class LookCache {
public:
    explicit LookCache(X11Look& look) : look_(look) {}
    // The value kept for the look in force, cleared first when the look has changed.
    Value& get() {
        const auto now = look_.current();
        if (now != number_) {
            value_ = Value{};
            number_ = now;
        }
        return value_;
    }

private:
    X11Look& look_;
    std::uint64_t number_ = 0;
    Value value_{};
};

} // namespace platform::x11
