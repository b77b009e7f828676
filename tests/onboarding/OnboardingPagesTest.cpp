#include "OnboardingViewTestSupport.h"
#include "support/TemporaryDirectory.h"
#include "app/ShortcutNames.h"
#include "onboarding/CompletionView.h"
#include "onboarding/IntroductionView.h"
#include "onboarding/DragModeView.h"
#include "onboarding/LayoutDiagram.h"
#include "onboarding/LineLimitedLabel.h"
#include "onboarding/MenuBarView.h"
#include "onboarding/MultiMonitorView.h"
#include "onboarding/OnboardingVideoPlayer.h"
#include "onboarding/ShortcutsView.h"
#include "onboarding/TutorialResources.h"
#include "onboarding/TutorialStyle.h"
#include "onboarding/WelcomeLanguageView.h"
#include "shortcuts/GlobalShortcuts.h"

#include <QFontInfo>
#include <QImageReader>
#include <QLayout>

#include <ostream>

using namespace zentaris;
using zentaris::testing::TutorialFixture;

namespace {

using OnboardingPagesTest = TutorialFixture;

TEST_F(OnboardingPagesTest, LayoutDiagramPlacesItsCellsWithOnePointMargins) {
    using SystemColors::blue;
    using SystemColors::green;
    struct Case {
        int columns, rows;
        std::vector<QColor> colors;
        std::vector<QRectF> cells;
        std::vector<QColor> cellColors;
    };
    const Case cases[] = {
        {2, 1, {blue(), green()}, {{1, 1, 33, 38}, {36, 1, 33, 38}}, {blue(), green()}},
        {2, 2, {blue(), green()}, {{1, 1, 33, 18}, {36, 1, 33, 18}, {1, 21, 33, 18}, {36, 21, 33, 18}},
         {blue(), green(), green(), green()}},
        {0, 2, {blue()}, {}, {}},
        {2, 1, {}, {}, {}},
    };
    for (const auto& test : cases) {
        LayoutDiagram diagram(test.columns, test.rows, test.colors);
        const auto cells = diagram.cellRects(QSizeF(70, 40));
        ASSERT_EQ(cells.size(), test.cells.size());
        for (std::size_t index = 0; index < cells.size(); ++index) {
            EXPECT_EQ(cells[index], test.cells[index]) << index;
            EXPECT_EQ(diagram.cellColor(index), test.cellColors[index]) << index;
        }
        diagram.resize(70, 40);
        EXPECT_FALSE(diagram.grab().isNull()) << "draws without failing";
    }
    const auto thirds = LayoutDiagram(3, 1, {blue()}).cellRects(QSizeF(70, 40));
    ASSERT_EQ(thirds.size(), 3u);
    EXPECT_NEAR(thirds[1].width(), 70.0 / 3 - 2, 1e-9);
    EXPECT_NEAR(thirds[1].center().x(), 35.0, 1e-9);
}

TEST_F(OnboardingPagesTest, DragModePickerShowsAndStoresTheModifier) {
    defaults.set(ShortcutSettings::dragModeModifierKey, std::string("shift"));
    resetShared();
    auto& settings = ShortcutSettings::shared();
    DragModeView page(LanguageManager::shared(), settings);
    auto* picker = page.modifierPicker();
    ASSERT_EQ(picker->count(), 3);
    EXPECT_EQ(picker->currentIndex(), 2) << "the stored modifier";
    EXPECT_EQ(picker->itemText(0), "No Key (Always On)");
    EXPECT_FALSE(picker->itemIcon(0).isNull());

    picker->setCurrentIndex(0);
    emit picker->activated(0);
    EXPECT_EQ(settings.dragModeModifier(), DragModeModifier::none);
    EXPECT_EQ(defaults.stringValue(ShortcutSettings::dragModeModifierKey), "none");

    settings.setDragModeModifier(DragModeModifier::command);
    EXPECT_EQ(picker->currentIndex(), 1) << "follows a change made elsewhere";

    EXPECT_EQ(DragModeView::modifierSymbol(DragModeModifier::none), "circle.dashed");
    EXPECT_EQ(DragModeView::modifierSymbol(DragModeModifier::command), "command");
    EXPECT_EQ(DragModeView::modifierSymbol(DragModeModifier::shift), "shift");
}

TEST_F(OnboardingPagesTest, ALegacyStoredModifierShowsAsCommand) {
    defaults.set(ShortcutSettings::dragModeModifierKey, std::string("option"));
    resetShared();
    DragModeView page(LanguageManager::shared(), ShortcutSettings::shared());
    EXPECT_EQ(page.modifierPicker()->currentIndex(), 1);
}

TEST_F(OnboardingPagesTest, KeyCaptionsAreFixedMonospacedTextsWhateverTheUserRecorded) {
    using namespace GlobalShortcuts;
    GlobalShortcuts::setShortcut(Shortcut::initCarbon(Key::leftArrow.rawValue, CarbonModifier::control | CarbonModifier::option),
                                 ShortcutNames::leftColumn());
    GlobalShortcuts::setShortcut(Shortcut::initCarbon(Key::c.rawValue, CarbonModifier::control | CarbonModifier::shift),
                                 ShortcutNames::centerColumn());
    GlobalShortcuts::setShortcut(Shortcut::initCarbon(Key::leftArrow.rawValue, CarbonModifier::command | CarbonModifier::shift),
                                 ShortcutNames::moveToPreviousScreen());
    ShortcutsView tour(LanguageManager::shared());
    std::vector<std::string> tourCaptions;
    for (const auto* row : tour.rows()) {
        tourCaptions.push_back(row->keys().toStdString());
        EXPECT_TRUE(QFontInfo(row->keysLabel()->font()).fixedPitch()) << tourCaptions.back();
    }
    EXPECT_EQ(tourCaptions, (std::vector<std::string>{"⌘⌥ ←", "⌘⌥ →", "⌘⌥ ↑", "⌘⌥ ↓", "⌘⌥ F", "⌘⌥ C"}));

    MultiMonitorView screens(LanguageManager::shared(), 1);
    std::vector<std::string> screenCaptions;
    for (const auto* cell : childrenOf<MultiMonitorShortcut>(screens)) {
        screenCaptions.push_back(cell->keys().toStdString());
        EXPECT_TRUE(QFontInfo(cell->keysLabel()->font()).fixedPitch()) << screenCaptions.back();
    }
    EXPECT_EQ(screenCaptions, (std::vector<std::string>{"⌘⌥⇧ ←", "⌘⌥⇧ →", "⌘⌥⇧ ↓", "⌘⌥⇧ ↑"}));
}

// The symbol and its colour of each item, in the order shown, with the item's text.
struct Item {
    std::string symbol;
    QColor color;
    QString text;
    bool operator==(const Item&) const = default;
};

template <typename Card>
std::vector<Item> itemsOf(const QWidget& page, QString (*textOf)(const Card&)) {
    std::vector<Item> items;
    for (const auto* card : TutorialFixture::childrenOf<Card>(page)) {
        const auto symbols = TutorialFixture::childrenOf<tutorial::SymbolLabel>(*card);
        if (symbols.size() != 1) return {};
        items.push_back({symbols.front()->symbolName(), symbols.front()->color(), textOf(*card)});
    }
    return items;
}

std::ostream& operator<<(std::ostream& out, const Item& item) {
    return out << item.symbol << " " << item.color.name().toStdString() << " " << item.text.toStdString();
}

TEST_F(OnboardingPagesTest, IntroductionCardsAndCompletionBadgesComeInTheirOrderSymbolsAndColours) {
    using namespace SystemColors;
    IntroductionView introduction(LanguageManager::shared());
    const std::vector<Item> ways{{"menubar.rectangle", blue(), "Status Menu"},
                                 {"keyboard", purple(), "Keyboard Shortcuts"},
                                 {"hand.draw.fill", green(), "Drag to Snap"}};
    EXPECT_EQ(itemsOf<ControlMethodCard>(introduction, [](const ControlMethodCard& card) { return card.title(); }), ways);

    CompletionView completion(LanguageManager::shared());
    auto expected = ways;
    expected.push_back({"rectangle.split.2x1", orange(), "Several Windows at Once"});
    expected.push_back({"display.2", cyan(), "Several Screens"});
    expected.push_back({"gearshape.fill", gray(), "Your Own Settings"});
    EXPECT_EQ(itemsOf<FeatureSummaryBadge>(completion, [](const FeatureSummaryBadge& badge) { return badge.label()->text(); }),
              expected);
}

TEST_F(OnboardingPagesTest, MenuBarExamplesShowTwoThreeAndFourWindowGrids) {
    using namespace SystemColors;
    MenuBarView page(LanguageManager::shared());
    struct Example {
        std::size_t cells;
        std::vector<QColor> colors;
        QString title;
    };
    const Example examples[] = {
        {2, {blue(), green()}, "Two Windows"},
        {3, {orange(), blue(), orange()}, "Three Windows"},
        {4, {red(), green(), blue(), purple()}, "Four Windows"},
    };
    const auto diagrams = childrenOf<LayoutDiagram>(page);
    ASSERT_EQ(diagrams.size(), std::size(examples));
    for (std::size_t index = 0; index < diagrams.size(); ++index) {
        SCOPED_TRACE(index);
        const auto* diagram = diagrams[index];
        EXPECT_EQ(diagram->size(), QSize(70, 40));
        const auto cells = diagram->cellRects(QSizeF(70, 40));
        EXPECT_EQ(cells.size(), examples[index].cells);
        std::vector<QColor> colors;
        for (std::size_t cell = 0; cell < cells.size(); ++cell) colors.push_back(diagram->cellColor(cell));
        EXPECT_EQ(colors, examples[index].colors);
        EXPECT_TRUE(showsLabel(*diagram->parentWidget(), examples[index].title));
    }
}

TEST_F(OnboardingPagesTest, MultiMonitorStatusTellsWhetherSeveralDisplaysAreAttached) {
    struct Case {
        int displays;
        const char* symbol;
        bool green;
        const char* text;
    };
    const Case cases[] = {
        {0, "info.circle.fill", false, "Connect another display to use these shortcuts."},
        {1, "info.circle.fill", false, "Connect another display to use these shortcuts."},
        {2, "checkmark.circle.fill", true, "2 displays detected: you are ready to go."},
        {3, "checkmark.circle.fill", true, "3 displays detected: you are ready to go."},
    };
    for (const auto& test : cases) {
        MultiMonitorView page(LanguageManager::shared(), test.displays);
        EXPECT_EQ(page.statusSymbol()->symbolName(), test.symbol);
        EXPECT_EQ(page.statusSymbol()->color(), test.green ? SystemColors::green() : SystemColors::orange());
        EXPECT_EQ(page.statusText(), test.text);
    }
}

TEST_F(OnboardingPagesTest, LongLabelsStopAfterTheirLastLine) {
    tutorial::LineLimitedLabel label(2, Qt::AlignCenter);
    label.setFont(tutorial::textFont(14, QFont::Medium));
    label.setText(QStringLiteral("A rather long badge label that certainly needs more than two lines at this width"));
    const auto lines = label.shownLines(120);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith(QChar(0x2026)));
    EXPECT_EQ(label.heightForWidth(120), 2 * label.fontMetrics().lineSpacing());
    EXPECT_EQ(label.shownLines(2000).size(), 1);

