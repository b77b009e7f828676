#include "onboarding/OnboardingProgressBar.h"

#include "onboarding/TutorialStyle.h"

#include <QPainter>
#include <QPainterPath>

namespace zentaris {

using namespace tutorial;

OnboardingProgressBar::OnboardingProgressBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    glide_.setDuration(static_cast<int>(OnboardingState::stepAnimationDuration * 1000));
    glide_.setEasingCurve(QEasingCurve::InOutQuad);
    QObject::connect(&glide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        shown_ = value.toDouble();
        update();
    });
}

void OnboardingProgressBar::showStep(OnboardingStep step, bool animated) {
    target_ = static_cast<double>(rawValue(step)) / rawValue(OnboardingStep::completion);
    glide_.stop();
    if (!animated) {
        shown_ = target_;
        update();
        return;
    }
    glide_.setStartValue(shown_);
    glide_.setEndValue(target_);
    glide_.start();
}

void OnboardingProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath track;
    track.addRoundedRect(QRectF(rect()), 3, 3);
    painter.setClipPath(track);
    painter.fillRect(rect(), withOpacity(SystemColors::separator(), 0.3));
    // The bar fills from the leading edge: from the right in a right-to-left interface.
    const double filled = width() * shown_;
    const double start = layoutDirection() == Qt::RightToLeft ? width() - filled : 0.0;
    painter.fillRect(QRectF(start, 0, filled, barHeight), SystemColors::accent());
}

} // namespace zentaris
