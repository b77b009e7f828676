#include "support/OffscreenApplication.h"
#include "preferences/SupportedLanguages.h"
#include "settings/LanguagePickerView.h"

#include <gtest/gtest.h>

#include <optional>

namespace zentaris::testing {
namespace {

struct LanguagePickerViewTest : ::testing::Test {
    LanguagePickerViewTest() { offscreenApplication(); }
    std::vector<std::string> reported;
    LanguagePickerView::ChangeHandler record() {
        return [this](const std::string& code) { reported.push_back(code); };
    }
};

TEST_F(LanguagePickerViewTest, ListsEveryLanguageAsFlagTwoBlanksAndNativeName) {
    LanguagePickerView picker(LanguagePickerView::supportedLanguageList(), "en", record());
    ASSERT_EQ(picker.count(), 17);
    for (int index = 0; index < picker.count(); ++index) {
        const auto& [code, name] = supportedLanguageTable[std::size_t(index)];
        EXPECT_EQ(picker.itemText(index).toStdString(), languageFlag(code) + "  " + std::string(name));
        EXPECT_EQ(picker.itemData(index).toString().toStdString(), code);
    }
    LanguagePickerView unknown({{"xx", "Xish"}}, "xx", record());
    EXPECT_EQ(unknown.itemText(0).toStdString(), languageFlag("xx") + "  Xish") << "a globe for codes without a flag";
}

TEST_F(LanguagePickerViewTest, SelectsTheFirstEntryWithTheCode) {
    struct Case {
        LanguagePickerView::Languages languages;
        std::string selected;
        int index;
    };
    const Case cases[] = {
        {LanguagePickerView::supportedLanguageList(), "zh-Hant", 10},
        {LanguagePickerView::supportedLanguageList(), "he", 16},
        {{{"en", "English"}, {"de", "Deutsch"}, {"de", "Deutsch (2)"}}, "de", 1},
        {{{"en", "English"}, {"de", "Deutsch"}}, "zh", 0}, // no match: left where the refill puts it
        {{}, "en", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        LanguagePickerView picker(c.languages, c.selected, record());
        EXPECT_EQ(picker.currentIndex(), c.index);
    }
}

TEST_F(LanguagePickerViewTest, ReportsEveryChoiceAlsoOfTheSelectedItem) {
    LanguagePickerView picker(LanguagePickerView::supportedLanguageList(), "de", record());
    picker.activated(3);
    picker.activated(1);
    EXPECT_EQ(reported, (std::vector<std::string>{"ja", "de"}));

    // An item without a code is ignored.
    picker.addItem(QStringLiteral("broken"));
    picker.activated(picker.count() - 1);
    picker.selectionChanged(99);
    EXPECT_EQ(reported.size(), 2u);
}

TEST_F(LanguagePickerViewTest, RefillShowsTheNewSelectionWithoutReporting) {
    LanguagePickerView picker(LanguagePickerView::supportedLanguageList(), "en", record());
    picker.setLanguages(LanguagePickerView::supportedLanguageList(), "ko");
    EXPECT_EQ(picker.currentIndex(), 9);
    EXPECT_EQ(picker.count(), 17);
    EXPECT_TRUE(reported.empty());
}

} // namespace
} // namespace zentaris::testing
