#pragma once

#include "ScreenObserver.h"
#include "SlotMatch.h"
#include "support/PrivateDisplay.h"
#include "support/TemporaryDirectory.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zentaris::testing {

// The real program on a private display with real terminals, driven by synthetic key presses.
class ZentarisSession {
public:
    struct Options {
        PrivateDisplay::Options display;
        // Each entry is the argument list of one `xrandr --setmonitor`, applied before the start.
        std::vector<std::vector<std::string>> monitors;
        // Entries for the program's defaults file ({"key": {"type": ..., "value": ...}}), besides
        // the finished tutorial and a recent update check, which keep the run quiet.
        nlohmann::json defaults = nlohmann::json::object();
    };

    explicit ZentarisSession(Options options);
    ZentarisSession() : ZentarisSession(Options{}) {}

    PrivateDisplay& display() { return *display_; }
    ScreenObserver& screen() { return *screen_; }
    const std::filesystem::path& configHome() const { return config_.path(); }
    std::filesystem::path defaultsFile() const { return config_.path() / "zentaris" / "defaults.json"; }

    // Starts an xterm with this title at +x+y and waits until the window manager has framed it.
    xcb_window_t openTerminal(const std::string& title, int x, int y);
    // Starts the program (with `launcher`, as launchProgram does) and waits until its shortcuts
    // answer: `probe` is focused and the full-screen shortcut pressed until the window fills
    // `area`. False when it never does.
    bool startProgram(xcb_window_t probe, const PixelRect& area, const std::vector<std::string>& launcher = {});
    // Waits until the running program's shortcuts answer, as startProgram does.
    bool waitForShortcuts(xcb_window_t probe, const PixelRect& area);
    // Starts the program with `launcher` (a command followed by the program's own) and returns.
    void launchProgram(const std::vector<std::string>& launcher = {});
    pid_t programPid() const { return programPid_; }
    // Starts the program once more, which brings the running one's settings window forward, and
    // answers that window once it is framed and viewable.
    std::optional<xcb_window_t> openSettings();

    // Runs `xrandr --setmonitor` with each argument list.
    void setMonitors(const std::vector<std::vector<std::string>>& monitors);
    void focus(xcb_window_t window);
    // Clicks the tray icon (a tray such as trayer must run), as a person would; true once the menu
    // is shown and holds the keyboard.
    bool openTrayMenu();
    // `xdotool key` with these chords, sent in one go (12 ms apart).
    void press(const std::vector<std::string>& chords);
    // Waits until `window` fills `slot` of `area`; the last comparison.
    ::testing::AssertionResult waitForSlot(xcb_window_t window, const Slot& slot, const PixelRect& area,
                                           double seconds = 3);
    // Whether `window` stays where it is for `seconds`.
    ::testing::AssertionResult staysPut(xcb_window_t window, double seconds);

private:
    // The program's command line, with its settings in this session's folder.
    std::vector<std::string> programCommand() const;

    TemporaryDirectory config_;
    std::unique_ptr<PrivateDisplay> display_;
    std::unique_ptr<ScreenObserver> screen_;
    pid_t programPid_ = 0;
};

void pauseFor(double seconds);
// Asks `done` until it answers true or the time is up; its last answer.
bool waitUntil(const std::function<bool()>& done, double seconds);
// The exit status once the child `pid` has ended (128 + the signal when one ended it), nothing
// while it still runs after `seconds`.
std::optional<int> exitStatus(pid_t pid, double seconds);

// The program under test and the tools the sessions need are all installed.
bool endToEndToolsAvailable();

} // namespace zentaris::testing
