// An override-redirect window as applications put above all others: a tooltip or notification,
// or, with --picks, a posted popup menu of rows 20 pixels tall that holds the pointer as menus do,
// and on a button release over a row appends "Item N" (N from 0 at the top) to FILE and closes.
// Options:
//   --at X Y        where it opens (default 0 0)
//   --size W H      its size (default 160 240)
//   --title T       WM_NAME (default "Popup")
//   --picks FILE    a menu, its picks written to FILE
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

constexpr int rowHeight = 20;

// A menu takes the pointer once it is shown; the window manager may still hold it for a moment.
bool grabPointer(xcb_connection_t* c, xcb_window_t window) {
    const auto events = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto* reply = xcb_grab_pointer_reply(c,
                                             xcb_grab_pointer(c, 0, window, events, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                                                              XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
                                             nullptr);
        const bool grabbed = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
        if (grabbed) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    std::string title = "Popup", picks;
    int x = 0, y = 0, width = 160, height = 240;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&] { return i + 1 < argc ? std::atoi(argv[++i]) : 0; };
        if (arg == "--at") x = next(), y = next();
        else if (arg == "--size") width = next(), height = next();
        else if (arg == "--title" && i + 1 < argc) title = argv[++i];
        else if (arg == "--picks" && i + 1 < argc) picks = argv[++i];
    }

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {screen->white_pixel, 1, XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK,
                      values);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(title.size()), title.data());
    const xcb_gcontext_t lines = xcb_generate_id(c);
    xcb_create_gc(c, lines, window, XCB_GC_FOREGROUND, &screen->black_pixel);
    xcb_map_window(c, window);
    xcb_flush(c);

    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const auto type = event->response_type & ~0x80;
        if (type == XCB_MAP_NOTIFY && !picks.empty() && !grabPointer(c, window)) return 1;
        if (type == XCB_EXPOSE) {
            // An outline and a line under every row.
            const xcb_rectangle_t outline{0, 0, static_cast<std::uint16_t>(width - 1), static_cast<std::uint16_t>(height - 1)};
            xcb_poly_rectangle(c, window, lines, 1, &outline);
            for (int row = rowHeight; row < height; row += rowHeight) {
                const auto at = static_cast<std::int16_t>(row);
                const xcb_point_t ends[] = {{0, at}, {static_cast<std::int16_t>(width), at}};
                xcb_poly_line(c, XCB_COORD_MODE_ORIGIN, window, lines, 2, ends);
            }
            xcb_flush(c);
        }
        if (type == XCB_BUTTON_RELEASE) {
            const auto& release = *reinterpret_cast<xcb_button_release_event_t*>(event);
            if (release.event_x >= 0 && release.event_x < width && release.event_y >= 0 && release.event_y < height) {
                std::ofstream(picks, std::ios::app) << "Item " << release.event_y / rowHeight << "\n";
                std::free(event);
                break;
            }
        }
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
