#include "TutorialDriver.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace zentaris::bench {

namespace {

double residentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6));
    }
    return 0;
}

void addDescendants(pid_t pid, std::vector<pid_t>& found) {
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream children(task.path() / "children");
        for (pid_t child; children >> child;) {
            found.push_back(child);
            addDescendants(child, found);
        }
    }
}

void sendToWindow(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t type, std::uint32_t a, std::uint32_t b) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    message.data.data32[0] = a;
    message.data.data32[1] = b;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

void pause(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

} // namespace

Resident residentMiB(pid_t pid) {
    Resident resident;
    resident.program = residentKiB(pid) / 1024;
    std::vector<pid_t> descendants;
    addDescendants(pid, descendants);
    for (const pid_t child : descendants) resident.children += residentKiB(child) / 1024;
    return resident;
}

void stopProcess(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

PeakSampler::PeakSampler(pid_t pid)
    : thread_([this, pid] {
          while (running_) {
              peak_ = std::max(peak_, residentMiB(pid).total());
              pause(0.05);
          }
      }) {}

PeakSampler::~PeakSampler() { stop(); }

double PeakSampler::stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
    return peak_;
}

TutorialDriver::TutorialDriver(BenchDesktop& desktop, const std::string& display, pid_t pid)
    : desktop_(desktop), pid_(pid), connection_(xcb_connect(display.c_str(), nullptr)) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

TutorialDriver::~TutorialDriver() { xcb_disconnect(connection_); }

bool TutorialDriver::waitForWindow(double seconds) {
    const auto window = waitForClientOf(connection_, pid_, seconds);
    if (window) window_ = *window;
    return window.has_value();
}

int TutorialDriver::page() {
    if (!window_) return 0;
    // The bar: 820 px wide from x = 40, 6 px high from y = 20; the fill is the accent colour, the
    // track a grey.
    constexpr int left = 40, width = 820, row = 23;
    auto* image = xcb_get_image_reply(
        connection_, xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, left, row, width, 1, ~0u), nullptr);
    if (!image) return 0;
    const int length = xcb_get_image_data_length(image);
    const std::uint8_t* pixels = xcb_get_image_data(image);
    int filled = 0;
    for (int x = 0; x + 3 < length && x / 4 < width; x += 4) {
        const int high = std::max({pixels[x], pixels[x + 1], pixels[x + 2]});
        const int low = std::min({pixels[x], pixels[x + 1], pixels[x + 2]});
        if (high - low > 60) ++filled;
    }
    std::free(image);
    return static_cast<int>(static_cast<double>(filled) * 6 / width + 0.5) + 1;
}

bool TutorialDriver::waitForPage(int expected, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (page() == expected) return true;
        pause(0.02);
    }
    return false;
}

void TutorialDriver::click(int x, int y) {
    auto* place = xcb_translate_coordinates_reply(connection_, xcb_translate_coordinates(connection_, window_, root_, 0, 0), nullptr);
    auto* size = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window_), nullptr);
    if (place && size) {
        desktop_.movePointer(place->dst_x + (x < 0 ? size->width + x : x), place->dst_y + size->height + y);
        pause(0.02);
        desktop_.fakeButton(true, 1);
        desktop_.fakeButton(false, 1);
    }
    std::free(place);
    std::free(size);
}

// The buttons' middles: Back 85 px from the left, Next 90 px from the right, both 39 px above the bottom.
void TutorialDriver::clickNext() { click(-90, -39); }
void TutorialDriver::clickBack() { click(85, -39); }
// Skip stands where Back does, and is narrower.
void TutorialDriver::clickSkip() { click(60, -39); }

bool TutorialDriver::next(int expected) {
    clickNext();
    return waitForPage(expected, 10);
}

bool TutorialDriver::back(int expected) {
    clickBack();
    return waitForPage(expected, 10);
}

std::optional<double> TutorialDriver::timeToTurn(bool forward, int expected) {
    forward ? clickNext() : clickBack();
    const auto clicked = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - clicked < std::chrono::seconds(10)) {
        if (page() == expected) return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - clicked).count();
        pause(0.002);
    }
    return std::nullopt;
}

void TutorialDriver::close() {
    sendToWindow(connection_, window_, internAtom(connection_, "WM_PROTOCOLS"), internAtom(connection_, "WM_DELETE_WINDOW"), XCB_CURRENT_TIME);
}

bool TutorialDriver::waitUntilClosed(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        auto* attributes = xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window_), nullptr);
        const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        if (!shown) return true;
        pause(0.05);
    }
    return false;
}

} // namespace zentaris::bench
