#include "StandInWindowManager.h"

#include <cstdlib>
#include <cstring>

namespace zentaris::testing {

using platform::Rect;

namespace {
constexpr std::uint32_t normalState = 1;
} // namespace

StandInWindowManager::StandInWindowManager(X11Session& session)
    : c_(xcb_connect(session.display().name().c_str(), nullptr)) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
}

StandInWindowManager::~StandInWindowManager() { xcb_disconnect(c_); }

xcb_atom_t StandInWindowManager::atom(const char* name) {
    auto* reply = xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return value;
}

void StandInWindowManager::set(xcb_window_t window, const char* name, xcb_atom_t type, const std::vector<std::uint32_t>& values) {
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window, atom(name), type, 32, static_cast<std::uint32_t>(values.size()),
                        values.data());
    xcb_flush(c_);
}

xcb_window_t StandInWindowManager::manage(const Rect& frame, const std::vector<std::uint32_t>& strut, pid_t pid) {
    const xcb_window_t window = xcb_generate_id(c_);
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window, root_, static_cast<std::int16_t>(frame.minX()),
                      static_cast<std::int16_t>(frame.minY()), static_cast<std::uint16_t>(frame.width()),
                      static_cast<std::uint16_t>(frame.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0,
                      nullptr);
    set(window, "_NET_WM_PID", XCB_ATOM_CARDINAL, {static_cast<std::uint32_t>(pid)});
    if (!strut.empty()) {
        set(window, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, {atom("_NET_WM_WINDOW_TYPE_DOCK")});
        set(window, "_NET_WM_STRUT_PARTIAL", XCB_ATOM_CARDINAL, strut);
    }
    set(window, "WM_STATE", atom("WM_STATE"), {normalState, XCB_WINDOW_NONE});
    xcb_map_window(c_, window);
    managed_.push_back(window);
    setOnRoot("_NET_CLIENT_LIST", XCB_ATOM_WINDOW, managed_);
    setOnRoot("_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW, managed_);
    return window;
}

xcb_window_t StandInWindowManager::frame(xcb_window_t client, const Rect& frame, std::uint32_t left, std::uint32_t top,
                                         bool nested) {
    const std::uint32_t width = static_cast<std::uint32_t>(frame.width()) - 2 * left;
    const std::uint32_t height = static_cast<std::uint32_t>(frame.height()) - top - left;
    auto makeWindow = [&](xcb_window_t parent, const Rect& area) {
        const xcb_window_t window = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window, parent, static_cast<std::int16_t>(area.minX()),
                          static_cast<std::int16_t>(area.minY()), static_cast<std::uint16_t>(area.width()),
                          static_cast<std::uint16_t>(area.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                          0, nullptr);
        xcb_map_window(c_, window);
        return window;
    };
    const xcb_window_t window = makeWindow(root_, frame);
    const xcb_window_t parent = nested ? makeWindow(window, Rect(left, top, width, height)) : window;
    xcb_reparent_window(c_, client, parent, static_cast<std::int16_t>(nested ? 0 : left),
                        static_cast<std::int16_t>(nested ? 0 : top));
    const std::uint32_t size[] = {width, height};
    xcb_configure_window(c_, client, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    set(client, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL, {left, left, top, left});
    return window;
}

namespace {
// Waits until the server has carried out every request sent before.
void sync(xcb_connection_t* c) { std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); }
} // namespace

void StandInWindowManager::configure(xcb_window_t window, std::uint16_t mask, const std::vector<std::uint32_t>& values) {
    xcb_configure_window(c_, window, mask, values.data());
    sync(c_);
}

void StandInWindowManager::unmap(xcb_window_t window) {
    xcb_unmap_window(c_, window);
    sync(c_);
}

void StandInWindowManager::destroy(xcb_window_t window) {
    xcb_destroy_window(c_, window);
    sync(c_);
}

unsigned int StandInWindowManager::requestNumber(X11Session& session) {
    return xcb_no_operation(session.desktop().connection().xcb()).sequence;
}

void StandInWindowManager::redirect() {
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
    xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c_);
}

StandInWindowManager::Requests StandInWindowManager::received(X11Session& session) {
    Requests requests;
    const xcb_atom_t restack = atom("_NET_RESTACK_WINDOW");
    session.waitUntil([&] {
        while (auto* event = xcb_poll_for_event(c_)) {
            const auto type = event->response_type & ~0x80;
            if (type == XCB_CLIENT_MESSAGE) {
                const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
                requests.messages.push_back(message->type);
                if (message->type == restack) requests.restacks.push_back({message->window, message->data.data32[2]});
            } else if (type == XCB_CONFIGURE_REQUEST) {
                const auto* r = reinterpret_cast<xcb_configure_request_event_t*>(event);
                requests.configures.emplace_back(r->x, r->y, r->width, r->height);
            }
            std::free(event);
        }
        return !requests.messages.empty() || !requests.configures.empty();
    }, 2);
    return requests;
}

void letEventsArrive(X11Session& session) { session.waitUntil([] { return false; }, 0.2); }

} // namespace zentaris::testing
