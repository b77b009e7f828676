// Quick page changes in the tutorial: Next and Back between the two film pages, against the same
// between two pages without films. Reports the longest stall of the event loop while switching
// and the resident memory before and after.
// Usage: bench_onboarding_films [--pairs N] [--dwell MS]   (default 40 pairs, 50 ms and 400 ms)
#include "onboarding/FilmPlayback.h"
#include "onboarding/OnboardingState.h"
#include "onboarding/OnboardingView.h"
#include "platform/HotKeys.h"
#include "platform/MainQueue.h"
#include "platform/UserDefaults.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakeMainQueue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <iostream>
#include <string>
#include <vector>

using namespace zentaris;

namespace {

// Resident memory once the heap has given back what it holds free: what is left is in use, not
// kept by the allocator's per-thread pools, whose size varies from run to run.
long residentKiB() {
    malloc_trim(0);
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

// The longest time between two beats of a 1 ms timer: how long the event loop was kept from
// running, by whatever ran in it.
class Heartbeat {
public:
    Heartbeat() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, clock_.nsecsElapsed());
            clock_.restart();
        });
    }
    void start() {
        longest_ = 0;
        clock_.start();
        timer_.start();
    }
    double stop() {
        timer_.stop();
        return static_cast<double>(longest_) / 1e6;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

void runFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Result {
    double longestStallMs;
    double longestChangeMs;
    double seconds;
    long before, after;
    int playersMade, playersAlive;
};

// `pairs` Next/Back pairs starting on `first`, staying `dwell` ms on each page, then 2 s to settle.
Result switchPages(OnboardingStep first, int pairs, int dwell) {
    auto& state = OnboardingState::shared();
    // Both pages for a moment first, so that their films, if any, are under way.
    state.setCurrentStep(static_cast<OnboardingStep>(static_cast<int>(first) + 1));
    runFor(1000);
    state.setCurrentStep(first);
    runFor(1000);
    const long before = residentKiB();
    const int madeBefore = tutorial::filmPlayerCount().made;
    Heartbeat heartbeat;
    QElapsedTimer clock;
    clock.start();
    heartbeat.start();
    qint64 longestChange = 0;
    const auto change = [&](void (OnboardingState::*step)()) {
        QElapsedTimer changing;
        changing.start();
        (state.*step)();
        longestChange = std::max(longestChange, changing.nsecsElapsed());
        runFor(dwell);
    };
    for (int pair = 0; pair < pairs; ++pair) {
        change(&OnboardingState::nextStep);
        change(&OnboardingState::previousStep);
    }
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    runFor(2000);
    const double stall = heartbeat.stop();
    return {stall, static_cast<double>(longestChange) / 1e6, seconds, before, residentKiB(), tutorial::filmPlayerCount().made - madeBefore, tutorial::filmPlayerCount().alive};
}

void print(const char* label, const Result& result) {
    std::printf("  %-26s longest stall %6.1f ms, page change %6.1f ms   %6.2f s   resident %6.1f -> %6.1f MiB (%+.1f)   players made %d, alive %d\n",
                label, result.longestStallMs, result.longestChangeMs, result.seconds, result.before / 1024.0, result.after / 1024.0,
                (result.after - result.before) / 1024.0, result.playersMade, result.playersAlive);
}

} // namespace

int main(int argc, char** argv) {
    int pairs = 40;
    std::vector<int> dwells = {50, 400};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--pairs" && i + 1 < argc) {
            pairs = std::stoi(argv[++i]);
        } else if (arg == "--dwell" && i + 1 < argc) {
            dwells = {std::stoi(argv[++i])};
        } else {
            std::cerr << "usage: " << argv[0] << " [--pairs N] [--dwell MS]\n";
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::MemoryUserDefaults defaults;
    platform::fake::FakeMainQueue queue;
    platform::fake::FakeHotKeys hotKeys;
    platform::UserDefaults::installStandard(&defaults);
    platform::MainQueue::installMain(&queue);
    platform::HotKeys::installShared(&hotKeys);

    OnboardingView view;
    view.resize(900, 750);
    view.show();
    // Both films for a while, so that no run counts loading the media libraries.
    OnboardingState::shared().setCurrentStep(OnboardingStep::shortcuts);
    runFor(3000);
    OnboardingState::shared().setCurrentStep(OnboardingStep::dragMode);
    runFor(3000);

    std::printf("%d Next/Back pairs, backend %s\n", pairs,
                qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND") ? "default" : qgetenv("QT_MEDIA_BACKEND").constData());
    for (const int dwell : dwells) {
        std::printf("%d ms on each page:\n", dwell);
        const Result baseline = switchPages(OnboardingStep::introduction, pairs, dwell);
        print("pages 2 and 3 (no films)", baseline);
        const Result films = switchPages(OnboardingStep::shortcuts, pairs, dwell);
        print("pages 4 and 5 (films)", films);
        std::printf("  stall ratio films/baseline %.1f\n", films.longestStallMs / std::max(baseline.longestStallMs, 0.1));
    }
    platform::HotKeys::installShared(nullptr);
    platform::MainQueue::installMain(nullptr);
    platform::UserDefaults::installStandard(nullptr);
    return 0;
}
