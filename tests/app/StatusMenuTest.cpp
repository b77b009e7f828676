#include "AppTestSupport.h"
#include "app/ShortcutCaption.h"

#include <algorithm>

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

// The layout rows of the menu, in menu order.
std::vector<const StatusMenuItem*> layoutRows(const std::vector<StatusMenuItem>& items) {
    std::vector<const StatusMenuItem*> rows;
    for (const auto& item : items) {
        if (item.kind == Kind::layoutRow) rows.push_back(&item);
    }
    return rows;
}

const StatusMenuItem* screenItem(const std::vector<StatusMenuItem>& items) {
    const StatusMenuItem* found = nullptr;
    for (const auto& item : items) {
        if (item.identifier != "screenMenuItem") continue;
        EXPECT_EQ(found, nullptr) << "a second screen item";
        found = &item;
    }
    return found;
}

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

TEST_F(StatusMenuTest, EveryLayoutRowAndSubmenuRowRunsItsOwnCommand) {
    desktop.defaults().set("windowGap", 0.0);
    const platform::Rect home(100, 100, 300, 300);
    auto window = desktop.addWindow(home, "w");
    for (int i = 0; i < 4; ++i) desktop.addWindow({600, 100, 100, 100}, "more");
    desktop.focus(window);
    launch();
    using platform::Rect;
    const Rect left(0, 0, 500, 800), right(500, 0, 500, 800), top(0, 400, 1000, 400), bottom(0, 0, 1000, 400),
        topLeft(0, 400, 500, 400), topRight(500, 400, 500, 400), bottomLeft(0, 0, 500, 400),
        bottomRight(500, 0, 500, 400);
    const struct {
        LayoutType layout;
        int slots;
        std::vector<Rect> rowSlots;
    } rows[] = {
        {LayoutType::splitVertical, 2, {left, right}},
        {LayoutType::splitHorizontal, 2, {top, bottom}},
        {LayoutType::split7030, 2, {Rect(0, 0, 700, 800), Rect(700, 0, 300, 800)}},
        {LayoutType::split3070, 2, {Rect(0, 0, 300, 800), Rect(300, 0, 700, 800)}},
        {LayoutType::threeColumn, 3, {Rect(0, 0, 300, 800), Rect(300, 0, 400, 800), Rect(700, 0, 300, 800)}},
        {LayoutType::threeWindowTop, 3, {top, bottomLeft, bottomRight}},
        {LayoutType::threeWindowBottom, 3, {topLeft, topRight, bottom}},
        {LayoutType::threeWindowLeft, 3, {left, topRight, bottomRight}},
        {LayoutType::threeWindowRight, 3, {topLeft, bottomLeft, right}},
        {LayoutType::quartet, 4, {topLeft, topRight, bottomLeft, bottomRight}},
    };
    const auto menuRows = layoutRows(shell.menu.items);
    ASSERT_EQ(menuRows.size(), std::size(rows));
    for (std::size_t r = 0; r < menuRows.size(); ++r) {
        const auto& row = *menuRows[r];
        const auto& expected = rows[r];
        SCOPED_TRACE(row.title);
        EXPECT_EQ(row.layout, rawValue(expected.layout));
        ASSERT_EQ(row.children.size(), expected.rowSlots.size());
        for (std::size_t c = 0; c < row.children.size(); ++c) {
            desktop.setFrame(window, home);
            row.children[c].action();
            EXPECT_EQ(desktop.frameOf(window), expected.rowSlots[c]) << row.children[c].title;
        }
        desktop.mainQueue().advance(2.5); // the last too-many-windows panel is gone
        shell.tooManyWindows.clear();
        row.action();
        EXPECT_EQ(app->lastAppliedLayout(), expected.layout);
        EXPECT_EQ(shell.tooManyWindows, (std::vector<std::pair<std::int64_t, std::int64_t>>{{expected.slots, 5}}));
    }

    const auto* drag = find(shell.menu.items, "Drag Mode");
    ASSERT_NE(drag, nullptr);
    drag->action();
    EXPECT_FALSE(app->isDragAndDropEnabled().value());
    find(shell.menu.items, "Preferences...")->action();
    EXPECT_EQ(shell.settingsShown, 1);
    EXPECT_EQ(shell.terminated, 0);
    find(shell.menu.items, "Quit")->action();
    EXPECT_EQ(shell.terminated, 1);
}

