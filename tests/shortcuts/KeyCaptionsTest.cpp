#include "KeyCaptionTable.h"
#include "ShortcutTestSupport.h"
#include "shortcuts/Shortcut.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>

using namespace GlobalShortcuts;
using zentaris::testing::keyCaptionTable;

TEST(KeyCaptions, EveryNamedKeyHasItsCodeAndShowsItsCaption) {
    zentaris::testing::ShortcutCaptionEnvironment captions;
    ASSERT_EQ(std::size(keyCaptionTable), 113u);
    std::set<std::int64_t> codes;
    for (const auto& row : keyCaptionTable) {
        EXPECT_EQ(row.key.rawValue, row.code) << row.name;
        EXPECT_TRUE(codes.insert(row.code).second) << row.name << " shares its code";
        EXPECT_EQ((Shortcut{row.code, 0}).description(), row.caption) << row.name;
        EXPECT_EQ((Shortcut{row.code, CarbonModifier::option | CarbonModifier::command}).description(),
                  std::string("⌥⌘") + row.caption)
            << row.name;
    }
}

TEST(KeyCaptions, KeysShownByAGlyphIgnoreWhatTheLayoutTypes) {
    zentaris::testing::ShortcutCaptionEnvironment captions;
    // A layout that types a letter on every key: only keys without a fixed caption show it.
    for (const auto& row : keyCaptionTable) captions.layout.set(static_cast<std::uint16_t>(row.code), "q");
    int fixed = 0;
    for (const auto& row : keyCaptionTable) {
        const auto shown = (Shortcut{row.code, 0}).description();
        if (shown != "Q") {
            ++fixed;
            EXPECT_EQ(shown, row.caption) << row.name;
        }
    }
    EXPECT_EQ(fixed, 53) << "return, tab, space, the editing and navigation keys, F1-F20 and the keypad";
}
