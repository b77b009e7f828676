#include "platform/Locale.h"
#include "platform/fake/FakeEnvironment.h"

#include <gtest/gtest.h>

using namespace platform;
using platform::fake::FakeEnvironment;

TEST(Locale, PosixLocalesBecomeLanguageTags) {
    EXPECT_EQ(languageTagFromPosixLocale("de_DE.UTF-8"), "de-DE");
    EXPECT_EQ(languageTagFromPosixLocale("sr_RS@latin"), "sr-RS");
    EXPECT_EQ(languageTagFromPosixLocale("fr"), "fr");
    EXPECT_EQ(languageTagFromPosixLocale("C"), std::nullopt);
    EXPECT_EQ(languageTagFromPosixLocale("POSIX"), std::nullopt);
    EXPECT_EQ(languageTagFromPosixLocale("C.UTF-8"), std::nullopt);
}

TEST(Locale, StoredLanguagesComeFirstThenLanguageThenTheFirstSetLocaleVariable) {
    MemoryUserDefaults defaults;
    FakeEnvironment environment{{"LANGUAGE", "pt_BR:pt"}, {"LC_ALL", ""}, {"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "de_DE.UTF-8"}};
    EXPECT_EQ(preferredLanguages(defaults, environment), (std::vector<std::string>{"pt-BR", "pt", "ja-JP"}));
    defaults.set("AppleLanguages", StringList{"fr"});
    EXPECT_EQ(preferredLanguages(defaults, environment).front(), "fr");
}

TEST(Locale, EmptySessionHasNoPreferredLanguage) {
    MemoryUserDefaults defaults;
    FakeEnvironment environment{{"LANG", "C"}};
    EXPECT_TRUE(preferredLanguages(defaults, environment).empty());
}
