#include "SettingsPageTestSupport.h"
#include "app/AppDelegate.h"
#include "layout/WindowFrameCalculator.h"
#include "settings/GeneralPreviews.h"
#include "settings/GeneralSettingsView.h"
#include "settings/LanguagePickerView.h"
#include "settings/ModernToggleRow.h"
#include "settings/PlainButton.h"
#include "settings/SwitchToggle.h"

#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include <limits>

namespace zentaris::testing {
namespace {

struct GeneralSettingsViewTest : SettingsPageFixture {
    GeneralSettingsViewTest() {
        watch(AppDelegate::showOnboardingNotification);
        watch(AppDelegate::menuBarIconStyleChangedNotification);
        watch(LanguageManager::languageDidChangeNotification);
    }
    std::optional<platform::DefaultsValue> stored(const char* key) const { return defaults.object(key); }
};

TEST_F(GeneralSettingsViewTest, ShowingThePageWritesAndPostsNothing) {
    const int writes = defaults.writeCount();
    GeneralSettingsView page;
    page.resize(600, 900);
    page.show();
    settle();
    EXPECT_EQ(defaults.writeCount(), writes);
    EXPECT_TRUE(posted.empty());
    EXPECT_FALSE(page.launchAtLoginRow()->isOn());
    EXPECT_FALSE(page.menuBarIconRow()->isOn());
    EXPECT_TRUE(page.rightClickDragRow()->isOn());
    EXPECT_EQ(page.windowGapLabel()->text(), "2 px");
    EXPECT_EQ(page.windowGapSlider()->value(), 2);
    EXPECT_DOUBLE_EQ(page.windowGapPreview()->spacing(), 2);
}

TEST_F(GeneralSettingsViewTest, SwitchesWriteTheirKeysAndOnlyTheIconSwitchPosts) {
    GeneralSettingsView page;
    page.show();
    QTest::mouseClick(page.launchAtLoginRow()->toggle(), Qt::LeftButton);
    EXPECT_EQ(stored(AppDelegate::launchAtLoginKey), platform::DefaultsValue(true));
    EXPECT_TRUE(posted.empty()) << "launch at login posts nothing";

    QTest::mouseClick(page.menuBarIconRow()->toggle(), Qt::LeftButton);
    EXPECT_EQ(stored(AppDelegate::menuBarIconColoredKey), platform::DefaultsValue(true));
    QTest::mouseClick(page.menuBarIconRow()->toggle(), Qt::LeftButton);
    EXPECT_EQ(stored(AppDelegate::menuBarIconColoredKey), platform::DefaultsValue(false));
    EXPECT_EQ(count(AppDelegate::menuBarIconStyleChangedNotification), 2);

    QTest::mouseClick(page.rightClickDragRow()->toggle(), Qt::LeftButton);
    EXPECT_FALSE(ShortcutSettings::shared().rightClickDragEnabled());
    EXPECT_EQ(stored(ShortcutSettings::rightClickDragEnabledKey), platform::DefaultsValue(false));
}

TEST_F(GeneralSettingsViewTest, TutorialButtonPostsShowOnboardingOnEveryPress) {
    GeneralSettingsView page;
    page.show();
    QTest::mouseClick(page.tutorialButton(), Qt::LeftButton);
    QTest::mouseClick(page.tutorialButton(), Qt::LeftButton);
    EXPECT_EQ(count(AppDelegate::showOnboardingNotification), 2);
}

TEST_F(GeneralSettingsViewTest, PickersSetTheSharedSettings) {
    GeneralSettingsView page;
    auto* dragMode = page.dragModePicker();
    ASSERT_EQ(dragMode->count(), 3);
    EXPECT_EQ(dragMode->currentIndex(), 1) << "command by default";
    dragMode->activated(0);
    EXPECT_EQ(ShortcutSettings::shared().dragModeModifier(), DragModeModifier::none);
    dragMode->activated(2);
    EXPECT_EQ(stored(ShortcutSettings::dragModeModifierKey), platform::DefaultsValue(std::string("shift")));

    auto* style = page.threeColumnStylePicker();
    EXPECT_EQ(style->itemText(0), "30-40-30");
    EXPECT_EQ(style->itemText(1), "25-50-25");
    style->activated(1);
    EXPECT_EQ(ShortcutSettings::shared().threeColumnStyle(), ThreeColumnStyle::classic);
    settle();
    page.resize(600, 900);
    page.show();
    const auto columns = page.threeColumnPreview()->columnRects();
    EXPECT_EQ(ThreeColumnPreview::percentages(page.threeColumnPreview()->columnStyle()), (std::array{25, 50, 25}));
    EXPECT_NEAR(columns[1].width(), 2 * columns[0].width(), 0.01);
    EXPECT_NEAR(columns[2].width(), columns[0].width(), 0.01);
}

TEST_F(GeneralSettingsViewTest, ChangesMadeElsewhereAreShown) {
    GeneralSettingsView page;
    ShortcutSettings::shared().setDragModeModifier(DragModeModifier::none);
    defaults.set(AppDelegate::launchAtLoginKey, true);
    defaults.set(WindowFrameCalculator::windowGapKey, 7.0);
    settle();
    EXPECT_EQ(page.dragModePicker()->currentIndex(), 0);
    EXPECT_TRUE(page.launchAtLoginRow()->isOn());
    EXPECT_EQ(page.windowGapSlider()->value(), 7);
    EXPECT_EQ(page.windowGapLabel()->text(), "7 px");

    const std::pair<ThreeColumnStyle, std::string> styles[] = {{ThreeColumnStyle::classic, "25-50-25"},
                                                               {ThreeColumnStyle::balanced, "30-40-30"}};
    for (const auto& [style, shown] : styles) {
        ShortcutSettings::shared().setThreeColumnStyle(style);
        settle();
        EXPECT_EQ(page.threeColumnStylePicker()->currentText().toStdString(), shown);
    }
}

TEST_F(GeneralSettingsViewTest, SliderWritesWholeGapsWithinZeroToTwenty) {
    GeneralSettingsView page;
    auto* slider = page.windowGapSlider();
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 20);
    slider->setValue(25);
    EXPECT_EQ(stored(WindowFrameCalculator::windowGapKey), platform::DefaultsValue(20.0));
    EXPECT_EQ(page.windowGapLabel()->text(), "20 px");
    slider->setValue(0);
    EXPECT_EQ(stored(WindowFrameCalculator::windowGapKey), platform::DefaultsValue(0.0));
    EXPECT_DOUBLE_EQ(page.windowGapPreview()->spacing(), 0) << "at 0 the tiles touch";
    page.resize(600, 900);
    const auto tiles = page.windowGapPreview()->tileRects();
    EXPECT_DOUBLE_EQ(tiles[0].right(), tiles[1].left());
}

TEST_F(GeneralSettingsViewTest, StoredGapsFromOutsideAreShownSoundly) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        platform::DefaultsValue stored;
        const char* label;
        int slider;
        double spacing;
    };
    const Case cases[] = {
        {2.9, "2 px", 3, 2.9},
        {std::int64_t{5}, "5 px", 5, 5},
        {-4.0, "-4 px", 0, 0},
        {35.0, "35 px", 20, 20},
        {1e300, "1000000000000000 px", 20, 20},
        {nan, "2 px", 2, 2},
        {std::string("wide"), "2 px", 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        defaults.set(WindowFrameCalculator::windowGapKey, c.stored);
        const int writes = defaults.writeCount();
        GeneralSettingsView page;
        EXPECT_EQ(page.windowGapLabel()->text(), c.label);
        EXPECT_EQ(page.windowGapSlider()->value(), c.slider);
        EXPECT_DOUBLE_EQ(page.windowGapPreview()->spacing(), c.spacing);
        EXPECT_EQ(defaults.writeCount(), writes) << "showing never rewrites the stored value";
    }
}

