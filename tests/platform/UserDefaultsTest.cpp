#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(UserDefaults, TypedReadersConvertOnlyWhatTheTypeAllows) {
    MemoryUserDefaults defaults;
    defaults.set("bool", true);
    defaults.set("one", std::int64_t{1});
    defaults.set("two", std::int64_t{2});
    defaults.set("double", 2.5);
    defaults.set("text", std::string("true"));
    defaults.set("date", Date{100});

    EXPECT_EQ(defaults.boolValue("bool"), true);
    EXPECT_EQ(defaults.boolValue("one"), true);
    EXPECT_EQ(defaults.boolValue("two"), std::nullopt);
    EXPECT_EQ(defaults.boolValue("text"), std::nullopt) << "a text is never a Bool";
    EXPECT_EQ(defaults.boolValue("missing"), std::nullopt);

    EXPECT_EQ(defaults.doubleValue("double"), 2.5);
    EXPECT_EQ(defaults.doubleValue("two"), 2.0);
    EXPECT_EQ(defaults.doubleValue("bool"), std::nullopt) << "a Bool is not a number";
    EXPECT_EQ(defaults.doubleValue("text"), std::nullopt);
    EXPECT_EQ(defaults.integerValue("double"), std::nullopt) << "2.5 has no exact integer";

    EXPECT_EQ(defaults.stringValue("text"), "true");
    EXPECT_EQ(defaults.stringValue("bool"), std::nullopt);
    EXPECT_EQ(defaults.dateValue("date"), Date{100});
    EXPECT_EQ(defaults.dateValue("double"), std::nullopt) << "a number is not a date";
    EXPECT_FALSE(defaults.boolForKey("missing"));
}

TEST(UserDefaults, ObserversHearWritesAndRemovalsOfTheirKeyOnly) {
    MemoryUserDefaults defaults;
    int heard = 0;
    auto token = defaults.observe("launchAtLogin", [&] { ++heard; });
    defaults.set("launchAtLogin", true);
    defaults.set("other", true);
    defaults.removeObject("launchAtLogin");
    defaults.removeObject("launchAtLogin"); // nothing to remove: no change
    EXPECT_EQ(heard, 2);
    token.cancel();
    defaults.set("launchAtLogin", false);
    EXPECT_EQ(heard, 2);
}
