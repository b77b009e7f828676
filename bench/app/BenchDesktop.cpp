#include "BenchDesktop.h"

#include <xcb/xcb_icccm.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace zentaris::bench {

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return value;
}

std::size_t clientCount(xcb_connection_t* c, xcb_window_t root) {
    auto* reply = xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 0, 100000), nullptr);
    const std::size_t count = reply ? static_cast<std::size_t>(xcb_get_property_value_length(reply)) / 4 : 0;
    std::free(reply);
    return count;
}

long field(const std::filesystem::path& status, const std::string& name) {
    std::ifstream in(status);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
    }
    return 0;
}

} // namespace

std::string programBinary(int& argc, char** argv, const std::string& builtIn) {
    std::string binary = builtIn;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) != "--zentaris") continue;
        binary = argv[i + 1];
        for (int k = i; k + 2 <= argc; ++k) argv[k] = argv[k + 2];
        argc -= 2;
        break;
    }
    return binary;
}

ProcessCost costOf(pid_t pid) {
    ProcessCost cost;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        // schedstat: nanoseconds on the CPU, first field.
        std::ifstream schedstat(task.path() / "schedstat");
        double nanoseconds = 0;
        if (schedstat >> nanoseconds) cost.cpuSeconds += nanoseconds / 1e9;
        cost.switches += field(task.path() / "status", "voluntary_ctxt_switches") + field(task.path() / "status", "nonvoluntary_ctxt_switches");
    }
    return cost;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

BenchDesktop::BenchDesktop(testing::PrivateDisplay& display) : display_(display) {
    connection_ = xcb_connect(display.name().c_str(), nullptr);
    if (xcb_connection_has_error(connection_)) throw std::runtime_error("cannot connect to " + display.name());
}

BenchDesktop::~BenchDesktop() {
    removeCrowd();
    xcb_disconnect(connection_);
}

xcb_window_t BenchDesktop::root() const { return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root; }

xcb_keycode_t BenchDesktop::keycode(std::uint32_t keysym) {
    auto* symbols = xcb_key_symbols_alloc(connection_);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    const xcb_keycode_t first = codes ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    return first;
}

