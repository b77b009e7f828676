#include "support/OffscreenApplication.h"
#include "platform/UserDefaults.h"
#include "preferences/LanguageManager.h"
#include "views/DragModeMenuItemView.h"
#include "views/DropdownItemViewContainer.h"
#include "views/InlineLayoutViewContainer.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include <memory>

using namespace zentaris;

namespace {

struct MenuRowsTest : ::testing::Test {
    platform::MemoryUserDefaults defaults;

    MenuRowsTest() {
        zentaris::testing::offscreenApplication();
        platform::UserDefaults::installStandard(&defaults);
        LanguageManager::resetShared();
    }
    ~MenuRowsTest() override {
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        LanguageManager::resetShared();
        platform::UserDefaults::installStandard(nullptr);
    }
};

QImage drawn(MenuRowView& row, bool hovered) {
    row.setHovered(hovered);
    return row.grab().toImage();
}

} // namespace

TEST_F(MenuRowsTest, DragModeRowShowsTheSwitchState) {
    struct Case {
        bool on;
        const char* symbol;
        const char* text;
    };
    for (const auto& [on, symbol, text] : {Case{true, "hand.raised.fill", "Drag Mode: ON"},
                                           Case{false, "hand.raised.slash.fill", "Drag Mode: OFF"}}) {
        DragModeMenuItemView row(on, std::string("⇧⌘D"));
        EXPECT_EQ(row.size(), QSize(320, 22));
        EXPECT_EQ(row.symbolName(), symbol);
        EXPECT_EQ(row.statusText(), text);
        EXPECT_EQ(row.dotColor().green() > row.dotColor().red(), on) << "green when on, red when off";
        ASSERT_TRUE(row.captionRect());
        EXPECT_DOUBLE_EQ(row.captionRect()->right(), 320 - 10 - 4) << "right-aligned before its trailing space";
    }
    EXPECT_FALSE(DragModeMenuItemView(true, std::nullopt).captionRect());
}

TEST_F(MenuRowsTest, LayoutRowPutsCaptionBeforeTheMiniatureAndTruncatesLongTitles) {
    InlineLayoutViewContainer row("Vertical Split", LayoutType::splitVertical, std::string("⌥⌘1"));
    EXPECT_EQ(row.size(), QSize(320, 32));
    const auto parts = row.parts();
    EXPECT_EQ(parts.preview, QRectF(320 - 10 - 80, 4, 80, 24));
    ASSERT_TRUE(parts.caption);
    EXPECT_DOUBLE_EQ(parts.caption->right(), parts.preview.left() - 10 - 4);
    EXPECT_DOUBLE_EQ(parts.title.left(), 10 + 18 + 10);
    EXPECT_EQ(row.shownTitle(), "Vertical Split");

    InlineLayoutViewContainer bare("Vertical Split", LayoutType::splitVertical, std::nullopt);
    EXPECT_FALSE(bare.parts().caption);
    EXPECT_DOUBLE_EQ(bare.parts().title.right(), bare.parts().preview.left() - 10) << "the title takes the caption's room";

    const std::string longTitle(200, 'W');
    InlineLayoutViewContainer crowded(longTitle, LayoutType::quartet, std::string("⌥⌘0"));
    EXPECT_TRUE(crowded.shownTitle().endsWith(QChar(0x2026))) << "ends in an ellipsis";
    EXPECT_EQ(crowded.parts().preview.size(), QSizeF(80, 24));
}

