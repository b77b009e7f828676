// The shortcuts page in the tutorial window at its default size: every row shows whole, in every
// interface language, without a scroll bar.
#include "OnboardingViewTestSupport.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/ShortcutsView.h"
#include "onboarding/TutorialStyle.h"

#include <QScrollArea>
#include <QScrollBar>

#include <memory>
#include <string>

using namespace zentaris;

namespace {

struct ShortcutsPageFit : zentaris::testing::TutorialFixture {
    ~ShortcutsPageFit() override { QApplication::setLayoutDirection(Qt::LeftToRight); }

    // The tutorial window on the shortcuts page in `code`, laid out as the shell lays it out on a
    // 1920x1080 screen, in the direction the language is written.
    std::unique_ptr<OnboardingView> showShortcutsPage(const std::string& code) {
        LanguageManager::shared().setLanguage(code);
        QApplication::setLayoutDirection(code == "ar" || code == "he" ? Qt::RightToLeft : Qt::LeftToRight);
        OnboardingState::shared().setCurrentStep(OnboardingStep::shortcuts);
        auto view = std::make_unique<OnboardingView>(OnboardingView::Dependencies{
            OnboardingState::shared(), LanguageManager::shared(), ShortcutSettings::shared(), [] { return 1; }});
        view->resize(view->sizeHint().expandedTo({700, 650}).boundedTo({1920, 1080}));
        view->show();
        settle();
        return view;
    }

    static QScrollArea* pageArea(const OnboardingView& view) { return view.findChild<QScrollArea*>(); }
};

TEST_F(ShortcutsPageFit, EveryRowShowsWholeWithoutScrollBarsInEveryLanguage) {
    for (const char* code : LanguageManager::supportedLanguageCodes) {
        SCOPED_TRACE(code);
        const auto view = showShortcutsPage(code);
        ASSERT_EQ(view->size(), QSize(900, 750));
        auto* page = dynamic_cast<ShortcutsView*>(view->currentPage());
        ASSERT_TRUE(page);
        ASSERT_TRUE(page->showsFilm()) << "the film takes its place beside the rows";
        const QWidget* viewport = pageArea(*view)->viewport();
        EXPECT_FALSE(pageArea(*view)->verticalScrollBar()->isVisible());
        EXPECT_FALSE(pageArea(*view)->horizontalScrollBar()->isVisible());
        // The rows, their badges, the quarters box and its tiles.
        const auto panels = childrenOf<tutorial::RoundedPanel>(*page);
        ASSERT_GE(panels.size(), page->rows().size() + 5);
        for (const auto* panel : panels) {
            const QRect shown(panel->mapTo(viewport, QPoint(0, 0)), panel->size());
            EXPECT_TRUE(viewport->rect().contains(shown)) << "a panel at " << shown.y() << " to " << shown.bottom() << " of "
                                                          << viewport->height();
        }
    }
}

TEST_F(ShortcutsPageFit, AWindowTooShortForThePageScrollsToItsLastRow) {
    const auto view = showShortcutsPage("en");
    view->resize(900, 600);
    settle();
    auto* area = pageArea(*view);
    ASSERT_TRUE(area->verticalScrollBar()->isVisible());
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    settle();
    const auto* last = dynamic_cast<ShortcutsView*>(view->currentPage())->rows().back();
    const QRect shown(last->mapTo(area->viewport(), QPoint(0, 0)), last->size());
    EXPECT_TRUE(area->viewport()->rect().contains(shown)) << shown.bottom() << " of " << area->viewport()->height();
}

} // namespace
