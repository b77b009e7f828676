#include "SettingsPageTestSupport.h"
#include "settings/AboutSettingsView.h"
#include "settings/SettingsWidgets.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace zentaris::testing {
namespace {

struct AboutSettingsViewTest : SettingsPageFixture {
    UpdateService service{updateDependencies()};

    std::string reply(bool updateAvailable, const std::string& notes, const std::string& version = "4.0.0") {
        return nlohmann::json{{"updateAvailable", updateAvailable}, {"latestVersion", version},
                              {"minRequiredVersion", "1.0.0"},      {"downloadUrl", "https://example.org/get"},
                              {"releaseNotes", notes},              {"forceUpdate", false}}
            .dump();
    }
};

TEST_F(AboutSettingsViewTest, CheckButtonRunsAVisibleCheckAndShowsTheDateOfSuccess) {
    AboutSettingsView page(service, LanguageManager::shared(), std::string("3.1.4"));
    page.show();
    EXPECT_TRUE(page.lastCheckRow()->isHidden()) << "no check has succeeded yet";
    EXPECT_TRUE(page.announcementRow()->isHidden());

    QTest::mouseClick(page.checkButton(), Qt::LeftButton);
    ASSERT_EQ(http.requests().size(), 1u);
    settle();
    EXPECT_FALSE(page.checkButton()->isEnabled());
    EXPECT_TRUE(page.showsProgress());

    ASSERT_TRUE(http.respond(200, reply(true, "Faster snapping.")));
    settle();
    EXPECT_TRUE(page.checkButton()->isEnabled());
    EXPECT_FALSE(page.showsProgress());
    queue.runPending();
    EXPECT_EQ(alerts.presented().size(), 1u) << "a check from this page shows its alert";
    EXPECT_FALSE(page.announcementRow()->isHidden());
    EXPECT_TRUE(page.announcementTitle()->text().contains("4.0.0"));
    EXPECT_EQ(page.releaseNotesLabel()->fullText(), "Faster snapping.");
    EXPECT_FALSE(page.lastCheckRow()->isHidden());
    ASSERT_TRUE(service.lastCheckDate());
    EXPECT_TRUE(page.lastCheckLabel()->text().contains(AboutSettingsView::formattedDate(*service.lastCheckDate())));
}

TEST_F(AboutSettingsViewTest, FormattedTextsCarryTheirValues) {
    useLanguageFolders("version_format = Version %@\nlast_checked = Last checked: %@\n"
                       "update_available_version = Version %@ is available\n",
                       "");
    AboutSettingsView page(service, LanguageManager::shared(), std::string("3.1.4"));
    EXPECT_EQ(page.versionLabel()->text(), "Version 3.1.4");
    service.checkForUpdates(false);
    http.respond(200, reply(true, ""));
    settle();
    EXPECT_EQ(page.announcementTitle()->text(), "Version 4.0.0 is available");
    EXPECT_TRUE(page.releaseNotesLabel()->isHidden()) << "empty notes leave only the version line";
    EXPECT_EQ(page.lastCheckLabel()->text(), "Last checked: " + AboutSettingsView::formattedDate(*service.lastCheckDate()));
}

// Sets an environment variable for a scope, and the time zone with it.
struct ScopedVariable {
    ScopedVariable(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) before = old;
        ::setenv(name, value, 1);
        ::tzset();
    }
    ~ScopedVariable() {
        before ? ::setenv(name, before->c_str(), 1) : ::unsetenv(name);
        ::tzset();
    }
    const char* name;
    std::optional<std::string> before;
};

