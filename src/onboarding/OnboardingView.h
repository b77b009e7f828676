#pragma once

#include "onboarding/OnboardingState.h"
#include "platform/ObservationToken.h"
#include "preferences/LanguageManager.h"
#include "preferences/ShortcutSettings.h"

#include <QPointer>
#include <QScrollArea>
#include <QWidget>

#include <functional>

namespace zentaris {

class OnboardingNavigationButtons;
class OnboardingProgressBar;

// The tutorial: a progress bar, the page of the current step in a scrolling area, and the
// navigation bar. Every page change goes through the shared tutorial state.
class OnboardingView : public QWidget {
public:
    struct Dependencies {
        OnboardingState& state;
        LanguageManager& languageManager;
        ShortcutSettings& shortcutSettings;
        // The number of displays attached now; the multi-monitor page asks each time it is made.
        std::function<int()> countDisplays;
    };

    // Over the shared state, language manager and settings.
    explicit OnboardingView(QWidget* parent = nullptr);
    explicit OnboardingView(Dependencies dependencies, QWidget* parent = nullptr);

    // The page on show and the step it belongs to. A closed window lets go of its page and makes
    // it anew when shown again.
    QWidget* currentPage() const { return page_; }
    OnboardingStep shownStep() const { return shownStep_; }
    OnboardingProgressBar* progressBar() const { return progressBar_; }
    OnboardingNavigationButtons* navigation() const { return navigation_; }

    // Finish: marks the tutorial completed and closes its window.
    void completeOnboarding();

    QSize sizeHint() const override { return {900, 750}; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showStep(OnboardingStep step, bool animated);
    QWidget* makePage(OnboardingStep step);
    void fadeOutSnapshot(const QPixmap& snapshot);
    void dismiss();

    Dependencies deps_;
    OnboardingProgressBar* progressBar_;
    QScrollArea* pageArea_;
    OnboardingNavigationButtons* navigation_;
    QPointer<QWidget> page_;
    OnboardingStep shownStep_ = OnboardingStep::welcome;
    platform::ObservationToken stepChanges_;
};

} // namespace zentaris