    CompletionView completion(LanguageManager::shared());
    const auto badges = childrenOf<FeatureSummaryBadge>(completion);
    ASSERT_EQ(badges.size(), 6u);
    for (const auto* badge : badges) EXPECT_EQ(badge->label()->size(), QSize(120, 36));
}

TEST_F(OnboardingPagesTest, PicturesAndFilmsAreShownWhenTheProgramHasThemAndLeftOutOtherwise) {
    struct Pages {
        MenuBarView menuBar{LanguageManager::shared()};
        MultiMonitorView screens{LanguageManager::shared(), 2};
        ShortcutsView shortcuts{LanguageManager::shared()};
        DragModeView dragMode{LanguageManager::shared(), ShortcutSettings::shared()};
        std::vector<bool> shown() const {
            return {menuBar.showsPicture(), screens.showsPicture(), shortcuts.showsFilm(), dragMode.showsFilm(),
                    !childrenOf<OnboardingVideoPlayer>(shortcuts).empty(), !childrenOf<OnboardingVideoPlayer>(dragMode).empty()};
        }
    };
    {
        Pages pages;
        EXPECT_EQ(pages.shown(), std::vector<bool>(6, true));
        const auto menuPicture = childrenOf<tutorial::RoundedPicture>(pages.menuBar);
        const auto screensPicture = childrenOf<tutorial::RoundedPicture>(pages.screens);
        ASSERT_EQ(menuPicture.size(), 1u);
        ASSERT_EQ(screensPicture.size(), 1u);
        EXPECT_EQ(menuPicture.front()->width(), 500);
        EXPECT_EQ(screensPicture.front()->width(), 620);
    }

    ::zentaris::testing::TemporaryDirectory empty;
    std::filesystem::create_directories(empty / "en.lproj");
    std::filesystem::create_symlink(originalBundle.resourcePath() / "icons", empty / "icons");
    platform::Bundle::setMain(platform::Bundle(empty.path(), std::nullopt));
    EXPECT_EQ(Pages().shown(), std::vector<bool>(6, false));
}

