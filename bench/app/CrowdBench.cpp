// A crowded desktop: X requests and round trips of one centre press, and the time of arrange-all
// (Super+Alt+1), with 4 other windows and with many more, on the same screen, on the other screen
// and minimised, and with a thousand applications of one window each. Every variant runs in the
// same session, in alternating rounds; medians. Beside each, a bare xcb baseline in the same
// desktop: two windows moved to the halves with the program's pause between them, which tells the
// server's and the window manager's share of a crowded desktop from the program's.
// Usage: bench_app_crowd [--rounds N] [--presses N] [--zentaris PATH]
#include "BenchDesktop.h"
#include "XRequestCounter.h"

#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

using namespace zentaris::bench;

namespace {

struct Counter {
    std::string path;
    XRequestCounts* counts = nullptr;
    Counter() {
        char name[] = "/tmp/zentaris-x-requests-XXXXXX";
        const int fd = ::mkstemp(name);
        path = name;
        if (fd < 0 || ::ftruncate(fd, sizeof(XRequestCounts)) != 0) throw std::runtime_error("no counter file");
        counts = static_cast<XRequestCounts*>(::mmap(nullptr, sizeof(XRequestCounts), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
        ::close(fd);
    }
    ~Counter() { ::unlink(path.c_str()); }
};

struct PressCost {
    double requests, roundTrips;
};

} // namespace

int main(int argc, char** argv) {
    const std::string binary = programBinary(argc, argv, ZENTARIS_BINARY);
    int rounds = 3, presses = 6;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--rounds") rounds = std::stoi(argv[i + 1]);
        else if (arg == "--presses") presses = std::stoi(argv[i + 1]);
    }
    zentaris::testing::PrivateDisplay display({.width = 3840, .height = 1080});
    display.run({"xrandr", "--setmonitor", "left", "1920/508x1080/286+0+0", "none"});
    display.run({"xrandr", "--setmonitor", "right", "1920/508x1080/286+1920+0", "none"});
    BenchDesktop desk(display);
    Counter counter;
    QuietConfig config;

    const auto terminal = desk.openTerminal();
    if (!terminal) {
        std::cerr << "xterm did not appear\n";
        return 1;
    }
    desk.addCrowd(4, 1, 300, 300, false);
    const std::size_t base = desk.crowdApplications();

    auto command = config.command(binary);
    command.insert(command.begin() + 1, std::string("LD_PRELOAD=") + X_REQUEST_COUNTER);
    command.insert(command.begin() + 1, std::string(xRequestCountFileVariable) + "=" + counter.path);
    const pid_t program = display.spawn(command);
    if (!desk.waitUntilShortcutsAnswer(*terminal)) {
        std::cerr << "the program's shortcuts never answered\n";
        return 1;
    }
    desk.lastConfigure(0.3);
    std::printf("%s on %s (pid %d), %d rounds\n", binary.c_str(), display.name().c_str(), program, rounds);

    // Centre press: 4, 50 and 200 other windows on the terminal's screen.
    std::vector<int> crowds{0, 46, 196};
    if (std::getenv("ZENTARIS_BENCH_ONLY_ARRANGE")) crowds.clear();
    std::map<int, std::vector<double>> requests, roundTrips;
    // Arrange-all: 4 others, and 200 more (10 per application) on the same screen, on the other
    // screen, or minimised; and 1,000 applications of one window each on the same screen.
    struct Arrangement {
        const char* name;
        int extra, perApplication, x;
        bool minimised, oneClient;
    };
    const std::vector<Arrangement> arrangements{{"4 other windows", 0, 10, 0, false, false},
                                                {"+200 on the same screen", 200, 10, 400, false, false},
                                                {"+200 on the other screen", 200, 10, 2200, false, false},
                                                {"+200 minimised", 200, 10, 400, true, false},
                                                {"+1000 applications, 1 window each", 1000, 1, 400, false, true}};
    std::map<std::string, std::vector<double>> arrangeMs, arrangeCpuMs, arrangeRequests, bareMs, firstMs;
    const xcb_window_t other = desk.watched().at(1);

