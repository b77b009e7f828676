#include "onboarding/OnboardingView.h"

#include "onboarding/CompletionView.h"
#include "onboarding/DragModeView.h"
#include "onboarding/FreedHeap.h"
#include "onboarding/IntroductionView.h"
#include "onboarding/MenuBarView.h"
#include "onboarding/MultiMonitorView.h"
#include "onboarding/OnboardingNavigationButtons.h"
#include "onboarding/OnboardingProgressBar.h"
#include "onboarding/ShortcutsView.h"
#include "onboarding/TutorialStyle.h"
#include "onboarding/WelcomeLanguageView.h"

#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QLabel>
#include <QPropertyAnimation>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace zentaris {

using namespace tutorial;

namespace {

constexpr int fadeMilliseconds = static_cast<int>(OnboardingState::stepAnimationDuration * 1000);

// Fades `widget` between two opacities; the effect goes once the fade is over, since a
// video does not draw through it.
void fade(QWidget* widget, double from, double to, std::function<void()> done = {}) {
    auto* effect = new QGraphicsOpacityEffect(widget);
    effect->setOpacity(from);
    widget->setGraphicsEffect(effect);
    auto* animation = new QPropertyAnimation(effect, "opacity", widget);
    animation->setDuration(fadeMilliseconds);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setStartValue(from);
    animation->setEndValue(to);
    QObject::connect(animation, &QPropertyAnimation::finished, widget, [widget, done = std::move(done)] {
        widget->setGraphicsEffect(nullptr);
        if (done) done();
    });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace

OnboardingView::OnboardingView(QWidget* parent)
    : OnboardingView(Dependencies{OnboardingState::shared(), LanguageManager::shared(), ShortcutSettings::shared(),
                                  [] { return static_cast<int>(QGuiApplication::screens().size()); }},
                     parent) {}

OnboardingView::OnboardingView(Dependencies dependencies, QWidget* parent) : QWidget(parent), deps_(std::move(dependencies)) {
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, SystemColors::windowBackground());
    setPalette(background);

    auto* root = new QVBoxLayout(this);
    root->setSpacing(0);
    root->setContentsMargins(0, 0, 0, 0);

    auto* progressArea = new QVBoxLayout;
    progressArea->setContentsMargins(40, 20, 40, 10);
    progressBar_ = new OnboardingProgressBar;
    progressArea->addWidget(progressBar_);
    root->addLayout(progressArea);

    pageArea_ = new QScrollArea;
    pageArea_->setWidgetResizable(true);
    pageArea_->setFrameShape(QFrame::NoFrame);
    pageArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    pageArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    root->addWidget(pageArea_, 1);

    navigation_ = new OnboardingNavigationButtons(
        deps_.state, deps_.languageManager, [this] { dismiss(); }, [this] { completeOnboarding(); });
    root->addWidget(navigation_);

    showStep(deps_.state.currentStep(), false);
    stepChanges_ = deps_.state.currentStepPublisher().subscribe(
        [this](const OnboardingStep& step) { showStep(step, isVisible()); }, false);
}

void OnboardingView::completeOnboarding() {
    deps_.state.setHasCompletedOnboarding(true);
    dismiss();
}

void OnboardingView::dismiss() { window()->close(); }

void OnboardingView::showEvent(QShowEvent* event) {
    if (!page_) showStep(deps_.state.currentStep(), false);
    QWidget::showEvent(event);
}

void OnboardingView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Once closed (a minimised window counts as visible), by a button or the window manager, the
    // tutorial lets go of what it held, since the tray program runs on for the whole session: its
    // page (whose pictures are drawn large to stay sharp), the native window with its backing
    // store, and then the heap all that freed. Showing the window again makes them anew.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) return;
        delete pageArea_->takeWidget();
        if (isWindow()) destroy();
        giveFreedHeapBack();
    });
}

void OnboardingView::showStep(OnboardingStep step, bool animated) {
    // A step set again (the menu's request for the first page) keeps the page on show.
    if (page_ && step == shownStep_) return;
    if (page_ && animated) fadeOutSnapshot(pageArea_->viewport()->grab());
    shownStep_ = step;
    // The old page goes now: its film stops with it.
    delete pageArea_->takeWidget();
    page_ = makePage(step);
    pageArea_->setWidget(page_);
    pageArea_->verticalScrollBar()->setValue(0);
    if (animated) fade(page_, 0.0, 1.0);
    progressBar_->showStep(step, animated);
    navigation_->showStep(step);
}

void OnboardingView::fadeOutSnapshot(const QPixmap& snapshot) {
    auto* cover = new QLabel(pageArea_);
    cover->setPixmap(snapshot);
    cover->setGeometry(pageArea_->viewport()->geometry());
    cover->setAttribute(Qt::WA_TransparentForMouseEvents);
    cover->show();
    cover->raise();
    fade(cover, 1.0, 0.0, [cover] { cover->deleteLater(); });
}

QWidget* OnboardingView::makePage(OnboardingStep step) {
    auto& language = deps_.languageManager;
    QWidget* page = nullptr;
    switch (step) {
    case OnboardingStep::welcome: page = new WelcomeLanguageView(language); break;
    case OnboardingStep::introduction: page = new IntroductionView(language); break;
    case OnboardingStep::menuBar: page = new MenuBarView(language); break;
    case OnboardingStep::shortcuts: page = new ShortcutsView(language); break;
    case OnboardingStep::dragMode: page = new DragModeView(language, deps_.shortcutSettings); break;
    case OnboardingStep::multiMonitor:
        page = new MultiMonitorView(language, deps_.countDisplays ? deps_.countDisplays() : 1);
        break;
    case OnboardingStep::completion: page = new CompletionView(language); break;
    }
    page->setAutoFillBackground(true);
    page->setPalette(palette());
    return page;
}

} // namespace zentaris
