#include "app/ShortcutCaption.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "shortcuts/KeyCaptionTable.h"

#include <gtest/gtest.h>

using zentaris::menuCaption;
using GlobalShortcuts::Shortcut;

TEST(MenuCaption, EveryNamedKeyShowsItsCaption) {
    auto layout = platform::fake::FakeKeyboardLayout::usQwerty();
    platform::KeyboardLayout::install(&layout);
    for (const auto& row : zentaris::testing::keyCaptionTable) {
        EXPECT_EQ(menuCaption(Shortcut::initCarbon(row.code, 0)), row.caption) << row.name;
        EXPECT_EQ(menuCaption(Shortcut::initCarbon(row.code, 0x1000 | 0x800 | 0x200 | 0x100)),
                  std::string("⌃⌥⇧⌘") + row.caption)
            << row.name;
    }
    platform::KeyboardLayout::install(nullptr);
}
