// Several Zentaris sessions of one user changing one settings file at once: N processes, each a
// real settings store, each appending its own tags to one list with update(), then saving what is
// left as the program does at quit. Counts the entries missing from the file once every writer is
// done (must be 0), the entries whose save was refused because the folder stayed locked (they are
// saved later, so they must be on disk too), and the slowest change. A third argument keeps the
// folder locked for that many seconds by a stopped holder when the writers start. Medians of three
// runs.
#include "BenchFolder.h"
#include "StoppedHolder.h"
#include "platform/system/JsonFileUserDefaults.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using platform::DefaultsValue;
using platform::JsonFileUserDefaults;
using platform::StringList;
using zentaris::bench::BenchFolder;
using zentaris::bench::StoppedHolder;

std::string tagOf(int writer, int append) { return std::to_string(writer) + "." + std::to_string(append); }

struct WriterResult {
    double slowestMilliseconds = 0;
    int refused = 0;
};

// One writer's appends; what it saw goes back through `pipe`.
[[noreturn]] void appendInChild(const std::filesystem::path& file, int writer, int appends, int pipe) {
    // What the store says of each refused save goes where a session's errors go, not in the table.
    if (!std::getenv("ZENTARIS_BENCH_VERBOSE")) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDERR_FILENO);
    }
    WriterResult result;
    bool reported = false; // outlives the store that keeps the handler
    {
        JsonFileUserDefaults defaults(file);
        defaults.setWriteFailureHandler([&reported, &defaults](const std::string&) {
            reported = true;
            defaults.writeFailureSeen();
        });
        for (int i = 0; i < appends; ++i) {
            const auto tag = tagOf(writer, i);
            const auto started = std::chrono::steady_clock::now();
            reported = false;
            // The store keeps a refused change to apply it again later: it owns its tag.
            defaults.update("tags", [tag](const std::optional<DefaultsValue>& stored) -> std::optional<DefaultsValue> {
                auto list = stored ? std::get<StringList>(*stored) : StringList{};
                list.push_back(tag);
                return list;
            });
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
            result.slowestMilliseconds = std::max(result.slowestMilliseconds, took.count());
            if (reported || !defaults.unsavedKeys().empty()) ++result.refused;
        }
        defaults.synchronize();
        defaults.saveBeforeQuitting();
    }
    (void)!::write(pipe, &result, sizeof result);
    ::_exit(0);
}

void BM_WritersAppendingToOneList(benchmark::State& state) {
    const int writers = static_cast<int>(state.range(0));
    const int appends = static_cast<int>(state.range(1));
    const auto heldFor = std::chrono::seconds(state.range(2));
    double lost = 0, refused = 0, slowest = 0;
    for (auto _ : state) {
        const BenchFolder folder(BenchFolder::Where::disk);
        const auto file = folder.path() / "defaults.json";
        StoppedHolder holder(folder.path());
        if (heldFor.count() == 0) holder.release();
        else if (!holder.holding()) state.SkipWithError("the folder could not be locked");
        int results[2];
        if (::pipe(results) != 0) state.SkipWithError("no pipe");
        std::vector<pid_t> children;
        for (int writer = 0; writer < writers; ++writer) {
            const pid_t pid = ::fork();
            if (pid == 0) appendInChild(file, writer, appends, results[1]);
            children.push_back(pid);
        }
        ::close(results[1]);
        if (holder.holding()) {
            std::this_thread::sleep_for(heldFor);
            holder.release();
        }
        WriterResult result;
        while (::read(results[0], &result, sizeof result) == sizeof result) {
            refused += result.refused;
            slowest = std::max(slowest, result.slowestMilliseconds);
        }
        ::close(results[0]);
        for (const pid_t pid : children) ::waitpid(pid, nullptr, 0);
        const auto tags = JsonFileUserDefaults(file).stringListValue("tags").value_or(StringList{});
        const std::set<std::string> onDisk(tags.begin(), tags.end());
        for (int writer = 0; writer < writers; ++writer) {
            for (int i = 0; i < appends; ++i) lost += onDisk.count(tagOf(writer, i)) == 0;
        }
    }
    state.counters["entries_lost"] = lost / static_cast<double>(state.iterations());
    state.counters["refused"] = refused / static_cast<double>(state.iterations());
    state.counters["slowest_ms"] = slowest;
}
BENCHMARK(BM_WritersAppendingToOneList)
    ->ArgNames({"writers", "appends", "held_s"})
    ->Args({2, 1000, 0})
    ->Args({4, 500, 0})
    ->Args({4, 1000, 0})
    ->Args({4, 500, 5})
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
