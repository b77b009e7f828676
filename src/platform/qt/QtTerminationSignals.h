#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace platform::qt {

// Brings the signals that ask a program to end (SIGTERM from `kill`, at logout or shutdown; SIGHUP
// when its terminal closes; SIGINT on Ctrl-C) into the Qt event loop as one call, so that the
// program ends the way it does when asked from its own interface. The handler only writes to a
// pipe that the loop watches. One at a time per process.
class QtTerminationSignals {
public:
    explicit QtTerminationSignals(std::function<void()> onSignal);
    ~QtTerminationSignals();
    QtTerminationSignals(const QtTerminationSignals&) = delete;
    QtTerminationSignals& operator=(const QtTerminationSignals&) = delete;

private:
    std::function<void()> onSignal_;
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace platform::qt