void BenchDesktop::fakeKey(bool press, xcb_keycode_t key) {
    xcb_test_fake_input(connection_, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
}

void BenchDesktop::fakeButton(bool press, std::uint8_t button) {
    xcb_test_fake_input(connection_, press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
}

void BenchDesktop::movePointer(int x, int y) {
    xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root(), static_cast<std::int16_t>(x),
                        static_cast<std::int16_t>(y), 0);
    xcb_flush(connection_);
}

void BenchDesktop::pressShortcut(std::uint32_t keysym) {
    const auto super = keycode(XK_Super_L), alt = keycode(XK_Alt_L), key = keycode(keysym);
    fakeKey(true, super);
    fakeKey(true, alt);
    fakeKey(true, key);
    fakeKey(false, key);
    fakeKey(false, alt);
    fakeKey(false, super);
}

void BenchDesktop::watch(xcb_window_t window) {
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
    watched_.push_back(window);
}

void BenchDesktop::moveResize(xcb_window_t window, int x, int y, int width, int height) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(connection_, "_NET_MOVERESIZE_WINDOW");
    // North-west gravity, all four values given, from a pager.
    message.data.data32[0] = 1 | (0xFu << 8) | (2u << 12);
    message.data.data32[1] = static_cast<std::uint32_t>(x);
    message.data.data32[2] = static_cast<std::uint32_t>(y);
    message.data.data32[3] = static_cast<std::uint32_t>(width);
    message.data.data32[4] = static_cast<std::uint32_t>(height);
    xcb_send_event(connection_, 0, root(), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
}

std::optional<Clock::time_point> BenchDesktop::nextConfigure(double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    pollfd readable{xcb_get_file_descriptor(connection_), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (auto* event = xcb_poll_for_event(connection_)) {
            const bool configure = (event->response_type & ~0x80) == XCB_CONFIGURE_NOTIFY &&
                                   std::count(watched_.begin(), watched_.end(),
                                              reinterpret_cast<xcb_configure_notify_event_t*>(event)->window) > 0;
            std::free(event);
            if (configure) return Clock::now();
        }
        ::poll(&readable, 1, 2);
    }
    return std::nullopt;
}

std::optional<Clock::time_point> BenchDesktop::lastConfigure(double quiet) {
    std::optional<Clock::time_point> last;
    while (auto arrived = nextConfigure(quiet)) last = arrived;
    return last;
}

void BenchDesktop::addCrowd(int count, int perApplication, int x, int y, bool minimised, bool oneClient) {
    const auto before = clientCount(connection_, root());
    xcb_connection_t* client = nullptr;
    std::vector<xcb_window_t> created;
    std::uint32_t pid = 0;
    for (int i = 0; i < count; ++i) {
        if (i % perApplication == 0) {
            if (!client || !oneClient) {
                client = xcb_connect(display_.name().c_str(), nullptr);
                crowd_.push_back(client);
            }
            // A process number of its own per application, as separate programs would have.
            pid = 4000000 + ++crowdProcesses_;
        }
        auto* screen = xcb_setup_roots_iterator(xcb_get_setup(client)).data;
        const xcb_window_t window = xcb_generate_id(client);
        const std::uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
        xcb_create_window(client, XCB_COPY_FROM_PARENT, window, screen->root, static_cast<std::int16_t>(x + (i % 20) * 5),
                          static_cast<std::int16_t>(y + (i % 20) * 5), 300, 200, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
        xcb_change_property(client, XCB_PROP_MODE_REPLACE, window, atom(client, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
        const char wmClass[] = "crowd\0Crowd";
        xcb_change_property(client, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof wmClass, wmClass);
        xcb_size_hints_t hints{};
        xcb_icccm_size_hints_set_position(&hints, 0, x, y);
        xcb_icccm_set_wm_normal_hints(client, window, &hints);
        if (minimised) {
            xcb_icccm_wm_hints_t wmHints{};
            xcb_icccm_wm_hints_set_iconic(&wmHints);
            xcb_icccm_set_wm_hints(client, window, &wmHints);
        }
        xcb_map_window(client, window);
        xcb_flush(client);
        created.push_back(window);
    }
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (clientCount(connection_, root()) < before + static_cast<std::size_t>(count) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    for (auto window : created) watch(window);
    // Let the window manager finish placing and framing: a thousand windows take it seconds, and
    // a press before it is done would be timed with the window manager's work.
    std::this_thread::sleep_for(std::chrono::milliseconds(300 + 3 * count));
    lastConfigure(0.5);
}

void BenchDesktop::removeCrowd(std::size_t keepApplications) {
    while (crowd_.size() > keepApplications) {
        xcb_disconnect(crowd_.back());
        crowd_.pop_back();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

std::optional<xcb_window_t> BenchDesktop::openTerminal() {
    const pid_t xterm = display_.spawn({"xterm", "-geometry", "80x24+100+100"});
    auto terminal = clientOf(xterm, 10);
    if (terminal) watch(*terminal);
    return terminal;
}

std::optional<xcb_window_t> BenchDesktop::clientOf(pid_t pid, double seconds) { return waitForClientOf(connection_, pid, seconds); }

void BenchDesktop::activate(xcb_window_t window) { display_.run({"xdotool", "windowactivate", "--sync", std::to_string(window)}); }

bool BenchDesktop::waitUntilShortcutsAnswer(xcb_window_t window) {
    activate(window);
    for (int i = 0; i < 40; ++i) {
        pressShortcut(XK_f);
        if (nextConfigure(0.5)) {
            lastConfigure(0.3);
            return true;
        }
    }
    return false;
}

std::pair<int, int> BenchDesktop::originOf(xcb_window_t window) {
    auto* reply = xcb_translate_coordinates_reply(connection_, xcb_translate_coordinates(connection_, window, root(), 0, 0), nullptr);
    const std::pair<int, int> origin = reply ? std::pair<int, int>{reply->dst_x, reply->dst_y} : std::pair<int, int>{0, 0};
    std::free(reply);
    return origin;
}

} // namespace zentaris::bench
