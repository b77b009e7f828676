#include "preferences/LanguageBundle.h"
#include "support/NamedPipe.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>

using zentaris::LanguageBundle;
using zentaris::testing::NamedPipe;
using zentaris::testing::TemporaryDirectory;
using zentaris::testing::writeFile;

namespace {

std::size_t lineCount(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

} // namespace

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

    // A report quotes a key, but not a whole line of a damaged file.
    const std::string longKey(5000, 'k');
    const auto twice = LanguageBundle::parse(longKey + " = a\n" + longKey + " = b\n", "fr.lproj/messages.txt");
    ASSERT_EQ(twice.problems().size(), 1u);
    EXPECT_LT(twice.problems()[0].message.size(), 120u);
    EXPECT_EQ(twice.problems()[0].message.rfind("\"kkkk", 0), 0u);
}

TEST(LanguageBundle, MissingFolderDoesNotOpenButAFolderWithoutTextsDoes) {
    EXPECT_FALSE(LanguageBundle::open("/nonexistent/xx.lproj").has_value());
    auto empty = LanguageBundle::open("/");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->texts().empty());
}

TEST(LanguageBundle, AMessagesFileThatIsNotARegularFileOrTooLargeIsRefusedInOneLine) {
    TemporaryDirectory dir;
    const NamedPipe pipe(dir / "ja.lproj" / "messages.txt");
    std::optional<LanguageBundle> fromPipe;
    ::testing::internal::CaptureStderr();
    const bool returned =
        pipe.returnsWithin(std::chrono::seconds(3), [&] { fromPipe = LanguageBundle::open(dir / "ja.lproj"); });
    auto report = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(returned) << "opening a language whose messages file is a named pipe waits for a writer";
    ASSERT_TRUE(fromPipe.has_value());
    EXPECT_TRUE(fromPipe->texts().empty());
    EXPECT_EQ(report, pipe.path().string() + ": not read, it is not a regular file\n");

    std::string large = "kept = no\n";
    while (large.size() <= LanguageBundle::maxFileBytes) large += "# a translator's very long comment\n";
    writeFile(dir / "de.lproj" / "messages.txt", large);
    ::testing::internal::CaptureStderr();
    const auto fromLarge = LanguageBundle::open(dir / "de.lproj");
    report = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(fromLarge.has_value());
    EXPECT_FALSE(fromLarge->contains("kept"));
    EXPECT_EQ(lineCount(report), 1u);
    EXPECT_NE(report.find("larger than 1048576 bytes"), std::string::npos) << report;
}

TEST(LanguageBundle, ThousandsOfBadLinesAreReportedAFewTimesAndOnlyOnce) {
    TemporaryDirectory dir;
    std::string text = "greeting = Hallo\n";
    for (int i = 0; i < 5000; ++i) text += "no separator\n";
    writeFile(dir / "de.lproj" / "messages.txt", text);

    // The menu, the system texts and the shortcut module each open the language they show.
    ::testing::internal::CaptureStderr();
    const auto first = LanguageBundle::open(dir / "de.lproj");
    const auto second = LanguageBundle::open(dir / "de.lproj");
    const auto report = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->localizedString("greeting", "?"), "Hallo");
    EXPECT_EQ(first->problemCount(), 5000u);
    EXPECT_EQ(first->problems().size(), LanguageBundle::maxReportedProblems);
    EXPECT_EQ(lineCount(report), LanguageBundle::maxReportedProblems + 1) << report;
    EXPECT_NE(report.find("messages.txt: 4990 more lines skipped\n"), std::string::npos) << report;

    // Changed on disk (a translator at work): read afresh.
    writeFile(dir / "de.lproj" / "messages.txt", "greeting = Guten Tag\n");
    EXPECT_EQ(LanguageBundle::open(dir / "de.lproj")->localizedString("greeting", "?"), "Guten Tag");
}
