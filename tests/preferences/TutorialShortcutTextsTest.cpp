// The tutorial's shortcut rows against what the shortcuts do, in every interface language.
#include "preferences/LanguageBundle.h"
#include "preferences/LanguageManager.h"

#include <gtest/gtest.h>

using namespace zentaris;

namespace {

TEST(TutorialShortcutTexts, NamesAndHintsSayWhatTheShortcutsDo) {
    const platform::Bundle bundle(ZENTARIS_SOURCE_RESOURCES, platform::Bundle::InfoDictionary{});
    for (const char* code : LanguageManager::supportedLanguageCodes) {
        SCOPED_TRACE(code);
        const auto folder = bundle.pathForResource(code, "lproj");
        ASSERT_TRUE(folder.has_value());
        const auto language = LanguageBundle::open(*folder);
        ASSERT_TRUE(language.has_value());
        auto text = [&](const char* key) { return language->localizedString(key, ""); };

        // The first press of a side shortcut gives a quarter, not a half: the tour names the side
        // shortcuts as the settings page does.
        EXPECT_EQ(text("onboarding_shortcuts_left"), text("left_positioning"));
        EXPECT_EQ(text("onboarding_shortcuts_right"), text("right_positioning"));
        // Full screen has no smaller steps; its hint sends the user to the centre row, by that row's name.
        const auto centre = text("onboarding_shortcuts_center");
        ASSERT_FALSE(centre.empty());
        EXPECT_NE(text("onboarding_shortcuts_fullscreen_hint").find(centre), std::string::npos)
            << text("onboarding_shortcuts_fullscreen_hint");
    }
}

} // namespace
