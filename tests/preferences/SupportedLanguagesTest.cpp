#include "preferences/SupportedLanguages.h"
#include "preferences/LanguageManager.h"

#include <gtest/gtest.h>

using namespace zentaris;

TEST(SupportedLanguages, TableMatchesTheLanguageFoldersInOrderWithFlags) {
    const auto rows = supportedLanguages();
    ASSERT_EQ(rows.size(), LanguageManager::supportedLanguageCodes.size());
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].code, LanguageManager::supportedLanguageCodes[i]);
    EXPECT_EQ(rows.front().flag, "\U0001F1EC\U0001F1E7"); // GB
    EXPECT_EQ(languageFlag("zh-Hant"), "\U0001F1F9\U0001F1FC"); // TW
    EXPECT_EQ(languageFlag("he"), "\U0001F1EE\U0001F1F1");
    EXPECT_EQ(languageFlag("EN"), "\U0001F310") << "codes compare exactly";
    EXPECT_EQ(languageFlag(""), "\U0001F310");
    EXPECT_EQ(rows[4].name, "简体中文");
}
