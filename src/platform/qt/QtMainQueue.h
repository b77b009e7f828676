#pragma once

#include "platform/MainQueue.h"

#include <QObject>

namespace platform::qt {

// The main queue on Qt's event loop, with precise timers so a 0.2 s window is 0.2 s.
class QtMainQueue : public MainQueue {
public:
    QtMainQueue();
    ~QtMainQueue() override;

    ScheduledTask post(std::function<void()> work) override;
    ScheduledTask postAfter(double seconds, std::function<void()> work) override;
    ScheduledTask scheduleRepeating(double seconds, std::function<void()> work) override;

    double monotonicNow() const override;
    double wallNow() const override;
    void sleep(double seconds) override;

private:
    ScheduledTask startTimer(double seconds, bool repeating, std::function<void()> work);
    QObject timers_; // parent of every pending timer, so none outlives the queue
};

} // namespace platform::qt
