#include "app/LoginItem.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

using zentaris::LoginItem;
using zentaris::testing::TemporaryDirectory;
using zentaris::testing::readFile;
using zentaris::testing::writeFile;

TEST(LoginItem, RegisterWritesAnEntryAndUnregisterRemovesOnlyOurs) {
    TemporaryDirectory dir;
    LoginItem item(dir / "autostart", "/opt/zen taris/bin/zentaris");
    EXPECT_FALSE(item.isRegistered());
    ASSERT_TRUE(item.registerItem());
    const auto text = readFile(item.entryPath());
    EXPECT_NE(text.find("Exec=\"/opt/zen taris/bin/zentaris\"\n"), std::string::npos);
    EXPECT_TRUE(item.isRegistered());
    EXPECT_TRUE(item.registerItem()) << "registering twice replaces our own entry";

    EXPECT_TRUE(item.unregisterItem());
    EXPECT_FALSE(std::filesystem::exists(item.entryPath()));
    EXPECT_TRUE(item.unregisterItem()) << "nothing to remove is fine";
}

TEST(LoginItem, ForeignEntryIsNeverReplacedOrRemoved) {
    TemporaryDirectory dir;
    LoginItem item(dir / "autostart", "/usr/bin/zentaris");
    const std::string foreign = "[Desktop Entry]\nType=Application\nExec=zentaris --my-flags\n";
    writeFile(item.entryPath(), foreign);
    EXPECT_FALSE(item.registerItem());
    EXPECT_TRUE(item.unregisterItem());
    EXPECT_EQ(readFile(item.entryPath()), foreign);
    EXPECT_FALSE(item.isRegistered());
}

TEST(LoginItem, ExecQuotingEscapesWhatTheShellAndFieldCodesWouldTake) {
    EXPECT_EQ(LoginItem::quoteForExec("/usr/bin/zentaris"), "\"/usr/bin/zentaris\"");
    EXPECT_EQ(LoginItem::quoteForExec("/a\"b$c`d\\e%f"), "\"/a\\\"b\\$c\\`d\\\\e%%f\"");
}
