// From a key press (XTEST) to the focused xterm's ConfigureNotify, and the CPU each press costs,
// for centre and fill on the real program under openbox, alternated press by press with a bare
// xcb program that grabs Super+Alt+B and sends one ConfigureWindow. Medians; ratios to the floor.
// Usage: bench_app_press [--presses N] [--zentaris PATH]
#include "BenchDesktop.h"

#include <X11/keysym.h>

#include <cstdio>
#include <iostream>
#include <map>

using namespace zentaris::bench;

int main(int argc, char** argv) {
    const std::string binary = programBinary(argc, argv, ZENTARIS_BINARY);
    int presses = 40;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--presses") presses = std::stoi(argv[i + 1]);
    }
    zentaris::testing::PrivateDisplay display;
    BenchDesktop desk(display);
    QuietConfig config;
    const auto terminal = desk.openTerminal();
    if (!terminal) {
        std::cerr << "xterm did not appear\n";
        return 1;
    }
    const pid_t program = display.spawn(config.command(binary));
    const pid_t bare = display.spawn({BARE_KEY_GRABBER, std::to_string(desk.keycode(XK_b)), std::to_string(*terminal)});
    if (!desk.waitUntilShortcutsAnswer(*terminal)) {
        std::cerr << "the program's shortcuts never answered\n";
        return 1;
    }
    desk.lastConfigure(0.3);

    std::map<std::string, std::vector<double>> milliseconds, cpu;
    auto measure = [&](const std::string& name, std::uint32_t key, pid_t pid) {
        const auto before = costOf(pid);
        const auto start = Clock::now();
        desk.pressShortcut(key);
        const auto arrived = desk.nextConfigure(2);
        desk.lastConfigure(0.1);
        const auto after = costOf(pid);
        if (!arrived) return;
        milliseconds[name].push_back(std::chrono::duration<double, std::milli>(*arrived - start).count());
        cpu[name].push_back(1000 * (after.cpuSeconds - before.cpuSeconds));
    };
    for (int i = 0; i < presses; ++i) {
        measure(i % 2 ? "zentaris fill" : "zentaris centre", i % 2 ? XK_f : XK_c, program);
        measure("bare xcb program", XK_b, bare);
    }
    const double floorMs = median(milliseconds["bare xcb program"]), floorCpu = median(cpu["bare xcb program"]);
    std::printf("%s, %d presses each, alternated\n\n", binary.c_str(), presses);
    std::printf("press -> ConfigureNotify     median ms   ratio (<= 1.2)   CPU ms/press   ratio (<= 3)\n");
    for (const char* name : {"bare xcb program", "zentaris centre", "zentaris fill"}) {
        const double ms = median(milliseconds[name]), c = median(cpu[name]);
        std::printf("  %-24s %11.2f %12.2f %14.3f %12.2f   (%zu)\n", name, ms, ms / floorMs, c, c / floorCpu,
                    milliseconds[name].size());
    }
    return 0;
}
