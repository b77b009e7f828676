#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zentaris::testing {

// A private X display for one test or one suite: Xvfb on a free display number and, unless told
// otherwise, openbox without key bindings. Everything it started is stopped when it is dropped.
class PrivateDisplay {
public:
    struct Options {
        int width = 1920;
        int height = 1080;
        // The window manager's command line; empty for a bare server.
        std::vector<std::string> windowManager = {"openbox", "--config-file", defaultOpenboxConfig().string()};
    };

    PrivateDisplay() : PrivateDisplay(Options{}) {}
    explicit PrivateDisplay(Options options);
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // ":N"
    const std::string& name() const { return name_; }
    // True when a window manager announces itself on the root (_NET_SUPPORTING_WM_CHECK).
    bool windowManagerRunning() const;
    // Starts a program on this display; it is stopped with the display.
    pid_t spawn(const std::vector<std::string>& argv);
    // Runs a program on this display to completion and returns its exit status (-1 on failure).
    int run(const std::vector<std::string>& argv) const;
    // Every process started here, server first.
    const std::vector<pid_t>& processes() const { return processes_; }
    void stop();

    static std::filesystem::path defaultOpenboxConfig();

private:
    bool waitForWindowManager(double seconds) const;

    std::string name_;
    std::vector<pid_t> processes_;
};

// True when `program` can be found on PATH.
bool programAvailable(const std::string& program);

} // namespace zentaris::testing
