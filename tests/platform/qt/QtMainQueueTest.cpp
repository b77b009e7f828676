#include "platform/qt/QtMainQueue.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using platform::ScheduledTask;
using platform::qt::QtMainQueue;

namespace {
QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

void spinUntil(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}
} // namespace

TEST(QtMainQueue, DelayedWorkNeverRunsEarlyAndCancelledWorkNeverRuns) {
    application();
    QtMainQueue queue;
    const double start = queue.monotonicNow();
    double ranAt = 0;
    bool cancelledRan = false;
    auto task = queue.postAfter(0.05, [&] { ranAt = queue.monotonicNow(); });
    {
        auto dropped = queue.postAfter(0.01, [&] { cancelledRan = true; });
    }
    spinUntil([&] { return ranAt > 0; }, 2000);
    EXPECT_GE(ranAt - start, 0.05);
    EXPECT_FALSE(cancelledRan);
}

TEST(QtMainQueue, RepeatingTimerStopsWhenItsTaskIsDropped) {
    application();
    QtMainQueue queue;
    int ticks = 0;
    ScheduledTask timer = queue.scheduleRepeating(0.005, [&] {
        if (++ticks == 3) timer.cancel();
    });
    spinUntil([&] { return ticks >= 3; }, 2000);
    spinUntil([] { return false; }, 50);
    EXPECT_EQ(ticks, 3);
}
