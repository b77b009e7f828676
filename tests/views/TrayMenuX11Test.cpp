// The real program on a private X display with a tray: the tray icon opens the drawn menu, a
// layout row moves the focused window, and a global shortcut still works while the menu is open.

#include "platform/system/JsonFileUserDefaults.h"
#include "support/PrivateDisplay.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <thread>

using namespace zentaris::testing;

namespace {

struct Box {
    int x = 0, y = 0, width = 0, height = 0;
};

std::string output(const std::string& display, const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(("DISPLAY=" + display + " " + command + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, read);
        ::pclose(pipe);
    }
    return text;
}

template <typename T> std::optional<T> waitFor(std::function<std::optional<T>()> probe, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    do {
        if (auto value = probe()) return value;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

// Our windows as the tree lists them: `0x... "Zentaris": ("zentaris" "Zentaris")  22x22+0+0  +1897+1`.
std::vector<Box> programWindows(const std::string& display) {
    std::vector<Box> boxes;
    std::istringstream tree(output(display, "xwininfo -root -tree"));
    static const std::regex geometry(R"(\("zentaris" "Zentaris"\)\s+(\d+)x(\d+)[+-]\d+[+-]\d+\s+\+(-?\d+)\+(-?\d+))");
    for (std::string line; std::getline(tree, line);) {
        std::smatch match;
        if (std::regex_search(line, match, geometry)) {
            boxes.push_back({std::stoi(match[3]), std::stoi(match[4]), std::stoi(match[1]), std::stoi(match[2])});
        }
    }
    return boxes;
}

std::optional<Box> trayIcon(const std::string& display) {
    for (const Box& box : programWindows(display)) {
        if (box.width >= 8 && box.width <= 64 && box.height <= 64 && box.x >= 0) return box;
    }
    return std::nullopt;
}

std::optional<Box> windowGeometry(const std::string& display, const std::string& id) {
    const std::string shell = output(display, "xdotool getwindowgeometry --shell " + id);
    std::smatch match;
    static const std::regex fields(R"(X=(-?\d+)\s+Y=(-?\d+)\s+WIDTH=(\d+)\s+HEIGHT=(\d+))");
    if (!std::regex_search(shell, match, fields)) return std::nullopt;
    return Box{std::stoi(match[1]), std::stoi(match[2]), std::stoi(match[3]), std::stoi(match[4])};
}

// The open menu: a visible window of ours at least as wide as its rows.
std::optional<Box> openMenu(const std::string& display) {
    std::istringstream ids(output(display, "xdotool search --onlyvisible --classname zentaris"));
    for (std::string id; std::getline(ids, id);) {
        const auto box = windowGeometry(display, id);
        if (box && box->width >= 320 && box->height >= 300) return box;
    }
    return std::nullopt;
}

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

} // namespace

TEST(TrayMenuOnX11, LayoutRowAndGlobalShortcutMoveTheFocusedWindow) {
    for (const char* program : {"Xvfb", "openbox", "trayer", "xterm", "xdotool", "xwininfo"}) {
        if (!programAvailable(program)) GTEST_SKIP() << program << " is not installed";
    }
    TemporaryDirectory home;
    {
        // A finished tutorial keeps its window from taking the focus (every change is written at once).
        platform::JsonFileUserDefaults defaults(home / "zentaris" / "defaults.json");
        defaults.set("hasCompletedOnboarding", true);
    }
    PrivateDisplay display;
    const std::string& name = display.name();
    display.spawn({"trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24",
                   "--transparent", "false"});
    display.spawn({"xterm", "-geometry", "80x24+100+100", "-title", "MenuTarget"});
    display.spawn({"env", "XDG_CONFIG_HOME=" + home.path().string(), "XDG_RUNTIME_DIR=" + home.path().string(),
                   ZENTARIS_BINARY});

    const std::string terminal = trimmed(output(name, "xdotool search --sync --name MenuTarget"));
    ASSERT_FALSE(terminal.empty());
    const auto icon = waitFor<Box>([&] { return trayIcon(name); }, 15);
    ASSERT_TRUE(icon) << "the tray icon never appeared";
    output(name, "xdotool windowactivate --sync " + terminal);
    const Box start = windowGeometry(name, terminal).value();

    output(name, "xdotool mousemove " + std::to_string(icon->x + icon->width / 2) + " " +
                     std::to_string(icon->y + icon->height / 2) + " click 1");
    const auto menu = waitFor<Box>([&] { return openMenu(name); }, 5);
    ASSERT_TRUE(menu) << "the menu did not open";

    // The first layout row sits below the first section title.
    const std::string firstRow = std::to_string(menu->x + menu->width / 2) + " " + std::to_string(menu->y + 38);
    output(name, "xdotool mousemove " + firstRow);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));

    // The menu holds the keyboard; the shortcut still reaches the program.
    output(name, "xdotool key super+alt+Left");
    const auto atLeftEdge = waitFor<Box>([&]() -> std::optional<Box> {
        auto now = windowGeometry(name, terminal);
        return now && now->x < start.x - 50 ? now : std::nullopt;
    }, 5);
    ASSERT_TRUE(atLeftEdge) << "super+alt+Left did not move the window while the menu was open";
    EXPECT_TRUE(openMenu(name)) << "the chord leaves the menu open";

    output(name, "xdotool click 1");
    const auto arranged = waitFor<Box>([&]() -> std::optional<Box> {
        auto now = windowGeometry(name, terminal);
        return now && now->width != atLeftEdge->width ? now : std::nullopt;
    }, 5);
    ASSERT_TRUE(arranged) << "the layout row did not move the window";
    EXPECT_LT(arranged->x, 50);
    EXPECT_GT(arranged->width, 800) << "the left half of a 1920-point screen";
    EXPECT_FALSE(openMenu(name)) << "choosing a row closes the menu";
}
