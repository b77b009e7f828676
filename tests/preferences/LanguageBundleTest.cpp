#include "preferences/LanguageBundle.h"

#include <gtest/gtest.h>

using zentaris::LanguageBundle;

TEST(LanguageBundle, ParsesKeysValuesCommentsAndEscapes) {
    auto bundle = LanguageBundle::parse("# comment\n\n"
                                        "key = value with = sign\n"
                                        "Preferences... = Einstellungen …\n"
                                        "  spaced   =   trimmed  \r\n"
                                        "multi = one\\ntwo\\\\three\n"
                                        "empty =\n",
                                        "de.lproj/messages.txt");
    EXPECT_TRUE(bundle.problems().empty());
    EXPECT_EQ(bundle.localizedString("key", "?"), "value with = sign");
    EXPECT_EQ(bundle.localizedString("Preferences...", "?"), "Einstellungen …");
    EXPECT_EQ(bundle.localizedString("spaced", "?"), "trimmed");
    EXPECT_EQ(bundle.localizedString("multi", "?"), "one\ntwo\\three");
    EXPECT_EQ(bundle.localizedString("empty", "?"), "");
    EXPECT_EQ(bundle.localizedString("absent", "fallback"), "fallback");
}

TEST(LanguageBundle, MalformedLinesAreReportedWithTheirLineAndSkipped) {
    auto bundle = LanguageBundle::parse("good = yes\n"
                                        "no separator here\n"
                                        " = no key\n"
                                        "bad = escape \\q\n"
                                        "good = again\n"
                                        "after = fine\n",
                                        "fr.lproj/messages.txt");
    ASSERT_EQ(bundle.problems().size(), 4u);
    EXPECT_EQ(bundle.problems()[0].line, 2);
    EXPECT_EQ(bundle.problems()[1].line, 3);
    EXPECT_EQ(bundle.problems()[2].line, 4);
    EXPECT_EQ(bundle.problems()[3].line, 5);
    EXPECT_EQ(bundle.problems()[0].file, "fr.lproj/messages.txt");
    EXPECT_EQ(bundle.localizedString("good", "?"), "yes");
    EXPECT_EQ(bundle.localizedString("after", "?"), "fine");
    EXPECT_FALSE(bundle.contains("bad"));
}

TEST(LanguageBundle, MissingFolderDoesNotOpenButAFolderWithoutTextsDoes) {
    EXPECT_FALSE(LanguageBundle::open("/nonexistent/xx.lproj").has_value());
    auto empty = LanguageBundle::open("/");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->texts().empty());
}
