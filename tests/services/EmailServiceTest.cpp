#include "services/EmailService.h"

#include "platform/NotificationCenter.h"
#include "platform/fake/FakeAccessibility.h"
#include "platform/fake/FakeHostInformation.h"
#include "platform/fake/FakeScreens.h"
#include "platform/system/LinuxHostInformation.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fstream>

namespace zentaris {
namespace {

using testing::TemporaryDirectory;
using testing::writeFile;

// Language folders written before the language manager that reads them is made.
struct LanguageFolders {
    LanguageFolders() {
        writeFile(directory / "en.lproj" / "messages.txt",
                  "subject = Subject\nuser_email = Your E-mail\nsystem_information = System\n"
                  "app_settings = Settings\nemail_footer = Sent from the app\n");
        writeFile(directory / "de.lproj" / "messages.txt", "email_footer = Gesendet\n");
    }
    const std::filesystem::path& path() const { return directory.path(); }
    TemporaryDirectory directory;
};

class EmailServiceTest : public ::testing::Test {
protected:
    EmailService makeService(const platform::Bundle& bundle) {
        return EmailService("help@example.org", languages, {host, bundle, screens, accessibility, defaults});
    }

    LanguageFolders resources;
    platform::MemoryUserDefaults defaults;
    platform::NotificationCenter notifications;
    platform::Bundle bundle{resources.path(), platform::Bundle::InfoDictionary{{"CFBundleShortVersionString", "1.4.0"},
                                                                                {"CFBundleVersion", "140"}}};
    LanguageManager languages{defaults, notifications, bundle, {"en-GB"}};
    platform::fake::FakeHostInformation host;
    platform::fake::FakeScreens screens;
    platform::fake::FakeAccessibility accessibility;
};

TEST_F(EmailServiceTest, BodyHoldsOnlyTheChosenParts) {
    const auto service = makeService(bundle);
    EXPECT_EQ(service.composeBody("", "", "It broke.", false, false), "It broke.\n\n---\nSent from the app");
    EXPECT_EQ(service.composeBody("", "", "", false, false), "\n\n---\nSent from the app");
    EXPECT_EQ(service.composeBody("Crash", "me@example.org", "It broke.", false, false),
              "Subject: Crash\n\nIt broke.\n\n---\nYour E-mail: me@example.org\n\n---\nSent from the app");

    const auto full = service.composeBody("S", "", "M", true, true);
    EXPECT_EQ(full, "Subject: S\n\nM\n\n---\nSystem:\n" + service.systemInformation() + "\n\n---\nSettings:\n"
                        + service.appSettingsSummary() + "\n\n---\nSent from the app");
}

TEST_F(EmailServiceTest, HeadingsWithoutTranslationShowTheirKeys) {
    languages.setLanguage("de");
    EXPECT_EQ(makeService(bundle).composeBody("Crash", "", "M", false, false), "subject: Crash\n\nM\n\n---\nGesendet");
}

TEST_F(EmailServiceTest, SystemInformationDescribesMachineScreensAndLanguage) {
    host.osVersion = "Debian GNU/Linux 12 (bookworm), kernel 6.1.0";
    host.memory = 8589934592;
    screens.addScreen({platform::Rect(0, 0, 1440.7, 900.2), platform::Rect(0, 0, 1440, 875), 1, "Built-in"});
    screens.addScreen({platform::Rect(1440, 0, 2560, 1440), platform::Rect(1440, 0, 2560, 1440), 2, "External"});
    EXPECT_EQ(makeService(bundle).systemInformation(),
              "Linux: Debian GNU/Linux 12 (bookworm), kernel 6.1.0\n"
              "Zentaris: 1.4.0 (140)\n"
              "Model: Test Machine 1\n"
              "Memory: 8 GB\n"
              "Displays: 2\n"
              "  Display 1: 1440x900\n"
              "  Display 2: 2560x1440\n"
              "App Language: en\n");
}

TEST_F(EmailServiceTest, MemoryLineIsTheMachinesTotalMemory) {
    double totalKiB = 0;
    std::ifstream meminfo("/proc/meminfo");
    for (std::string field; meminfo >> field && field != "MemTotal:";) meminfo.ignore(1 << 16, '\n');
    meminfo >> totalKiB;
    ASSERT_GT(totalKiB, 0) << "no MemTotal in /proc/meminfo";

    const platform::LinuxHostInformation machine("/");
    const auto text = EmailService("help@example.org", languages, {machine, bundle, screens, accessibility, defaults})
                          .systemInformation();
    const auto line = text.find("\nMemory: ");
    ASSERT_NE(line, std::string::npos) << text;
    EXPECT_EQ(text.substr(text.find(' ', line + 9), 4), " GB\n");
    // Whole gigabytes of 2^30 bytes, rounded to the nearest.
    EXPECT_NEAR(std::stod(text.substr(line + 9)), totalKiB / (1 << 20), 0.5) << "MemTotal " << totalKiB << " kB";
}

TEST_F(EmailServiceTest, SystemInformationCopesWithMissingFacts) {
    platform::Bundle withoutBuild{resources.path(), platform::Bundle::InfoDictionary{{"CFBundleShortVersionString", "1.4.0"}}};
    host.model.reset();
    host.memory = 3ull << 29; // 1.5 GiB
    EXPECT_EQ(makeService(withoutBuild).systemInformation(),
              "Linux: Testix 1, kernel 6.0.0\nModel: Unknown\nMemory: 2 GB\nDisplays: 0\nApp Language: en\n");

    host.model = std::string("Board\xff X");
    EXPECT_NE(makeService(withoutBuild).systemInformation().find("Model: Board\xEF\xBF\xBD X\n"), std::string::npos);
}

TEST_F(EmailServiceTest, TheProgramsOwnBundleGivesTheVersionLine) {
    const auto& own = platform::Bundle::main();
    ASSERT_TRUE(own.appVersion());
    const auto& build = own.infoDictionary()->at("CFBundleVersion");
    EXPECT_FALSE(build.empty());
    EXPECT_NE(makeService(own).systemInformation().find("\nZentaris: " + *own.appVersion() + " (" + build + ")\n"),
              std::string::npos);
}

TEST_F(EmailServiceTest, SettingsSummaryReadsTheLiveState) {
    accessibility.setTrusted(false);
    EXPECT_EQ(makeService(bundle).appSettingsSummary(),
              "Language: en\nLaunch at Login: No\nCustom Shortcuts: No\nAccessibility Permission: Not Granted\n"
              "Connected Displays: 0\n");
    defaults.set("launchAtLogin", true);
    accessibility.setTrusted(true);
    screens.addScreen({platform::Rect(0, 0, 800, 600), platform::Rect(0, 0, 800, 600), 1, "Screen"});
    EXPECT_EQ(makeService(bundle).appSettingsSummary(),
              "Language: en\nLaunch at Login: Yes\nCustom Shortcuts: No\nAccessibility Permission: Granted\n"
              "Connected Displays: 1\n");
}

} // namespace
} // namespace zentaris
