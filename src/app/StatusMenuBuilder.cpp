#include "app/AppDelegate.h"

#include "app/ShortcutCaption.h"
#include "app/ShortcutNames.h"
#include "layout/WindowFrameCalculator.h"
#include "preferences/LanguageManager.h"

#include <algorithm>

namespace zentaris {

namespace {

using Item = StatusMenuItem;
using Kind = StatusMenuItem::Kind;

Item header(const std::string& key) {
    Item item;
    item.kind = Kind::header;
    item.title = LanguageManager::shared().localizedString(key);
    item.enabled = false;
    return item;
}

Item separator() {
    Item item;
    item.kind = Kind::separator;
    return item;
}

// Rows of the layout submenus are narrower than those of the screen submenu.
constexpr double layoutSubmenuRowWidth = 220;
constexpr double screenSubmenuRowWidth = 260;

Item slotRow(std::string title, std::string symbol, std::function<void()> action, std::optional<std::string> caption,
             double width = layoutSubmenuRowWidth) {
    Item item;
    item.kind = Kind::slotRow;
    item.width = width;
    item.height = 22;
    item.title = std::move(title);
    item.symbol = std::move(symbol);
    item.action = std::move(action);
    item.caption = std::move(caption);
    return item;
}

} // namespace

std::optional<std::string> AppDelegate::shortcutDisplayText(const GlobalShortcuts::Name& name) const {
    return shortcutCaption(deps_.settings, name);
}

std::vector<StatusMenuItem> AppDelegate::submenuEntries(LayoutType layout) {
    using namespace ShortcutNames;
    auto& text = LanguageManager::shared();
    auto row = [&](const std::string& key, const std::string& symbol, void (AppDelegate::*action)(),
                   std::optional<std::string> caption) {
        return slotRow(text.localizedString(key), symbol, [this, action] { (this->*action)(); }, std::move(caption));
    };
    // The two-arrow quarters have fixed captions, shown while the quartet shortcut is on.
    const bool quartersOn = deps_.settings.isShortcutEnabled(quartetMode().rawValue);
    auto quarter = [&](const char* caption) -> std::optional<std::string> {
        return quartersOn ? std::optional<std::string>(caption) : std::nullopt;
    };
    const auto left = shortcutDisplayText(leftColumn());
    const auto right = shortcutDisplayText(rightColumn());
    const auto up = shortcutDisplayText(upColumn());
    const auto down = shortcutDisplayText(downColumn());

    switch (layout) {
    case LayoutType::splitVertical:
        return {row("Left", "rectangle.lefthalf.filled", &AppDelegate::applySplitLeft, left),
                row("Right", "rectangle.righthalf.filled", &AppDelegate::applySplitRight, right)};
    case LayoutType::splitHorizontal:
        return {row("Top", "rectangle.tophalf.filled", &AppDelegate::applySplitTop, up),
                row("Bottom", "rectangle.bottomhalf.filled", &AppDelegate::applySplitBottom, down)};
    case LayoutType::split7030:
        return {row("Left (70%)", "rectangle.leadinghalf.filled", &AppDelegate::applySplit7030Left, left),
                row("Right (30%)", "rectangle.trailinghalf.filled", &AppDelegate::applySplit7030Right, right)};
    case LayoutType::split3070:
        return {row("Left (30%)", "rectangle.trailinghalf.filled", &AppDelegate::applySplit3070Left, left),
                row("Right (70%)", "rectangle.leadinghalf.filled", &AppDelegate::applySplit3070Right, right)};
    case LayoutType::threeColumn: {
        const bool classic = deps_.settings.threeColumnStyle() == ThreeColumnStyle::classic;
        auto share = [&](const char* key, int percent) {
            return text.localizedString(key) + " (" + std::to_string(percent) + "%)";
        };
        auto shareRow = [&](const char* key, int percent, const char* symbol, void (AppDelegate::*action)(),
                            std::optional<std::string> caption) {
            return slotRow(share(key, percent), symbol, [this, action] { (this->*action)(); }, std::move(caption));
        };
        return {shareRow("Left", classic ? 25 : 30, "rectangle.leftthird.inset.filled",
                         &AppDelegate::applyThreeColumnLeft, left),
                shareRow("Center", classic ? 50 : 40, "rectangle.center.inset.filled",
                         &AppDelegate::applyThreeColumnCenter, shortcutDisplayText(centerColumn())),
                shareRow("Right", classic ? 25 : 30, "rectangle.rightthird.inset.filled",
                         &AppDelegate::applyThreeColumnRight, right)};
    }
    case LayoutType::threeWindowTop:
        return {row("Top", "rectangle.tophalf.filled", &AppDelegate::applyThreeWindowTopTop, up),
                row("Bottom-Left", "arrow.down.left.square.fill", &AppDelegate::applyThreeWindowTopBottomLeft,
                    quarter("⌘⌥←↓")),
                row("Bottom-Right", "arrow.down.right.square.fill", &AppDelegate::applyThreeWindowTopBottomRight,
                    quarter("⌘⌥→↓"))};
    case LayoutType::threeWindowBottom:
        return {row("Top-Left", "arrow.up.left.square.fill", &AppDelegate::applyThreeWindowBottomTopLeft,
                    quarter("⌘⌥←↑")),
                row("Top-Right", "arrow.up.right.square.fill", &AppDelegate::applyThreeWindowBottomTopRight,
                    quarter("⌘⌥→↑")),
                row("Bottom", "rectangle.bottomhalf.filled", &AppDelegate::applyThreeWindowBottomBottom, down)};
    case LayoutType::threeWindowLeft:
        return {row("Left", "rectangle.lefthalf.filled", &AppDelegate::applyThreeWindowVerticalLeftLeft, left),
                row("Top-Right", "arrow.up.right.square.fill", &AppDelegate::applyThreeWindowVerticalLeftTopRight,
                    quarter("⌘⌥→↑")),
                row("Bottom-Right", "arrow.down.right.square.fill",
                    &AppDelegate::applyThreeWindowVerticalLeftBottomRight, quarter("⌘⌥→↓"))};
    case LayoutType::threeWindowRight:
        return {row("Top-Left", "arrow.up.left.square.fill", &AppDelegate::applyThreeWindowVerticalRightTopLeft,
                    quarter("⌘⌥←↑")),
                row("Bottom-Left", "arrow.down.left.square.fill",
                    &AppDelegate::applyThreeWindowVerticalRightBottomLeft, quarter("⌘⌥←↓")),
                row("Right", "rectangle.righthalf.filled", &AppDelegate::applyThreeWindowVerticalRightRight, right)};
    case LayoutType::quartet:
        return {row("Top-Left", "arrow.up.left.square.fill", &AppDelegate::applyQuartetTopLeft, quarter("⌘⌥←↑")),
                row("Top-Right", "arrow.up.right.square.fill", &AppDelegate::applyQuartetTopRight, quarter("⌘⌥→↑")),
                row("Bottom-Left", "arrow.down.left.square.fill", &AppDelegate::applyQuartetBottomLeft,
                    quarter("⌘⌥←↓")),
                row("Bottom-Right", "arrow.down.right.square.fill", &AppDelegate::applyQuartetBottomRight,
                    quarter("⌘⌥→↓"))};
    }
    return {};
}

void AppDelegate::addLayoutSections(StatusMenu& menu) {
    using namespace ShortcutNames;
    auto& text = LanguageManager::shared();
    auto layoutRow = [&](const char* key, LayoutType layout, int count, const GlobalShortcuts::Name& name) {
        Item item;
        item.kind = Kind::layoutRow;
        item.title = text.localizedString(key);
        item.symbol = std::string(symbolName(layout));
        item.layout = static_cast<int>(rawValue(layout));
        item.width = 320;
        item.height = 32;
        item.caption = shortcutDisplayText(name);
        item.action = [this, layout, count] { arrangeAllWindows(layout, count); };
        item.children = submenuEntries(layout);
        return item;
    };
    menu.items.push_back(header("two_window_layouts"));
    menu.items.push_back(layoutRow("vertical_split_layout", LayoutType::splitVertical, 2, splitVertical()));
    menu.items.push_back(layoutRow("horizontal_split_layout", LayoutType::splitHorizontal, 2, splitHorizontal()));
    menu.items.push_back(layoutRow("split_7030", LayoutType::split7030, 2, split7030()));
    menu.items.push_back(layoutRow("split_3070", LayoutType::split3070, 2, split3070()));
    menu.items.push_back(separator());
    menu.items.push_back(header("three_window_layouts"));
    menu.items.push_back(layoutRow("three_column_layout", LayoutType::threeColumn, 3, threeColumns()));
    menu.items.push_back(layoutRow("three_window_layout_top", LayoutType::threeWindowTop, 3, threeWindowTop()));
    menu.items.push_back(layoutRow("three_window_layout_bottom", LayoutType::threeWindowBottom, 3, threeWindowBottom()));
    menu.items.push_back(layoutRow("three_window_layout_left", LayoutType::threeWindowLeft, 3, threeWindowLeft()));
    menu.items.push_back(layoutRow("three_window_layout_right", LayoutType::threeWindowRight, 3, threeWindowRight()));
    menu.items.push_back(separator());
    menu.items.push_back(header("four_window_layouts"));
    menu.items.push_back(layoutRow("quartet_layout", LayoutType::quartet, 4, quartetMode()));
}

std::optional<StatusMenuItem> AppDelegate::makeScreenMenuItem() {
    using namespace ShortcutNames;
    const auto screens = deps_.desktop.screens.screens();
    if (screens.size() < 2) return std::nullopt;
    auto& text = LanguageManager::shared();

    Item item;
    item.kind = Kind::submenu;
    item.identifier = "screenMenuItem";
    item.title = text.localizedString("Move Between Screens");
    item.symbol = "rectangle.2.swap";
    item.accessibilityDescription = "Multi-screen management";
    auto& rows = item.children;
    rows.push_back(header("single_window_header"));
    rows.push_back(slotRow(text.localizedString("to_next_screen"), "arrow.right.square", [this] { moveToNextScreen(); },
                           shortcutDisplayText(ShortcutNames::moveToNextScreen()), screenSubmenuRowWidth));
    rows.push_back(slotRow(text.localizedString("to_previous_screen"), "arrow.left.square",
                           [this] { moveToPreviousScreen(); }, shortcutDisplayText(ShortcutNames::moveToPreviousScreen()),
                           screenSubmenuRowWidth));
    rows.push_back(separator());
    rows.push_back(header("all_content_header"));
    rows.push_back(slotRow(text.localizedString("swap_with_next"), "arrow.left.arrow.right.square",
                           [this] { swapScreensNext(); }, shortcutDisplayText(swapWithNextScreen()), screenSubmenuRowWidth));
    rows.push_back(slotRow(text.localizedString("swap_with_previous"), "arrow.left.arrow.right.square",
                           [this] { swapScreensPrevious(); }, shortcutDisplayText(swapWithPreviousScreen()),
                           screenSubmenuRowWidth));
    rows.push_back(separator());
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const int index = static_cast<int>(i);
        auto title = windowManagementService_.frameCalculator().displayName(screens[i]);
        if (index == 0) title += " (Main)";
        auto row = slotRow(title, index == 0 ? "laptopcomputer" : "display", [this, index] { moveToSpecificScreen(index); },
                           std::nullopt, screenSubmenuRowWidth);
        row.tag = index;
        rows.push_back(std::move(row));
    }
    screenMenuItem_ = item;
    return item;
}

