#include "ZentarisSession.h"

#include <chrono>
#include <ctime>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

namespace zentaris::testing {

namespace {
using Clock = std::chrono::steady_clock;
} // namespace

void pauseFor(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

bool waitUntil(const std::function<bool()>& done, double seconds) {
    for (const auto deadline = Clock::now() + std::chrono::duration<double>(seconds); Clock::now() < deadline;
         pauseFor(0.05)) {
        if (done()) return true;
    }
    return done();
}

std::optional<int> exitStatus(pid_t pid, double seconds) {
    std::optional<int> status;
    waitUntil([&] {
        int raw = 0;
        if (::waitpid(pid, &raw, WNOHANG) != pid) return false;
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return true;
    }, seconds);
    return status;
}

bool endToEndToolsAvailable() {
    for (const char* tool : {"Xvfb", "openbox", "xterm", "xdotool", "xrandr"}) {
        if (!programAvailable(tool)) return false;
    }
    return std::filesystem::exists(ZENTARIS_BINARY);
}

ZentarisSession::ZentarisSession(Options options) {
    nlohmann::json values = options.defaults;
    values["hasCompletedOnboarding"] = {{"type", "bool"}, {"value", true}};
    values["lastUpdateCheckDate"] = {{"type", "date"}, {"value", static_cast<double>(std::time(nullptr))}};
    std::filesystem::create_directories(defaultsFile().parent_path());
    writeFile(defaultsFile(), nlohmann::json{{"values", values}}.dump(2));

    display_ = std::make_unique<PrivateDisplay>(options.display);
    setMonitors(options.monitors);
    screen_ = std::make_unique<ScreenObserver>(display_->name());
}

xcb_window_t ZentarisSession::openTerminal(const std::string& title, int x, int y) {
    display_->spawn({"xterm", "-title", title, "-geometry", "80x24+" + std::to_string(x) + "+" + std::to_string(y)});
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        if (auto window = screen_->clientTitled(title)) {
            // Framed and placed: the frame reaches beyond the client.
            auto frame = screen_->outerFrame(*window);
            if (frame && frame->x < x + 5 && frame->y < y + 5 && frame->width > 300) return *window;
        }
        pauseFor(0.02);
    }
    throw std::runtime_error("xterm \"" + title + "\" did not appear");
}

std::vector<std::string> ZentarisSession::programCommand() const {
    return {"env", "XDG_CONFIG_HOME=" + config_.path().string(), ZENTARIS_BINARY};
}

void ZentarisSession::launchProgram(const std::vector<std::string>& launcher) {
    auto argv = launcher;
    const auto command = programCommand();
    argv.insert(argv.end(), command.begin(), command.end());
    programPid_ = display_->spawn(argv);
}

std::optional<xcb_window_t> ZentarisSession::openSettings() {
    if (display_->run(programCommand()) != 0) return std::nullopt;
    std::optional<xcb_window_t> settings;
    const bool shown = waitUntil([&] {
        settings = screen_->clientTitled("Settings");
        return settings && screen_->viewable(*settings) && screen_->outerFrame(*settings);
    }, 15);
    return shown ? settings : std::nullopt;
}

bool ZentarisSession::startProgram(xcb_window_t probe, const PixelRect& area,
                                   const std::vector<std::string>& launcher) {
    launchProgram(launcher);
    return waitForShortcuts(probe, area);
}

bool ZentarisSession::waitForShortcuts(xcb_window_t probe, const PixelRect& area) {
    focus(probe);
    const Slot whole = fractionOf(area, 0, 0, 1, 1);
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        press({"super+alt+f"});
        if (waitForSlot(probe, whole, area, 0.5)) return true;
    }
    return false;
}

void ZentarisSession::setMonitors(const std::vector<std::vector<std::string>>& monitors) {
    for (const auto& monitor : monitors) {
        std::vector<std::string> argv{"xrandr", "--setmonitor"};
        argv.insert(argv.end(), monitor.begin(), monitor.end());
        if (display_->run(argv) != 0) throw std::runtime_error("xrandr --setmonitor failed");
    }
}

void ZentarisSession::focus(xcb_window_t window) {
    display_->run({"xdotool", "windowactivate", "--sync", std::to_string(window)});
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (screen_->activeWindow() != window && Clock::now() < deadline) pauseFor(0.01);
}

bool ZentarisSession::openTrayMenu() {
    // A viewable window of ours that `found` accepts.
    const auto waitForWindow = [this](auto found, double seconds) -> std::optional<PixelRect> {
        std::optional<PixelRect> window;
        waitUntil([&] {
            for (const auto& box : screen_->viewableWindowsOfClass("zentaris")) {
                if (found(box)) window = box;
            }
            return window.has_value();
        }, seconds);
        return window;
    };
    const auto icon = waitForWindow([](const PixelRect& box) {
        return box.width >= 8 && box.width <= 64 && box.height <= 64;
    }, 15);
    if (!icon) return false;
    display_->run({"xdotool", "mousemove", std::to_string(icon->x + icon->width / 2),
                   std::to_string(icon->y + icon->height / 2), "click", "1"});
    if (!waitForWindow([](const PixelRect& box) { return box.width >= 300 && box.height >= 300; }, 5)) return false;
    // The keys go to the menu only once it holds the keyboard, never to a terminal.
    return waitUntil([&] { return screen_->keyboardGrabbed(); }, 5);
}

void ZentarisSession::press(const std::vector<std::string>& chords) {
    std::vector<std::string> argv{"xdotool", "key"};
    argv.insert(argv.end(), chords.begin(), chords.end());
    if (display_->run(argv) != 0) throw std::runtime_error("xdotool key failed");
}

::testing::AssertionResult ZentarisSession::waitForSlot(xcb_window_t window, const Slot& slot, const PixelRect& area,
                                                        double seconds) {
    const auto increment = screen_->resizeIncrement(window);
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    ::testing::AssertionResult last = ::testing::AssertionFailure() << "the window is gone";
    do {
        if (auto frame = screen_->outerFrame(window)) {
            last = fillsSlot(*frame, slot, area, increment);
            if (last) return last;
        }
        pauseFor(0.01);
    } while (Clock::now() < deadline);
    return last;
}

::testing::AssertionResult ZentarisSession::staysPut(xcb_window_t window, double seconds) {
    const auto before = screen_->outerFrame(window);
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < deadline) {
        const auto now = screen_->outerFrame(window);
        if (now != before) {
            return ::testing::AssertionFailure() << "moved from " << before.value_or(PixelRect{}) << " to "
                                                 << now.value_or(PixelRect{});
        }
        pauseFor(0.01);
    }
    return ::testing::AssertionSuccess();
}

} // namespace zentaris::testing
