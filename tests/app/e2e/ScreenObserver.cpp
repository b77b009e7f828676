#include "ScreenObserver.h"

#include <xcb/randr.h>
#include <xcb/xcb_icccm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace zentaris::testing {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

} // namespace

ScreenObserver::ScreenObserver(const std::string& display) : connection_(xcb_connect(display.c_str(), nullptr)) {
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        throw std::runtime_error("cannot connect to " + display);
    }
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

ScreenObserver::~ScreenObserver() { xcb_disconnect(connection_); }

xcb_atom_t ScreenObserver::atom(const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<std::uint32_t> ScreenObserver::cardinals(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_, xcb_get_property(connection_, 0, window, property, type, 0, 1024), nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::string ScreenObserver::windowName(xcb_window_t window) {
    xcb_icccm_get_text_property_reply_t name;
    if (!xcb_icccm_get_wm_name_reply(connection_, xcb_icccm_get_wm_name(connection_, window), &name, nullptr)) return {};
    std::string text(name.name, name.name_len);
    xcb_icccm_get_text_property_reply_wipe(&name);
    return text;
}

std::vector<PixelRect> ScreenObserver::viewableWindowsOfClass(const std::string& instance) {
    std::vector<PixelRect> found;
    collectWindowsOfClass(root_, instance, found);
    return found;
}

void ScreenObserver::collectWindowsOfClass(xcb_window_t parent, const std::string& instance,
                                           std::vector<PixelRect>& found) {
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, parent), nullptr));
    if (!tree) return;
    const auto* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto window = children[i];
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
        if (classInstance(window) == instance) {
            Reply<xcb_get_geometry_reply_t> geometry(
                xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
            Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
                connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr));
            if (geometry && origin) found.push_back({origin->dst_x, origin->dst_y, geometry->width, geometry->height});
        }
        collectWindowsOfClass(window, instance, found);
    }
}

bool ScreenObserver::keyboardGrabbed() {
    Reply<xcb_grab_keyboard_reply_t> reply(xcb_grab_keyboard_reply(
        connection_,
        xcb_grab_keyboard(connection_, 0, root_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr));
    if (!reply) return false;
    if (reply->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
        xcb_flush(connection_);
        return false;
    }
    return reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
}

bool ScreenObserver::keyGrabbed(xcb_keysym_t keysym, std::uint16_t modifiers) {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int first = setup->min_keycode, count = setup->max_keycode - setup->min_keycode + 1;
    Reply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<std::uint8_t>(count)), nullptr));
    if (!mapping || mapping->keysyms_per_keycode == 0) return false;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    for (int index = 0; index < count; ++index) {
        if (keysyms[index * mapping->keysyms_per_keycode] != keysym) continue;
        const auto keycode = static_cast<xcb_keycode_t>(first + index);
        Reply<xcb_generic_error_t> refused(xcb_request_check(
            connection_, xcb_grab_key_checked(connection_, 1, root_, modifiers, keycode, XCB_GRAB_MODE_ASYNC,
                                              XCB_GRAB_MODE_ASYNC)));
        if (refused) return true;
        xcb_ungrab_key(connection_, keycode, root_, modifiers);
        xcb_flush(connection_);
        return false;
    }
    return false;
}

std::string ScreenObserver::classInstance(xcb_window_t window) {
    // Read by hand: clients do not always end WM_CLASS with the NUL the ICCCM asks for.
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr));
    if (!reply || reply->format != 8) return {};
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const std::string value(text, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    return value.substr(0, value.find('\0'));
}

std::optional<PixelRect> ScreenObserver::outerFrame(xcb_window_t client) {
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, client), nullptr));
    Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, client, root_, 0, 0), nullptr));
    if (!geometry || !origin) return std::nullopt;
    auto extents = cardinals(client, atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
    extents.resize(4, 0); // left, right, top, bottom
    const int border = geometry->border_width;
    return PixelRect{origin->dst_x - border - static_cast<int>(extents[0]),
                     origin->dst_y - border - static_cast<int>(extents[2]),
                     geometry->width + 2 * border + static_cast<int>(extents[0] + extents[1]),
                     geometry->height + 2 * border + static_cast<int>(extents[2] + extents[3])};
}

