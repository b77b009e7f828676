// The floor for the shortcut benchmark: a bare xcb program that grabs Super+Alt+<key> and answers
// each press with one ConfigureWindow of the given window, alternating between two frames.
// Usage: bare_key_grabber KEYCODE WINDOW
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const auto keycode = static_cast<xcb_keycode_t>(std::stoul(argv[1]));
    const auto window = static_cast<xcb_window_t>(std::stoul(argv[2]));
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // Super is Mod4, Alt is Mod1; with and without Num Lock (Mod2).
    for (std::uint16_t extra : {std::uint16_t{0}, std::uint16_t{XCB_MOD_MASK_2}}) {
        xcb_grab_key(c, 1, root, static_cast<std::uint16_t>(XCB_MOD_MASK_4 | XCB_MOD_MASK_1 | extra), keycode,
                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    }
    xcb_flush(c);
    bool flip = false;
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        if ((event->response_type & ~0x80) == XCB_KEY_PRESS) {
            flip = !flip;
            const std::uint32_t frame[] = {flip ? 100u : 300u, flip ? 100u : 200u, flip ? 700u : 900u, flip ? 500u : 600u};
            xcb_configure_window(c, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                                 frame);
            xcb_flush(c);
        }
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
