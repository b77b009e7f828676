// The tutorial's films on the running program, on a private desktop, driven as a person would
// with the pointer: the program's resident memory idle before the tutorial, at its peak while a
// film page shows, after quick Next/Back switches between the two film pages, 30 s after the
// tutorial window was closed, and 30 s after Skip on the first page of another first start (no
// film ever played); and how long the interface takes to turn the page when a film page is left,
// against leaving a page without a film (from the click until the next page shows). Nothing is
// trimmed or warmed by the benchmark: the program does what it does. Memory counts the program and
// every process it started (the film player).
// Usage: bench_onboarding_films [--repeats N] [--pairs N] [--zentaris PATH]   (default 3, 40)
#include "TutorialDriver.h"

#include "../app/BenchDesktop.h"
#include "support/TemporaryDirectory.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

using namespace zentaris;
using namespace zentaris::bench;

namespace {

constexpr double settleSeconds = 5, afterCloseSeconds = 30;

void pause(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

struct Run {
    double idle = 0, firstPage = 0, filmPage = 0, peak = 0, afterSwitches = 0, afterClose = 0;
    double afterCloseHelpers = 0;
    double afterSkip = 0;
    std::vector<double> filmLeaveStalls, plainLeaveStalls;
};

// The idle figure: the same program started without its tutorial, after it has settled.
double idleMiB(testing::PrivateDisplay& display, const std::string& binary) {
    QuietConfig config;
    const pid_t pid = startProcess(config.command(binary), display.name());
    pause(settleSeconds);
    const double resident = residentMiB(pid).total();
    stopProcess(pid);
    return resident;
}

// A configuration in which the tutorial opens at start, with no update check.
class FirstStartConfig {
public:
    FirstStartConfig() {
        std::filesystem::create_directories(folder_.path() / "zentaris");
        testing::writeFile(folder_.path() / "zentaris" / "defaults.json",
                           R"({"values": {"lastUpdateCheckDate": {"type": "date", "value": )" + std::to_string(std::time(nullptr)) + "}}}");
    }
    std::vector<std::string> command(const std::string& binary) const {
        return {"env", "XDG_CONFIG_HOME=" + folder_.path().string(), binary};
    }

private:
    testing::TemporaryDirectory folder_;
};

// The program started with that configuration and its tutorial; it ends with this object.
class FirstStart {
public:
    FirstStart(testing::PrivateDisplay& display, BenchDesktop& desktop, const std::string& binary)
        : pid_(startProcess(config_.command(binary), display.name())),
          tutorial_(desktop, display.name(), pid_) {}
    ~FirstStart() { stopProcess(pid_); }
    FirstStart(const FirstStart&) = delete;
    FirstStart& operator=(const FirstStart&) = delete;

    pid_t pid() const { return pid_; }
    TutorialDriver& tutorial() { return tutorial_; }
    bool opened() { return tutorial_.waitForWindow(15) && tutorial_.waitForPage(1, 10); }
    // Says what went wrong; false.
    bool fail(const char* what) {
        std::cerr << "  " << what << " (the tutorial shows page " << tutorial_.page() << ")\n";
        return false;
    }

private:
    FirstStartConfig config_;
    pid_t pid_;
    TutorialDriver tutorial_;
};

bool tutorialRun(testing::PrivateDisplay& display, BenchDesktop& desktop, const std::string& binary, int pairs, Run& run) {
    FirstStart start(display, desktop, binary);
    const pid_t pid = start.pid();
    TutorialDriver& tutorial = start.tutorial();
    const auto fail = [&](const char* what) { return start.fail(what); };
    if (!start.opened()) return fail("the tutorial did not open");
    pause(2);
    run.firstPage = residentMiB(pid).total();

    PeakSampler peak(pid);
    for (int page = 2; page <= 4; ++page) {
        if (!tutorial.next(page)) return fail("Next did not turn the page");
    }
    pause(4);
    run.filmPage = residentMiB(pid).total();

    // Leaving the shortcuts page (its film playing) and leaving the menu-bar page (no film), in turn.
    for (int round = 0; round < 3; ++round) {
        const auto film = tutorial.timeToTurn(false, 3);
        if (!film) return fail("Back did not leave the film page");
        pause(2);
        const auto plain = tutorial.timeToTurn(false, 2);
        if (!plain) return fail("Back did not leave the page without a film");
        run.filmLeaveStalls.push_back(*film);
        run.plainLeaveStalls.push_back(*plain);
        if (!tutorial.next(3) || !tutorial.next(4)) return fail("Next did not come back to the film page");
        pause(3);
    }

    // Quick switches between the two film pages, each shown long enough for its film to start.
    for (int pair = 0; pair < pairs; ++pair) {
        tutorial.clickNext();
        pause(0.3);
        tutorial.clickBack();
        pause(0.3);
    }
    if (!tutorial.waitForPage(4, 10)) return fail("the quick switches did not end on the shortcuts page");
    pause(2);
    run.afterSwitches = residentMiB(pid).total();
    run.peak = peak.stop();

    tutorial.close();
    if (!tutorial.waitUntilClosed(10)) return fail("the tutorial window did not close");
    pause(afterCloseSeconds);
    const auto after = residentMiB(pid);
    run.afterClose = after.total();
    run.afterCloseHelpers = after.children;
    return true;
}

// Skip on the first page of a first start, as a user who does not want the tutorial does.
bool skipRun(testing::PrivateDisplay& display, BenchDesktop& desktop, const std::string& binary, Run& run) {
    FirstStart start(display, desktop, binary);
    if (!start.opened()) return start.fail("the tutorial did not open");
    pause(2);
    start.tutorial().clickSkip();
    if (!start.tutorial().waitUntilClosed(10)) return start.fail("Skip did not close the tutorial");
    pause(afterCloseSeconds);
    run.afterSkip = residentMiB(start.pid()).total();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::string binary = programBinary(argc, argv, ZENTARIS_BINARY);
    int repeats = 3, pairs = 40;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--repeats" && i + 1 < argc) {
            repeats = std::stoi(argv[++i]);
        } else if (arg == "--pairs" && i + 1 < argc) {
            pairs = std::stoi(argv[++i]);
        } else {
            std::cerr << "usage: " << argv[0] << " [--repeats N] [--pairs N] [--zentaris PATH]\n";
            return 2;
        }
    }
    for (const char* tool : {"Xvfb", "openbox"}) {
        if (!testing::programAvailable(tool)) {
            std::cerr << tool << " is not installed\n";
            return 1;
        }
    }
    testing::PrivateDisplay display;
    // A tray to dock into, as on a desktop.
    if (testing::programAvailable("trayer")) display.spawn({"trayer", "--edge", "top", "--height", "24"});
    BenchDesktop desktop(display);
    std::printf("%s\nresident MiB of the program and the processes it started; %d repeats, %d Next/Back pairs\n",
                binary.c_str(), repeats, pairs);
    std::printf("%-4s %7s %7s %7s %7s %9s %9s %9s   %s\n", "run", "idle", "page 1", "film", "peak", "switches",
                "closed+30s", "skip+30s", "turning the page away from a page with / without a film, ms");
    std::vector<Run> runs;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        Run run;
        run.idle = idleMiB(display, binary);
        if (!tutorialRun(display, desktop, binary, pairs, run) || !skipRun(display, desktop, binary, run)) return 1;
        std::printf("%-4d %7.1f %7.1f %7.1f %7.1f %9.1f %9.1f %9.1f   ", repeat + 1, run.idle, run.firstPage, run.filmPage,
                    run.peak, run.afterSwitches, run.afterClose, run.afterSkip);
        for (std::size_t i = 0; i < run.filmLeaveStalls.size(); ++i) {
            std::printf("%.0f/%.0f ", run.filmLeaveStalls[i], run.plainLeaveStalls[i]);
        }
        std::printf(" (film players left after close: %.1f MiB)\n", run.afterCloseHelpers);
        std::fflush(stdout);
        runs.push_back(run);
    }
    const auto over = [&](auto field) {
        std::vector<double> values;
        for (const Run& run : runs) values.push_back(run.*field);
        return median(values);
    };
    const auto stalls = [&](auto field) {
        std::vector<double> values;
        for (const Run& run : runs) values.insert(values.end(), (run.*field).begin(), (run.*field).end());
        return median(values);
    };
    const double idle = over(&Run::idle);
    std::printf("\nmedians (MiB; above idle in brackets)\n");
    std::printf("  idle before the tutorial   %7.1f\n", idle);
    std::printf("  tutorial, first page       %7.1f  (%+.1f)\n", over(&Run::firstPage), over(&Run::firstPage) - idle);
    std::printf("  on the shortcuts page      %7.1f  (%+.1f)\n", over(&Run::filmPage), over(&Run::filmPage) - idle);
    std::printf("  peak with the films        %7.1f  (%+.1f; goal at most +120)\n", over(&Run::peak), over(&Run::peak) - idle);
    std::printf("  after quick switches       %7.1f  (%+.1f)\n", over(&Run::afterSwitches), over(&Run::afterSwitches) - idle);
    std::printf("  30 s after closing         %7.1f  (%+.1f; goal at most +15)\n", over(&Run::afterClose), over(&Run::afterClose) - idle);
    std::printf("  30 s after Skip on page 1  %7.1f  (%+.1f; goal at most +15)\n", over(&Run::afterSkip), over(&Run::afterSkip) - idle);
    const double film = stalls(&Run::filmLeaveStalls), plain = stalls(&Run::plainLeaveStalls);
    std::printf("  turning the page away: from a film page %.1f ms, from a page without %.1f ms, ratio %.2f\n", film, plain,
                film / std::max(plain, 0.1));
    return 0;
}
