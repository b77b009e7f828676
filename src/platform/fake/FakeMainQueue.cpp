#include "platform/fake/FakeMainQueue.h"

#include <algorithm>

namespace platform::fake {

ScheduledTask FakeMainQueue::schedule(double delay, double interval, std::function<void()> work) {
    const auto sequence = nextSequence_++;
    entries_->emplace(sequence, Entry{now_ + std::max(0.0, delay), sequence, interval, std::move(work)});
    std::weak_ptr<std::map<std::uint64_t, Entry>> weak = entries_;
    return ScheduledTask([weak, sequence] {
        if (auto entries = weak.lock()) entries->erase(sequence);
    });
}

ScheduledTask FakeMainQueue::post(std::function<void()> work) { return schedule(0, 0, std::move(work)); }

ScheduledTask FakeMainQueue::postAfter(double seconds, std::function<void()> work) {
    return schedule(seconds, 0, std::move(work));
}

ScheduledTask FakeMainQueue::scheduleRepeating(double seconds, std::function<void()> work) {
    // A repeating timer with no interval would spin for ever on virtual time.
    return schedule(seconds, std::max(seconds, 1e-3), std::move(work));
}

void FakeMainQueue::sleep(double seconds) {
    sleeps_.push_back(seconds);
    now_ += std::max(0.0, seconds);
}

void FakeMainQueue::advance(double seconds) {
    const double target = now_ + std::max(0.0, seconds);
    for (;;) {
        auto next = std::min_element(entries_->begin(), entries_->end(), [](const auto& a, const auto& b) {
            return a.second.due != b.second.due ? a.second.due < b.second.due : a.first < b.first;
        });
        if (next == entries_->end() || next->second.due > target) break;
        now_ = std::max(now_, next->second.due);
        auto work = next->second.work;
        if (next->second.interval > 0) {
            next->second.due += next->second.interval;
        } else {
            entries_->erase(next);
        }
        work();
    }
    now_ = std::max(now_, target);
}

std::size_t FakeMainQueue::pendingCount() const { return entries_->size(); }

} // namespace platform::fake
