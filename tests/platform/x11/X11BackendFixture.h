#pragma once

#include "platform/fake/FakeMainQueue.h"
#include "platform/x11/X11Desktop.h"
#include "support/PrivateDisplay.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

namespace platform {
inline void PrintTo(const Rect& r, std::ostream* out) {
    *out << "(" << r.minX() << ", " << r.minY() << ", " << r.width() << ", " << r.height() << ")";
}
inline void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
} // namespace platform

namespace zentaris::testing {

// A private X display with a window manager, the X11 backend on it, and helpers to start clients
// and wait for the window manager. Any X error that reaches the backend fails the test.
class X11Session {
public:
    explicit X11Session(PrivateDisplay::Options options = {});
    ~X11Session();

    PrivateDisplay& display() { return display_; }
    platform::x11::X11Desktop& desktop() { return *desktop_; }
    platform::x11::X11Accessibility& accessibility() { return desktop_->accessibility(); }
    platform::fake::FakeMainQueue& queue() { return queue_; }

    // Starts our test client with these options.
    pid_t launchClient(const std::vector<std::string>& options);
    pid_t launch(const std::vector<std::string>& argv) { return display_.spawn(argv); }
    // Ends a client we started.
    void terminate(pid_t pid);
    // The first window the process shows, once the window manager has framed it; none in time.
    std::optional<platform::AXUIElement> waitForWindow(pid_t pid, double seconds = 10);
    // Pumps events until `done` holds or the time is up; the last answer of `done`.
    bool waitUntil(const std::function<bool()>& done, double seconds = 3);
    // Waits until the window's applied frame is `expected`; the frame it has at the end.
    std::optional<platform::Rect> waitForFrame(const platform::AXUIElement& window, const platform::Rect& expected);
    // The accessibility frame, through the interface.
    std::optional<platform::Rect> frameOf(const platform::AXUIElement& window);
    void setFrame(const platform::AXUIElement& window, const platform::Rect& frame);
    // Sends a _NET_WM_STATE change as a pager would, and waits until it shows.
    void changeState(const platform::AXUIElement& window, bool add, const std::string& state1, const std::string& state2 = {});

private:
    PrivateDisplay display_;
    platform::fake::FakeMainQueue queue_;
    std::unique_ptr<platform::x11::X11Desktop> desktop_;
    platform::ObservationToken errorGuard_;
};

// Start every window manager or Xvfb test only where the programs are installed.
#define ZENTARIS_REQUIRE_PROGRAMS(...)                                                            \
    for (const char* program : {__VA_ARGS__})                                                     \
        if (!::zentaris::testing::programAvailable(program)) GTEST_SKIP() << program << " missing"

} // namespace zentaris::testing
