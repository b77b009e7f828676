#include "AppTestSupport.h"
#include "app/ShortcutCaption.h"

using namespace zentaris;
using namespace zentaris::testing;
using Kind = StatusMenuItem::Kind;

namespace {

const StatusMenuItem* find(const std::vector<StatusMenuItem>& items, const std::string& title) {
    for (const auto& item : items) {
        if (item.title == title) return &item;
        if (auto* inner = find(item.children, title)) return inner;
    }
    return nullptr;
}

struct StatusMenuTest : AppFixture {
    StatusMenuTest() { desktop.addScreen({0, 0, 1000, 800}, std::nullopt, 1, "Left Monitor"); }
};

} // namespace

TEST_F(StatusMenuTest, SectionsRowsCaptionsAndTheFixedEntries) {
    launch();
    const auto& items = shell.menu.items;
    std::vector<Kind> kinds;
    for (const auto& item : items) kinds.push_back(item.kind);
    EXPECT_EQ(kinds.front(), Kind::header);
    EXPECT_EQ(items.front().title, "Two-Window Layouts");
    const auto* vertical = find(items, "Vertical Split");
    ASSERT_NE(vertical, nullptr);
    EXPECT_EQ(vertical->caption, "⌥⌘1");
    EXPECT_EQ(vertical->symbol, "rectangle.split.2x1");
    ASSERT_EQ(vertical->children.size(), 2u);
    EXPECT_EQ(vertical->children[0].caption, "⌥⌘←");
    EXPECT_NE(find(items, "Preferences..."), nullptr);
    EXPECT_EQ(items.back().title, "Quit");
    EXPECT_EQ(find(items, "Move Between Screens"), nullptr) << "one screen: no screen submenu";

    const auto* drag = find(items, "Drag Mode");
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->identifier, "dragModeItem");
    EXPECT_TRUE(drag->isOn);
    EXPECT_EQ(drag->caption, "⇧⌘D");
}

TEST_F(StatusMenuTest, ThreeColumnSharesAndQuarterCaptionsFollowTheSettings) {
    auto& settings = ShortcutSettings::shared();
    settings.setThreeColumnStyle(ThreeColumnStyle::classic);
    settings.setIndividualState("quartetMode", false);
    launch();
    const auto* columns = find(shell.menu.items, "Three Columns");
    ASSERT_NE(columns, nullptr);
    EXPECT_EQ(columns->children[0].title, "Left (25%)");
    EXPECT_EQ(columns->children[1].title, "Center (50%)");
    const auto* quartet = find(shell.menu.items, "Four Quarters");
    ASSERT_NE(quartet, nullptr);
    EXPECT_EQ(quartet->caption, std::nullopt);
    for (const auto& row : quartet->children) EXPECT_EQ(row.caption, std::nullopt) << row.title;

    settings.setShortcutsEnabled(false);
    desktop.mainQueue().runPending();
    EXPECT_EQ(find(shell.menu.items, "Vertical Split")->caption, std::nullopt) << "no captions when shortcuts are off";
}

TEST_F(StatusMenuTest, ScreenSubmenuListsScreensAndARowMovesTheWindowThere) {
    desktop.addScreen({1000, 0, 800, 600}, std::nullopt, 2, "Right Monitor");
    desktop.defaults().set("windowGap", 0.0);
    auto window = desktop.addWindow({100, 100, 400, 300}, "w");
    desktop.focus(window);
    launch();
    const auto* screens = find(shell.menu.items, "Move Between Screens");
    ASSERT_NE(screens, nullptr);
    const auto& rows = screens->children;
    ASSERT_GE(rows.size(), 2u);
    const auto& first = rows[rows.size() - 2];
    const auto& second = rows.back();
    EXPECT_EQ(first.title, "Left Monitor (Main)");
    EXPECT_EQ(first.symbol, "laptopcomputer");
    EXPECT_EQ(first.tag, 0);
    EXPECT_EQ(second.symbol, "display");
    EXPECT_EQ(second.tag, 1);
    second.action();
    auto frame = desktop.frameOf(window).value();
    EXPECT_GE(frame.minX(), 1000) << "the window is on the second screen";
}

TEST_F(StatusMenuTest, DisplayChangeRebuildsTheScreenItemRightAfterTheDragModeRow) {
    launch();
    EXPECT_EQ(find(shell.menu.items, "Move Between Screens"), nullptr);
    desktop.addScreen({1000, 0, 800, 600}, std::nullopt, 2, "Right");
    app->screensDidChange();
    const auto& items = shell.menu.items;
    for (std::size_t i = 0; i + 1 < items.size(); ++i) {
        if (items[i].identifier == "dragModeItem") {
            EXPECT_EQ(items[i + 1].title, "Move Between Screens");
            return;
        }
    }
    ADD_FAILURE() << "no drag-mode row";
}

TEST(MenuCaption, GlyphOrderAndKeyTexts) {
    using GlobalShortcuts::Shortcut;
    EXPECT_EQ(menuCaption(Shortcut::initCarbon(49, 0x1000 | 0x800 | 0x200 | 0x100)), "⌃⌥⇧⌘Space");
    EXPECT_EQ(menuCaption(Shortcut::initCarbon(123, 0x800 | 0x100)), "⌥⌘←");
    EXPECT_EQ(menuCaption(Shortcut::initCarbon(122, 0)), "F1");
    EXPECT_EQ(menuCaption(Shortcut::initCarbon(53, 0x200)), "⇧⎋");
}
