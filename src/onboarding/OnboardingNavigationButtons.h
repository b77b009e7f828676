#pragma once

#include "onboarding/OnboardingState.h"
#include "preferences/LanguageManager.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace zentaris {

namespace tutorial {
class LocalizedTexts;
}

// The tutorial's bottom bar: the step counter, then Skip and Remind later on the first page or
// Back on the others, and Next, or Finish on the last page.
class OnboardingNavigationButtons : public QWidget {
public:
    OnboardingNavigationButtons(OnboardingState& state, LanguageManager& languageManager, std::function<void()> dismiss,
                                std::function<void()> onComplete, QWidget* parent = nullptr);

    // Shows the buttons of `step`.
    void showStep(OnboardingStep step);

    QLabel* stepCounter() const { return stepCounter_; }
    QPushButton* skipButton() const { return skip_; }
    QPushButton* remindLaterButton() const { return remindLater_; }
    QPushButton* backButton() const { return back_; }
    // Next, or Finish on the last page.
    QPushButton* nextButton() const { return next_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void relabel();
    // The chevrons point the way the pages go: Next's after its text, towards the trailing edge.
    void placeChevrons();

    OnboardingState& state_;
    std::function<void()> dismiss_;
    std::function<void()> onComplete_;
    tutorial::LocalizedTexts* texts_;
    QLabel* stepCounter_;
    QPushButton* skip_;
    QPushButton* remindLater_;
    QPushButton* back_;
    QPushButton* next_;
    bool isLastStep_ = false;
};

} // namespace zentaris