int ScreenObserver::decorationAbove(xcb_window_t client) {
    auto extents = cardinals(client, atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
    return extents.size() >= 4 ? static_cast<int>(extents[2]) : 0;
}

std::optional<xcb_window_t> ScreenObserver::activeWindow() {
    auto values = cardinals(root_, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
    if (values.empty() || values[0] == XCB_NONE) return std::nullopt;
    return values[0];
}

std::optional<xcb_window_t> ScreenObserver::topmostClient() {
    const xcb_atom_t dock = atom("_NET_WM_WINDOW_TYPE_DOCK");
    std::optional<xcb_window_t> top;
    for (auto window : cardinals(root_, atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW)) {
        const auto types = cardinals(window, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM);
        if (std::find(types.begin(), types.end(), dock) == types.end()) top = window;
    }
    return top;
}

std::optional<xcb_window_t> ScreenObserver::clientTitled(const std::string& title) {
    for (auto window : cardinals(root_, atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW)) {
        if (windowName(window) == title) return window;
    }
    return std::nullopt;
}

std::vector<xcb_window_t> ScreenObserver::clientsOfClass(const std::string& instance) {
    std::vector<xcb_window_t> clients;
    for (auto window : cardinals(root_, atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW)) {
        if (classInstance(window) == instance) clients.push_back(window);
    }
    return clients;
}

std::pair<int, int> ScreenObserver::resizeIncrement(xcb_window_t client) {
    xcb_size_hints_t hints{};
    if (xcb_icccm_get_wm_normal_hints_reply(connection_, xcb_icccm_get_wm_normal_hints(connection_, client), &hints,
                                            nullptr) &&
        (hints.flags & XCB_ICCCM_SIZE_HINT_P_RESIZE_INC)) {
        return {std::max(1, hints.width_inc), std::max(1, hints.height_inc)};
    }
    return {1, 1};
}

bool ScreenObserver::overlayShown(const std::string& name) {
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
    if (!tree) return false;
    const auto* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, children[i]), nullptr));
        if (attributes && attributes->override_redirect && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            windowName(children[i]) == name)
            return true;
    }
    return false;
}

std::vector<PixelRect> ScreenObserver::monitors() {
    std::vector<PixelRect> result;
    Reply<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(connection_, xcb_randr_get_monitors(connection_, root_, 1), nullptr));
    if (!reply) return result;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem; xcb_randr_monitor_info_next(&it)) {
        result.push_back({it.data->x, it.data->y, it.data->width, it.data->height});
    }
    return result;
}

std::vector<xcb_window_t> ScreenObserver::windowsAbove(xcb_window_t client) {
    // The frame is the client's ancestor among the root's children, which the server lists bottom to top.
    xcb_window_t frame = client;
    for (;;) {
        Reply<xcb_query_tree_reply_t> up(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, frame), nullptr));
        if (!up) return {};
        if (up->parent == root_ || up->parent == XCB_NONE) break;
        frame = up->parent;
    }
    const auto box = [this](xcb_window_t window) -> std::optional<PixelRect> {
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
        if (!geometry) return std::nullopt;
        const int border = geometry->border_width;
        return PixelRect{geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border};
    };
    const auto frameBox = box(frame);
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
    if (!frameBox || !tree) return {};
    const auto* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    const auto* position = std::find(children, children + count, frame);
    std::vector<xcb_window_t> above;
    for (const auto* sibling = position + (position == children + count ? 0 : 1); sibling < children + count; ++sibling) {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, *sibling), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
            attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT)
            continue;
        const auto other = box(*sibling);
        if (other && other->x < frameBox->maxX() && frameBox->x < other->maxX() && other->y < frameBox->maxY() &&
            frameBox->y < other->maxY())
            above.push_back(*sibling);
    }
    return above;
}

std::optional<std::uint32_t> ScreenObserver::workspaceOf(xcb_window_t client) {
    const auto values = cardinals(client, atom("_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL);
    return values.empty() ? std::nullopt : std::optional(values.front());
}

std::optional<std::uint32_t> ScreenObserver::currentWorkspace() {
    const auto values = cardinals(root_, atom("_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL);
    return values.empty() ? std::nullopt : std::optional(values.front());
}

std::optional<xcb_window_t> ScreenObserver::transientFor(xcb_window_t client) {
    const auto owners = cardinals(client, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
    if (owners.empty()) return std::nullopt;
    return owners.front();
}

bool ScreenObserver::inState(xcb_window_t client, const char* state) {
    const auto states = cardinals(client, atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    return std::find(states.begin(), states.end(), atom(state)) != states.end();
}

bool ScreenObserver::viewable(xcb_window_t client) {
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, client), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

} // namespace zentaris::testing
