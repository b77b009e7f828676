#include "platform/x11/X11Look.h"

namespace platform::x11 {

X11Look::X11Look(X11Connection& connection, MainQueue* queue) : connection_(connection), queue_(queue) {}

std::uint64_t X11Look::current() {
    if (open_ && connection_.eventsDispatched() != eventsAtStart_) end();
    if (!queue_) return ++number_;
    if (!open_) {
        open_ = true;
        eventsAtStart_ = connection_.eventsDispatched();
        endOfTurn_ = queue_->post([this] {
            auto finished = std::move(endOfTurn_); // keeps this task alive until it returns
            end();
        });
    }
    return number_;
}

void X11Look::end() {
    if (!open_) return;
    open_ = false;
    ++number_;
    endOfTurn_.cancel();
}

} // namespace platform::x11