void AppDelegate::buildStatusMenu() {
    auto& text = LanguageManager::shared();
    StatusMenu menu;
    menu.minimumWidth = 320;
    addLayoutSections(menu);
    menu.items.push_back(separator());

    Item dragMode;
    dragMode.kind = Kind::dragModeRow;
    dragMode.identifier = "dragModeItem";
    dragMode.title = text.localizedString("Drag Mode");
    dragMode.isOn = isDragAndDropEnabled_.value();
    dragMode.width = 320;
    dragMode.height = 22;
    dragMode.caption = shortcutDisplayText(ShortcutNames::toggleDragMode());
    dragMode.action = [this] { toggleDragMode(); };
    menu.items.push_back(std::move(dragMode));

    if (auto screenItem = makeScreenMenuItem()) menu.items.push_back(std::move(*screenItem));
    menu.items.push_back(separator());

    Item preferences;
    preferences.identifier = "preferences";
    preferences.title = text.localizedString("Preferences...");
    preferences.symbol = "gearshape";
    preferences.accessibilityDescription = "Preferences";
    preferences.action = [this] { openSettings(); };
    menu.items.push_back(std::move(preferences));
    menu.items.push_back(separator());

    Item quit;
    quit.identifier = "quit";
    quit.title = text.localizedString("Quit");
    quit.symbol = "power";
    quit.accessibilityDescription = "Quit application";
    quit.action = [this] { deps_.shell.terminate(); };
    menu.items.push_back(std::move(quit));

    statusMenu_ = menu;
    deps_.shell.setStatusMenu(statusMenu_);
}

void AppDelegate::rebuildScreenMenuItem() {
    if (!deps_.shell.hasStatusItem()) return;
    auto& items = statusMenu_.items;
    // Take out the old screen item and the separator that followed it.
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].identifier != "screenMenuItem") continue;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
        if (i < items.size() && items[i].kind == Kind::separator) items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
        break;
    }
    auto screenItem = makeScreenMenuItem();
    if (!screenItem) {
        deps_.shell.setStatusMenu(statusMenu_);
        return;
    }
    auto dragRow = std::find_if(items.begin(), items.end(), [](const Item& item) { return item.identifier == "dragModeItem"; });
    if (dragRow == items.end()) {
        items.push_back(std::move(*screenItem));
    } else {
        items.insert(dragRow + 1, std::move(*screenItem));
    }
    deps_.shell.setStatusMenu(statusMenu_);
}

} // namespace zentaris
