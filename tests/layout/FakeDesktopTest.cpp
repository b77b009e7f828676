#include "platform/fake/FakeDesktop.h"

#include <gtest/gtest.h>

// Only what the layout tests lean on without showing it: the coordinate flip, injected failures
// and the hit test.

namespace platform::fake {
namespace {

class FakeDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop.addScreen({0, 0, 1440, 900}, Rect{0, 0, 1440, 875});
        app = desktop.addApplication("Editor");
        window = desktop.addWindow(app, {100, 100, 800, 500}, "notes");
    }
    FakeAccessibility& ax() { return desktop.accessibility(); }

    FakeDesktop desktop;
    RunningApplication app;
    AXUIElement window;
};

TEST_F(FakeDesktopTest, keepsWindowsInAccessibilityCoordinatesAndReportsScreenOnes) {
    EXPECT_EQ(ax().copyAttributeValue(window, "AXPosition").as<Point>(), (Point{100, 300}));
    EXPECT_EQ(ax().copyAttributeValue(window, "AXSize").as<Size>(), (Size{800, 500}));
    EXPECT_EQ(desktop.frameOf(window), (Rect{100, 100, 800, 500}));
    EXPECT_EQ(ax().copyAttributeValue(window, "AXTitle").as<std::string>(), "notes");
}

TEST_F(FakeDesktopTest, injectsFailures) {
    ax().failReads(window, "AXRole");
    EXPECT_EQ(ax().copyAttributeValue(window, "AXRole").error, AXError::cannotComplete);

    ax().refuseWrites(window, "AXPosition");
    EXPECT_EQ(ax().setAttributeValue(window, "AXPosition", Point{0, 0}), AXError::cannotComplete);
    EXPECT_EQ(desktop.frameOf(window)->origin, (Point{100, 100}));

    EXPECT_EQ(ax().setAttributeValue(window, "AXSize", Point{0, 0}), AXError::illegalArgument);

    ax().setMinimumSize(window, {600, 400});
    EXPECT_EQ(ax().setAttributeValue(window, "AXSize", Size{300, 500}), AXError::success);
    EXPECT_EQ(desktop.frameOf(window)->size, (Size{600, 500}));
}

TEST_F(FakeDesktopTest, aWindowCanVanishBetweenTwoCalls) {
    ax().vanishAfterCalls(window, 1);
    ProcessId pid = 0;
    EXPECT_EQ(ax().getPid(window, pid), AXError::success);
    EXPECT_EQ(pid, app.processIdentifier);
    EXPECT_EQ(ax().getPid(window, pid), AXError::invalidUIElement);
    EXPECT_EQ(ax().copyAttributeValue(window, "AXTitle").error, AXError::invalidUIElement);
    auto element = ax().createApplication(app.processIdentifier);
    EXPECT_TRUE(ax().copyAttributeValue(element, "AXWindows").as<std::vector<AXUIElement>>()->empty());
}

TEST_F(FakeDesktopTest, hitTestsTheFrontmostVisibleWindowAndItsDeepestPart) {
    auto front = desktop.addWindow(app, {500, 300, 400, 300});
    auto button = desktop.addPart(front, "AXButton", {510, 580, 14, 14}, "AXCloseButton");
    AXUIElement hit;
    auto system = ax().createSystemWide();
    ASSERT_EQ(ax().copyElementAtPosition(system, 600, 400, hit), AXError::success); // screen (600, 500)
    EXPECT_EQ(hit, front);
    ASSERT_EQ(ax().copyElementAtPosition(system, 515, 315, hit), AXError::success);
    EXPECT_EQ(hit, button);
    EXPECT_EQ(ax().copyAttributeValue(button, "AXParent").as<AXUIElement>(), front);

    ax().performAction(window, "AXRaise");
    ASSERT_EQ(ax().copyElementAtPosition(system, 600, 400, hit), AXError::success);
    EXPECT_EQ(hit, window);
    ax().setAttribute(window, "AXMinimized", true);
    ASSERT_EQ(ax().copyElementAtPosition(system, 600, 400, hit), AXError::success);
    EXPECT_EQ(hit, front);
    EXPECT_EQ(ax().copyElementAtPosition(system, 5, 5, hit), AXError::noValue);
}

} // namespace
} // namespace platform::fake
