// The run command without a display, as a newcomer meets it: the README's first example acts on a
// terminal right after the start, though the tutorial opens then, and Ctrl-C takes everything
// down without an error line, also when pressed twice.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zentaris::testing {
namespace {

class RunCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (!endToEndToolsAvailable() || !programAvailable("trayer") || !programAvailable("xprop") ||
            !programAvailable("setsid")) {
            GTEST_SKIP() << "the X tools, trayer, xprop, setsid or the program are missing";
        }
        ASSERT_EQ(::pipe2(banner_, O_CLOEXEC), 0);
        // What the script leaves behind when it ends comes to this process, where it can be seen.
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        script_ = ::fork();
        ASSERT_GE(script_, 0);
        if (script_ == 0) runScript();
        ::close(banner_[1]);
        display_ = displayInBanner();
        ASSERT_FALSE(display_.empty()) << "no display named in: " << bannerText_;
        screen_ = std::make_unique<ScreenObserver>(display_);
    }

    void TearDown() override {
        screen_.reset();
        if (script_ > 0 && !ended(0)) {
            ::kill(-script_, SIGINT);
            ended(30);
        }
        for (const auto& left : leftovers()) ::kill(std::stoi(left), SIGKILL);
        if (banner_[0] >= 0) ::close(banner_[0]);
    }

    // The script's processes still running once it has ended: "pid (name)" each.
    std::vector<std::string> leftovers() {
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            std::string stat = readFile(entry.path() / "stat");
            // pid (name) state parent ...
            const auto nameEnd = stat.rfind(')');
            if (nameEnd == std::string::npos) continue;
            std::istringstream rest(stat.substr(nameEnd + 1));
            char state = 0;
            pid_t parent = 0;
            rest >> state >> parent;
            if (parent == ::getpid() && state != 'Z') names.push_back(stat.substr(0, nameEnd + 1));
        }
        return names;
    }

    // In the child: the script in a process group of its own, as a terminal runs a command, with
    // a fresh settings folder, so that the tutorial opens.
    [[noreturn]] void runScript() {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        ::setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", home_.path().c_str(), 1);
        ::dup2(banner_[1], STDOUT_FILENO);
        const int errors = ::open(errorLog().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(errors, STDERR_FILENO);
        const int devNull = ::open("/dev/null", O_RDONLY);
        ::dup2(devNull, STDIN_FILENO);
        ::execl(ZENTARIS_RUN_SCRIPT, ZENTARIS_RUN_SCRIPT, ZENTARIS_BINARY, static_cast<char*>(nullptr));
        ::_exit(127);
    }

    // ":N" from the banner's "DISPLAY=:N"; empty when none comes.
    std::string displayInBanner() {
        pollfd readable{banner_[0], POLLIN, 0};
        const std::string mark = "DISPLAY=:";
        waitUntil([&] {
            char buffer[256];
            while (::poll(&readable, 1, 0) > 0) {
                const auto n = ::read(banner_[0], buffer, sizeof buffer);
                if (n <= 0) return true;
                bannerText_.append(buffer, static_cast<std::size_t>(n));
            }
            const auto at = bannerText_.find(mark);
            return at != std::string::npos && bannerText_.find_first_not_of("0123456789", at + mark.size()) != std::string::npos;
        }, 30);
        const auto at = bannerText_.find(mark);
        if (at == std::string::npos) return {};
        const auto number = at + mark.size();
        return ":" + bannerText_.substr(number, bannerText_.find_first_not_of("0123456789", number) - number);
    }

    // Whether the script has ended, waiting up to `seconds` for it.
    bool ended(double seconds) {
        if (!ended_) ended_ = exitStatus(script_, seconds).has_value();
        return ended_;
    }
    std::filesystem::path errorLog() const { return home_ / "stderr.log"; }
    void press(const std::string& chord) const {
        std::system(("DISPLAY=" + display_ + " xdotool key " + chord + " >/dev/null 2>&1").c_str());
    }
    // Both start far from it; a snapped xterm sits within its own border of the edge.
    bool aTerminalAtTheLeftEdge() {
        for (const char* title : {"Terminal 1", "Terminal 2"}) {
            const auto terminal = screen_->clientTitled(title);
            const auto frame = terminal ? screen_->outerFrame(*terminal) : std::nullopt;
            if (frame && frame->x <= 2) return true;
        }
        return false;
    }

    TemporaryDirectory home_;
    int banner_[2] = {-1, -1};
    pid_t script_ = 0;
    bool ended_ = false;
    std::string bannerText_;
    std::string display_;
    std::unique_ptr<ScreenObserver> screen_;
};

TEST_F(RunCommand, TheFirstExampleMovesATerminalThoughTheTutorialOpenedAndCtrlCEndsQuietly) {
    ASSERT_TRUE(waitUntil([&] {
        const auto tutorial = screen_->clientTitled("Zentaris Onboarding");
        return tutorial && screen_->viewable(*tutorial);
    }, 30)) << "the tutorial never opened";
    // Again while the shortcuts are not taken yet or the tutorial still holds the focus.
    EXPECT_TRUE(waitUntil([&] {
        press("super+alt+Left");
        return waitUntil([&] { return aTerminalAtTheLeftEdge(); }, 0.5);
    }, 20)) << "⌥⌘← moved no terminal";

    const auto errorsBefore = readFile(errorLog()).size();
    ::kill(-script_, SIGINT); // Ctrl-C reaches the terminal's foreground process group
    ASSERT_TRUE(ended(30)) << "Ctrl-C did not end the run";
    EXPECT_EQ(readFile(errorLog()).substr(errorsBefore), "");
    xcb_connection_t* connection = xcb_connect(display_.c_str(), nullptr);
    EXPECT_TRUE(xcb_connection_has_error(connection)) << "the private desktop is still there";
    xcb_disconnect(connection);
}

TEST_F(RunCommand, ASecondCtrlCDuringTheCleanUpStillStopsEverything) {
    ASSERT_TRUE(waitUntil([&] { return screen_->clientTitled("Zentaris Onboarding").has_value(); }, 30))
        << "Zentaris never came up";
    ::kill(-script_, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(-script_, SIGINT);
    ASSERT_TRUE(ended(30)) << "Ctrl-C did not end the run";
    std::vector<std::string> left;
    EXPECT_TRUE(waitUntil([&] { return (left = leftovers()).empty(); }, 15)) << ::testing::PrintToString(left);
    EXPECT_FALSE(std::filesystem::exists("/tmp/.X11-unix/X" + display_.substr(1))) << "the display is still there";
}

} // namespace
} // namespace zentaris::testing
