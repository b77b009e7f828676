#include "platform/x11/X11SingleInstance.h"

#include "platform/x11/X11Reply.h"

#include <chrono>

namespace platform::x11 {

namespace {

constexpr const char* requestTypeName = "_ZENTARIS_SHOW_SETTINGS";

// The server's time now, read from the change of a property on our own window (as the selection
// rules ask instead of CurrentTime); CurrentTime when the server does not answer in time.
xcb_timestamp_t serverTime(X11Connection& connection, xcb_window_t window, xcb_atom_t property) {
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    bool seen = false;
    auto listening = connection.addEventListener([&](const xcb_generic_event_t& event) {
        if ((event.response_type & ~0x80) != XCB_PROPERTY_NOTIFY) return;
        const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (notify.window != window || notify.atom != property || seen) return;
        time = notify.time;
        seen = true;
    });
    xcb_change_property(connection.xcb(), XCB_PROP_MODE_APPEND, window, property, XCB_ATOM_STRING, 8, 0, nullptr);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!seen && connection.isConnected() && std::chrono::steady_clock::now() < deadline) connection.waitAndPump(0.1);
    return time;
}

xcb_window_t selectionOwner(X11Connection& connection, xcb_atom_t selection) {
    auto reply = waitForReply(connection.xcb(), xcb_get_selection_owner_reply,
                              xcb_get_selection_owner(connection.xcb(), selection));
    return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
}

} // namespace

std::string X11SingleInstance::selectionName(const std::string& user) { return "_ZENTARIS_INSTANCE_" + user; }

X11SingleInstance::Claim X11SingleInstance::claim(X11Connection& connection, const std::string& user) {
    // A claim can miss both ways when it races with a start that ends meanwhile: the other took the
    // selection after our time was read and dropped it, or its window went as we sent to it. The
    // next try sees the display as it is now.
    constexpr int attempts = 2;
    Claim result;
    for (int attempt = 0; attempt < attempts && !result.held && !result.handedOver; ++attempt) result = claimOnce(connection, user);
    return result;
}

X11SingleInstance::Claim X11SingleInstance::claimOnce(X11Connection& connection, const std::string& user) {
    const xcb_atom_t selection = connection.atom(selectionName(user));
    const xcb_atom_t requestType = connection.atom(requestTypeName);
    if (selection == XCB_ATOM_NONE || requestType == XCB_ATOM_NONE) return {};

    xcb_connection_t* xcb = connection.xcb();
    const xcb_window_t window = xcb_generate_id(xcb);
    const std::uint32_t values[] = {1, XCB_EVENT_MASK_PROPERTY_CHANGE}; // override-redirect, event mask
    xcb_create_window(xcb, XCB_COPY_FROM_PARENT, window, connection.root(), -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                      XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    const xcb_timestamp_t now = serverTime(connection, window, requestType);

    // Looking for an owner and taking the selection must be one step: two starts at the same
    // moment would both find none and both run.
    xcb_grab_server(xcb);
    const xcb_window_t owner = selectionOwner(connection, selection);
    bool claimed = false;
    bool handedOver = false;
    if (owner == XCB_WINDOW_NONE) {
        xcb_set_selection_owner(xcb, window, selection, now);
        claimed = selectionOwner(connection, selection) == window;
    } else {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = owner;
        message.type = requestType;
        auto sent = xcb_send_event_checked(xcb, 0, owner, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_generic_error_t* error = xcb_request_check(xcb, sent);
        handedOver = error == nullptr;
        std::free(error);
    }
    xcb_ungrab_server(xcb);
    connection.flush();

    if (claimed) return {.held = std::unique_ptr<X11SingleInstance>(new X11SingleInstance(connection, window, requestType))};
    xcb_destroy_window(xcb, window);
    connection.flush();
    return {.handedOver = handedOver};
}

X11SingleInstance::X11SingleInstance(X11Connection& connection, xcb_window_t window, xcb_atom_t requestType)
    : connection_(connection), window_(window), requestType_(requestType) {
    events_ = connection_.addEventListener([this](const xcb_generic_event_t& event) { handle(event); });
}

X11SingleInstance::~X11SingleInstance() {
    // The selection goes with its owner window; a round trip, so that the display is free for the
    // next claim once this object is gone.
    xcb_destroy_window(connection_.xcb(), window_);
    connection_.sync();
}

void X11SingleInstance::handle(const xcb_generic_event_t& event) {
    if ((event.response_type & ~0x80) != XCB_CLIENT_MESSAGE || !handler_) return;
    // Any client may send to our window: only the request in its own form counts.
    const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
    if (message.window != window_ || message.type != requestType_ || message.format != 32) return;
    handler_();
}

} // namespace platform::x11
