#include "onboarding/OnboardingState.h"

#include <cmath>
#include <ctime>
#include <memory>

namespace zentaris {

namespace {

std::unique_ptr<OnboardingState>& sharedInstance() {
    static std::unique_ptr<OnboardingState> instance;
    return instance;
}

// Not before 1970 and before year 10000: anything else was not written by this program.
bool isSaneTimestamp(double seconds) { return std::isfinite(seconds) && seconds >= 0 && seconds < 253402300800.0; }

// `days` calendar days after `start`, at the same local wall-clock time.
std::optional<double> addCalendarDays(const std::tm& start, double fraction, long days) {
    std::tm shifted = start;
    shifted.tm_mday += static_cast<int>(days);
    shifted.tm_isdst = -1; // the offset of the target day, not of the start
    const std::time_t result = std::mktime(&shifted);
    if (result == static_cast<std::time_t>(-1)) return std::nullopt;
    return static_cast<double>(result) + fraction;
}

std::optional<long> forwardCalendarDays(double from, double to) {
    const double whole = std::floor(from);
    const auto startTime = static_cast<std::time_t>(whole);
    std::tm start{};
    if (!localtime_r(&startTime, &start)) return std::nullopt;
    const double fraction = from - whole;

    // Start from the 24-hour estimate; daylight-saving shifts move it by at most one day.
    long days = static_cast<long>(std::floor((to - from) / 86400.0));
    for (int guard = 0; guard < 4; ++guard) {
        auto reached = addCalendarDays(start, fraction, days);
        if (!reached) return std::nullopt;
        if (*reached > to && days > 0) {
            --days;
            continue;
        }
        auto next = addCalendarDays(start, fraction, days + 1);
        if (!next) return std::nullopt;
        if (*next <= to) {
            ++days;
            continue;
        }
        return days;
    }
    return days;
}

} // namespace

std::optional<OnboardingStep> onboardingStepFromRaw(int raw) {
    for (auto step : allOnboardingSteps) {
        if (rawValue(step) == raw) return step;
    }
    return std::nullopt;
}

std::optional<long> wholeCalendarDaysBetween(double from, double to) {
    if (!std::isfinite(from) || !std::isfinite(to)) return std::nullopt;
    if (to < from) {
        auto backwards = forwardCalendarDays(to, from);
        if (!backwards) return std::nullopt;
        return -*backwards;
    }
    return forwardCalendarDays(from, to);
}

OnboardingState::OnboardingState(platform::UserDefaults& defaults, platform::MainQueue& clock)
    : defaults_(defaults), clock_(clock) {
    hasCompletedOnboarding_.setQuietly(defaults_.boolForKey(hasCompletedOnboardingKey));
}

OnboardingState& OnboardingState::shared() {
    auto& instance = sharedInstance();
    if (!instance) instance = std::make_unique<OnboardingState>(platform::UserDefaults::standard(), platform::MainQueue::main());
    return *instance;
}

void OnboardingState::resetShared() { sharedInstance().reset(); }

void OnboardingState::setCurrentStep(OnboardingStep step) {
    objectWillChange_.send();
    currentStep_.set(step);
}

void OnboardingState::setHasCompletedOnboarding(bool completed) {
    objectWillChange_.send();
    hasCompletedOnboarding_.set(completed);
    defaults_.set(hasCompletedOnboardingKey, completed);
}

void OnboardingState::setShouldRemindLater(bool remind) {
    objectWillChange_.send();
    shouldRemindLater_.set(remind);
    if (remind) defaults_.set(remindLaterDateKey, clock_.wallNow());
}

void OnboardingState::nextStep() {
    if (auto next = onboardingStepFromRaw(rawValue(currentStep()) + 1)) setCurrentStep(*next);
}

void OnboardingState::previousStep() {
    if (auto previous = onboardingStepFromRaw(rawValue(currentStep()) - 1)) setCurrentStep(*previous);
}

bool OnboardingState::shouldShowOnboarding() {
    return shouldShowOnboarding(platform::UserDefaults::standard(), platform::MainQueue::main().wallNow());
}

bool OnboardingState::shouldShowOnboarding(const platform::UserDefaults& defaults, double now) {
    if (defaults.boolForKey(hasCompletedOnboardingKey)) return false;
    const auto remindedAt = defaults.doubleValue(remindLaterDateKey);
    if (!remindedAt || !isSaneTimestamp(*remindedAt)) return true;
    const auto days = wholeCalendarDaysBetween(*remindedAt, now);
    return days && *days >= remindAfterDays;
}

} // namespace zentaris