TEST_F(MenuRowsTest, LongTitlesStopBeforeTheShortcutCaptionInEitherDirection) {
    const std::string longTitle = "Drei Fenster: eines oben, zwei nebeneinander darunter";
    // From where the caption starts to the trailing edge, in reading order.
    const auto captionOn = [](MenuRowView& row, const QRectF& caption) {
        const int start = static_cast<int>(caption.left());
        return row.grab().toImage().copy(row.isRightToLeft() ? 0 : start, 0, row.width() - start, row.height());
    };
    for (const auto direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        QGuiApplication::setLayoutDirection(direction);
        InlineLayoutViewContainer layout(longTitle, LayoutType::threeWindowTop, std::string("⌥⌘6"));
        InlineLayoutViewContainer untitledLayout("", LayoutType::threeWindowTop, std::string("⌥⌘6"));
        DropdownItemViewContainer slot(longTitle, "arrow.right.square", std::string("⌃⌥⌘→"), 260, 22);
        DropdownItemViewContainer untitledSlot("", "arrow.right.square", std::string("⌃⌥⌘→"), 260, 22);
        ASSERT_NE(layout.shownTitle(), layout.title());
        ASSERT_NE(slot.shownTitle(), slot.title());
        EXPECT_EQ(captionOn(layout, *layout.parts().caption), captionOn(untitledLayout, *layout.parts().caption))
            << "layout row, right to left: " << layout.isRightToLeft();
        EXPECT_EQ(captionOn(slot, *slot.parts().caption), captionOn(untitledSlot, *slot.parts().caption))
            << "submenu row, right to left: " << slot.isRightToLeft();
    }
}

TEST_F(MenuRowsTest, SubmenuRowStartsItsTitleAtTheMarginWithoutAnIcon) {
    DropdownItemViewContainer withIcon("Left", "rectangle.lefthalf.filled", std::string("⌥⌘←"), 220, 22);
    DropdownItemViewContainer plain("Left Monitor", "", std::nullopt, 260, 22);
    EXPECT_EQ(withIcon.size(), QSize(220, 22));
    EXPECT_EQ(plain.size(), QSize(260, 22));
    EXPECT_DOUBLE_EQ(withIcon.parts().title.left(), 4 + 16 + 2);
    EXPECT_DOUBLE_EQ(plain.parts().title.left(), 4);
    ASSERT_TRUE(withIcon.parts().caption);
    EXPECT_DOUBLE_EQ(withIcon.parts().caption->right(), 220 - 4);
    EXPECT_FALSE(plain.parts().caption);
}

TEST_F(MenuRowsTest, HoverFillsTheSubmenuAndDragRowsButNotTheLayoutRow) {
    struct Case {
        const char* name;
        std::unique_ptr<MenuRowView> row;
        bool backgroundChanges;
    };
    Case cases[] = {
        {"submenu row", std::make_unique<DropdownItemViewContainer>("Top", "rectangle.tophalf.filled", std::nullopt, 220, 22),
         true},
        {"drag-mode row", std::make_unique<DragModeMenuItemView>(true, std::nullopt), true},
        {"layout row", std::make_unique<InlineLayoutViewContainer>("Quartet", LayoutType::quartet, std::nullopt), false},
    };
    for (auto& [name, row, changes] : cases) {
        const QImage plain = drawn(*row, false);
        const QImage hovered = drawn(*row, true);
        // A point in the row's margin, away from every drawn part.
        const QPoint margin(2, row->height() / 2);
        EXPECT_EQ(plain.pixelColor(margin) != hovered.pixelColor(margin), changes) << name;
    }
}

TEST_F(MenuRowsTest, ClickAnywhereInTheRowRunsItOnce) {
    DropdownItemViewContainer row("Right", "rectangle.righthalf.filled", std::nullopt, 220, 22);
    int clicks = 0;
    row.setOnClick([&] { ++clicks; });
    QTest::mouseClick(&row, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseClick(&row, Qt::RightButton, {}, QPoint(100, 10));
    EXPECT_EQ(clicks, 1) << "the margin counts, the secondary button does not";

    // Pressed in the row, the pointer taken off it before letting go: a change of mind.
    for (const QPoint outside : {QPoint(100, 30), QPoint(-4, 10), QPoint(230, 10)}) {
        QTest::mousePress(&row, Qt::LeftButton, {}, QPoint(100, 10));
        QTest::mouseRelease(&row, Qt::LeftButton, {}, outside);
    }
    EXPECT_EQ(clicks, 1);
}
