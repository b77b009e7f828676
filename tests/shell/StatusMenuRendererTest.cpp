#include "support/OffscreenApplication.h"
#include "app/AppTestSupport.h"
#include "shell/StatusMenuRenderer.h"
#include "views/DragModeMenuItemView.h"
#include "views/DropdownItemViewContainer.h"
#include "views/InlineLayoutViewContainer.h"
#include "views/SymbolImage.h"

#include <QTest>
#include <QWidgetAction>

#include <set>

using namespace zentaris;
using namespace zentaris::testing;

namespace {

template <typename Row> Row* rowOf(QAction* action) {
    auto* hosted = qobject_cast<QWidgetAction*>(action);
    return hosted ? dynamic_cast<Row*>(hosted->defaultWidget()) : nullptr;
}

QAction* actionNamed(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

// The status menu of a launched controller on two fake screens, drawn by the renderer.
struct StatusMenuRendererTest : AppFixture {
    platform::AXUIElement window;
    std::unique_ptr<QMenu> menu;

    StatusMenuRendererTest() {
        offscreenApplication();
        desktop.addScreen({0, 0, 1000, 800}, std::nullopt, 1, "Left Monitor");
        desktop.addScreen({1000, 0, 800, 600}, std::nullopt, 2, "Right Monitor");
        desktop.defaults().set("windowGap", 0.0);
        window = desktop.addWindow({100, 100, 400, 300}, "notes");
        desktop.focus(window);
        launch();
        menu = renderStatusMenu(shell.menu);
    }

    void open() {
        menu->popup(QPoint(0, 0));
        QTest::qWait(10);
    }

    // Lets the menu react, then runs what was chosen (the renderer runs actions on a later turn).
    void settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        desktop.mainQueue().runPending();
    }

    platform::Rect frame() const { return desktop.frameOf(window).value(); }

    void key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(target, key, modifiers);
        settle();
    }
};

} // namespace

TEST_F(StatusMenuRendererTest, SectionsRowsSizesAndSubmenus) {
    std::vector<QString> headers;
    int layoutRows = 0;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && !action->isEnabled()) headers.push_back(action->text());
        if (auto* row = rowOf<InlineLayoutViewContainer>(action)) {
            ++layoutRows;
            EXPECT_EQ(row->size(), QSize(320, 32));
            ASSERT_NE(action->menu(), nullptr) << action->text().toStdString();
            for (QAction* entry : action->menu()->actions()) {
                auto* slot = rowOf<DropdownItemViewContainer>(entry);
                ASSERT_NE(slot, nullptr) << entry->text().toStdString();
                EXPECT_EQ(slot->size(), QSize(220, 22));
            }
        }
    }
    EXPECT_EQ(headers, (std::vector<QString>{"Two-Window Layouts", "Three-Window Layouts", "Four-Window Layouts"}));
    EXPECT_EQ(layoutRows, 10);

    auto* vertical = rowOf<InlineLayoutViewContainer>(actionNamed(menu.get(), "Vertical Split"));
    ASSERT_NE(vertical, nullptr);
    EXPECT_TRUE(vertical->parts().caption) << "the ⌥⌘1 caption is shown";
    EXPECT_EQ(vertical->preview().layout(), LayoutType::splitVertical);

    auto* drag = rowOf<DragModeMenuItemView>(actionNamed(menu.get(), "Drag Mode"));
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->size(), QSize(320, 22));
    EXPECT_TRUE(drag->isDragModeEnabled());

    QAction* screens = actionNamed(menu.get(), "Move Between Screens");
    ASSERT_TRUE(screens && screens->menu());
    EXPECT_FALSE(screens->icon().isNull());
    std::vector<int> tags;
    for (QAction* entry : screens->menu()->actions()) {
        if (auto* slot = rowOf<DropdownItemViewContainer>(entry)) {
            EXPECT_EQ(slot->size(), QSize(260, 22)) << entry->text().toStdString();
            if (entry->data().isValid()) tags.push_back(entry->data().toInt());
        }
    }
    EXPECT_EQ(tags, (std::vector<int>{0, 1}));

    const auto actions = menu->actions();
    EXPECT_EQ(actions.back()->text(), "Quit");
    EXPECT_FALSE(actions.back()->icon().isNull());
    EXPECT_EQ(actions.back()->statusTip(), "Quit application");
}

TEST_F(StatusMenuRendererTest, EverySymbolTheMenuUsesHasAnIcon) {
    std::set<std::string> names = {"hand.raised.fill", "hand.raised.slash.fill"};
    std::function<void(const std::vector<StatusMenuItem>&)> collect = [&](const auto& items) {
        for (const auto& item : items) {
            if (!item.symbol.empty()) names.insert(item.symbol);
            collect(item.children);
        }
    };
    collect(shell.menu.items);
    for (LayoutType layout : allLayoutTypes) names.insert(std::string(symbolName(layout)));
    for (const auto& name : names) EXPECT_FALSE(symbolPixmap(name, 18, Qt::black).isNull()) << name;
}