    bool centreNext = true;
    for (int round = 0; round < rounds; ++round) {
        for (int extra : crowds) {
            if (extra > 0) desk.addCrowd(extra, 10, 500, 200, false);
            desk.activate(*terminal);
            desk.lastConfigure(0.2);
            for (int p = 0; p < presses; ++p) {
                const auto requestsBefore = counter.counts->requests.load(), tripsBefore = counter.counts->roundTrips.load();
                desk.pressShortcut(centreNext ? XK_c : XK_f);
                centreNext = !centreNext;
                desk.nextConfigure(2);
                desk.lastConfigure(0.15);
                requests[extra].push_back(double(counter.counts->requests.load() - requestsBefore));
                roundTrips[extra].push_back(double(counter.counts->roundTrips.load() - tripsBefore));
            }
            desk.removeCrowd(base);
        }
        for (const auto& arrangement : arrangements) {
            if (arrangement.extra > 0)
                desk.addCrowd(arrangement.extra, arrangement.perApplication, arrangement.x, 200, arrangement.minimised,
                              arrangement.oneClient);
            desk.activate(*terminal);
            desk.lastConfigure(0.2);
            for (int p = 0; p < presses; ++p) {
                // Centred first, so that the terminal always has somewhere to go.
                desk.pressShortcut(XK_c);
                desk.nextConfigure(2);
                desk.lastConfigure(0.15);
                const auto cpuBefore = costOf(program).cpuSeconds;
                const auto requestsBefore = counter.counts->requests.load();
                const auto start = Clock::now();
                desk.pressShortcut(XK_1);
                auto last = desk.nextConfigure(5);
                if (auto later = desk.lastConfigure(0.4)) last = later;
                arrangeCpuMs[arrangement.name].push_back((costOf(program).cpuSeconds - cpuBefore) * 1000);
                arrangeRequests[arrangement.name].push_back(double(counter.counts->requests.load() - requestsBefore));
                if (!last) {
                    if (std::getenv("ZENTARIS_BENCH_VERBOSE")) std::fprintf(stderr, "%s: no window moved\n", arrangement.name);
                    continue;
                }
                const double ms = std::chrono::duration<double, std::milli>(*last - start).count();
                arrangeMs[arrangement.name].push_back(ms);
                // The first press after the windows appeared reads each of them for the first time.
                if (p == 0) firstMs[arrangement.name].push_back(ms);
            }
            for (int p = 0; p < presses; ++p) {
                desk.pressShortcut(XK_c);
                desk.nextConfigure(2);
                desk.lastConfigure(0.15);
                // The terminal from the centre to a half, the other window to the other half.
                const int left = p % 2 == 0 ? 0 : 960, right = 960 - left;
                const auto start = Clock::now();
                desk.moveResize(*terminal, left, 0, 900, 1000);
                std::this_thread::sleep_for(std::chrono::milliseconds(20)); // the program's pause between windows
                desk.moveResize(other, right, 0, 900, 1000);
                auto last = desk.nextConfigure(5);
                if (auto later = desk.lastConfigure(0.4)) last = later;
                if (last) bareMs[arrangement.name].push_back(std::chrono::duration<double, std::milli>(*last - start).count());
            }
            desk.removeCrowd(base);
        }
        // The too-many-windows card of the last press is gone before the next round's counts.
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    }

    std::printf("\ncentre press (median per press)    requests   round trips\n");
    for (int extra : crowds) {
        std::printf("  %3d other windows            %10.0f %13.0f\n", 4 + extra, median(requests[extra]), median(roundTrips[extra]));
    }
    const double r0 = median(requests[0]), t0 = median(roundTrips[0]);
    for (int extra : {46, 196}) {
        std::printf("  ratio %d/4                    %10.2f %13.2f\n", 4 + extra, median(requests[extra]) / r0,
                    median(roundTrips[extra]) / t0);
    }
    // The program's CPU time and X requests of the press (its cards painted included) tell its
    // share of the time from the server's and the window manager's.
    std::printf("\narrange-all (median)   press -> last window moved: ms, ratio to 4 others (target <= 1.5);"
                " program CPU ms; X requests;\n  bare xcb moves of two windows: ms, ratio to 4 others; the program's"
                " time less the bare moves' (ms)\n");
    const double baseMs = median(arrangeMs["4 other windows"]), bareBaseMs = median(bareMs["4 other windows"]);
    for (const auto& arrangement : arrangements) {
        const double ms = median(arrangeMs[arrangement.name]), bare = median(bareMs[arrangement.name]);
        std::printf("  %-34s %8.1f %6.2f %8.1f %8.0f   bare %6.1f %5.2f   %+6.1f   (%zu presses)\n", arrangement.name, ms,
                    ms / baseMs, median(arrangeCpuMs[arrangement.name]), median(arrangeRequests[arrangement.name]), bare,
                    bare / bareBaseMs, ms - bare, arrangeMs[arrangement.name].size());
    }
    std::printf("  the first press after the windows appeared (median of rounds):");
    for (const auto& arrangement : arrangements) std::printf(" %.1f", median(firstMs[arrangement.name]));
    std::printf(" ms\n");
    return 0;
}
