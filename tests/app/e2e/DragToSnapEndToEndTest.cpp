// Drag-to-snap on the real program: a window dragged by its title bar, with Super held once the
// move is under way, shows the drop-zone preview and lands in the zone on release; a right-button
// drag snaps a window only when it starts on the title bar the window manager draws, however tall,
// or, on a window with no title bar, near its top, and never from a menu or popup lying over one;
// the window dragged is the one the user sees where the press is, whatever the window manager's
// list says; a press on the program's own settings window lying over a title bar drags nothing.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zentaris::testing {
namespace {

const PixelRect screenArea{0, 0, 1920, 1080};
const Slot leftHalf = fractionOf(screenArea, 0, 0, 0.5, 1);
const Slot rightHalf = fractionOf(screenArea, 0.5, 0, 0.5, 1);

// A right-button drag as a hand makes it: press, then small steps, then release; `beforeRelease`
// looks at the screen with the button still held.
void rightButtonDrag(PrivateDisplay& display, int x, int y, const std::vector<std::pair<int, int>>& steps,
                     const std::function<void()>& beforeRelease = {}) {
    ASSERT_EQ(display.run({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "mousedown", "3"}), 0);
    pauseFor(0.05);
    for (const auto& [dx, dy] : steps) {
        ASSERT_EQ(display.run({"xdotool", "mousemove_relative", "--", std::to_string(dx), std::to_string(dy)}), 0);
    }
    if (beforeRelease) beforeRelease();
    ASSERT_EQ(display.run({"xdotool", "mouseup", "3"}), 0);
}

// Another program's override-redirect window (clients/PopupClient.cpp) at (x, y), once shown; with
// `picks`, a menu that holds the pointer and writes the item picked to that file.
void openPopup(ZentarisSession& session, const std::string& title, int x, int y, const std::string& picks = "") {
    std::vector<std::string> argv{ZENTARIS_TEST_POPUP, "--title", title, "--at", std::to_string(x), std::to_string(y)};
    if (!picks.empty()) argv.insert(argv.end(), {"--picks", picks});
    session.display().spawn(argv);
    for (int i = 0; i < 500 && !session.screen().overlayShown(title); ++i) pauseFor(0.01);
    ASSERT_TRUE(session.screen().overlayShown(title)) << title << " did not appear";
}

// Ten steps left along the title bar (the press is placed where the program finds the pointer,
// which on a loaded machine may already have moved on), then ten down to (480, 540): the left half.
std::vector<std::pair<int, int>> alongTheTitleBarToTheLeftHalf(int x, int y) {
    std::vector<std::pair<int, int>> steps(10, {-20, 0});
    x -= 200;
    steps.insert(steps.end(), 10, {(480 - x) / 10, (540 - y) / 10});
    return steps;
}

// The program running with a terminal whose frame is at (600, 300), which has the focus.
struct RightButtonSession {
    ZentarisSession session;
    xcb_window_t terminal = XCB_NONE;
    PixelRect frame;
    int titleBar = 0;

