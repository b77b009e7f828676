#include "support/PrivateDisplay.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zentaris::testing {

namespace {

[[noreturn]] void execInChild(const std::vector<std::string>& argv, const std::string& display) {
    // Die with the test process, whatever happens to it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (!display.empty()) ::setenv("DISPLAY", display.c_str(), 1);
    const int devNull = ::open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        ::dup2(devNull, STDIN_FILENO);
        if (!std::getenv("ZENTARIS_TEST_VERBOSE")) {
            ::dup2(devNull, STDOUT_FILENO);
            ::dup2(devNull, STDERR_FILENO);
        }
    }
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
}

bool waitForExit(pid_t pid, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        const pid_t done = ::waitpid(pid, nullptr, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

bool programAvailable(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string dirs = path;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const auto end = dirs.find(':', start);
        const auto dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty() && ::access((dir + "/" + program).c_str(), X_OK) == 0) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

std::filesystem::path PrivateDisplay::defaultOpenboxConfig() {
    return std::filesystem::path(ZENTARIS_SOURCE_DIR) / "scripts" / "openbox-rc.xml";
}

PrivateDisplay::PrivateDisplay(Options options) {
    // Xvfb picks a free display number and writes it to the pipe once it accepts connections.
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    const pid_t server = ::fork();
    if (server < 0) throw std::runtime_error("fork failed");
    if (server == 0) {
        ::close(pipeFds[0]);
        const std::string screen = std::to_string(options.width) + "x" + std::to_string(options.height) + "x24";
        execInChild({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", screen, "-nolisten", "tcp",
                     "-noreset", "+extension", "RANDR"},
                    "");
    }
    processes_.push_back(server);
    ::close(pipeFds[1]);

    std::string number;
    pollfd readable{pipeFds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        if (::poll(&readable, 1, 100) <= 0) continue;
        char buffer[16];
        const auto n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        number.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    if (number.find('\n') == std::string::npos) {
        stop();
        throw std::runtime_error("Xvfb did not start");
    }
    name_ = ":" + number.substr(0, number.find('\n'));

    if (!options.windowManager.empty()) {
        spawn(options.windowManager);
        if (!waitForWindowManager(20)) {
            stop();
            throw std::runtime_error("the window manager did not start on " + name_);
        }
    }
}

PrivateDisplay::~PrivateDisplay() { stop(); }

pid_t PrivateDisplay::spawn(const std::vector<std::string>& argv) {
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) execInChild(argv, name_);
    processes_.push_back(pid);
    return pid;
}

int PrivateDisplay::run(const std::vector<std::string>& argv) const {
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) execInChild(argv, name_);
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool PrivateDisplay::windowManagerRunning() const {
    xcb_connection_t* connection = xcb_connect(name_.c_str(), nullptr);
    bool found = false;
    if (!xcb_connection_has_error(connection)) {
        const char atomName[] = "_NET_SUPPORTING_WM_CHECK";
        auto atomCookie = xcb_intern_atom(connection, 1, sizeof atomName - 1, atomName);
        if (auto* atom = xcb_intern_atom_reply(connection, atomCookie, nullptr)) {
            if (atom->atom != XCB_ATOM_NONE) {
                xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
                auto cookie = xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1);
                if (auto* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
                    found = xcb_get_property_value_length(reply) == 4;
                    std::free(reply);
                }
            }
            std::free(atom);
        }
    }
    xcb_disconnect(connection);
    return found;
}

namespace {

bool clientListHolds(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t clientList, xcb_window_t window) {
    auto cookie = xcb_get_property(connection, 0, root, clientList, XCB_ATOM_WINDOW, 0, 4096);
    auto* reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (!reply) return false;
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    const int count = xcb_get_property_value_length(reply) / 4;
    const bool found = std::find(windows, windows + count, window) != windows + count;
    std::free(reply);
    return found;
}

// A window manager may announce itself before it handles map requests, and a window mapped in
// that moment is never managed. Maps a probe window until the manager lists it.
bool waitUntilWindowsAreManaged(const std::string& display, double seconds) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const char name[] = "_NET_CLIENT_LIST";
    auto* atom = xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    const xcb_atom_t clientList = atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(atom);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    bool managed = false;
    while (!managed && std::chrono::steady_clock::now() < deadline) {
        const xcb_window_t probe = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_map_window(connection, probe);
        xcb_flush(connection);
        const auto attemptEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (!managed && std::chrono::steady_clock::now() < attemptEnd) {
            managed = clientListHolds(connection, screen->root, clientList, probe);
            if (!managed) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        xcb_destroy_window(connection, probe);
        xcb_flush(connection);
        // Leave the client list as a test expects to find it: without the probe.
        for (int i = 0; i < 100 && clientListHolds(connection, screen->root, clientList, probe); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    xcb_disconnect(connection);
    return managed;
}

} // namespace

bool PrivateDisplay::waitForWindowManager(double seconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (windowManagerRunning()) return waitUntilWindowsAreManaged(name_, seconds);
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

void PrivateDisplay::stop() {
    // Clients and the window manager first, the server last.
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        ::kill(*it, SIGTERM);
        if (!waitForExit(*it, 3)) {
            ::kill(*it, SIGKILL);
            waitForExit(*it, 3);
        }
    }
    processes_.clear();
}

} // namespace zentaris::testing
