#include "platform/NotificationCenter.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace platform;

TEST(NotificationCenter, DeliversInRegistrationOrderOnlyToMatchingNames) {
    NotificationCenter center;
    std::vector<std::string> calls;
    auto a = center.addObserver("A", [&](const Notification&) { calls.push_back("a1"); });
    auto b = center.addObserver("B", [&](const Notification&) { calls.push_back("b"); });
    auto a2 = center.addObserver("A", [&](const Notification&) { calls.push_back("a2"); });
    center.post("A");
    EXPECT_EQ(calls, (std::vector<std::string>{"a1", "a2"}));
}

TEST(NotificationCenter, DistinguishesNoUserInfoFromAnEmptyOne) {
    NotificationCenter center;
    std::vector<std::optional<UserInfo>> received;
    auto token = center.addObserver("N", [&](const Notification& n) { received.push_back(n.userInfo); });
    center.post("N");
    center.post("N", UserInfo{});
    center.post("N", UserInfo{{"shortcutName", "leftColumn"}});
    ASSERT_EQ(received.size(), 3u);
    EXPECT_FALSE(received[0].has_value());
    EXPECT_TRUE(received[1].has_value() && received[1]->empty());
    EXPECT_EQ(received[2]->at("shortcutName"), "leftColumn");
}

TEST(NotificationCenter, ObserversMayRemoveThemselvesAndOthersDuringDelivery) {
    NotificationCenter center;
    int first = 0, second = 0, third = 0;
    ObservationToken tokenB, tokenC;
    auto tokenA = center.addObserver("N", [&](const Notification&) {
        ++first;
        tokenC.cancel(); // a later observer removed mid-delivery is not called
    });
    tokenB = center.addObserver("N", [&](const Notification&) {
        ++second;
        tokenB.cancel(); // removing itself
    });
    tokenC = center.addObserver("N", [&](const Notification&) { ++third; });
    center.post("N");
    center.post("N");
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(third, 0);
}

TEST(NotificationCenter, ObserverAddedDuringDeliveryWaitsForTheNextPost) {
    NotificationCenter center;
    int late = 0;
    ObservationToken lateToken;
    auto token = center.addObserver("N", [&](const Notification&) {
        if (!lateToken.isActive()) lateToken = center.addObserver("N", [&](const Notification&) { ++late; });
    });
    center.post("N");
    EXPECT_EQ(late, 0);
    center.post("N");
    EXPECT_EQ(late, 1);
}

TEST(NotificationCenter, TokenOutlivingTheCentreIsHarmless) {
    ObservationToken token;
    {
        NotificationCenter center;
        token = center.addObserver("N", [](const Notification&) {});
    }
    token.cancel();
    EXPECT_FALSE(token.isActive());
}