    explicit RightButtonSession(ZentarisSession::Options options) : session(std::move(options)) {
        const auto probe = session.openTerminal("Probe", 100, 100);
        if (!session.startProgram(probe, screenArea)) throw std::runtime_error("the program's shortcuts never answered");
        terminal = session.openTerminal("Target", 600, 300);
        session.focus(terminal);
        frame = session.screen().outerFrame(terminal).value();
        titleBar = session.screen().decorationAbove(terminal);
    }
};

// The test's openbox configuration with these settings added.
std::string openboxConfigWith(const std::string& settings) {
    auto config = readFile(PrivateDisplay::defaultOpenboxConfig());
    return config.insert(config.rfind("</openbox_config>"), settings + "\n");
}

// The test's openbox configuration with window titles in a font this large.
std::string openboxConfigWithTitleFont(int points) {
    const auto font = "<size>" + std::to_string(points) + "</size>";
    return openboxConfigWith("<theme><font place=\"ActiveWindow\">" + font + "</font><font place=\"InactiveWindow\">" +
                             font + "</font></theme>");
}

// fluxbox with its own home and only the bindings a person needs here: a click on a title bar
// raises and focuses the window, Super held moves it by any point of it (the stock right-button
// menu on the title bar would take the pointer). The toolbar is hidden, and the wallpaper left
// alone: setting it fails on a bare server with a message that takes the focus.
ZentarisSession::Options fluxboxIn(const TemporaryDirectory& home) {
    std::filesystem::create_directories(home / ".fluxbox");
    // The configuration's version keeps fluxbox from adding its stock bindings to ours.
    writeFile(home / ".fluxbox" / "init", "session.configVersion: 13\nsession.screen0.toolbar.visible: false\n"
                                          "session.screen0.workspaces: 1\nsession.screen0.opaqueMove: true\n");
    writeFile(home / ".fluxbox" / "keys", "OnTitlebar Mouse1 :MacroCmd {Focus} {Raise}\nOnWindow Mod4 Mouse1 :StartMoving\n");
    writeFile(home / ".fluxbox" / "overlay", "background: none\n");
    ZentarisSession::Options options;
    options.display.windowManager = {"env", "HOME=" + home.path().string(), "fluxbox"};
    return options;
}

bool contains(const PixelRect& r, int x, int y) { return r.x <= x && x < r.maxX() && r.y <= y && y < r.maxY(); }

TEST(DragToSnapEndToEnd, ASuperDragByTheTitleBarPreviewsAndDropsIntoTheLeftHalf) {
    if (!endToEndToolsAvailable() || !programAvailable("import")) GTEST_SKIP() << "the X tools or the program are missing";
    ZentarisSession session;
    const auto terminal = session.openTerminal("Dragged", 100, 100);
    ASSERT_TRUE(session.startProgram(terminal, screenArea)) << "the program's shortcuts never answered";
    // A narrow column at the right edge, far from where it will be dropped.
    session.press({"super+alt+Right"});
    ASSERT_TRUE(session.waitForSlot(terminal, fractionOf(screenArea, 0.75, 0, 0.25, 1), screenArea));
    const auto frame = *session.screen().outerFrame(terminal);

    auto& display = session.display();
    const int startX = frame.x + frame.width / 2, startY = frame.y + 8; // on the title bar
    ASSERT_EQ(display.run({"xdotool", "mousemove", std::to_string(startX), std::to_string(startY)}), 0);
    // The window manager moves a window by its title bar only without modifiers, so the drag begins
    // as an ordinary move and Super joins in on the way, as a user may do.
    ASSERT_EQ(display.run({"xdotool", "mousedown", "1"}), 0);
    pauseFor(0.05);
    // Relative steps produce the pointer motion a hand would; towards (480, 540), the left-half zone.
    const int steps = 12;
    const int dx = (480 - startX) / steps, dy = (540 - startY) / steps;
    for (int i = 0; i < steps; ++i) {
        if (i == 3) {
            ASSERT_EQ(display.run({"xdotool", "keydown", "super"}), 0);
        }
        ASSERT_EQ(display.run({"xdotool", "mousemove_relative", "--", std::to_string(dx), std::to_string(dy)}), 0);
        pauseFor(0.03);
    }
    pauseFor(0.3);
    const bool previewShown = session.screen().overlayShown("Zentaris");
    const auto artifacts = std::filesystem::path(ZENTARIS_ARTIFACTS);
    std::filesystem::create_directories(artifacts);
    display.run({"import", "-window", "root", (artifacts / "drag-preview.png").string()});
    ASSERT_EQ(display.run({"xdotool", "mouseup", "1", "keyup", "super"}), 0);

    EXPECT_TRUE(previewShown) << "the drop-zone preview was not on screen during the drag";
    EXPECT_TRUE(session.waitForSlot(terminal, leftHalf, screenArea));
    pauseFor(0.2);
    EXPECT_FALSE(session.screen().overlayShown("Zentaris")) << "the preview goes with the release";
}

TEST(DragToSnapEndToEnd, ARightButtonDragSnapsOnlyFromTheWindowManagersTitleBar) {
    if (!endToEndToolsAvailable()) GTEST_SKIP() << "the X tools or the program are missing";
    RightButtonSession desktop({});
    ASSERT_EQ(desktop.frame.x, 600);
    ASSERT_EQ(desktop.frame.y, 300);
    ASSERT_GT(desktop.titleBar, 5) << "openbox draws a title bar";
    ASSERT_LT(desktop.titleBar, 28) << "a title bar lower than the usual band, or nothing is tested";
    auto& display = desktop.session.display();

    // Five pixels into the terminal's text, where the right button extends the selection.
    rightButtonDrag(display, 900, desktop.frame.y + desktop.titleBar + 5, std::vector<std::pair<int, int>>(20, {-45, 5}));
    EXPECT_TRUE(desktop.session.staysPut(desktop.terminal, 1.0));

    // The middle of the title bar.
    const int startY = desktop.frame.y + desktop.titleBar / 2;
    rightButtonDrag(display, 900, startY, alongTheTitleBarToTheLeftHalf(900, startY));
    EXPECT_TRUE(desktop.session.waitForSlot(desktop.terminal, leftHalf, screenArea));
}

TEST(DragToSnapEndToEnd, ARightButtonDragOnAMenuOverATitleBarPicksTheItemAndMovesNoWindow) {
    if (!endToEndToolsAvailable()) GTEST_SKIP() << "the X tools or the program are missing";
    RightButtonSession desktop({});
    auto& session = desktop.session;
    auto& display = session.display();
    TemporaryDirectory folder;
    const auto picks = folder / "picks";

    // A menu posted just above the terminal, across its title bar; pressed there and dragged down
    // 72 pixels, from its first row to its fifth, as a hand picks an item.
    const int x = 860, y = desktop.frame.y + desktop.titleBar / 2;
    openPopup(session, "Menu", 800, desktop.frame.y - 15, picks.string());
    bool previewShown = false;
    rightButtonDrag(display, x, y, std::vector<std::pair<int, int>>(12, {0, 6}), [&] {
        pauseFor(0.3);
        previewShown = session.screen().overlayShown("Zentaris");
    });
    std::string picked;
    for (int i = 0; i < 300 && picked.empty(); ++i, pauseFor(0.01)) picked = readFile(picks);
    EXPECT_EQ(picked, "Item 4\n");
    EXPECT_FALSE(previewShown) << "a press on the menu is no press on the title bar beneath";
    EXPECT_TRUE(session.staysPut(desktop.terminal, 1.0));
    EXPECT_EQ(session.screen().outerFrame(desktop.terminal), desktop.frame);
}

TEST(DragToSnapEndToEnd, ARightButtonDragSnapsBesideATooltipAndThroughTheProgramsOwnCard) {
    if (!endToEndToolsAvailable()) GTEST_SKIP() << "the X tools or the program are missing";
    RightButtonSession desktop({});
    auto& session = desktop.session;
    auto& display = session.display();

    // A tooltip elsewhere on the screen.
    openPopup(session, "Tooltip", 1500, 800);
    const int y = desktop.frame.y + desktop.titleBar / 2;
    rightButtonDrag(display, 900, y, alongTheTitleBarToTheLeftHalf(900, y));
    EXPECT_TRUE(session.waitForSlot(desktop.terminal, leftHalf, screenArea));

    // The drag-mode card (280 x 90, centred on the screen) over a title bar lets the press through.
    const auto beneath = session.openTerminal("Beneath", 700, 530);
    const int cardY = session.screen().outerFrame(beneath)->y + session.screen().decorationAbove(beneath) / 2;
    ASSERT_TRUE(contains({820, 495, 280, 90}, 960, cardY));
    session.press({"shift+super+d", "shift+super+d"});
    for (int i = 0; i < 100 && !session.screen().overlayShown("Zentaris"); ++i) pauseFor(0.01);
    ASSERT_TRUE(session.screen().overlayShown("Zentaris")) << "the card did not show";
    rightButtonDrag(display, 960, cardY, alongTheTitleBarToTheLeftHalf(960, cardY));
    EXPECT_TRUE(session.waitForSlot(beneath, leftHalf, screenArea));
}

TEST(DragToSnapEndToEnd, ARightButtonDragSnapsFromAnywhereOnATallTitleBar) {
    if (!endToEndToolsAvailable()) GTEST_SKIP() << "the X tools or the program are missing";
    TemporaryDirectory folder;
    writeFile(folder / "rc.xml", openboxConfigWithTitleFont(24));
    ZentarisSession::Options options;
    options.display.windowManager = {"openbox", "--config-file", (folder / "rc.xml").string()};
    RightButtonSession desktop(std::move(options));
    ASSERT_GT(desktop.titleBar, 28 + 6) << "the large title font makes a title bar taller than the usual band";

    // Low on the title bar, below where the usual band ends.
    const int startY = desktop.frame.y + desktop.titleBar - 3;
    rightButtonDrag(desktop.session.display(), 900, startY, alongTheTitleBarToTheLeftHalf(900, startY));
    EXPECT_TRUE(desktop.session.waitForSlot(desktop.terminal, leftHalf, screenArea));
}

TEST(DragToSnapEndToEnd, ARightButtonDragSnapsAWindowWithOnlyABorderFromTheUsualBandBelowItsTop) {
    if (!endToEndToolsAvailable()) GTEST_SKIP() << "the X tools or the program are missing";
    TemporaryDirectory folder;
    writeFile(folder / "rc.xml",
              openboxConfigWith("<applications><application title=\"Bare\"><decor>no</decor></application></applications>"));
    ZentarisSession::Options options;
    options.display.windowManager = {"openbox", "--config-file", (folder / "rc.xml").string()};
    RightButtonSession desktop(std::move(options));
    auto& session = desktop.session;
    const auto bare = session.openTerminal("Bare", 100, 150);
    ASSERT_EQ(session.screen().decorationAbove(bare), 1) << "openbox keeps a border around a window it does not decorate";
    const auto frame = *session.screen().outerFrame(bare);
    auto& display = session.display();

    // The decorated window still snaps only from its bar: not from just below it.
    rightButtonDrag(display, 900, desktop.frame.y + desktop.titleBar + 5, std::vector<std::pair<int, int>>(20, {-45, 5}));
    EXPECT_TRUE(session.staysPut(desktop.terminal, 1.0));

    const int x = frame.x + 200, y = frame.y + 10;
    rightButtonDrag(display, x, y, alongTheTitleBarToTheLeftHalf(x, y));
    EXPECT_TRUE(session.waitForSlot(bare, leftHalf, screenArea));
}

TEST(DragToSnapEndToEnd, TheWindowDraggedIsTheOneRaisedAboveANewerOneWhereBothLie) {
    if (!endToEndToolsAvailable() || !programAvailable("fluxbox")) GTEST_SKIP() << "the X tools or the program are missing";
    TemporaryDirectory home;
    ZentarisSession session(fluxboxIn(home));
    const auto probe = session.openTerminal("Probe", 100, 100);
    ASSERT_TRUE(session.startProgram(probe, screenArea)) << "the program's shortcuts never answered";
    const auto older = session.openTerminal("Older", 300, 300);
    const auto newer = session.openTerminal("Newer", 500, 200);
    const auto frame = *session.screen().outerFrame(older), above = *session.screen().outerFrame(newer);
    const int titleBar = session.screen().decorationAbove(older);
    auto& display = session.display();

    // Raised and focused by a click on the part of its title bar the newer window leaves free.
    ASSERT_EQ(display.run({"xdotool", "mousemove", std::to_string(frame.x + 40), std::to_string(frame.y + titleBar / 2),
                           "click", "1"}),
              0);
    for (int i = 0; i < 300 && session.screen().activeWindow() != older; ++i) pauseFor(0.01);
    ASSERT_EQ(session.screen().activeWindow(), older);
    ASSERT_EQ(session.screen().topmostClient(), newer) << "fluxbox's list keeps the order the windows were made in";

    // The right button on the older window's title bar, the newer one beneath, towards the left edge.
    const int x = 700, y = frame.y + titleBar / 2;
    ASSERT_TRUE(contains(above, x, y));
    rightButtonDrag(display, x, y, alongTheTitleBarToTheLeftHalf(x, y));
    EXPECT_TRUE(session.waitForSlot(older, leftHalf, screenArea));

    // Super held, from the older window's content with the newer one beneath, to the right half.
    ASSERT_EQ(session.screen().topmostClient(), newer);
    const int startX = 700, startY = 400;
    ASSERT_TRUE(contains(above, startX, startY) && contains(*session.screen().outerFrame(older), startX, startY));
    ASSERT_EQ(display.run({"xdotool", "mousemove", std::to_string(startX), std::to_string(startY), "keydown", "super",
                           "mousedown", "1"}),
              0);
    pauseFor(0.05);
    const int steps = 12;
    for (int i = 0; i < steps; ++i) {
        ASSERT_EQ(display.run({"xdotool", "mousemove_relative", "--", std::to_string((1440 - startX) / steps),
                               std::to_string((540 - startY) / steps)}),
                  0);
        pauseFor(0.03);
    }
    pauseFor(0.3);
    ASSERT_EQ(display.run({"xdotool", "mouseup", "1", "keyup", "super"}), 0);
    EXPECT_TRUE(session.waitForSlot(older, rightHalf, screenArea));
}

// Under openbox (false) and fluxbox (true).
class OwnWindowOverATitleBar : public ::testing::TestWithParam<bool> {};

TEST_P(OwnWindowOverATitleBar, ARightButtonDragOnTheSettingsWindowMovesNoWindowBeneath) {
    if (!endToEndToolsAvailable() || (GetParam() && !programAvailable("fluxbox"))) {
        GTEST_SKIP() << "the X tools or the program are missing";
    }
    TemporaryDirectory home;
    ZentarisSession session(GetParam() ? fluxboxIn(home) : ZentarisSession::Options{});
    const auto probe = session.openTerminal("Probe", 100, 100);
    ASSERT_TRUE(session.startProgram(probe, screenArea)) << "the program's shortcuts never answered";
    const auto settings = session.openSettings();
    ASSERT_TRUE(settings) << "the settings window did not come forward";
    auto& screen = session.screen();

    // A terminal whose title bar the settings window, raised again, covers.
    const auto box = *screen.outerFrame(*settings);
    const auto covered = session.openTerminal("Covered", box.x + 40, box.y + 60);
    session.focus(*settings);
    ASSERT_TRUE(waitUntil([&] { return !screen.windowsAbove(covered).empty(); }, 5))
        << "the settings window stays beneath";
    const auto frame = *screen.outerFrame(covered);
    const int x = frame.x + 60, y = frame.y + screen.decorationAbove(covered) / 2;
    ASSERT_TRUE(contains(*screen.outerFrame(*settings), x, y));

    bool previewShown = false;
    rightButtonDrag(session.display(), x, y, std::vector<std::pair<int, int>>(6, {0, 5}), [&] {
        pauseFor(0.3);
        previewShown = screen.overlayShown("Zentaris");
    });
    EXPECT_FALSE(previewShown) << "a press on the program's own window is no press on the title bar beneath";
    EXPECT_TRUE(session.staysPut(covered, 1.0));
    EXPECT_EQ(screen.outerFrame(covered), frame);
}

INSTANTIATE_TEST_SUITE_P(DragToSnapEndToEnd, OwnWindowOverATitleBar, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "fluxbox" : "openbox"; });

} // namespace
} // namespace zentaris::testing
