// A plain X client for the backend's tests. Options:
//   --title T            window title (_NET_WM_NAME and WM_NAME)
//   --size W H           initial size
//   --min-size W H       WM_NORMAL_HINTS minimum size
//   --max-size W H       WM_NORMAL_HINTS maximum size
//   --increment W H      WM_NORMAL_HINTS resize steps
//   --gtk-extents L R T B  an invisible shadow margin (_GTK_FRAME_EXTENTS), undecorated like a CSD window
//   --type NAME          _NET_WM_WINDOW_TYPE_NAME (DIALOG, UTILITY, SPLASH, DOCK, ...)
//   --transient          transient for the root (a dialog without a type)
//   --strut-bottom N     a dock (by default of type DOCK) along the bottom edge reserving N pixels
//   --strut-x FROM TO    the part of the bottom edge the dock covers (default: all of it)
//   --skip-taskbar       _NET_WM_STATE_SKIP_TASKBAR
//   --no-pid             does not say its process
//   --cardinals NAME V,V,...  a 32-bit CARDINAL property of the window, any values (a hostile
//                        client), set once the window is mapped so that it also overrides what
//                        the window manager put there (_NET_FRAME_EXTENTS); repeatable
#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const std::string& name) {
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t value = reply ? reply->atom : 0;
    std::free(reply);
    return value;
}

void set32(xcb_connection_t* c, xcb_window_t w, const std::string& name, xcb_atom_t type, const std::vector<std::uint32_t>& v) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, name), type, 32, static_cast<std::uint32_t>(v.size()), v.data());
}

// "1,2,4294967295": every value as the 32 bits a client may put in a property.
std::vector<std::uint32_t> unsignedList(const std::string& text) {
    std::vector<std::uint32_t> values;
    for (std::size_t at = 0; at <= text.size();) {
        const auto end = std::min(text.find(',', at), text.size());
        values.push_back(static_cast<std::uint32_t>(std::strtoul(text.substr(at, end - at).c_str(), nullptr, 0)));
        at = end + 1;
    }
    return values;
}

} // namespace

int main(int argc, char** argv) {
    std::string title = "test client", type;
    int width = 400, height = 300, minWidth = 0, minHeight = 0, strutBottom = 0, strutFrom = 0, strutTo = -1;
    int maxWidth = 0, maxHeight = 0, widthStep = 0, heightStep = 0;
    std::vector<std::uint32_t> gtkExtents;
    std::vector<std::pair<std::string, std::vector<std::uint32_t>>> cardinals;
    bool transient = false, skipTaskbar = false, sayPid = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&] { return i + 1 < argc ? std::atoi(argv[++i]) : 0; };
        if (arg == "--title" && i + 1 < argc) title = argv[++i];
        else if (arg == "--size") width = next(), height = next();
        else if (arg == "--min-size") minWidth = next(), minHeight = next();
        else if (arg == "--max-size") maxWidth = next(), maxHeight = next();
        else if (arg == "--increment") widthStep = next(), heightStep = next();
        else if (arg == "--cardinals" && i + 2 < argc) {
            const std::string name = argv[++i];
            cardinals.emplace_back(name, unsignedList(argv[++i]));
        }
        else if (arg == "--gtk-extents") for (int k = 0; k < 4; ++k) gtkExtents.push_back(static_cast<std::uint32_t>(next()));
        else if (arg == "--type" && i + 1 < argc) type = argv[++i];
        else if (arg == "--transient") transient = true;
        else if (arg == "--strut-bottom") strutBottom = next();
        else if (arg == "--strut-x") strutFrom = next(), strutTo = next();
        else if (arg == "--skip-taskbar") skipTaskbar = true;
        else if (arg == "--no-pid") sayPid = false;
    }

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (strutTo < 0) strutTo = screen->width_in_pixels - 1;
    if (strutBottom > 0) {
        if (type.empty()) type = "DOCK";
        width = strutTo - strutFrom + 1;
        height = strutBottom;
    }
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, static_cast<std::int16_t>(strutFrom), strutBottom > 0 ? screen->height_in_pixels - strutBottom : 0,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);

    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(title.size()), title.data());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom(c, "_NET_WM_NAME"), utf8, 8, static_cast<std::uint32_t>(title.size()), title.data());
    const char wmClass[] = "zentaris-test-client\0ZentarisTestClient";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof wmClass, wmClass);
    if (sayPid) set32(c, window, "_NET_WM_PID", XCB_ATOM_CARDINAL, {static_cast<std::uint32_t>(::getpid())});

    xcb_size_hints_t hints{};
    xcb_icccm_size_hints_set_size(&hints, 0, width, height);
    if (minWidth > 0) xcb_icccm_size_hints_set_min_size(&hints, minWidth, minHeight);
    if (maxWidth > 0) xcb_icccm_size_hints_set_max_size(&hints, maxWidth, maxHeight);
    if (widthStep > 0) xcb_icccm_size_hints_set_resize_inc(&hints, widthStep, heightStep);
    xcb_icccm_set_wm_normal_hints(c, window, &hints);

    if (!type.empty()) set32(c, window, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, {atom(c, "_NET_WM_WINDOW_TYPE_" + type)});
    if (transient) set32(c, window, "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW, {screen->root});
    if (skipTaskbar) set32(c, window, "_NET_WM_STATE", XCB_ATOM_ATOM, {atom(c, "_NET_WM_STATE_SKIP_TASKBAR")});
    if (strutBottom > 0) {
        set32(c, window, "_NET_WM_STRUT_PARTIAL", XCB_ATOM_CARDINAL,
              {0, 0, 0, static_cast<std::uint32_t>(strutBottom), 0, 0, 0, 0, 0, 0, static_cast<std::uint32_t>(strutFrom),
               static_cast<std::uint32_t>(strutTo)});
    }
    if (!gtkExtents.empty()) {
        set32(c, window, "_GTK_FRAME_EXTENTS", XCB_ATOM_CARDINAL, gtkExtents);
        // Client-side decorations: ask the window manager for none (Motif hints, decorations off).
        set32(c, window, "_MOTIF_WM_HINTS", atom(c, "_MOTIF_WM_HINTS"), {2, 0, 0, 0, 0});
    }
    xcb_map_window(c, window);
    xcb_flush(c);
    bool mapped = false;
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        if ((event->response_type & ~0x80) == XCB_MAP_NOTIFY && !mapped) {
            mapped = true;
            for (const auto& [name, values] : cardinals) set32(c, window, name, XCB_ATOM_CARDINAL, values);
            xcb_flush(c);
        }
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
