// What the program costs while a person works elsewhere or drags: 2,000 keys typed into an xterm,
// pointer motions of a Super drag with the drop-zone preview up, and the too-many-windows card from
// its press to its end. Each scene runs `--rounds` times; medians.
// Usage: bench_app_quiet [--rounds N] [--zentaris PATH]
#include "BenchDesktop.h"

#include <X11/keysym.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace zentaris::bench;

namespace {

// utime + stime in clock ticks, as the kernel accounts them.
long cpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i >= 14) ticks += std::stol(field);
    }
    return ticks;
}

void pause(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

} // namespace

int main(int argc, char** argv) {
    const std::string binary = programBinary(argc, argv, ZENTARIS_BINARY);
    int rounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--rounds") rounds = std::stoi(argv[i + 1]);
    }
    zentaris::testing::PrivateDisplay display;
    BenchDesktop desk(display);
    QuietConfig config;
    const auto terminal = desk.openTerminal();
    if (!terminal) {
        std::cerr << "xterm did not appear\n";
        return 1;
    }
    desk.addCrowd(2, 1, 900, 500, false);
    const pid_t program = display.spawn(config.command(binary));
    if (!desk.waitUntilShortcutsAnswer(*terminal)) {
        std::cerr << "the program's shortcuts never answered\n";
        return 1;
    }
    pause(2.5); // the card of the start-up probe is gone

    std::vector<double> typingCpu, typingTicks, typingSwitches, dragCpu, cardCpu;
    const auto letter = desk.keycode(XK_a), erase = desk.keycode(XK_BackSpace), super = desk.keycode(XK_Super_L);
    for (int round = 0; round < rounds; ++round) {
        // Typing: 2,000 keys (a letter and its erasure) into the focused terminal.
        desk.pressShortcut(XK_c);
        desk.lastConfigure(0.2);
        constexpr int keys = 2000;
        auto before = costOf(program);
        auto ticks = cpuTicks(program);
        for (int i = 0; i < keys; ++i) {
            const auto key = i % 2 ? erase : letter;
            desk.fakeKey(true, key);
            desk.fakeKey(false, key);
            pause(0.001);
        }
        pause(0.3);
        auto after = costOf(program);
        typingCpu.push_back(1000 * (after.cpuSeconds - before.cpuSeconds));
        typingTicks.push_back(double(cpuTicks(program) - ticks));
        typingSwitches.push_back(double(after.switches - before.switches) / keys);

        // A Super drag by the title bar, the preview up, then many motions inside one zone.
        const auto [x, y] = desk.originOf(*terminal);
        desk.movePointer(x + 200, y - 8);
        pause(0.1);
        desk.fakeButton(true, 1);
        pause(0.05);
        for (int i = 1; i <= 10; ++i) {
            desk.movePointer(x + 200 + 4 * i, y - 8 + 2 * i);
            pause(0.02);
        }
        desk.fakeKey(true, super);
        pause(0.1);
        constexpr int motions = 200;
        before = costOf(program);
        for (int i = 0; i < motions; ++i) {
            desk.movePointer(x + 240 + (i % 2 ? 3 : 0), y + 12 + (i % 2 ? 2 : 0));
            pause(0.005);
        }
        pause(0.1);
        after = costOf(program);
        dragCpu.push_back(1e6 * (after.cpuSeconds - before.cpuSeconds) / motions);
        desk.fakeKey(false, super);
        desk.fakeButton(false, 1);
        desk.lastConfigure(0.3);
        pause(1.5);

        // The too-many-windows card: arrange-all of two slots with three windows, to its end.
        desk.activate(*terminal);
        pause(0.2);
        before = costOf(program);
        desk.pressShortcut(XK_1);
        pause(3.0);
        after = costOf(program);
        cardCpu.push_back(1000 * (after.cpuSeconds - before.cpuSeconds));
    }
    std::printf("%s, %d rounds, medians\n\n", binary.c_str(), rounds);
    std::printf("2,000 keys typed into an xterm:   CPU %.2f ms (%.0f ticks, target 0), %.3f context switches per key (target < 0.1)\n",
                median(typingCpu), median(typingTicks), median(typingSwitches));
    std::printf("Super drag with the preview up:   %.0f us CPU per pointer motion (target <= 100)\n", median(dragCpu));
    std::printf("too-many-windows card, its life:  %.1f ms CPU with the arrange-all that shows it (target <= 50)\n",
                median(cardCpu));
    return 0;
}
