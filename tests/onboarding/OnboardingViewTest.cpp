#include "OnboardingViewTestSupport.h"
#include "support/TemporaryDirectory.h"
#include "onboarding/CompletionView.h"
#include "onboarding/DragModeView.h"
#include "onboarding/FreedHeap.h"
#include "onboarding/IntroductionView.h"
#include "onboarding/MenuBarView.h"
#include "onboarding/MultiMonitorView.h"
#include "onboarding/OnboardingNavigationButtons.h"
#include "onboarding/OnboardingProgressBar.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/ShortcutsView.h"
#include "onboarding/TutorialStyle.h"
#include "onboarding/WelcomeLanguageView.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace zentaris;
using zentaris::testing::TutorialFixture;

namespace {

struct OnboardingViewTest : TutorialFixture {
    std::unique_ptr<OnboardingView> makeView(int displays = 1) {
        auto view = std::make_unique<OnboardingView>(OnboardingView::Dependencies{
            OnboardingState::shared(), LanguageManager::shared(), ShortcutSettings::shared(), [displays] { return displays; }});
        view->resize(900, 750);
        return view;
    }
    static void click(QPushButton* button) {
        ASSERT_TRUE(button->isVisibleTo(button->window())) << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

template <typename Page>
bool shows(const OnboardingView& view) {
    return dynamic_cast<Page*>(view.currentPage()) != nullptr;
}

TEST_F(OnboardingViewTest, NextAndBackWalkThroughTheSevenPages) {
    struct Expected {
        bool (*isPage)(const OnboardingView&);
        const char* counter;
        double fill;
    };
    const Expected pages[] = {
        {shows<WelcomeLanguageView>, "1/7", 0.0},      {shows<IntroductionView>, "2/7", 1 / 6.0},
        {shows<MenuBarView>, "3/7", 2 / 6.0},          {shows<ShortcutsView>, "4/7", 3 / 6.0},
        {shows<DragModeView>, "5/7", 4 / 6.0},         {shows<MultiMonitorView>, "6/7", 5 / 6.0},
        {shows<CompletionView>, "7/7", 1.0},
    };
    auto view = makeView();
    view->show();
    auto* bar = view->navigation();
    for (std::size_t index = 0; index < std::size(pages); ++index) {
        SCOPED_TRACE(index);
        const auto& page = pages[index];
        const bool first = index == 0, last = index + 1 == std::size(pages);
        EXPECT_TRUE(page.isPage(*view));
        EXPECT_EQ(view->shownStep(), OnboardingState::shared().currentStep());
        EXPECT_EQ(bar->stepCounter()->text(), page.counter);
        EXPECT_DOUBLE_EQ(view->progressBar()->targetFraction(), page.fill);
        EXPECT_EQ(bar->skipButton()->isVisibleTo(view.get()), first);
        EXPECT_EQ(bar->remindLaterButton()->isVisibleTo(view.get()), first);
        EXPECT_EQ(bar->backButton()->isVisibleTo(view.get()), !first);
        EXPECT_EQ(bar->nextButton()->text(), last ? "Finish" : "Next");
        EXPECT_EQ(bar->nextButton()->icon().isNull(), last) << "Finish has no chevron";
        settle();
        EXPECT_FALSE(view->findChild<QScrollArea*>()->horizontalScrollBar()->isVisible()) << "the page fits the window's width";
        if (!last) click(bar->nextButton());
    }
    for (int back = 0; back < 6; ++back) click(bar->backButton());
    EXPECT_TRUE(shows<WelcomeLanguageView>(*view));
    EXPECT_FALSE(defaults.object(OnboardingState::hasCompletedOnboardingKey)) << "walking the pages stores nothing";
    EXPECT_TRUE(view->isVisible());
}

TEST_F(OnboardingViewTest, InARightToLeftInterfaceTheBarFillsFromTheRightAndNextPointsLeft) {
    auto view = makeView();
    view->show();
    click(view->navigation()->nextButton());
    click(view->navigation()->nextButton());
    QTest::qWait(600); // the bar glides to a third
    // Whether the accent colour fills the bar at a fraction of its width.
    const auto accentAt = [&](double fraction) {
        auto* bar = view->progressBar();
        const QImage image = bar->grab().toImage();
        const QColor pixel = image.pixelColor(int(image.width() * fraction), image.height() / 2);
        return pixel.blue() > pixel.red() + 60;
    };
    // Next's chevron: its picture and the side of the text it is drawn on.
    auto* next = view->navigation()->nextButton();
    const auto chevron = [&] { return std::pair{next->icon().pixmap(16).toImage(), next->layoutDirection()}; };
    EXPECT_TRUE(accentAt(0.1));
    EXPECT_FALSE(accentAt(0.9));
    const auto leftToRight = chevron();

    QApplication::setLayoutDirection(Qt::RightToLeft);
    settle();
    EXPECT_FALSE(accentAt(0.1));
    EXPECT_TRUE(accentAt(0.9));
    const auto rightToLeft = chevron();
    EXPECT_NE(rightToLeft.first, leftToRight.first) << "the chevron points the other way";
    EXPECT_NE(rightToLeft.second, leftToRight.second) << "the chevron stays after the text";
    QApplication::setLayoutDirection(Qt::LeftToRight);
    settle();
    EXPECT_TRUE(accentAt(0.1));
}

TEST_F(OnboardingViewTest, SkipRemindLaterAndFinishStoreTheirChoiceAndHideTheWindow) {
    struct Case {
        const char* name;
        OnboardingStep from;
        QPushButton* (OnboardingNavigationButtons::*button)() const;
        bool completed;
        bool remindTimeStored;
    };
    const Case cases[] = {
        {"skip", OnboardingStep::welcome, &OnboardingNavigationButtons::skipButton, true, false},
        {"remind later", OnboardingStep::welcome, &OnboardingNavigationButtons::remindLaterButton, false, true},
        {"finish", OnboardingStep::completion, &OnboardingNavigationButtons::nextButton, true, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        for (const auto& key : defaults.allKeys()) defaults.removeObject(key);
        resetShared();
        queue.setWallClock(1'800'000'123.5);
        OnboardingState::shared().setCurrentStep(test.from);
        auto view = makeView();
        view->show();
        click((view->navigation()->*test.button)());
        EXPECT_FALSE(view->isVisible());
        EXPECT_EQ(defaults.boolForKey(OnboardingState::hasCompletedOnboardingKey), test.completed);
        EXPECT_EQ(defaults.doubleValue(OnboardingState::remindLaterDateKey),
                  test.remindTimeStored ? std::optional<double>(1'800'000'123.5) : std::nullopt);
        EXPECT_EQ(OnboardingState::shouldShowOnboarding(defaults, queue.wallNow()), !test.completed && !test.remindTimeStored);

        // The window is hidden, not gone: showing it again continues on the same page.
        view->show();
        EXPECT_EQ(view->shownStep(), test.from);
    }
}

TEST_F(OnboardingViewTest, ClosingTheWindowStoresNothingAndLeavingTheLastPageDoesNotComplete) {
    OnboardingState::shared().setCurrentStep(OnboardingStep::completion);
    auto view = makeView();
    view->show();
    click(view->navigation()->backButton());
    EXPECT_TRUE(shows<MultiMonitorView>(*view));
    view->close();
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(defaults.object(OnboardingState::hasCompletedOnboardingKey));
    EXPECT_FALSE(defaults.object(OnboardingState::remindLaterDateKey));
}

// The tray program lives all session; the closed tutorial must not keep its pages and heap.
TEST_F(OnboardingViewTest, HoweverTheWindowClosesItLetsGoOfItsPageAndHandsTheFreedHeapBack) {
    struct Case {
        const char* name;
        OnboardingStep from;
        std::function<void(OnboardingView&)> close;
    };
    const auto clicking = [](QPushButton* (OnboardingNavigationButtons::*button)() const) {
        return [button](OnboardingView& view) { click((view.navigation()->*button)()); };
    };
    const Case cases[] = {
        {"skip", OnboardingStep::welcome, clicking(&OnboardingNavigationButtons::skipButton)},
        {"remind later", OnboardingStep::welcome, clicking(&OnboardingNavigationButtons::remindLaterButton)},
        {"finish", OnboardingStep::completion, clicking(&OnboardingNavigationButtons::nextButton)},
        // As the window manager's close button asks.
        {"close button", OnboardingStep::menuBar, [](OnboardingView& view) { view.windowHandle()->close(); }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        OnboardingState::shared().setCurrentStep(test.from);
        auto view = makeView();
        view->show();
        settle();
        const int before = tutorial::freedHeapGivenBackCount();
        test.close(*view);
        ASSERT_FALSE(view->isVisible());
        settle();
        EXPECT_EQ(tutorial::freedHeapGivenBackCount(), before + 1);
        EXPECT_EQ(view->currentPage(), nullptr) << "the closed window keeps its page";

        view->show();
        ASSERT_NE(view->currentPage(), nullptr);
        EXPECT_EQ(view->shownStep(), test.from);
        EXPECT_EQ(view->navigation()->stepCounter()->text(), QString::number(rawValue(test.from) + 1) + "/7");
    }

    // Turning the page and minimising keep the window as it is.
    OnboardingState::shared().setCurrentStep(OnboardingStep::welcome);
    auto view = makeView();
    view->show();
    settle();
    const int before = tutorial::freedHeapGivenBackCount();
    click(view->navigation()->nextButton());
    view->showMinimized();
    settle();
    EXPECT_EQ(tutorial::freedHeapGivenBackCount(), before);
    EXPECT_TRUE(shows<IntroductionView>(*view));
}

TEST_F(OnboardingViewTest, TheMenusRequestStartsAgainOnTheFirstPage) {
    auto view = makeView();
    OnboardingState::shared().setCurrentStep(OnboardingStep::dragMode);
    EXPECT_TRUE(shows<DragModeView>(*view));
    OnboardingState::shared().setCurrentStep(OnboardingStep::welcome);
    EXPECT_TRUE(shows<WelcomeLanguageView>(*view));
    EXPECT_EQ(view->navigation()->stepCounter()->text(), "1/7");
}

TEST_F(OnboardingViewTest, TheMultiMonitorPageCountsTheDisplaysWhenItIsMade) {
    int displays = 1;
    auto view = std::make_unique<OnboardingView>(OnboardingView::Dependencies{
        OnboardingState::shared(), LanguageManager::shared(), ShortcutSettings::shared(), [&displays] { return displays; }});
    OnboardingState::shared().setCurrentStep(OnboardingStep::multiMonitor);
    auto* page = dynamic_cast<MultiMonitorView*>(view->currentPage());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->statusSymbol()->symbolName(), "info.circle.fill");

    displays = 3;
    EXPECT_EQ(page->statusSymbol()->symbolName(), "info.circle.fill") << "not refreshed while shown";
    OnboardingState::shared().nextStep();
    OnboardingState::shared().previousStep();
    page = dynamic_cast<MultiMonitorView*>(view->currentPage());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->statusSymbol()->symbolName(), "checkmark.circle.fill");
    EXPECT_EQ(page->statusText(), "3 displays detected: you are ready to go.");
}

// A bundle whose English and German folders hold a few texts of the tutorial.
struct LanguageSwitchTest : OnboardingViewTest {
    ::zentaris::testing::TemporaryDirectory bundle;

    LanguageSwitchTest() {
        std::filesystem::create_directories(bundle / "en.lproj");
        std::filesystem::create_directories(bundle / "de.lproj");
        std::filesystem::create_symlink(originalBundle.resourcePath() / "icons", bundle / "icons");
        ::zentaris::testing::writeFile(bundle / "en.lproj" / "messages.txt",
                                       "onboarding_skip = Skip\nonboarding_welcome_title = Welcome\n"
                                       "drag_mode_modifier_shift = Shift key\n");
        ::zentaris::testing::writeFile(bundle / "de.lproj" / "messages.txt",
                                       "onboarding_skip = Überspringen\nonboarding_welcome_title = Willkommen\n"
                                       "drag_mode_modifier_shift = Umschalttaste\n");
        platform::Bundle::setMain(platform::Bundle(bundle.path(), std::nullopt));
        defaults.set(LanguageManager::selectedLanguageKey, std::string("en"));
        resetShared();
    }
};

TEST_F(LanguageSwitchTest, ChoosingALanguageOnTheFirstPageRelabelsEveryPageAtOnce) {
    auto view = makeView();
    auto* welcome = dynamic_cast<WelcomeLanguageView*>(view->currentPage());
    ASSERT_TRUE(welcome);
    auto* picker = welcome->languagePicker();
    ASSERT_EQ(picker->count(), 17);
    EXPECT_EQ(picker->currentData().toString(), "en");
    EXPECT_TRUE(picker->itemText(1).endsWith(" Deutsch"));
    EXPECT_EQ(view->navigation()->skipButton()->text(), "Skip");
    EXPECT_TRUE(showsLabel(*view, "Welcome"));

    picker->setCurrentIndex(1);
    emit picker->activated(1);
    settle();

    EXPECT_EQ(LanguageManager::shared().currentLanguage(), "de");
    EXPECT_EQ(defaults.stringValue(LanguageManager::selectedLanguageKey), "de");
    EXPECT_EQ(view->shownStep(), OnboardingStep::welcome) << "the page stays";
    EXPECT_EQ(view->navigation()->skipButton()->text(), QString::fromUtf8("Überspringen"));
    EXPECT_EQ(view->navigation()->remindLaterButton()->text(), "onboarding_remind_later") << "no text: the key";
    EXPECT_TRUE(showsLabel(*view, "Willkommen"));
    EXPECT_EQ(view->navigation()->stepCounter()->text(), "1/7");

    // A later page opens in the new language, and follows a change made elsewhere.
    OnboardingState::shared().setCurrentStep(OnboardingStep::dragMode);
    auto* dragMode = dynamic_cast<DragModeView*>(view->currentPage());
    ASSERT_TRUE(dragMode);
    EXPECT_EQ(dragMode->modifierPicker()->itemText(2), "Umschalttaste");
    LanguageManager::shared().setLanguage("en");
    settle();
    EXPECT_EQ(dragMode->modifierPicker()->itemText(2), "Shift key");
}

TEST_F(LanguageSwitchTest, ALanguageOutsideTheTableShowsNoEntryAsChosen) {
    LanguageManager::shared().setLanguage("fi");
    WelcomeLanguageView page(LanguageManager::shared());
    EXPECT_EQ(page.languagePicker()->currentIndex(), -1);
    EXPECT_EQ(page.languagePicker()->count(), 17);
}

} // namespace
