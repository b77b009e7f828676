#pragma once

#include "platform/MainQueue.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace platform::fake {

// A main queue on virtual time: nothing runs until the test advances the clock.
class FakeMainQueue : public MainQueue {
public:
    explicit FakeMainQueue(double wallClockStart = 1'800'000'000.0) : wallStart_(wallClockStart) {}

    ScheduledTask post(std::function<void()> work) override;
    ScheduledTask postAfter(double seconds, std::function<void()> work) override;
    ScheduledTask scheduleRepeating(double seconds, std::function<void()> work) override;

    double monotonicNow() const override { return now_; }
    double wallNow() const override { return wallStart_ + now_; }
    // A pause advances virtual time without running anything, and is recorded.
    void sleep(double seconds) override;

    // Moves time forward, running everything that falls due, in time order (posts first).
    void advance(double seconds);
    // Runs what is due now, including work posted by that work.
    void runPending() { advance(0); }

    std::size_t pendingCount() const;
    const std::vector<double>& sleeps() const { return sleeps_; }
    void setWallClock(double secondsSince1970) { wallStart_ = secondsSince1970 - now_; }

private:
    struct Entry {
        double due;
        std::uint64_t sequence;
        double interval; // 0 for one-shot work
        std::function<void()> work;
    };
    ScheduledTask schedule(double delay, double interval, std::function<void()> work);

    double now_ = 0;
    double wallStart_;
    std::uint64_t nextSequence_ = 1;
    std::shared_ptr<std::map<std::uint64_t, Entry>> entries_ = std::make_shared<std::map<std::uint64_t, Entry>>();
    std::vector<double> sleeps_;
};

} // namespace platform::fake
