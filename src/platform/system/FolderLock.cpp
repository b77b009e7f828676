#include "platform/system/FolderLock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

// A signal that only interrupts a wait for the lock: it is sent to the waiting thread alone, by a
// timer that fires once the wait is over.
int interruptSignal() {
    static const int signal = SIGRTMIN + 2;
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action = {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: the blocked flock returns EINTR
        sigaction(signal, &action, nullptr);
    });
    return signal;
}

// Interrupts the calling thread's blocking calls once `wait` has passed, and again every 20 ms
// after that, so a signal that arrives just before the call blocks is followed by another.
class WaitDeadline {
public:
    explicit WaitDeadline(std::chrono::milliseconds wait) {
        sigevent event = {};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = interruptSignal();
        event._sigev_un._tid = ::gettid();
        if (::timer_create(CLOCK_MONOTONIC, &event, &timer_) != 0) return;
        armed_ = true;
        const auto ms = std::max<std::chrono::milliseconds::rep>(wait.count(), 1);
        itimerspec times = {};
        times.it_value = {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
        times.it_interval = {0, 20 * 1000000};
        ::timer_settime(timer_, 0, &times, nullptr);
    }
    ~WaitDeadline() {
        if (armed_) ::timer_delete(timer_);
    }
    WaitDeadline(const WaitDeadline&) = delete;
    WaitDeadline& operator=(const WaitDeadline&) = delete;

    bool armed() const { return armed_; }

private:
    timer_t timer_{};
    bool armed_ = false;
};

} // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds maximumWait) {
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        state_ = State::held;
        return;
    }
    if (errno == EWOULDBLOCK && maximumWait.count() <= 0) {
        state_ = State::timedOut;
    } else if (errno == EWOULDBLOCK) {
        const auto giveUpAt = std::chrono::steady_clock::now() + maximumWait;
        const WaitDeadline deadline(maximumWait);
        while (deadline.armed()) {
            if (::flock(fd_, LOCK_EX) == 0) {
                state_ = State::held;
                return;
            }
            if (errno != EINTR) break;
            if (std::chrono::steady_clock::now() >= giveUpAt) {
                state_ = State::timedOut;
                break;
            }
        }
        // Without a timer there is no bounded wait: this is a process that cannot wait safely.
        if (!deadline.armed()) state_ = State::timedOut;
    }
    ::close(fd_);
    fd_ = -1;
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_); // closing the only descriptor releases the lock
}

} // namespace platform
