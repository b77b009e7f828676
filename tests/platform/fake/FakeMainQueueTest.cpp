#include "platform/fake/FakeMainQueue.h"

#include <gtest/gtest.h>

#include <vector>

using platform::ScheduledTask;
using platform::fake::FakeMainQueue;

TEST(FakeMainQueue, RunsDueWorkInTimeOrderAndNothingEarly) {
    FakeMainQueue queue;
    std::vector<int> order;
    auto late = queue.postAfter(0.5, [&] { order.push_back(3); });
    auto early = queue.postAfter(0.2, [&] { order.push_back(2); });
    auto now = queue.post([&] { order.push_back(1); });
    queue.advance(0.19);
    EXPECT_EQ(order, (std::vector<int>{1}));
    queue.advance(0.01);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_DOUBLE_EQ(queue.monotonicNow(), 0.2);
    queue.advance(1);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(queue.pendingCount(), 0u);
}

TEST(FakeMainQueue, DroppedTaskNeverRuns) {
    FakeMainQueue queue;
    bool ran = false;
    {
        auto task = queue.postAfter(0.1, [&] { ran = true; });
    }
    queue.advance(1);
    EXPECT_FALSE(ran);
}

TEST(FakeMainQueue, RepeatingTimerFiresEachIntervalUntilCancelled) {
    FakeMainQueue queue;
    int ticks = 0;
    ScheduledTask timer = queue.scheduleRepeating(0.1, [&] {
        if (++ticks == 3) timer.cancel();
    });
    queue.advance(1);
    EXPECT_EQ(ticks, 3);
}

TEST(FakeMainQueue, WorkPostedByWorkRunsInTheSameAdvanceWhenDue) {
    FakeMainQueue queue;
    std::vector<double> times;
    ScheduledTask inner;
    auto outer = queue.postAfter(0.1, [&] {
        times.push_back(queue.monotonicNow());
        inner = queue.postAfter(0.2, [&] { times.push_back(queue.monotonicNow()); });
    });
    queue.advance(0.5);
    ASSERT_EQ(times.size(), 2u);
    EXPECT_NEAR(times[1], 0.3, 1e-9);
}

TEST(FakeMainQueue, SleepIsRecordedAndAdvancesTheClock) {
    FakeMainQueue queue(1000);
    queue.sleep(0.02);
    EXPECT_EQ(queue.sleeps(), (std::vector<double>{0.02}));
    EXPECT_DOUBLE_EQ(queue.wallNow(), 1000.02);
}