// The box of what `picture` draws with some opacity (its shadow stays faint) when `page` is
// painted, in the picture's coordinates.
QRect drawnBox(QWidget& page, const QWidget& picture) {
    const QImage image =
        zentaris::testing::painted(page).copy(QRect(picture.mapTo(&page, QPoint(0, 0)), picture.size()));
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 128) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// Checks that `picture` draws the image `name` in the image's own proportions, give or take a pixel.
void expectOwnProportions(QWidget& page, const QWidget& picture, const std::string& name) {
    const QSize image = QImageReader(QString::fromStdString(tutorial::picturePath(name)->string())).size();
    const QRect drawn = drawnBox(page, picture);
    ASSERT_FALSE(drawn.isEmpty()) << name;
    EXPECT_NEAR(drawn.width(), drawn.height() * image.width() / double(image.height()), 1.5)
        << name << " drawn at " << drawn.width() << " by " << drawn.height();
}

TEST_F(OnboardingPagesTest, PicturesKeepTheirProportionsOnTheLaidOutPagesAndInAFrameOfOtherProportions) {
    WelcomeLanguageView welcome(LanguageManager::shared());
    MenuBarView menuBar(LanguageManager::shared());
    MultiMonitorView screens(LanguageManager::shared(), 2);
    const std::pair<QWidget*, const char*> pages[] = {
        {&welcome, "AppIcon"}, {&menuBar, "menubar_demo"}, {&screens, "multi_monitor_demo"}};
    for (const auto& [page, name] : pages) {
        page->resize(900, 620);
        page->show();
        page->layout()->activate();
        const auto pictures = childrenOf<tutorial::RoundedPicture>(*page);
        ASSERT_EQ(pictures.size(), 1u) << name;
        expectOwnProportions(*page, *pictures.front(), name);
    }
    // As the welcome page's fixed square would hold a picture that is not square.
    tutorial::RoundedPicture squeezed(*tutorial::picturePath("menubar_demo"), 12);
    squeezed.setFixedSize(300, 300);
    expectOwnProportions(squeezed, squeezed, "menubar_demo");
}

} // namespace