TEST_F(GeneralSettingsViewTest, LanguagePopupSetsTheLanguageAndThePageRelabels) {
    useLanguageFolders("general_settings = General Settings\ndrag_mode_modifier_none = No Key\n",
                       "general_settings = Allgemeine Einstellungen\ndrag_mode_modifier_none = Keine Taste\n");
    GeneralSettingsView page;
    auto* picker = page.languagePicker();
    EXPECT_EQ(picker->currentIndex(), 0);
    EXPECT_EQ(page.dragModePicker()->itemText(0), "No Key");

    picker->activated(1);
    EXPECT_EQ(LanguageManager::shared().currentLanguage(), "de");
    EXPECT_EQ(stored(LanguageManager::selectedLanguageKey), platform::DefaultsValue(std::string("de")));
    EXPECT_EQ(count(LanguageManager::languageDidChangeNotification), 1);
    settle();
    EXPECT_EQ(picker->currentIndex(), 1);
    EXPECT_EQ(page.dragModePicker()->itemText(0), "Keine Taste");
    const auto labels = page.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [](QLabel* label) { return label->text() == "Allgemeine Einstellungen"; }));

    picker->activated(1);
    EXPECT_EQ(count(LanguageManager::languageDidChangeNotification), 2) << "the same language is loaded again";
}

} // namespace
} // namespace zentaris::testing
