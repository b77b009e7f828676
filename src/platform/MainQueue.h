#pragma once

#include "platform/ObservationToken.h"

#include <functional>

namespace platform {

// A scheduled piece of work; dropping it cancels the work if it has not run yet, so a delayed
// step never runs after its owner is gone.
using ScheduledTask = ObservationToken;

// The main thread's run loop: deferred work, timers and the clocks they run on.
class MainQueue {
public:
    virtual ~MainQueue() = default;

    // Runs `work` on a later turn of the loop.
    [[nodiscard]] virtual ScheduledTask post(std::function<void()> work) = 0;
    // Runs `work` once, no earlier than `seconds` from now.
    [[nodiscard]] virtual ScheduledTask postAfter(double seconds, std::function<void()> work) = 0;
    // Runs `work` every `seconds` until the task is dropped.
    [[nodiscard]] virtual ScheduledTask scheduleRepeating(double seconds, std::function<void()> work) = 0;

    // Seconds on a clock that never jumps; for intervals.
    virtual double monotonicNow() const = 0;
    // Seconds since 1970-01-01 UTC; for dates that are stored.
    virtual double wallNow() const = 0;
    // Blocks the main thread for a short pause (a few milliseconds at most).
    virtual void sleep(double seconds) = 0;

    // The process-wide queue. Must be installed before first use.
    static MainQueue& main();
    static void installMain(MainQueue* queue);
};

} // namespace platform
