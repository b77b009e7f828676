#include "OnboardingViewTestSupport.h"
#include "support/TemporaryDirectory.h"
#include "app/ShortcutNames.h"
#include "onboarding/CompletionView.h"
#include "onboarding/DragModeView.h"
#include "onboarding/LayoutDiagram.h"
#include "onboarding/LineLimitedLabel.h"
#include "onboarding/MenuBarView.h"
#include "onboarding/MultiMonitorView.h"
#include "onboarding/OnboardingVideoPlayer.h"
#include "onboarding/ShortcutsView.h"
#include "onboarding/TutorialStyle.h"
#include "shortcuts/GlobalShortcuts.h"

#include <cstdlib>

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

TEST_F(OnboardingPagesTest, FilmsTheProgramLacksAreLeftOut) {
    EXPECT_EQ(makeTutorialFilm("shortcut_demo_missing", QSize(480, 360), 12), nullptr);
    OnboardingVideoPlayer missing("/nonexistent/film.mp4", 12);
    EXPECT_FALSE(missing.hasPlayer());

    DragModeView dragMode(LanguageManager::shared(), ShortcutSettings::shared());
    ShortcutsView shortcuts(LanguageManager::shared());
    EXPECT_FALSE(dragMode.showsFilm());
    EXPECT_FALSE(shortcuts.showsFilm());
    EXPECT_TRUE(childrenOf<OnboardingVideoPlayer>(dragMode).empty());
    EXPECT_TRUE(childrenOf<OnboardingVideoPlayer>(shortcuts).empty());
}

TEST_F(OnboardingPagesTest, NoPlayerIsMadeWhenNoMediaBackendLoads) {
    // Qt Multimedia would end the process here if a player were made.
    ::zentaris::testing::TemporaryDirectory folder;
    ::zentaris::testing::writeFile(folder / "film.mp4", "not a film");
    qputenv("QT_MEDIA_BACKEND", "no-such-backend");
    EXPECT_FALSE(OnboardingVideoPlayer::canPlayFilms());
    OnboardingVideoPlayer player(folder / "film.mp4", 12);
    qunsetenv("QT_MEDIA_BACKEND");
    EXPECT_FALSE(player.hasPlayer());
}

TEST_F(OnboardingPagesTest, ShortcutCaptionsFollowTheStoredShortcuts) {
    using namespace GlobalShortcuts;
    GlobalShortcuts::setShortcut(Shortcut::initCarbon(Key::leftArrow.rawValue, CarbonModifier::control | CarbonModifier::option),
                                 ShortcutNames::leftColumn());
    GlobalShortcuts::setShortcut(Shortcut::initCarbon(Key::leftArrow.rawValue, CarbonModifier::command | CarbonModifier::shift),
                                 ShortcutNames::moveToPreviousScreen());
    ShortcutsView tour(LanguageManager::shared());
    ASSERT_EQ(tour.rows().size(), 6u);
    EXPECT_EQ(tour.rows()[0]->keys(), "⌃⌥←");
    EXPECT_EQ(tour.rows()[1]->keys(), "⌘⌥ →") << "nothing stored: the standard caption";
    EXPECT_EQ(tour.rows()[4]->keys(), "⌘⌥ F");
    EXPECT_EQ(tour.rows()[5]->keys(), "⌘⌥ C");

    MultiMonitorView screens(LanguageManager::shared(), 1);
    const auto cells = childrenOf<MultiMonitorShortcut>(screens);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0]->keys(), "⇧⌘←");
    EXPECT_EQ(cells[3]->keys(), "⌘⌥⇧ ↑");
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

TEST_F(OnboardingPagesTest, PicturesAreShownWhenTheProgramHasThem) {
    MenuBarView menuBar(LanguageManager::shared());
    MultiMonitorView screens(LanguageManager::shared(), 2);
    EXPECT_TRUE(menuBar.showsPicture());
    EXPECT_TRUE(screens.showsPicture());

    ::zentaris::testing::TemporaryDirectory empty;
    std::filesystem::create_directories(empty / "en.lproj");
    std::filesystem::create_symlink(originalBundle.resourcePath() / "icons", empty / "icons");
    platform::Bundle::setMain(platform::Bundle(empty.path(), std::nullopt));
    MenuBarView bareMenuBar(LanguageManager::shared());
    MultiMonitorView bareScreens(LanguageManager::shared(), 2);
    EXPECT_FALSE(bareMenuBar.showsPicture());
    EXPECT_FALSE(bareScreens.showsPicture());
}

} // namespace
