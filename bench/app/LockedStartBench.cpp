// The program's start until its tray icon shows (docked and drawn), while another process holds the
// settings folder's lock and is stopped (so it never lets go), against a start without one. Each
// start is a first start as users have it: a fresh configuration folder whose file lacks the
// shortcut defaults, so the start saves each of them. The two kinds of start alternate; medians and
// their ratio.
// Usage: bench_app_start_locked [--rounds N] [--zentaris PATH]   (default 5 rounds)
#include "BenchDesktop.h"
#include "StoppedHolder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

using namespace zentaris::bench;

namespace {

// A start that has not shown its icon by then is given up.
constexpr double startDeadlineSeconds = 90;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

std::string classInstance(xcb_connection_t* connection, xcb_window_t window) {
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 8) return {};
    const std::string value(static_cast<const char*>(xcb_get_property_value(reply.get())),
                            static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    return value.substr(0, value.find('\0'));
}

// A viewable window of the program the size of a tray icon below `parent`: its icon, docked.
std::optional<xcb_window_t> trayIconBelow(xcb_connection_t* connection, xcb_window_t parent) {
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr), &std::free);
    if (!tree) return std::nullopt;
    const auto* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, children[i]), nullptr), &std::free);
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
        if (classInstance(connection, children[i]) == "zentaris") {
            Reply<xcb_get_geometry_reply_t> geometry(
                xcb_get_geometry_reply(connection, xcb_get_geometry(connection, children[i]), nullptr), &std::free);
            if (geometry && geometry->width <= 64 && geometry->height <= 64) return children[i];
        }
        if (auto icon = trayIconBelow(connection, children[i])) return icon;
    }
    return std::nullopt;
}

// The tray docks the icon's window by itself; the program draws into it once its event loop runs.
// Drawn: its pixels are not all one colour.
bool drawn(xcb_connection_t* connection, xcb_window_t icon) {
    Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, icon), nullptr),
                                             &std::free);
    if (!geometry) return false;
    Reply<xcb_get_image_reply_t> image(
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, icon, 0, 0, geometry->width, geometry->height,
                                          ~0u),
                            nullptr),
        &std::free);
    if (!image || geometry->depth < 24) return false;
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image.get()));
    const auto count = static_cast<std::size_t>(xcb_get_image_data_length(image.get())) / 4;
    return std::any_of(pixels, pixels + count, [first = pixels[0]](std::uint32_t pixel) { return pixel != first; });
}

bool trayIconShown(xcb_connection_t* connection, xcb_window_t root) {
    const auto icon = trayIconBelow(connection, root);
    return icon && drawn(connection, *icon);
}

bool waitUntil(const std::function<bool()>& done, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool trayRunning(xcb_connection_t* connection) {
    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, internAtom(connection, "_NET_SYSTEM_TRAY_S0")),
                                      nullptr),
        &std::free);
    return owner && owner->owner != XCB_NONE;
}

void endProgram(pid_t pid) {
    ::kill(pid, SIGTERM);
    if (!waitUntil([pid] { return ::waitpid(pid, nullptr, WNOHANG) == pid; }, 10)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

// Seconds from the program's start to its tray icon, in a fresh configuration folder; nothing when
// the icon did not show before the deadline.
std::optional<double> startToTrayIcon(const std::string& binary, const zentaris::testing::PrivateDisplay& display,
                                      xcb_connection_t* connection, bool stoppedHolder) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const QuietConfig config;
    std::optional<StoppedHolder> holder;
    if (stoppedHolder) {
        holder.emplace(std::filesystem::path(config.defaultsFile()).parent_path());
        if (!holder->holding()) throw std::runtime_error("the settings folder could not be locked");
    }
    const auto started = Clock::now();
    const pid_t program = startProcess(config.command(binary), display.name());
    const bool shown = waitUntil([&] { return trayIconShown(connection, root); }, startDeadlineSeconds);
    const std::chrono::duration<double> took = Clock::now() - started;
    holder.reset();
    endProgram(program);
    // The next start docks an icon of its own.
    waitUntil([&] { return !trayIconBelow(connection, root); }, 10);
    return shown ? std::optional(took.count()) : std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    const std::string binary = programBinary(argc, argv, ZENTARIS_BINARY);
    int rounds = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
    }
    for (const char* tool : {"Xvfb", "openbox", "trayer"}) {
        if (!zentaris::testing::programAvailable(tool)) {
            std::cout << tool << " is not installed; no start is measured\n";
            return 0;
        }
    }
    zentaris::testing::PrivateDisplay display;
    BenchDesktop desk(display);
    display.spawn({"trayer", "--edge", "top", "--height", "24"});
    if (!waitUntil([&] { return trayRunning(desk.xcb()); }, 20)) {
        std::cerr << "the tray did not start\n";
        return 1;
    }
    std::printf("%s, start to tray icon, first start in a fresh settings folder; %d rounds, deadline %.0f s\n",
                binary.c_str(), rounds, startDeadlineSeconds);
    std::vector<double> unheld, held;
    int missedFree = 0, missedHeld = 0;
    for (int round = 0; round < rounds; ++round) {
        // Alternating which goes first, so that neither always meets the machine as the other left it.
        for (const bool stopped : round % 2 ? std::vector{true, false} : std::vector{false, true}) {
            const auto seconds = startToTrayIcon(binary, display, desk.xcb(), stopped);
            const char* kind = stopped ? "a stopped lock holder:" : "no other process:";
            if (seconds) std::printf("  round %d, %-24s %7.3f s\n", round + 1, kind, *seconds);
            else std::printf("  round %d, %-24s no icon within the deadline\n", round + 1, kind);
            std::fflush(stdout);
            if (!seconds) ++(stopped ? missedHeld : missedFree);
            (stopped ? held : unheld).push_back(seconds.value_or(startDeadlineSeconds));
        }
    }
    const double freeMedian = median(unheld), heldMedian = median(held);
    std::printf("start -> tray icon, median:  no other process %s%.3f s,  a stopped lock holder %s%.3f s,  ratio %.1fx\n",
                missedFree ? ">= " : "", freeMedian, missedHeld ? ">= " : "", heldMedian, heldMedian / freeMedian);
    if (missedFree + missedHeld) {
        std::printf("(%d starts showed no icon within %.0f s; counted at the deadline)\n", missedFree + missedHeld,
                    startDeadlineSeconds);
    }
    return 0;
}
