// From a key press (XTEST) to the focused xterm's ConfigureNotify, with the real program under
// openbox on a private display; against wmctrl doing the same kind of move as a process.
// Every repetition is one press, so the median aggregate is the median press.
#include "QuietStart.h"

#include <benchmark/benchmark.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <memory>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

struct Scene {
    zentaris::testing::PrivateDisplay display;
    zentaris::bench::QuietConfig config;
    xcb_connection_t* connection = nullptr;
    xcb_window_t terminal = XCB_NONE;
    xcb_keycode_t super = 0, alt = 0, centre = 0, full = 0;
    // Every repetition runs the benchmark function anew, so the alternation lives here.
    bool centreNext = true;
    bool wmctrlFlip = false;

    Scene() {
        connection = xcb_connect(display.name().c_str(), nullptr);
        const pid_t xterm = display.spawn({"xterm", "-geometry", "80x24+100+100"});
        auto window = zentaris::bench::waitForClientOf(connection, xterm, 10);
        if (!window) throw std::runtime_error("xterm did not appear");
        terminal = *window;
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection, terminal, XCB_CW_EVENT_MASK, &mask);

        auto* symbols = xcb_key_symbols_alloc(connection);
        auto code = [&](xcb_keysym_t sym) {
            xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, sym);
            const xcb_keycode_t first = codes ? codes[0] : 0;
            std::free(codes);
            return first;
        };
        super = code(XK_Super_L);
        alt = code(XK_Alt_L);
        centre = code(XK_c);
        full = code(XK_f);
        xcb_key_symbols_free(symbols);

        display.spawn(config.command(ZENTARIS_BINARY));
        display.run({"xdotool", "windowactivate", "--sync", std::to_string(terminal)});
        // Ready once a shortcut answers.
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        bool answered = false;
        while (!answered && Clock::now() < deadline) answered = pressAndWait(full, 0.5).has_value();
        if (!answered) throw std::runtime_error("the program's shortcuts never answered");
        centreNext = true;
    }
    ~Scene() { xcb_disconnect(connection); }

    void fakeKey(std::uint8_t type, xcb_keycode_t key) {
        xcb_test_fake_input(connection, type, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }

    // Waits for the terminal's next ConfigureNotify; the time it arrived.
    std::optional<Clock::time_point> waitForConfigure(double seconds) {
        const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
        pollfd readable{xcb_get_file_descriptor(connection), POLLIN, 0};
        while (Clock::now() < deadline) {
            while (auto* event = xcb_poll_for_event(connection)) {
                const bool configure = (event->response_type & ~0x80) == XCB_CONFIGURE_NOTIFY &&
                                       reinterpret_cast<xcb_configure_notify_event_t*>(event)->window == terminal;
                std::free(event);
                if (configure) return Clock::now();
            }
            ::poll(&readable, 1, 5);
        }
        return std::nullopt;
    }

    // Lets the window manager and the client finish, then drops what they sent.
    void settle() {
        while (waitForConfigure(0.03)) {
        }
    }

    // Holds Super+Alt, presses `key`, and answers the time to the ConfigureNotify.
    std::optional<double> pressAndWait(xcb_keycode_t key, double seconds) {
        fakeKey(XCB_KEY_PRESS, super);
        fakeKey(XCB_KEY_PRESS, alt);
        xcb_flush(connection);
        settle();
        const auto start = Clock::now();
        fakeKey(XCB_KEY_PRESS, key);
        xcb_flush(connection);
        const auto arrived = waitForConfigure(seconds);
        fakeKey(XCB_KEY_RELEASE, key);
        fakeKey(XCB_KEY_RELEASE, alt);
        fakeKey(XCB_KEY_RELEASE, super);
        xcb_flush(connection);
        settle();
        if (!arrived) return std::nullopt;
        return std::chrono::duration<double>(*arrived - start).count();
    }
};

Scene& scene() {
    static Scene instance;
    return instance;
}

// Centre and full screen alternate, so every press changes the window's size.
void BM_ShortcutToConfigureNotify(benchmark::State& state) {
    auto& s = scene();
    for (auto _ : state) {
        const auto key = s.centreNext ? s.centre : s.full;
        s.centreNext = !s.centreNext;
        auto seconds = s.pressAndWait(key, 2);
        if (!seconds) {
            state.SkipWithError("no ConfigureNotify after the shortcut");
            break;
        }
        state.SetIterationTime(*seconds);
    }
}

void BM_WmctrlToConfigureNotify(benchmark::State& state) {
    auto& s = scene();
    if (!zentaris::testing::programAvailable("wmctrl")) {
        state.SkipWithError("wmctrl is not installed");
        return;
    }
    const std::string id = std::to_string(s.terminal);
    for (auto _ : state) {
        s.wmctrlFlip = !s.wmctrlFlip;
        const std::string geometry = s.wmctrlFlip ? "0,100,100,700,500" : "0,300,200,900,600";
        s.settle();
        const auto start = Clock::now();
        const pid_t pid = zentaris::bench::startProcess({"wmctrl", "-i", "-r", id, "-e", geometry}, s.display.name());
        const auto arrived = s.waitForConfigure(2);
        ::waitpid(pid, nullptr, 0);
        if (!arrived) {
            state.SkipWithError("no ConfigureNotify after wmctrl");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(*arrived - start).count());
    }
}

} // namespace

BENCHMARK(BM_ShortcutToConfigureNotify)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(40)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WmctrlToConfigureNotify)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(40)
    ->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
