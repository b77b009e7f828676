// Time from a move request to the window manager's ConfigureNotify for an xterm under openbox:
// through the backend, as one bare xcb request, and as a wmctrl process.
#include "platform/fake/FakeMainQueue.h"
#include "platform/x11/X11Desktop.h"
#include "support/PrivateDisplay.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using platform::Rect;

struct Scene {
    zentaris::testing::PrivateDisplay display;
    platform::fake::FakeMainQueue queue;
    std::unique_ptr<platform::x11::X11Desktop> desktop;
    platform::AXUIElement window;
    platform::ObservationToken listener;
    int configures = 0;
    bool flip = false;

    Scene() {
        desktop = platform::x11::X11Desktop::open(queue, {.displayName = display.name().c_str()});
        const pid_t pid = display.spawn({"xterm"});
        auto& ax = desktop->accessibility();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            auto windows = ax.copyAttributeValue(ax.createApplication(pid), "AXWindows").as<std::vector<platform::AXUIElement>>();
            if (windows && !windows->empty()) {
                window = windows->front();
                break;
            }
            desktop->connection().waitAndPump(0.02);
        }
        auto& connection = desktop->connection();
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection.xcb(), client(), XCB_CW_EVENT_MASK, &mask);
        listener = connection.addEventListener([this](const xcb_generic_event_t& event) {
            if ((event.response_type & ~0x80) != XCB_CONFIGURE_NOTIFY) return;
            if (reinterpret_cast<const xcb_configure_notify_event_t&>(event).window == client()) ++configures;
        });
        connection.sync();
    }
    xcb_window_t client() const { return static_cast<xcb_window_t>(window.id); }
    // Alternates between two places so that every request changes the geometry.
    Rect nextTarget() {
        flip = !flip;
        return flip ? Rect(100, 100, 700, 500) : Rect(300, 200, 900, 600);
    }
    void waitForConfigure(int before) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (configures == before && std::chrono::steady_clock::now() < deadline) desktop->connection().waitAndPump(0.05);
    }
};

Scene& scene() {
    static Scene instance;
    return instance;
}

void BM_MoveThroughTheBackend(benchmark::State& state) {
    auto& s = scene();
    for (auto _ : state) {
        const Rect target = s.nextTarget();
        const int before = s.configures;
        s.desktop->accessibility().setAttributeValue(s.window, "AXPosition", target.origin);
        s.desktop->accessibility().setAttributeValue(s.window, "AXSize", target.size);
        s.waitForConfigure(before);
    }
}

void BM_MoveByOneBareRequest(benchmark::State& state) {
    auto& s = scene();
    auto& connection = s.desktop->connection();
    for (auto _ : state) {
        const Rect target = s.nextTarget();
        const int before = s.configures;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = s.client();
        message.type = connection.ewmh()->_NET_MOVERESIZE_WINDOW;
        message.data.data32[0] = 1 | (0xFu << 8) | (2u << 12);
        message.data.data32[1] = static_cast<std::uint32_t>(target.minX());
        message.data.data32[2] = static_cast<std::uint32_t>(target.minY());
        message.data.data32[3] = static_cast<std::uint32_t>(target.width());
        message.data.data32[4] = static_cast<std::uint32_t>(target.height());
        xcb_send_event(connection.xcb(), 0, connection.root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
        connection.flush();
        s.waitForConfigure(before);
    }
}

void BM_MoveWithWmctrl(benchmark::State& state) {
    auto& s = scene();
    if (!zentaris::testing::programAvailable("wmctrl")) {
        state.SkipWithError("wmctrl is not installed");
        return;
    }
    const std::string id = std::to_string(s.client());
    for (auto _ : state) {
        const Rect target = s.nextTarget();
        const int before = s.configures;
        const std::string geometry = "0," + std::to_string(int(target.minX())) + "," + std::to_string(int(target.minY())) +
                                     "," + std::to_string(int(target.width())) + "," + std::to_string(int(target.height()));
        s.display.run({"wmctrl", "-i", "-r", id, "-e", geometry});
        s.waitForConfigure(before);
    }
}

} // namespace

BENCHMARK(BM_MoveThroughTheBackend)->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_MoveByOneBareRequest)->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_MoveWithWmctrl)->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
