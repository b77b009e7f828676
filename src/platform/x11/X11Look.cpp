#include "platform/x11/X11Look.h"

namespace platform::x11 {

X11Look::X11Look(X11Connection& connection, MainQueue* queue) : connection_(connection), queue_(queue) {}

std::uint64_t X11Look::current() {
    if (open_ && connection_.eventsRead() != eventsAtStart_) end();
    if (!open_) {
        // A look starts from everything the server has said up to now: what is kept beyond one
        // look is dropped by the news first, so that it is as fresh as a new read would be.
        connection_.sync();
        connection_.readAhead();
        // A cache listener that looked meanwhile saw only part of the news.
        end();
    }
    if (!queue_) return ++number_;
    if (!open_) {
        open_ = true;
        eventsAtStart_ = connection_.eventsRead();
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
