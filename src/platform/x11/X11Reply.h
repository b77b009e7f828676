#pragma once

#include <cstdlib>
#include <memory>

namespace platform::x11 {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// A reply or event that xcb allocated; freed with free().
template <typename T>
using XcbPointer = std::unique_ptr<T, FreeDeleter>;

// Waits for a reply and keeps any error away from the event queue (a window that vanished
// meanwhile is an expected outcome, not noise).
template <typename ReplyFunction, typename Cookie>
auto waitForReply(xcb_connection_t* connection, ReplyFunction replyFunction, Cookie cookie) {
    xcb_generic_error_t* error = nullptr;
    auto* reply = replyFunction(connection, cookie, &error);
    std::free(error);
    return XcbPointer<std::remove_pointer_t<decltype(reply)>>(reply);
}

} // namespace platform::x11
