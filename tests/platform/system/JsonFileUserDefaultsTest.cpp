#include "platform/system/JsonFileUserDefaults.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace platform;
using zentaris::testing::TemporaryDirectory;
using zentaris::testing::readFile;
using zentaris::testing::writeFile;

namespace {
std::vector<std::filesystem::path> filesIn(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) files.push_back(entry.path());
    return files;
}
} // namespace

TEST(JsonFileUserDefaults, EveryTypeSurvivesARestartWithItsType) {
    TemporaryDirectory dir;
    const auto file = dir / "zentaris" / "defaults.json";
    {
        JsonFileUserDefaults defaults(file);
        defaults.set("bool", false);
        defaults.set("int", std::int64_t{-7});
        defaults.set("double", 2.0);
        defaults.set("string", std::string("30-40-30"));
        defaults.set("data", Data{{0, 255, '{', '"'}});
        defaults.set("date", Date{1.8e9 + 0.25});
        defaults.set("list", StringList{"ja", "en"});
        defaults.set("infinite", HUGE_VAL);
    }
    JsonFileUserDefaults reloaded(file);
    EXPECT_EQ(reloaded.object("bool"), DefaultsValue{false});
    EXPECT_EQ(reloaded.object("int"), DefaultsValue{std::int64_t{-7}});
    EXPECT_EQ(reloaded.object("double"), DefaultsValue{2.0}) << "a whole double stays a double, not an integer";
    EXPECT_EQ(reloaded.object("string"), DefaultsValue{std::string("30-40-30")});
    EXPECT_EQ(reloaded.object("data"), (DefaultsValue{Data{{0, 255, '{', '"'}}}));
    EXPECT_EQ(reloaded.object("date"), DefaultsValue{Date{1.8e9 + 0.25}});
    EXPECT_EQ(reloaded.object("list"), (DefaultsValue{StringList{"ja", "en"}}));
    EXPECT_EQ(reloaded.doubleValue("infinite"), HUGE_VAL);
    EXPECT_EQ(reloaded.allKeys().size(), 8u);
}

TEST(JsonFileUserDefaults, RemovalIsPersisted) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    {
        JsonFileUserDefaults defaults(file);
        defaults.set("a", true);
        defaults.removeObject("a");
    }
    EXPECT_FALSE(JsonFileUserDefaults(file).object("a").has_value());
}

TEST(JsonFileUserDefaults, UnreadableFileIsMovedAsideWithNothingLost) {
    for (const std::string& broken : {std::string("{not json"), std::string("[1,2]"),
                                      std::string(R"({"version":1,"values":{"a":{"type":"bool","value":"yes"}}})")}) {
        TemporaryDirectory dir;
        const auto file = dir / "defaults.json";
        writeFile(file, broken);
        JsonFileUserDefaults defaults(file);
        EXPECT_TRUE(defaults.allKeys().empty());

        auto files = filesIn(dir.path());
        ASSERT_EQ(files.size(), 1u) << broken;
        EXPECT_NE(files[0].filename().string().find("defaults.json.unreadable-"), std::string::npos);
        EXPECT_EQ(readFile(files[0]), broken) << "the unreadable file is kept byte for byte";

        defaults.set("fresh", true);
        EXPECT_EQ(filesIn(dir.path()).size(), 2u) << "a new file is written beside the kept one";
        EXPECT_EQ(readFile(files[0]), broken);
    }
}

TEST(JsonFileUserDefaults, InterruptedWriteLeavesTheOldFileIntact) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults defaults(file);
    defaults.set("kept", std::string("old"));
    const auto before = readFile(file);

    defaults.setBeforeReplaceHook([] { return false; }); // the program dies before the rename
    defaults.set("kept", std::string("new"));
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(JsonFileUserDefaults(file).stringValue("kept"), "old");
}

TEST(JsonFileUserDefaults, LocationFollowsXdgConfigHome) {
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(JsonFileUserDefaults::defaultLocation(), "/tmp/xdg-test/zentaris/defaults.json");
    ::setenv("XDG_CONFIG_HOME", "relative/path", 1); // not absolute: ignored, as the XDG rules say
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(JsonFileUserDefaults::defaultLocation(), "/home/someone/.config/zentaris/defaults.json");
    ::unsetenv("XDG_CONFIG_HOME");
}
