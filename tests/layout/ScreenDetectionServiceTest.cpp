#include "layout/WindowScreenLookup.h"

#include "LayoutScene.h"

namespace zentaris::testing {
namespace {

using platform::AXError;
using platform::AXValue;
using Windows = std::vector<AXUIElement>;

class ScreenDetection : public LayoutScene {
protected:
    void SetUp() override {
        desktop.addScreen({0, 0, 1440, 900}, Rect{0, 0, 1440, 875});
        desktop.addScreen({1440, 0, 1920, 1080});
    }
    ScreenDetectionService& detection() { return service().screenDetection(); }
};

struct ListingCase {
    const char* name;
    const char* attribute;
    std::optional<AXValue> value; // none: the attribute cannot be read
    bool listed;
};

class WindowListing : public ScreenDetection, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(WindowListing, keepsOnlyManageableWindows) {
    auto window = desktop.addWindow({10, 10, 300, 200});
    if (GetParam().value) {
        desktop.accessibility().setAttribute(window, GetParam().attribute, *GetParam().value);
    } else {
        desktop.accessibility().failReads(window, GetParam().attribute);
    }
    EXPECT_EQ(detection().allWindows() == Windows{window}, GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(
    Attributes, WindowListing,
    ::testing::Values(ListingCase{"minimised", "AXMinimized", AXValue{true}, false},
                      ListingCase{"minimisedUnreadable", "AXMinimized", std::nullopt, true},
                      ListingCase{"roleSheet", "AXRole", AXValue{std::string("AXSheet")}, false},
                      ListingCase{"roleUnreadable", "AXRole", std::nullopt, true},
                      ListingCase{"roleNotText", "AXRole", AXValue{3.0}, true},
                      ListingCase{"dialog", "AXSubrole", AXValue{std::string("AXDialog")}, false},
                      ListingCase{"systemDialog", "AXSubrole", AXValue{std::string("AXSystemDialog")}, false},
                      ListingCase{"floating", "AXSubrole", AXValue{std::string("AXFloatingWindow")}, false},
                      ListingCase{"unknownSubrole", "AXSubrole", AXValue{std::string("AXUnknown")}, false},
                      ListingCase{"subroleUnreadable", "AXSubrole", std::nullopt, true},
                      ListingCase{"standard", "AXSubrole", AXValue{std::string("AXStandardWindow")}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScreenDetection, listsRegularApplicationsInOrderAndSkipsOthers) {
    auto editor = desktop.addApplication("Editor");
    auto helper = desktop.addApplication("Helper", platform::ActivationPolicy::accessory);
    auto daemon = desktop.addApplication("Daemon", platform::ActivationPolicy::prohibited);
    auto viewer = desktop.addApplication("Viewer");
    auto first = desktop.addWindow(editor, {0, 0, 100, 100});
    auto second = desktop.addWindow(editor, {0, 0, 100, 100});
    desktop.addWindow(helper, {0, 0, 100, 100});
    desktop.addWindow(daemon, {0, 0, 100, 100});
    auto third = desktop.addWindow(viewer, {0, 0, 100, 100});
    EXPECT_EQ(detection().allWindows(), (Windows{first, second, third}));

    desktop.accessibility().failReads(desktop.accessibility().createApplication(editor.processIdentifier), "AXWindows");
    EXPECT_EQ(detection().allWindows(), (Windows{third}));
}

TEST_F(ScreenDetection, withoutPermissionNothingIsFound) {
    auto window = desktop.addWindow({10, 10, 300, 200});
    desktop.focus(window);
    desktop.accessibility().setTrusted(false);
    EXPECT_TRUE(detection().allWindows().empty());
    EXPECT_EQ(detection().focusedWindow(), std::nullopt);
    EXPECT_EQ(detection().windowAtPoint({20, 20}), std::nullopt);
}

TEST_F(ScreenDetection, screensAreFoundByPointWithTheTopEdgeInside) {
    EXPECT_EQ(detection().screenContainingPoint({1439, 900})->frame, (Rect{0, 0, 1440, 900}));
    EXPECT_EQ(detection().screenContainingPoint({1440, 10})->frame, (Rect{1440, 0, 1920, 1080}));
    EXPECT_EQ(detection().screenContainingPoint({100, 0}), std::nullopt);
    EXPECT_EQ(detection().screenContainingPoint({5000, 10}), std::nullopt);
}

TEST_F(ScreenDetection, aFocusedWindowOffEveryScreenHasNoScreenButFallsBackToTheMainOne) {
    auto window = desktop.addWindow({4000, 100, 300, 200});
    desktop.focus(window);
    desktop.screens().setMainScreen(1);
    EXPECT_EQ(detection().screenOfFocusedWindow(), std::nullopt);
    EXPECT_EQ(screenOfWindow(desktop, window)->frame, (Rect{1440, 0, 1920, 1080}));

    desktop.setFrame(window, {1500, 100, 300, 200});
    EXPECT_EQ(detection().screenOfFocusedWindow()->frame, (Rect{1440, 0, 1920, 1080}));
    EXPECT_TRUE(isWindowOnScreen(desktop, window, desktop.screens().screens()[1]));
    EXPECT_FALSE(isWindowOnScreen(desktop, window, desktop.screens().screens()[0]));

    desktop.accessibility().failReads(window, "AXSize");
    EXPECT_FALSE(isWindowOnScreen(desktop, window, desktop.screens().screens()[1]));
    EXPECT_EQ(screenOfWindow(desktop, window)->frame, (Rect{1440, 0, 1920, 1080}));
    desktop.screens().setMainScreen(std::nullopt);
    EXPECT_EQ(screenOfWindow(desktop, window), std::nullopt);
}

TEST_F(ScreenDetection, theHitTestWalksUpFromAButtonToItsWindow) {
    auto window = desktop.addWindow({100, 100, 400, 300});
    auto toolbar = desktop.addPart(window, "AXToolbar", {100, 372, 400, 28});
    desktop.addPart(toolbar, "AXButton", {110, 380, 14, 14}, "AXCloseButton");
    EXPECT_EQ(detection().windowAtPoint({115, 385}), window);
}

TEST_F(ScreenDetection, withoutAHitTheFirstListedWindowUnderThePointIsTaken) {
    auto back = desktop.addWindow({100, 100, 400, 300});
    auto front = desktop.addWindow({200, 200, 400, 300});
    desktop.accessibility().failHitTest(AXError::cannotComplete);
    EXPECT_EQ(detection().windowAtPoint({300, 300}), back);
    EXPECT_EQ(detection().windowAtPoint({550, 450}), front);
    EXPECT_EQ(detection().windowAtPoint({50, 50}), std::nullopt);
}

TEST_F(ScreenDetection, aPartWithoutAWindowAboveFallsBackToTheList) {
    auto window = desktop.addWindow({100, 100, 400, 300});
    auto orphan = desktop.addPart(window, "AXGroup", {100, 100, 400, 300});
    desktop.accessibility().removeAttribute(orphan, "AXParent");
    desktop.accessibility().setAttribute(window, "AXRole", std::string("AXWindow"));
    EXPECT_EQ(detection().windowAtPoint({300, 300}), window);
    // A parent chain that loops ends the walk instead of hanging.
    desktop.accessibility().setAttribute(orphan, "AXParent", orphan);
    EXPECT_EQ(detection().windowAtPoint({300, 300}), window);
}

} // namespace
} // namespace zentaris::testing
