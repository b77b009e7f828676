#include "platform/system/LinuxHostInformation.h"
#include "services/SystemLanguageTexts.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace zentaris {
namespace {

using testing::TemporaryDirectory;
using testing::writeFile;

TEST(SystemLanguageTextsTest, FollowsTheFirstPreferredLanguageWithTexts) {
    TemporaryDirectory resources;
    writeFile(resources / "en.lproj" / "messages.txt", "update_download = Download now\n");
    writeFile(resources / "de.lproj" / "messages.txt", "update_download = Herunterladen\n");
    const platform::Bundle bundle(resources.path(), std::nullopt);

    EXPECT_EQ(SystemLanguageTexts(bundle, {"de-AT", "en-US"}).text("update_download", "Download"), "Herunterladen");
    EXPECT_EQ(SystemLanguageTexts(bundle, {"fr-FR", "de-DE"}).text("update_download", "Download"), "Herunterladen");
    EXPECT_EQ(SystemLanguageTexts(bundle, {"xx"}).text("update_download", "Download"), "Download now");
    EXPECT_EQ(SystemLanguageTexts(bundle, {"de"}).text("update_later", "Later"), "Later");
    EXPECT_EQ(SystemLanguageTexts(platform::Bundle(), {"de"}).text("update_later", "Later"), "Later");
}

TEST(LinuxHostInformationTest, NamesTheDistributionFromOsRelease) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", "Debian GNU/Linux 12 (bookworm)"},
        {"NAME=Fedora\nVERSION=\"39 (Workstation)\"\n", "Fedora 39 (Workstation)"},
        {"# comment\nNAME='Arch Linux'\n", "Arch Linux"},
        {"PRETTY_NAME=\"Say \\\"hi\\\"\"\n", "Say \"hi\""},
        {"PRETTY_NAME=\nNAME=Void\n", "Void"},
        {"garbage\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, name] : cases) EXPECT_EQ(platform::LinuxHostInformation::distributionName(text), name) << text;
}

TEST(LinuxHostInformationTest, ReadsTheMachineFromItsRoot) {
    TemporaryDirectory root;
    writeFile(root / "etc" / "os-release", "PRETTY_NAME=\"Testix 7\"\n");
    writeFile(root / "sys" / "class" / "dmi" / "id" / "product_name", "ThinkPad X1 Carbon\n");
    const platform::LinuxHostInformation host(root.path());
    EXPECT_EQ(host.operatingSystemVersionString().rfind("Testix 7, kernel ", 0), 0u);
    EXPECT_EQ(host.hardwareModel(), "ThinkPad X1 Carbon");
    EXPECT_GT(host.physicalMemory(), 0u);

    TemporaryDirectory empty;
    const platform::LinuxHostInformation bare(empty.path());
    EXPECT_EQ(bare.operatingSystemVersionString().rfind("Linux, kernel ", 0), 0u);
    EXPECT_FALSE(bare.hardwareModel());
}

} // namespace
} // namespace zentaris
