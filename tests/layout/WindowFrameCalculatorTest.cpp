#include "LayoutScene.h"

#include <cmath>
#include <limits>

namespace zentaris::testing {
namespace {

using platform::DefaultsValue;

struct GapCase {
    const char* name;
    std::optional<DefaultsValue> stored;
    Rect slot;
    Rect expected;
};

class WindowGap : public LayoutScene, public ::testing::WithParamInterface<GapCase> {};

TEST_P(WindowGap, insetsTheSlotByHalfTheGapOnEverySide) {
    if (GetParam().stored) desktop.defaults().set("windowGap", *GetParam().stored);
    EXPECT_EQ(service().frameCalculator().applyWindowGap(GetParam().slot), GetParam().expected);
}

const Rect slot{0, 0, 1000, 800};
INSTANTIATE_TEST_SUITE_P(
    StoredValues, WindowGap,
    ::testing::Values(GapCase{"absent", std::nullopt, slot, {1, 1, 998, 798}},
                      GapCase{"ten", DefaultsValue{10.0}, slot, {5, 5, 990, 790}},
                      GapCase{"integer", DefaultsValue{std::int64_t{6}}, slot, {3, 3, 994, 794}},
                      GapCase{"zero", DefaultsValue{0.0}, slot, slot},
                      GapCase{"negative", DefaultsValue{-4.0}, slot, slot},
                      GapCase{"text", DefaultsValue{std::string("12")}, slot, {1, 1, 998, 798}},
                      GapCase{"notANumber", DefaultsValue{std::nan("")}, slot, {1, 1, 998, 798}},
                      GapCase{"infinite", DefaultsValue{std::numeric_limits<double>::infinity()}, slot, {1, 1, 998, 798}},
                      GapCase{"widerThanSlot", DefaultsValue{900.0}, {0, 0, 1000, 400}, {1, 1, 998, 398}},
                      GapCase{"slotNarrowerThanDefault", DefaultsValue{50.0}, {10, 10, 1, 100}, {10, 10, 1, 100}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayoutScene, theGapIsReadAfreshForEverySlot) {
    auto& calculator = service().frameCalculator();
    EXPECT_EQ(calculator.applyWindowGap(slot), (Rect{1, 1, 998, 798}));
    setGap(20);
    EXPECT_EQ(calculator.applyWindowGap(slot), (Rect{10, 10, 980, 780}));
}

TEST_F(LayoutScene, usableFrameTakesTheFirstListedScreenWithTheSameFrame) {
    desktop.addScreen({0, 0, 1440, 900}, Rect{0, 0, 1440, 875});
    desktop.addScreen({0, 0, 1440, 900}, Rect{0, 100, 1440, 800}); // a mirror
    auto& calculator = service().frameCalculator();
    const auto screens = desktop.screens().screens();
    EXPECT_EQ(calculator.usableFrame(screens[1]), (Rect{0, 0, 1440, 875}));
    const platform::Screen unlisted{{5000, 0, 800, 600}, {5000, 0, 800, 580}, std::nullopt, ""};
    EXPECT_EQ(calculator.usableFrame(unlisted), (Rect{5000, 0, 800, 580}));
}

TEST_F(LayoutScene, displayNamesFollowNumberBuiltInAndName) {
    auto& calculator = service().frameCalculator();
    const auto unnumbered = desktop.addScreen({0, 0, 100, 100}, std::nullopt, std::nullopt, "Studio");
    const auto panel = desktop.addScreen({100, 0, 100, 100}, std::nullopt, 1, "Panel", true);
    const auto nameless = desktop.addScreen({200, 0, 100, 100}, std::nullopt, 3, "");
    const auto named = desktop.addScreen({300, 0, 100, 100}, std::nullopt, 4, "Studio Display");
    EXPECT_EQ(calculator.displayName(unnumbered), "Unknown Display");
    EXPECT_EQ(calculator.displayName(panel), "Built-in Display");
    EXPECT_EQ(calculator.displayName(nameless), "External Display 3");
    EXPECT_EQ(calculator.displayName(named), "Studio Display");
    EXPECT_TRUE(calculator.isBuiltInDisplay(panel));
    EXPECT_FALSE(calculator.isBuiltInDisplay(unnumbered));
    EXPECT_FALSE(calculator.isBuiltInDisplay(named));
}

} // namespace
} // namespace zentaris::testing
