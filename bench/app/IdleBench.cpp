// What the running program costs while nothing happens: resident memory, CPU time and wake-ups
// (context switches of every thread) over an idle period, against a bare Qt tray program.
// Usage: bench_app_idle [--seconds N] [--zentaris PATH]   (default 60)
#include "BenchDesktop.h"
#include "QuietStart.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

struct ThreadSample {
    std::string name;
    long switches = 0; // voluntary and involuntary
};

struct Sample {
    long residentKiB = 0;
    long cpuTicks = 0;
    std::map<pid_t, ThreadSample> threads;
};

long statusField(const std::filesystem::path& status, const std::string& field) {
    std::ifstream in(status);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    }
    return 0;
}

std::string firstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

Sample sample(pid_t pid) {
    const std::filesystem::path proc = "/proc/" + std::to_string(pid);
    Sample result;
    result.residentKiB = statusField(proc / "status", "VmRSS");
    // utime and stime are fields 14 and 15; the command name in parentheses may hold spaces.
    const std::string stat = firstLine(proc / "stat");
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i >= 14) result.cpuTicks += std::stol(field);
    }
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(proc / "task", error)) {
        const pid_t tid = std::stoi(task.path().filename().string());
        result.threads[tid] = {firstLine(task.path() / "comm"), statusField(task.path() / "status", "voluntary_ctxt_switches") +
                                                                    statusField(task.path() / "status", "nonvoluntary_ctxt_switches")};
    }
    return result;
}

void waitFor(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// Measures one program over `seconds` after it has settled, and prints one block.
void measure(const std::string& label, zentaris::testing::PrivateDisplay& display, const std::vector<std::string>& argv,
             double settleSeconds, double seconds) {
    const pid_t pid = display.spawn(argv);
    waitFor(settleSeconds);
    const Sample before = sample(pid);
    waitFor(seconds);
    const Sample after = sample(pid);
    if (after.threads.empty()) {
        std::cout << label << ": the program is gone\n";
        return;
    }
    long wakeups = 0;
    std::ostringstream perThread;
    for (const auto& [tid, thread] : after.threads) {
        auto earlier = before.threads.find(tid);
        const long switches = thread.switches - (earlier == before.threads.end() ? 0 : earlier->second.switches);
        wakeups += switches;
        if (switches > 0) perThread << "    " << thread.name << " (" << tid << "): " << switches << "\n";
    }
    const double cpuMs = 1000.0 * static_cast<double>(after.cpuTicks - before.cpuTicks) / static_cast<double>(::sysconf(_SC_CLK_TCK));
    std::printf("%-22s resident %7.1f MiB   CPU %7.1f ms over %.0f s   wake-ups %ld (%.2f/s)\n", label.c_str(),
                static_cast<double>(after.residentKiB) / 1024.0, cpuMs, seconds, wakeups, static_cast<double>(wakeups) / seconds);
    std::cout << perThread.str() << std::flush;
}

} // namespace

int main(int argc, char** argv) {
    const std::string binary = zentaris::bench::programBinary(argc, argv, ZENTARIS_BINARY);
    double seconds = 60;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            seconds = std::stod(argv[++i]);
        } else {
            std::cerr << "usage: " << argv[0] << " [--seconds N] [--zentaris PATH]   (idle period, default 60)\n";
            return 2;
        }
    }
    for (const char* tool : {"Xvfb", "openbox"}) {
        if (!zentaris::testing::programAvailable(tool)) {
            std::cerr << tool << " is not installed\n";
            return 1;
        }
    }
    zentaris::testing::PrivateDisplay display;
    // A tray to dock into, as on a desktop.
    if (zentaris::testing::programAvailable("trayer")) display.spawn({"trayer", "--edge", "top", "--height", "24"});
    zentaris::bench::QuietConfig config;
    std::printf("Idle for %.0f s on %s, after 3 s to settle\n", seconds, display.name().c_str());
    measure("zentaris", display, config.command(binary), 3, seconds);
    measure("bare Qt tray program", display, {BARE_TRAY_BINARY}, 3, seconds);
    return 0;
}
