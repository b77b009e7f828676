#pragma once

#include "onboarding/OnboardingState.h"

#include <QVariantAnimation>
#include <QWidget>

namespace zentaris {

// A thin track across the tutorial whose fill grows from nothing on the first page to the
// whole width on the last.
class OnboardingProgressBar : public QWidget {
public:
    explicit OnboardingProgressBar(QWidget* parent = nullptr);

    // Moves the fill to `step`, gliding there when `animated`.
    void showStep(OnboardingStep step, bool animated);
    // The share of the track the fill reaches once any glide is over.
    double targetFraction() const { return target_; }

    QSize sizeHint() const override { return {820, barHeight}; }

    static constexpr int barHeight = 6;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double shown_ = 0;
    double target_ = 0;
    QVariantAnimation glide_;
};

} // namespace zentaris
