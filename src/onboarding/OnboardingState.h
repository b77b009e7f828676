#pragma once

#include "platform/MainQueue.h"
#include "platform/UserDefaults.h"
#include "preferences/Observable.h"

#include <array>
#include <optional>

namespace zentaris {

// The tutorial's pages, in order.
enum class OnboardingStep : int {
    welcome = 0,
    introduction = 1,
    menuBar = 2,
    shortcuts = 3,
    dragMode = 4,
    multiMonitor = 5,
    completion = 6,
};

inline constexpr std::array<OnboardingStep, 7> allOnboardingSteps{
    OnboardingStep::welcome,   OnboardingStep::introduction, OnboardingStep::menuBar,    OnboardingStep::shortcuts,
    OnboardingStep::dragMode, OnboardingStep::multiMonitor, OnboardingStep::completion,
};

constexpr int rawValue(OnboardingStep step) { return static_cast<int>(step); }
// The step with this raw value; nothing outside 0 to 6.
std::optional<OnboardingStep> onboardingStepFromRaw(int raw);

// Whole days from `from` to `to` (seconds since 1970) as the calendar of the local time zone
// counts them: a day has passed when the same wall-clock time has been reached again, so a week
// across a daylight-saving change is 7 days. Negative when `to` is earlier; nothing when the
// calendar cannot place either time.
std::optional<long> wholeCalendarDaysBetween(double from, double to);

// Which tutorial page is shown, and whether the tutorial opens by itself at start-up.
class OnboardingState {
public:
    static constexpr const char* hasCompletedOnboardingKey = "hasCompletedOnboarding";
    static constexpr const char* remindLaterDateKey = "onboardingRemindLaterDate";
    static constexpr long remindAfterDays = 7;
    // The views animate a page change with an ease-in-out curve of this length.
    static constexpr double stepAnimationDuration = 0.3;

    // `clock` gives the time stored by Remind later.
    OnboardingState(platform::UserDefaults& defaults, platform::MainQueue& clock);

    // The process-wide state over the standard defaults and main queue.
    static OnboardingState& shared();
    static void resetShared();

    OnboardingStep currentStep() const { return currentStep_.value(); }
    void setCurrentStep(OnboardingStep step);
    bool hasCompletedOnboarding() const { return hasCompletedOnboarding_.value(); }
    // Stores the value, true or false, under "hasCompletedOnboarding".
    void setHasCompletedOnboarding(bool completed);
    bool shouldRemindLater() const { return shouldRemindLater_.value(); }
    // True stores the current time under "onboardingRemindLaterDate"; false stores nothing.
    void setShouldRemindLater(bool remind);

    // The following page; nothing on the last one.
    void nextStep();
    // The preceding page; nothing on the first one.
    void previousStep();

    Published<OnboardingStep>& currentStepPublisher() { return currentStep_; }
    Published<bool>& hasCompletedOnboardingPublisher() { return hasCompletedOnboarding_; }
    Published<bool>& shouldRemindLaterPublisher() { return shouldRemindLater_; }
    // Fires before any published value changes.
    Signal<>& objectWillChange() { return objectWillChange_; }

    // Whether the tutorial is due at start-up, by the standard defaults and the main queue's clock.
    static bool shouldShowOnboarding();
    // Not when completed; always without a usable reminder time; otherwise once 7 or more
    // calendar days have passed since it.
    static bool shouldShowOnboarding(const platform::UserDefaults& defaults, double now);

private:
    platform::UserDefaults& defaults_;
    platform::MainQueue& clock_;
    Signal<> objectWillChange_;
    Published<OnboardingStep> currentStep_{OnboardingStep::welcome};
    Published<bool> hasCompletedOnboarding_{false};
    Published<bool> shouldRemindLater_{false};
};

} // namespace zentaris
