// Several Zentaris sessions of one user changing one settings file at once: N processes, each a
// real settings store, each appending its own tags to one list with update(). Counts the entries
// lost (must be 0), the changes refused because the folder stayed locked, and the slowest change.
// Medians of three runs.
#include "BenchFolder.h"
#include "platform/system/JsonFileUserDefaults.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using platform::DefaultsValue;
using platform::JsonFileUserDefaults;
using platform::StringList;
using zentaris::bench::BenchFolder;

struct WriterResult {
    double slowestMilliseconds = 0;
    int refused = 0;
};

// One writer's appends; what it saw goes back through `pipe`.
[[noreturn]] void appendInChild(const std::filesystem::path& file, int writer, int appends, int pipe) {
    WriterResult result;
    {
        JsonFileUserDefaults defaults(file);
        defaults.setWriteFailureHandler([&result, &defaults](const std::string&) {
            ++result.refused;
            defaults.writeFailureSeen();
        });
        for (int i = 0; i < appends; ++i) {
            const auto tag = std::to_string(writer) + "." + std::to_string(i);
            const auto started = std::chrono::steady_clock::now();
            defaults.update("tags", [&tag](const std::optional<DefaultsValue>& stored) -> std::optional<DefaultsValue> {
                auto list = stored ? std::get<StringList>(*stored) : StringList{};
                list.push_back(tag);
                return list;
            });
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
            result.slowestMilliseconds = std::max(result.slowestMilliseconds, took.count());
        }
        defaults.saveBeforeQuitting();
    }
    (void)!::write(pipe, &result, sizeof result);
    ::_exit(0);
}

void BM_WritersAppendingToOneList(benchmark::State& state) {
    const int writers = static_cast<int>(state.range(0));
    const int appends = static_cast<int>(state.range(1));
    double lost = 0, refused = 0, slowest = 0;
    for (auto _ : state) {
        const BenchFolder folder(BenchFolder::Where::disk);
        const auto file = folder.path() / "defaults.json";
        int results[2];
        if (::pipe(results) != 0) state.SkipWithError("no pipe");
        std::vector<pid_t> children;
        for (int writer = 0; writer < writers; ++writer) {
            const pid_t pid = ::fork();
            if (pid == 0) appendInChild(file, writer, appends, results[1]);
            children.push_back(pid);
        }
        ::close(results[1]);
        WriterResult result;
        while (::read(results[0], &result, sizeof result) == sizeof result) {
            refused += result.refused;
            slowest = std::max(slowest, result.slowestMilliseconds);
        }
        ::close(results[0]);
        for (const pid_t pid : children) ::waitpid(pid, nullptr, 0);
        const auto tags = JsonFileUserDefaults(file).stringListValue("tags").value_or(StringList{});
        lost += writers * appends - static_cast<double>(std::set<std::string>(tags.begin(), tags.end()).size());
    }
    state.counters["entries_lost"] = lost / static_cast<double>(state.iterations());
    state.counters["refused"] = refused / static_cast<double>(state.iterations());
    state.counters["slowest_ms"] = slowest;
}
BENCHMARK(BM_WritersAppendingToOneList)
    ->Args({2, 1000})
    ->Args({4, 500})
    ->Args({4, 1000})
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
