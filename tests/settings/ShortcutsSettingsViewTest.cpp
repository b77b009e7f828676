#include "ShortcutsPageTestSupport.h"
#include "settings/CollapsibleCard.h"
#include "settings/CompactShortcutRow.h"
#include "settings/LocalizedShortcutRecorder.h"
#include "settings/PlainButton.h"
#include "settings/QuarterShortcutRow.h"
#include "settings/ShortcutsSettingsView.h"
#include "settings/SwitchToggle.h"

#include <QLabel>
#include <QLineEdit>

using namespace zentaris;
using GlobalShortcuts::Key;
using GlobalShortcuts::Shortcut;

namespace {

const std::vector<ShortcutSection> sectionsWithRows{ShortcutSection::appControls, ShortcutSection::coreLayout,
                                                    ShortcutSection::quarterLayout, ShortcutSection::multiWindow,
                                                    ShortcutSection::multiScreen};

struct ShortcutsPageTest : zentaris::testing::ShortcutsPageFixture {
    std::unique_ptr<ShortcutsSettingsView> page;

    ShortcutsPageTest() {
        page = std::make_unique<ShortcutsSettingsView>();
        page->resize(800, 600);
        page->show();
    }

    std::vector<std::size_t> rowCounts() const {
        std::vector<std::size_t> counts;
        for (auto section : sectionsWithRows) {
            if (page->sectionCard(section)->isVisibleTo(page.get())) counts.push_back(page->visibleRows(section).size());
        }
        return counts;
    }
    // Whether each visible row of the section has its divider.
    std::vector<bool> dividers(ShortcutSection section) const {
        std::vector<bool> shown;
        for (const auto& [row, divider] : page->visibleRows(section)) shown.push_back(divider);
        return shown;
    }
    template <typename Row>
    Row* row(ShortcutSection section, std::size_t index) const {
        return dynamic_cast<Row*>(page->visibleRows(section).at(index).first);
    }
};

} // namespace

