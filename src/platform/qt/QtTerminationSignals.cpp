#include "platform/qt/QtTerminationSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform::qt {

namespace {

volatile std::sig_atomic_t writeEnd = -1;

void onTerminationSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing more is needed.
    [[maybe_unused]] const auto written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

void handle(int signal) {
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
}

bool ignored(int signal) {
    struct sigaction current {};
    return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void restoreDefault(int signal) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != onTerminationSignal) return;
    current.sa_handler = SIG_DFL;
    ::sigaction(signal, &current, nullptr);
}

} // namespace

QtTerminationSignals::QtTerminationSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    writeEnd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char bytes[64];
        while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
        }
        if (onSignal_) onSignal_();
    });
    handle(SIGTERM);
    // Started with `nohup` or in the background of a script, the program was meant to outlive its
    // terminal and its Ctrl-C: what was ignored stays ignored.
    for (const int signal : {SIGHUP, SIGINT}) {
        if (!ignored(signal)) handle(signal);
    }
}

QtTerminationSignals::~QtTerminationSignals() {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) restoreDefault(signal);
    notifier_.reset();
    writeEnd = -1;
    for (const int end : pipe_) {
        if (end >= 0) ::close(end);
    }
}

} // namespace platform::qt
