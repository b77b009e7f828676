#include "platform/Bundle.h"
#include "support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using platform::Bundle;
using zentaris::testing::TemporaryDirectory;

TEST(Bundle, FindsResourcesByNameAndTypeButNeverOutsideItsFolder) {
    TemporaryDirectory dir;
    std::filesystem::create_directories(dir / "resources" / "de.lproj");
    zentaris::testing::writeFile(dir / "secret.lproj" / "messages.txt", "x = y\n");
    Bundle bundle(dir / "resources", Bundle::InfoDictionary{});
    EXPECT_TRUE(bundle.pathForResource("de", "lproj").has_value());
    EXPECT_FALSE(bundle.pathForResource("fr", "lproj").has_value());
    EXPECT_FALSE(bundle.pathForResource("../secret", "lproj").has_value());
    EXPECT_FALSE(bundle.pathForResource("..", "").has_value());
    EXPECT_FALSE(bundle.pathForResource("", "lproj").has_value());
}

TEST(Bundle, VersionComesFromTheInformationWhenPresent) {
    EXPECT_EQ(Bundle("/", Bundle::InfoDictionary{{"CFBundleShortVersionString", "2.1"}}).appVersion(), "2.1");
    EXPECT_EQ(Bundle("/", Bundle::InfoDictionary{}).appVersion(), std::nullopt);
    EXPECT_EQ(Bundle("/", std::nullopt).appVersion(), std::nullopt);
    EXPECT_TRUE(Bundle::main().appVersion().has_value()) << "the program's own bundle carries the build's version";
    // And the build it came from: a git description or, without git, the version again.
    const auto build = Bundle::main().infoDictionary()->find("CFBundleVersion");
    ASSERT_NE(build, Bundle::main().infoDictionary()->end());
    EXPECT_THAT(build->second, ::testing::MatchesRegex("[A-Za-z0-9._+-]+"));
}
