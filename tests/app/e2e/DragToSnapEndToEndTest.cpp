// Drag-to-snap on the real program: a window dragged by its title bar, with Super held once the
// move is under way, shows the drop-zone preview and lands in the zone on release.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace zentaris::testing {
namespace {

const PixelRect screenArea{0, 0, 1920, 1080};

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
    EXPECT_TRUE(session.waitForSlot(terminal, fractionOf(screenArea, 0, 0, 0.5, 1), screenArea));
    pauseFor(0.2);
    EXPECT_FALSE(session.screen().overlayShown("Zentaris")) << "the preview goes with the release";
}

} // namespace
} // namespace zentaris::testing