TEST_F(StatusMenuTest, ScreenRowsWithThreeScreensEachDoTheirOwnMove) {
    desktop.addScreen({1000, 0, 1000, 800}, std::nullopt, 2, "Middle Monitor");
    desktop.addScreen({2000, 0, 1000, 800}, std::nullopt, 3, "Right Monitor");
    desktop.defaults().set("windowGap", 0.0);
    auto window = desktop.addWindow({100, 100, 400, 300}, "w");
    desktop.focus(window);
    launch();
    const auto* screens = screenItem(shell.menu.items);
    ASSERT_NE(screens, nullptr);
    const auto& rows = screens->children;
    ASSERT_EQ(rows.size(), 11u);
    auto x = [&](const platform::AXUIElement& w) { return desktop.frameOf(w)->minX(); };

    rows[1].action(); // to the next screen
    EXPECT_EQ(x(window), 1100);
    rows[1].action();
    EXPECT_EQ(x(window), 2100);
    rows[2].action(); // to the previous screen
    EXPECT_EQ(x(window), 1100);

    auto onFirst = desktop.addWindow({100, 100, 400, 300}, "first");
    auto onLast = desktop.addWindow({2100, 100, 400, 300}, "last");
    rows[5].action(); // swap with the next screen: 1 and 2
    EXPECT_EQ(x(window), 2100);
    EXPECT_EQ(x(onLast), 1100);
    EXPECT_EQ(x(onFirst), 100);
    rows[6].action(); // swap with the previous screen: 2 and 1
    EXPECT_EQ(x(window), 1100);
    EXPECT_EQ(x(onLast), 2100);
    EXPECT_EQ(x(onFirst), 100);

    const struct {
        std::size_t row;
        std::string title, symbol;
        int tag;
        double left;
    } screenRows[] = {
        {10, "Right Monitor", "display", 2, 2100},
        {8, "Left Monitor (Main)", "laptopcomputer", 0, 100},
        {9, "Middle Monitor", "display", 1, 1100},
    };
    for (const auto& expected : screenRows) {
        const auto& row = rows[expected.row];
        EXPECT_EQ(row.title, expected.title);
        EXPECT_EQ(row.symbol, expected.symbol);
        EXPECT_EQ(row.tag, expected.tag);
        row.action();
        EXPECT_EQ(x(window), expected.left) << expected.title;
    }
}

TEST_F(StatusMenuTest, EachDisplayChangeReplacesTheScreenItemRightAfterTheDragModeRow) {
    launch();
    EXPECT_EQ(screenItem(shell.menu.items), nullptr);
    auto separators = [&] {
        return std::count_if(shell.menu.items.begin(), shell.menu.items.end(),
                             [](const StatusMenuItem& item) { return item.kind == Kind::separator; });
    };
    auto afterDragRow = [&]() -> const StatusMenuItem* {
        const auto& items = shell.menu.items;
        for (std::size_t i = 0; i + 1 < items.size(); ++i) {
            if (items[i].identifier == "dragModeItem") return &items[i + 1];
        }
        return nullptr;
    };
    const auto separatorsAtStart = separators();

    desktop.addScreen({1000, 0, 800, 600}, std::nullopt, 2, "Right");
    app->screensDidChange();
    ASSERT_NE(screenItem(shell.menu.items), nullptr);
    EXPECT_EQ(afterDragRow(), screenItem(shell.menu.items));
    EXPECT_EQ(screenItem(shell.menu.items)->children.size(), 10u);
    EXPECT_EQ(separators(), separatorsAtStart);

    desktop.addScreen({1800, 0, 800, 600}, std::nullopt, 3, "Far Right");
    app->screensDidChange();
    ASSERT_NE(screenItem(shell.menu.items), nullptr);
    EXPECT_EQ(afterDragRow(), screenItem(shell.menu.items));
    EXPECT_EQ(screenItem(shell.menu.items)->children.size(), 11u) << "the new item lists the third screen";
    EXPECT_EQ(separators(), separatorsAtStart - 1) << "the separator after the old item went with it";

    app->screensDidChange();
    EXPECT_EQ(afterDragRow(), screenItem(shell.menu.items));

    desktop.screens().setScreens({desktop.screens().screens().front()});
    app->screensDidChange();
    EXPECT_EQ(screenItem(shell.menu.items), nullptr);
    EXPECT_EQ(app->statusMenu().items.size(), shell.menu.items.size());
}

TEST(MenuCaption, GlyphOrderAndKeyTexts) {
    using GlobalShortcuts::Shortcut;
    EXPECT_EQ(menuCaption(Shortcut::initCarbon(49, 0x1000 | 0x800 | 0x200 | 0x100)), "⌃⌥⇧⌘Space");
    EXPECT_EQ(menuCaption(Shortcut::initCarbon(123, 0x800 | 0x100)), "⌥⌘←");
    EXPECT_EQ(menuCaption(Shortcut::initCarbon(122, 0)), "F1");
    EXPECT_EQ(menuCaption(Shortcut::initCarbon(53, 0x200)), "⇧⎋");
}