// Qt reads the locale once per process, so the page is looked at in a process of its own that
// starts with a fixed locale and time zone. 1,700,000,000 s is 22:13:20 on 14 November 2023 UTC,
// and 07:13:20 on the 15th nine hours east.
TEST_F(AboutSettingsViewTest, LastCheckedShowsTheCalendarDateOfTheStoredTimeInTheLocalZone) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ScopedVariable locale("LC_ALL", "C.UTF-8"), zone("TZ", "JST-9");
    EXPECT_EXIT(
        {
            useLanguageFolders("last_checked = Last checked: %@\n", "");
            defaults.set(UpdateService::lastCheckDateKey, platform::Date{1'700'000'000});
            service.checkForUpdatesIfNeeded();
            AboutSettingsView page(service, LanguageManager::shared(), std::string("3.1.4"));
            std::fprintf(stderr, "[%s]\n", qPrintable(page.lastCheckLabel()->text()));
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "\\[Last checked: 15 Nov 2023 07:13:20\\]");
}

TEST_F(AboutSettingsViewTest, ServerTextsAreShownAsWrittenAndCut) {
    AboutSettingsView page(service, LanguageManager::shared(), std::string("3.1.4"));
    page.resize(700, 900);
    page.show();
    service.checkForUpdates(false);
    http.respond(200, reply(true, "<b>Faster</b> <a href='file:///etc/passwd'>snapping</a>", "<b>4.0</b>"));
    settle();
    EXPECT_TRUE(page.announcementTitle()->text().contains("<b>4.0</b>"));
    for (QLabel* label : {page.announcementTitle(), static_cast<QLabel*>(page.releaseNotesLabel())}) {
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
        EXPECT_FALSE(label->openExternalLinks());
    }
    // Drawn as written: as wide as the same text in plain letters, tags included.
    QLabel asWritten(page.announcementTitle()->text());
    asWritten.setTextFormat(Qt::PlainText);
    asWritten.setFont(page.announcementTitle()->font());
    EXPECT_EQ(page.announcementTitle()->sizeHint().width(), asWritten.sizeHint().width());

    service.checkForUpdates(false);
    http.respond(200, reply(true, std::string(50'000, 'n'), std::string(5'000, '4')));
    settle();
    EXPECT_LE(page.announcementTitle()->text().count('4'), int(UpdateService::maxShownVersionBytes));
    EXPECT_LE(page.releaseNotesLabel()->fullText().size(), qsizetype(UpdateService::maxShownReleaseNotesBytes + 1));
}

TEST_F(AboutSettingsViewTest, AVersionAndReleaseNotesExactlyAtTheirLimitsAreShownWhole) {
    AboutSettingsView page(service, LanguageManager::shared(), std::string("3.1.4"));
    // Each ends in a three-byte character that ends exactly at the limit.
    const std::string version = std::string(UpdateService::maxShownVersionBytes - 3, '4') + "\xE2\x80\xA2";
    const std::string notes = std::string(UpdateService::maxShownReleaseNotesBytes - 3, 'n') + "\xE2\x80\xA2";
    service.checkForUpdates(false);
    http.respond(200, reply(true, notes, version));
    settle();
    EXPECT_TRUE(page.announcementTitle()->text().contains(QString::fromStdString(version))) << "the whole version";
    EXPECT_EQ(page.releaseNotesLabel()->fullText(), QString::fromStdString(notes)) << "the whole notes";
}

// The line under "current version" in the updates card.
QLabel* versionLineOf(const AboutSettingsView& page, const QString& text) {
    for (auto* label : page.findChildren<QLabel*>()) {
        if (label->text() == text) return label;
    }
    return nullptr;
}

TEST_F(AboutSettingsViewTest, TheUpdatesCardShowsTheInstalledVersionAfterAV) {
    AboutSettingsView page(service, LanguageManager::shared(), std::string("3.1.4"));
    ASSERT_TRUE(versionLineOf(page, "v3.1.4"));
    service.checkForUpdates(false);
    http.respond(200, reply(true, "Notes", "4.0.0"));
    settle();
    EXPECT_TRUE(versionLineOf(page, "v3.1.4")) << "still the installed version, not the announced one";
    EXPECT_FALSE(versionLineOf(page, "v4.0.0"));

    AboutSettingsView withoutVersion(service, LanguageManager::shared(), std::nullopt);
    EXPECT_TRUE(versionLineOf(withoutVersion, "v1.0.0")) << "the fallback version";
}

TEST_F(AboutSettingsViewTest, TheProductNameStandsAtTheLeadingEdgeRightToLeft) {
    LanguageManager::shared().setLanguage("ar");
    AboutSettingsView page(service, LanguageManager::shared(), std::string("3.1.4"));
    page.setLayoutDirection(Qt::RightToLeft);
    page.resize(700, 900);
    page.show();
    settle();
    QLabel* name = nullptr;
    for (auto* label : page.findChildren<QLabel*>()) {
        if (label->text() == "Zentaris") name = label;
    }
    ASSERT_TRUE(name);
    EXPECT_GT(rightmostInk(name, &page), page.width() / 2) << "beside the icon, on the right";
}

TEST_F(AboutSettingsViewTest, FailedCheckOnlyEndsTheProgress) {
    defaults.set(UpdateService::lastCheckDateKey, platform::Date{1'700'000'000});
    service.checkForUpdatesIfNeeded();
    AboutSettingsView page(service, LanguageManager::shared(), std::string("3.1.4"));
    const QString before = page.lastCheckLabel()->text();
    EXPECT_FALSE(page.lastCheckRow()->isHidden());

    page.checkButton()->click();
    http.respond(500, "");
    settle();
    EXPECT_TRUE(page.checkButton()->isEnabled());
    EXPECT_FALSE(page.showsProgress());
    EXPECT_TRUE(page.announcementRow()->isHidden());
    EXPECT_EQ(page.lastCheckLabel()->text(), before);
}

TEST_F(AboutSettingsViewTest, DownloadOpensTheAddressOfTheReply) {
    AboutSettingsView page(service, LanguageManager::shared(), std::string("3.1.4"));
    service.checkForUpdates(false);
    http.respond(200, reply(true, "Notes"));
    settle();
    page.downloadButton()->click();
    ASSERT_EQ(workspace.openedURLs().size(), 1u);
    EXPECT_EQ(workspace.openedURLs().back(), "https://example.org/get");
}

TEST_F(AboutSettingsViewTest, MissingVersionShowsTheFallback) {
    AboutSettingsView page(service, LanguageManager::shared(), std::nullopt);
    EXPECT_EQ(page.installedVersion(), "1.0.0");
}

TEST_F(AboutSettingsViewTest, LongReleaseNotesAreCutToTwoLines) {
    LimitedLinesLabel label(2);
    label.setFullText(QString("word ").repeated(200).trimmed());
    label.resize(200, 100);
    EXPECT_EQ(label.text().count('\n'), 1);
    EXPECT_TRUE(label.text().endsWith(QChar(0x2026)));
    label.setFullText("short");
    EXPECT_EQ(label.text(), "short");
}

} // namespace
} // namespace zentaris::testing