TEST_F(StatusMenuRendererTest, ClickingARowClosesTheMenuAndRunsItsAction) {
    open();
    QAction* screens = actionNamed(menu.get(), "Move Between Screens");
    QAction* second = actionNamed(screens->menu(), "Right Monitor");
    ASSERT_NE(second, nullptr);
    QTest::mouseClick(rowOf<DropdownItemViewContainer>(second), Qt::LeftButton, {}, QPoint(30, 11));
    EXPECT_FALSE(menu->isVisible());
    settle();
    EXPECT_GE(frame().minX(), 1000) << "moved to screen 1";

    open();
    QAction* dragMode = actionNamed(menu.get(), "Drag Mode");
    QTest::mouseClick(rowOf<DragModeMenuItemView>(dragMode), Qt::LeftButton, {}, QPoint(300, 11));
    settle();
    EXPECT_FALSE(app->isDragAndDropEnabled().value());
}

TEST_F(StatusMenuRendererTest, ClickOnALayoutRowWhileItsSubmenuIsOpenArrangesAllWindows) {
    open();
    QAction* vertical = actionNamed(menu.get(), "Vertical Split");
    menu->setActiveAction(vertical);
    vertical->menu()->popup(QPoint(400, 0));
    settle();
    // With a submenu open the click reaches the menu, not the row.
    const QPoint inRow = menu->actionGeometry(vertical).center();
    QTest::mouseClick(menu.get(), Qt::LeftButton, {}, inRow);
    settle();
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(app->lastAppliedLayout(), LayoutType::splitVertical);
}

TEST_F(StatusMenuRendererTest, SecondaryClickOnARowWithItsSubmenuOpenRunsNothing) {
    open();
    for (const QString name : {"Move Between Screens", "Vertical Split"}) {
        QAction* row = actionNamed(menu.get(), name);
        menu->setActiveAction(row);
        row->menu()->popup(QPoint(400, 0));
        settle();
        QTest::mouseClick(menu.get(), Qt::RightButton, {}, menu->actionGeometry(row).center());
        settle();
        EXPECT_TRUE(menu->isVisible() && row->menu()->isVisible()) << name.toStdString();
    }
    EXPECT_FALSE(app->lastAppliedLayout());
    EXPECT_EQ(frame(), (platform::Rect{100, 100, 400, 300}));
}

TEST_F(StatusMenuRendererTest, KeyboardHighlightsRowsEntersSubmenusAndChooses) {
    open();
    key(menu.get(), Qt::Key_Down);
    QAction* vertical = actionNamed(menu.get(), "Vertical Split");
    EXPECT_EQ(menu->activeAction(), vertical) << "the headers are skipped";
    EXPECT_TRUE(rowOf<InlineLayoutViewContainer>(vertical)->isHovered());

    key(menu.get(), Qt::Key_Right, Qt::MetaModifier | Qt::AltModifier);
    EXPECT_FALSE(vertical->menu()->isVisible()) << "a global chord does not move through the menu";

    key(menu.get(), Qt::Key_Right);
    QMenu* submenu = vertical->menu();
    ASSERT_TRUE(submenu->isVisible());
    QAction* left = submenu->activeAction();
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->text(), "Left");
    EXPECT_TRUE(rowOf<DropdownItemViewContainer>(left)->isHovered());

    key(submenu, Qt::Key_Return);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(submenu->isVisible());
    EXPECT_EQ(frame(), (platform::Rect{0, 0, 500, 800})) << "the focused window takes the left half";
}

TEST_F(StatusMenuRendererTest, ReturnOnALayoutRowRunsTheRowNotItsSubmenu) {
    open();
    key(menu.get(), Qt::Key_Down);
    key(menu.get(), Qt::Key_Down);
    ASSERT_EQ(menu->activeAction()->text(), "Horizontal Split");
    key(menu.get(), Qt::Key_Return);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(app->lastAppliedLayout(), LayoutType::splitHorizontal);
}

TEST_F(StatusMenuRendererTest, SpaceOnAHighlightedLayoutRowRunsItToo) {
    open();
    for (int i = 0; i < 3; ++i) key(menu.get(), Qt::Key_Down);
    ASSERT_EQ(menu->activeAction()->text(), "70/30 Split");
    key(menu.get(), Qt::Key_Space);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(app->lastAppliedLayout(), LayoutType::split7030);
}

TEST_F(StatusMenuRendererTest, PointerOverARowHighlightsIt) {
    open();
    QAction* dragMode = actionNamed(menu.get(), "Drag Mode");
    auto* row = rowOf<DragModeMenuItemView>(dragMode);
    // The menu takes the first motion after it opens for the opening click's own.
    QTest::mouseMove(row, QPoint(40, 5));
    QTest::mouseMove(row, QPoint(50, 11));
    settle();
    EXPECT_EQ(menu->activeAction(), dragMode);
    EXPECT_TRUE(row->isHovered());
}