TEST_F(ShortcutsPageTest, FiveExpandedSectionCardsListTheTwentyFiveShortcuts) {
    EXPECT_EQ(rowCounts(), (std::vector<std::size_t>{1, 6, 4, 10, 4}));
    for (auto section : allShortcutSections) EXPECT_TRUE(page->isExpanded(section));
    EXPECT_EQ(page->sectionCard(ShortcutSection::instructions), nullptr);
    EXPECT_TRUE(page->instructionsCard()->isVisibleTo(page.get()));
    EXPECT_EQ(dividers(ShortcutSection::quarterLayout), (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(dividers(ShortcutSection::appControls), (std::vector<bool>{false}));
    EXPECT_FALSE(page->clearSearchButton()->isVisibleTo(page.get()));
}

TEST_F(ShortcutsPageTest, SearchMatchesTranslatedLabelsWhateverTheCase) {
    page->searchField()->setText("SCREEN");
    EXPECT_EQ(page->searchText(), "SCREEN");
    // "Full Screen" and the four screen rows.
    EXPECT_EQ(rowCounts(), (std::vector<std::size_t>{1, 4}));
    EXPECT_EQ(dividers(ShortcutSection::coreLayout), (std::vector<bool>{false})) << "the last visible row has none";
    EXPECT_TRUE(page->clearSearchButton()->isVisibleTo(page.get()));

    page->setSearchText("positioning");
    EXPECT_TRUE(rowCounts().empty()) << "keys are not searched, only their texts";
    EXPECT_TRUE(page->instructionsCard()->isVisibleTo(page.get()));
    EXPECT_TRUE(page->enableAllSwitch()->isVisibleTo(page.get()));

    page->setSearchText("cènter");
    EXPECT_TRUE(rowCounts().empty()) << "accents are not folded";

    static_cast<QAbstractButton*>(page->clearSearchButton())->click();
    EXPECT_TRUE(page->searchField()->text().isEmpty());
    EXPECT_EQ(rowCounts(), (std::vector<std::size_t>{1, 6, 4, 10, 4}));
    EXPECT_FALSE(page->clearSearchButton()->isVisibleTo(page.get()));
}

TEST_F(ShortcutsPageTest, CardsFoldButStayWhileTheyHaveMatchingRows) {
    auto* card = page->sectionCard(ShortcutSection::multiWindow);
    card->header()->click();
    EXPECT_FALSE(page->isExpanded(ShortcutSection::multiWindow));
    EXPECT_FALSE(card->content()->isVisibleTo(page.get()));
    EXPECT_EQ(card->chevronAngle(), 0.0);

    page->setSearchText("split");
    EXPECT_TRUE(card->isVisibleTo(page.get())) << "a folded card with matches stays as its header";
    page->setSearchText("top left");
    EXPECT_FALSE(card->isVisibleTo(page.get()));
    EXPECT_TRUE(page->sectionCard(ShortcutSection::quarterLayout)->isVisibleTo(page.get()));

    page->setSearchText("");
    card->header()->click();
    EXPECT_TRUE(card->content()->isVisibleTo(page.get()));
    EXPECT_EQ(card->chevronAngle(), 90.0);

    page->instructionsCard()->header()->click();
    EXPECT_FALSE(page->isExpanded(ShortcutSection::instructions));
}

TEST_F(ShortcutsPageTest, ResetRestoresDefaultsAndKeepsTheSwitches) {
    GlobalShortcuts::setShortcut(Shortcut{Key::k.rawValue, 0x1100}, ShortcutNames::leftColumn());
    GlobalShortcuts::setShortcut(std::nullopt, ShortcutNames::fullscreen());
    GlobalShortcuts::setShortcut(Shortcut{Key::j.rawValue, 0x1100}, ShortcutNames::topLeftQuarter());
    ShortcutSettings::shared().setIndividualState("split7030", false);
    ShortcutSettings::shared().setShortcutsEnabled(false);
    posted.clear();

    int asked = 0;
    page->setResetConfirmation([&asked](QWidget*) { return ++asked, false; });
    static_cast<QAbstractButton*>(page->resetButton())->click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(stored(ShortcutNames::leftColumn()), (Shortcut{Key::k.rawValue, 0x1100})) << "cancelled: nothing changes";
    EXPECT_TRUE(posted.empty());

    page->setResetConfirmation([](QWidget*) { return true; });
    static_cast<QAbstractButton*>(page->resetButton())->click();
    EXPECT_EQ(stored(ShortcutNames::leftColumn()), (Shortcut{Key::leftArrow.rawValue, 0x900}));
    EXPECT_TRUE(stored(ShortcutNames::fullscreen()).has_value());
    for (const auto& name : ShortcutNames::namesWithDefaults()) EXPECT_TRUE(stored(name)) << name.rawValue;
    for (const auto* quarter : {&ShortcutNames::topLeftQuarter(), &ShortcutNames::topRightQuarter(),
                                &ShortcutNames::bottomLeftQuarter(), &ShortcutNames::bottomRightQuarter()}) {
        EXPECT_FALSE(stored(*quarter)) << quarter->rawValue;
    }
    EXPECT_EQ(count(AppDelegate::shortcutsDidResetNotification), 1);
    EXPECT_FALSE(ShortcutSettings::shared().individualState("split7030"));
    EXPECT_FALSE(ShortcutSettings::shared().shortcutsEnabled());
    // Rows show the defaults again.
    EXPECT_EQ(row<CompactShortcutRow>(ShortcutSection::coreLayout, 0)->recorder()->shownText().toStdString(), "⌥⌘←");
}

TEST_F(ShortcutsPageTest, ARowSwitchWritesItsOwnStateAndAnnouncesIt) {
    auto* split = row<CompactShortcutRow>(ShortcutSection::multiWindow, 2);
    ASSERT_EQ(split->shortcutName().rawValue, "split7030");
    EXPECT_TRUE(split->shortcutSwitch()->isChecked());

    split->shortcutSwitch()->click();
    EXPECT_FALSE(ShortcutSettings::shared().individualStates().at("split7030"));
    EXPECT_TRUE(desktop.defaults().object(ShortcutSettings::individualStatesKey).has_value());
    EXPECT_EQ(count(ShortcutSettings::statesDidChangeNotification), 1);
    EXPECT_FALSE(split->shortcutSwitch()->isChecked());

    split->shortcutSwitch()->click();
    EXPECT_TRUE(ShortcutSettings::shared().individualStates().at("split7030")) << "the entry stays, now on";

    // A change made elsewhere reaches the row once the settings have it.
    ShortcutSettings::shared().setIndividualState("split7030", false);
    QCoreApplication::processEvents();
    EXPECT_FALSE(split->shortcutSwitch()->isChecked());
}

TEST_F(ShortcutsPageTest, TheGlobalSwitchGreysTheRowSwitchesButNotTheRecorders) {
    EXPECT_EQ(page->enableAllBadge()->text().toStdString(), "ON");
    page->enableAllSwitch()->click();
    EXPECT_FALSE(ShortcutSettings::shared().shortcutsEnabled());
    EXPECT_EQ(count(ShortcutSettings::statesDidChangeNotification), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(page->enableAllBadge()->text().toStdString(), "OFF");

    auto* left = row<CompactShortcutRow>(ShortcutSection::coreLayout, 0);
    EXPECT_FALSE(left->shortcutSwitch()->isEnabled());
    EXPECT_TRUE(left->shortcutSwitch()->isChecked()) << "keeps showing its own state";
    EXPECT_TRUE(left->recorder()->button()->isEnabled());
    left->recorder()->button()->click();
    EXPECT_TRUE(left->recorder()->isRecording());
}

TEST_F(ShortcutsPageTest, QuarterRowsShowTheFixedArrowPairs) {
    std::vector<std::string> hints;
    for (std::size_t index = 0; index < 4; ++index) {
        hints.push_back(row<QuarterShortcutRow>(ShortcutSection::quarterLayout, index)->hintBadge()->text().toStdString());
    }
    EXPECT_EQ(hints, (std::vector<std::string>{"⌥⌘ ↑←", "⌥⌘ ↑→", "⌥⌘ ↓←", "⌥⌘ ↓→"}));
}
