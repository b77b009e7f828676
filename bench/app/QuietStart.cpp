#include "QuietStart.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fcntl.h>
#include <memory>
#include <sys/prctl.h>
#include <csignal>
#include <thread>
#include <unistd.h>

namespace zentaris::bench {

namespace {

std::vector<std::uint32_t> cardinals(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                     xcb_atom_t type) {
    auto* reply = xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, property, type, 0, 1024),
                                         nullptr);
    std::vector<std::uint32_t> values;
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

} // namespace

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    auto* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

QuietConfig::QuietConfig() {
    const auto file = defaultsFile();
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    testing::writeFile(file, R"({"values": {"hasCompletedOnboarding": {"type": "bool", "value": true},
                                 "lastUpdateCheckDate": {"type": "date", "value": )" +
                                 std::to_string(std::time(nullptr)) + "}}}");
}

std::vector<std::string> QuietConfig::command(const std::string& binary) const {
    return {"env", "XDG_CONFIG_HOME=" + folder_.path().string(), binary};
}

std::string QuietConfig::defaultsFile() const { return (folder_.path() / "zentaris" / "defaults.json").string(); }

std::optional<xcb_window_t> waitForClientOf(xcb_connection_t* connection, pid_t pid, double seconds) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t clientList = internAtom(connection, "_NET_CLIENT_LIST");
    const xcb_atom_t wmPid = internAtom(connection, "_NET_WM_PID");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        for (auto window : cardinals(connection, root, clientList, XCB_ATOM_WINDOW)) {
            auto owner = cardinals(connection, window, wmPid, XCB_ATOM_CARDINAL);
            if (!owner.empty() && static_cast<pid_t>(owner[0]) == pid) return window;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

pid_t startProcess(const std::vector<std::string>& argv, const std::string& display) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::setenv("DISPLAY", display.c_str(), 1);
    const int devNull = ::open("/dev/null", O_RDWR);
    ::dup2(devNull, STDIN_FILENO);
    ::dup2(devNull, STDOUT_FILENO);
    if (!std::getenv("ZENTARIS_BENCH_VERBOSE")) ::dup2(devNull, STDERR_FILENO);
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
}

} // namespace zentaris::bench
