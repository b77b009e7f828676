#include "onboarding/OnboardingState.h"

#include "platform/fake/FakeMainQueue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

namespace zentaris {
namespace {

// Switches the process's local time zone for one test.
class LocalTimeZone {
public:
    explicit LocalTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) previous_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~LocalTimeZone() {
        if (previous_) {
            setenv("TZ", previous_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> previous_;
};

double utc(int year, int month, int day, int hour, int minute = 0) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    return static_cast<double>(timegm(&time));
}

constexpr double hour = 3600;
constexpr double day = 24 * hour;

TEST(OnboardingStepTest, RawValuesRoundTripOnlyWithinTheSevenPages) {
    ASSERT_EQ(allOnboardingSteps.size(), 7u);
    for (int raw = 0; raw < 7; ++raw) {
        ASSERT_TRUE(onboardingStepFromRaw(raw));
        EXPECT_EQ(rawValue(*onboardingStepFromRaw(raw)), raw);
        EXPECT_EQ(allOnboardingSteps[static_cast<std::size_t>(raw)], *onboardingStepFromRaw(raw));
    }
    EXPECT_FALSE(onboardingStepFromRaw(-1));
    EXPECT_FALSE(onboardingStepFromRaw(7));
}

class OnboardingStateTest : public ::testing::Test {
protected:
    platform::MemoryUserDefaults defaults;
    platform::fake::FakeMainQueue clock{1'700'000'000};
};

TEST_F(OnboardingStateTest, StepsStopAtBothEnds) {
    OnboardingState state(defaults, clock);
    state.previousStep();
    EXPECT_EQ(state.currentStep(), OnboardingStep::welcome);
    for (int i = 0; i < 6; ++i) state.nextStep();
    EXPECT_EQ(state.currentStep(), OnboardingStep::completion);
    state.nextStep();
    EXPECT_EQ(state.currentStep(), OnboardingStep::completion);
    state.previousStep();
    EXPECT_EQ(state.currentStep(), OnboardingStep::multiMonitor);
}

TEST_F(OnboardingStateTest, CompletionAndReminderAreStored) {
    defaults.set(OnboardingState::hasCompletedOnboardingKey, true);
    OnboardingState state(defaults, clock);
    EXPECT_TRUE(state.hasCompletedOnboarding());

    state.setHasCompletedOnboarding(false);
    EXPECT_EQ(defaults.boolValue(OnboardingState::hasCompletedOnboardingKey), false);
    EXPECT_TRUE(OnboardingState::shouldShowOnboarding(defaults, clock.wallNow()));

    state.setShouldRemindLater(true);
    EXPECT_EQ(defaults.doubleValue(OnboardingState::remindLaterDateKey), 1'700'000'000.0);
    clock.advance(60);
    state.setShouldRemindLater(true);
    EXPECT_EQ(defaults.doubleValue(OnboardingState::remindLaterDateKey), 1'700'000'060.0) << "a second press replaces";
    state.setShouldRemindLater(false);
    EXPECT_FALSE(state.shouldRemindLater());
    EXPECT_EQ(defaults.doubleValue(OnboardingState::remindLaterDateKey), 1'700'000'060.0) << "false stores nothing";
}

TEST(OnboardingShowRuleTest, CountsCalendarDaysInTheLocalTimeZone) {
    LocalTimeZone berlin("Europe/Berlin");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double now = utc(2024, 6, 15, 10); // 12:00 in Berlin (summer time)
    struct Case {
        const char* name;
        std::optional<bool> completed;
        std::optional<platform::DefaultsValue> remindedAt;
        double now;
        bool shown;
    };
    const Case cases[] = {
        {"nothing stored", std::nullopt, std::nullopt, now, true},
        {"completed wins over an old reminder", true, now - 30 * day, now, false},
        {"not completed, no reminder", false, std::nullopt, now, true},
        {"6 days 23 hours ago", std::nullopt, now - 6 * day - 23 * hour, now, false},
        {"7 days ago", std::nullopt, now - 7 * day, now, true},
        {"30 days ago", std::nullopt, now - 30 * day, now, true},
        {"a day in the future", std::nullopt, now + day, now, false},
        {"a whole number", std::nullopt, platform::DefaultsValue{std::int64_t(now - 8 * day)}, now, true},
        {"a text", std::nullopt, platform::DefaultsValue{std::string("2024-06-01")}, now, true},
        {"a date value", std::nullopt, platform::DefaultsValue{platform::Date{now - day}}, now, true},
        {"not a number", std::nullopt, nan, now, true},
        {"infinite", std::nullopt, std::numeric_limits<double>::infinity(), now, true},
        {"far beyond any calendar", std::nullopt, 1e300, now, true},
        {"before 1970", std::nullopt, -1e12, now, true},
        // 23:00 to 22:59 a week later is only six whole days although the dates differ by seven.
        {"a minute short of the week", std::nullopt, utc(2024, 6, 8, 21), utc(2024, 6, 15, 20, 59), false},
        {"the week complete", std::nullopt, utc(2024, 6, 8, 21), utc(2024, 6, 15, 21), true},
        // Clocks go forward on 31 March: the week from noon to noon holds only 167 hours.
        {"spring week, 167 hours", std::nullopt, utc(2024, 3, 28, 11), utc(2024, 4, 4, 10), true},
        {"spring week, a minute short", std::nullopt, utc(2024, 3, 28, 11), utc(2024, 4, 4, 9, 59), false},
        // Clocks go back on 27 October: the week holds 169 hours, and 168 are not yet a week.
        {"autumn week, 168 hours", std::nullopt, utc(2024, 10, 24, 10), utc(2024, 10, 31, 10), false},
        {"autumn week, 169 hours", std::nullopt, utc(2024, 10, 24, 10), utc(2024, 10, 31, 11), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MemoryUserDefaults defaults;
        if (c.completed) defaults.set(OnboardingState::hasCompletedOnboardingKey, *c.completed);
        if (c.remindedAt) defaults.set(OnboardingState::remindLaterDateKey, *c.remindedAt);
        EXPECT_EQ(OnboardingState::shouldShowOnboarding(defaults, c.now), c.shown);
    }
}

TEST(OnboardingShowRuleTest, DayCountFollowsTheZoneInUse) {
    const double from = utc(2024, 3, 28, 11);
    const double to = utc(2024, 4, 4, 10);
    {
        LocalTimeZone berlin("Europe/Berlin");
        EXPECT_EQ(wholeCalendarDaysBetween(from, to), 7);
        EXPECT_EQ(wholeCalendarDaysBetween(to, from), -7);
    }
    {
        LocalTimeZone utcZone("UTC");
        EXPECT_EQ(wholeCalendarDaysBetween(from, to), 6) << "without a clock change the week lacks an hour";
    }
}

TEST(OnboardingShowRuleTest, SharedRuleReadsTheStandardDefaults) {
    platform::MemoryUserDefaults defaults;
    platform::fake::FakeMainQueue queue;
    platform::UserDefaults::installStandard(&defaults);
    platform::MainQueue::installMain(&queue);
    EXPECT_TRUE(OnboardingState::shouldShowOnboarding());
    OnboardingState::shared().setShouldRemindLater(true);
    EXPECT_FALSE(OnboardingState::shouldShowOnboarding());
    queue.advance(8 * day);
    EXPECT_TRUE(OnboardingState::shouldShowOnboarding());
    OnboardingState::resetShared();
    platform::MainQueue::installMain(nullptr);
    platform::UserDefaults::installStandard(nullptr);
}

} // namespace
} // namespace zentaris
