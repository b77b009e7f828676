#include "onboarding/OnboardingNavigationButtons.h"

#include "onboarding/LocalizedTexts.h"
#include "onboarding/TutorialStyle.h"
#include "preferences/TextFormat.h"
#include "views/SymbolImage.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zentaris {

using namespace tutorial;

namespace {

QString rgba(const QColor& color) {
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(color.red()).arg(color.green()).arg(color.blue()).arg(color.alphaF());
}

// A button that is only its label on a tinted rounded rectangle.
QPushButton* plainButton(const QColor& text, const QColor& background, int horizontalPadding, int verticalPadding,
                         QFont::Weight weight) {
    auto* button = new QPushButton;
    button->setFont(bodyFont(weight));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::TabFocus);
    button->setIconSize(QSize(11, 11));
    button->setStyleSheet(QStringLiteral("QPushButton { color: %1; background-color: %2; border: none; border-radius: 8px;"
                                         " padding: %3px %4px; }")
                              .arg(rgba(text), rgba(background))
                              .arg(verticalPadding)
                              .arg(horizontalPadding));
    return button;
}

} // namespace

OnboardingNavigationButtons::OnboardingNavigationButtons(OnboardingState& state, LanguageManager& languageManager,
                                                         std::function<void()> dismiss, std::function<void()> onComplete,
                                                         QWidget* parent)
    : QWidget(parent), state_(state), dismiss_(std::move(dismiss)), onComplete_(std::move(onComplete)),
      texts_(new LocalizedTexts(languageManager, this)) {
    auto* bar = new QVBoxLayout(this);
    bar->setSpacing(8);
    bar->setContentsMargins(40, 20, 40, 20);

    // The counter does not depend on the interface language.
    auto* counterPanel = new RoundedPanel(withOpacity(SystemColors::accent(), 0.15), 6);
    auto* counterLayout = new QHBoxLayout(counterPanel);
    counterLayout->setContentsMargins(14, 6, 14, 6);
    stepCounter_ = makeLabel(textFont(13, QFont::Medium, true), SystemColors::primaryText());
    counterLayout->addWidget(stepCounter_);
    bar->addWidget(counterPanel, 0, Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    skip_ = plainButton(SystemColors::red(), withOpacity(SystemColors::red(), 0.1), 16, 8, QFont::Normal);
    remindLater_ = plainButton(SystemColors::orange(), withOpacity(SystemColors::orange(), 0.1), 16, 8, QFont::Normal);
    back_ = plainButton(SystemColors::primaryText(), withOpacity(SystemColors::separator(), 0.3), 16, 8, QFont::Normal);
    next_ = plainButton(QColor(Qt::white), SystemColors::accent(), 24, 10, QFont::Medium);
    buttons->addWidget(skip_);
    buttons->addWidget(remindLater_);
    buttons->addWidget(back_);
    buttons->addStretch(1);
    buttons->addWidget(next_);
    bar->addLayout(buttons);

    QObject::connect(skip_, &QPushButton::clicked, this, [this] {
        state_.setHasCompletedOnboarding(true);
        dismiss_();
    });
    QObject::connect(remindLater_, &QPushButton::clicked, this, [this] {
        state_.setShouldRemindLater(true);
        dismiss_();
    });
    QObject::connect(back_, &QPushButton::clicked, this, [this] { state_.previousStep(); });
    QObject::connect(next_, &QPushButton::clicked, this, [this] {
        if (isLastStep_) {
            onComplete_();
        } else {
            state_.nextStep();
        }
    });
    texts_->onRelabel([this] { relabel(); });
    showStep(state_.currentStep());
}

void OnboardingNavigationButtons::showStep(OnboardingStep step) {
    const bool isFirstStep = step == OnboardingStep::welcome;
    isLastStep_ = step == OnboardingStep::completion;
    stepCounter_->setText(QString::fromStdString(
        formatText("%lld/%lld", {std::int64_t{rawValue(step) + 1}, std::int64_t{allOnboardingSteps.size()}})));
    skip_->setVisible(isFirstStep);
    remindLater_->setVisible(isFirstStep);
    back_->setVisible(!isFirstStep);
    placeChevrons();
    relabel();
}

void OnboardingNavigationButtons::placeChevrons() {
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    const char* backward = rightToLeft ? "chevron.right" : "chevron.left";
    const char* forward = rightToLeft ? "chevron.left" : "chevron.right";
    back_->setIcon(symbolIcon(backward, SystemColors::primaryText()));
    // A button puts its icon before the text; the opposite direction puts the chevron after it.
    next_->setLayoutDirection(rightToLeft ? Qt::LeftToRight : Qt::RightToLeft);
    next_->setIcon(isLastStep_ ? QIcon() : symbolIcon(forward, QColor(Qt::white)));
}

void OnboardingNavigationButtons::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LayoutDirectionChange) placeChevrons();
    QWidget::changeEvent(event);
}

void OnboardingNavigationButtons::relabel() {
    skip_->setText(texts_->text("onboarding_skip"));
    remindLater_->setText(texts_->text("onboarding_remind_later"));
    back_->setText(texts_->text("onboarding_back"));
    next_->setText(texts_->text(isLastStep_ ? "onboarding_finish" : "onboarding_next"));
}

} // namespace zentaris
