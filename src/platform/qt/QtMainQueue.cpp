#include "platform/qt/QtMainQueue.h"

#include <QPointer>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <thread>

namespace platform::qt {

QtMainQueue::QtMainQueue() = default;
QtMainQueue::~QtMainQueue() = default;

ScheduledTask QtMainQueue::startTimer(double seconds, bool repeating, std::function<void()> work) {
    auto* timer = new QTimer(&timers_);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(!repeating);
    // Round up: work must never run before its time.
    const double milliseconds = std::ceil(std::max(0.0, seconds) * 1000.0);
    timer->setInterval(static_cast<int>(std::min(milliseconds, 2.0e9)));
    QObject::connect(timer, &QTimer::timeout, timer, [timer, repeating, work = std::move(work)] {
        if (!repeating) timer->deleteLater();
        work();
    });
    timer->start();
    QPointer<QTimer> guard(timer);
    return ScheduledTask([guard] {
        if (guard) {
            guard->stop();
            guard->deleteLater();
        }
    });
}

ScheduledTask QtMainQueue::post(std::function<void()> work) { return startTimer(0, false, std::move(work)); }

ScheduledTask QtMainQueue::postAfter(double seconds, std::function<void()> work) {
    return startTimer(seconds, false, std::move(work));
}

ScheduledTask QtMainQueue::scheduleRepeating(double seconds, std::function<void()> work) {
    return startTimer(seconds, true, std::move(work));
}

double QtMainQueue::monotonicNow() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double QtMainQueue::wallNow() const {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

void QtMainQueue::sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(std::max(0.0, seconds)));
}

} // namespace platform::qt
