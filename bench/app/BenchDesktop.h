#pragma once

#include "QuietStart.h"

#include <xcb/xcb.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zentaris::bench {

using Clock = std::chrono::steady_clock;

// The program's binary: --zentaris PATH on the command line (to measure another build), else the
// one built beside the benchmark. Removes the option from argv.
std::string programBinary(int& argc, char** argv, const std::string& builtIn);

// What a process has cost so far: CPU time of all its threads and their context switches.
struct ProcessCost {
    double cpuSeconds = 0;
    long switches = 0;
};
ProcessCost costOf(pid_t pid);
double median(std::vector<double> values);

// The benchmark's own view of a private desktop: synthetic keys and pointer (XTEST), windows of
// its own that stand in for other applications, and the ConfigureNotify of windows it watches.
class BenchDesktop {
public:
    explicit BenchDesktop(testing::PrivateDisplay& display);
    ~BenchDesktop();

    xcb_connection_t* xcb() const { return connection_; }
    xcb_window_t root() const;
    xcb_keycode_t keycode(std::uint32_t keysym);

    // Holds Super+Alt and presses `key` (a keysym).
    void pressShortcut(std::uint32_t keysym);
    void fakeKey(bool press, xcb_keycode_t key);
    void fakeButton(bool press, std::uint8_t button);
    void movePointer(int x, int y);

    // ConfigureNotify of this window reaches the benchmark from now on.
    void watch(xcb_window_t window);
    // The watched windows, in the order they were watched.
    const std::vector<xcb_window_t>& watched() const { return watched_; }
    // Asks the window manager to give a client this place and size, as any program arranging
    // windows does (_NET_MOVERESIZE_WINDOW; the frame's top left at x, y).
    void moveResize(xcb_window_t window, int x, int y, int width, int height);
    // Waits for the next ConfigureNotify of a watched window; the time it arrived.
    std::optional<Clock::time_point> nextConfigure(double seconds);
    // Drops what arrives until nothing has for `quiet` seconds; the time of the last one.
    std::optional<Clock::time_point> lastConfigure(double quiet);

    // `count` windows of their own applications (`perApplication` windows each, one X client and
    // one process number per application) at (x, y), minimised when asked; waits until the window
    // manager manages all of them. With `oneClient` every window comes from one X client while each
    // application still names its own process: the server takes a few hundred clients at most.
    void addCrowd(int count, int perApplication, int x, int y, bool minimised, bool oneClient = false);
    // The X clients of the crowd.
    std::size_t crowdApplications() const { return crowd_.size(); }
    // Ends the crowd's X clients beyond the first `keepApplications`.
    void removeCrowd(std::size_t keepApplications = 0);
    // Starts an xterm at +100+100 and watches it; none when it does not appear.
    std::optional<xcb_window_t> openTerminal();
    // The managed client of process `pid`, waiting up to `seconds`.
    std::optional<xcb_window_t> clientOf(pid_t pid, double seconds);
    void activate(xcb_window_t window);
    // Focuses `window` and presses Super+Alt+F until the program answers with a ConfigureNotify.
    bool waitUntilShortcutsAnswer(xcb_window_t window);
    // The client window's top left in root coordinates.
    std::pair<int, int> originOf(xcb_window_t window);

private:
    testing::PrivateDisplay& display_;
    xcb_connection_t* connection_;
    std::vector<xcb_connection_t*> crowd_;
    std::uint32_t crowdProcesses_ = 0;
    std::vector<xcb_window_t> watched_;
};

} // namespace zentaris::bench
