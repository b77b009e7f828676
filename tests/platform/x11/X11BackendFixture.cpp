#include "X11BackendFixture.h"

#include "platform/x11/X11Properties.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <sys/wait.h>
#include <thread>

namespace zentaris::testing {

using platform::AXUIElement;
using platform::Rect;

X11Session::X11Session(PrivateDisplay::Options options) : display_(std::move(options)) {
    desktop_ = platform::x11::X11Desktop::open(queue_, {.displayName = display_.name().c_str()});
    if (!desktop_) throw std::runtime_error("cannot connect to " + display_.name());
    errorGuard_ = desktop_->connection().addErrorListener([](const xcb_generic_error_t& error) {
        ADD_FAILURE() << "unexpected X error " << int(error.error_code) << " of request " << int(error.major_code);
    });
}

X11Session::~X11Session() {
    desktop_->connection().sync();
    desktop_->connection().pump();
}

pid_t X11Session::launchClient(const std::vector<std::string>& options) {
    std::vector<std::string> argv{ZENTARIS_TEST_CLIENT};
    argv.insert(argv.end(), options.begin(), options.end());
    return display_.spawn(argv);
}

void X11Session::terminate(pid_t pid) {
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
}

bool X11Session::waitUntil(const std::function<bool()>& done, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        desktop_->connection().waitAndPump(0.01);
        // A turn of the loop: what the backend kept for one command is dropped.
        queue_.runPending();
    }
    return true;
}

std::optional<AXUIElement> X11Session::waitForWindow(pid_t pid, double seconds) {
    std::optional<AXUIElement> window;
    auto& connection = desktop_->connection();
    waitUntil(
        [&] {
            auto windows = accessibility().copyAttributeValue(accessibility().createApplication(pid), "AXWindows")
                               .as<std::vector<AXUIElement>>();
            if (!windows || windows->empty()) return false;
            // Framed: the window manager has said how large its decorations are.
            platform::x11::PendingProperty extents(connection, static_cast<xcb_window_t>(windows->front().id),
                                                   connection.ewmh()->_NET_FRAME_EXTENTS);
            if (!extents.values32()) return false;
            window = windows->front();
            return true;
        },
        seconds);
    if (!window && std::getenv("ZENTARIS_TEST_VERBOSE")) {
        std::fprintf(stderr, "no window for %d\n", pid);
        display_.run({"sh", "-c", "xprop -root _NET_CLIENT_LIST; for w in $(xprop -root _NET_CLIENT_LIST | tr -d ',' | cut -d'#' -f2); do xprop -id $w _NET_WM_PID WM_STATE _NET_FRAME_EXTENTS _NET_WM_DESKTOP; done; xprop -root _NET_CURRENT_DESKTOP; xwininfo -root -tree | grep -i -c zentaris; ps -o pid,stat,cmd -p " + std::to_string(pid)});
    }
    return window;
}

std::optional<Rect> X11Session::waitForFrame(const AXUIElement& window, const Rect& expected) {
    std::optional<Rect> frame;
    waitUntil(
        [&] {
            frame = desktop_->mover().appliedFrame(static_cast<xcb_window_t>(window.id));
            return frame == expected;
        },
        2);
    return frame;
}

std::optional<Rect> X11Session::frameOf(const AXUIElement& window) {
    auto position = accessibility().copyAttributeValue(window, "AXPosition").as<platform::Point>();
    auto size = accessibility().copyAttributeValue(window, "AXSize").as<platform::Size>();
    if (!position || !size) return std::nullopt;
    return Rect(*position, *size);
}

void X11Session::setFrame(const AXUIElement& window, const Rect& frame) {
    EXPECT_EQ(accessibility().setAttributeValue(window, "AXPosition", frame.origin), platform::AXError::success);
    EXPECT_EQ(accessibility().setAttributeValue(window, "AXSize", frame.size), platform::AXError::success);
}

void X11Session::changeState(const AXUIElement& window, bool add, const std::string& state1, const std::string& state2) {
    auto& connection = desktop_->connection();
    const xcb_atom_t first = connection.atom(state1);
    const xcb_atom_t second = state2.empty() ? xcb_atom_t{XCB_ATOM_NONE} : connection.atom(state2);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window.id);
    message.type = connection.ewmh()->_NET_WM_STATE;
    message.data.data32[0] = add ? 1 : 0;
    message.data.data32[1] = first;
    message.data.data32[2] = second;
    message.data.data32[3] = 2;
    xcb_send_event(connection.xcb(), 0, connection.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    connection.flush();
    EXPECT_TRUE(waitUntil([&] {
        platform::x11::PendingProperty states(connection, message.window, connection.ewmh()->_NET_WM_STATE, XCB_ATOM_ATOM);
        auto values = states.values32();
        const bool present = values && std::find(values->begin(), values->end(), first) != values->end();
        return present == add;
    })) << state1;
    // A turn of the loop, as a person's next key press would come after: the change's events are
    // seen and what the backend kept from before it is dropped.
    desktop_->connection().waitAndPump(0.01);
    queue_.runPending();
}

} // namespace zentaris::testing
