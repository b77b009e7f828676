// The settings file at the largest size that is read: loading it at start, and one change written
// onto it. Both must grow in step with the file (bytes per second the same at every size) and stay
// well under a second at 1 MiB. Medians of five runs.
#include "BenchFolder.h"
#include "platform/system/JsonFileUserDefaults.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using platform::JsonFileUserDefaults;
using zentaris::bench::BenchFolder;

// Empty objects, as many as fit in `bytes`: the most values a file of that size can hold.
std::string emptyObjects(std::size_t bytes) {
    std::string text = R"({"version":1,"values":{"a":{"type":"bool","value":true}},"extra":[{})";
    while (text.size() + 5 <= bytes) text += ",{}";
    return text + "]}";
}

// Ordinary entries, as many as fit in `bytes` (15,000 take about 1 MiB).
std::string entries(std::size_t bytes) {
    std::string text = R"({"version":1,"values":{"a":{"type":"bool","value":true})";
    for (int i = 0; text.size() + 80 <= bytes; ++i) {
        text += ",\"shortcut.name" + std::to_string(i) + R"(":{"type":"string","value":"ctrl+alt+shift+super+left"})";
    }
    return text + "}}";
}

void BM_LoadEmptyObjects(benchmark::State& state) {
    const BenchFolder folder(BenchFolder::Where::memory);
    const auto text = emptyObjects(static_cast<std::size_t>(state.range(0)));
    const auto file = folder.file(text);
    for (auto _ : state) {
        JsonFileUserDefaults defaults(file);
        if (!defaults.boolValue("a")) state.SkipWithError("the file was not read");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LoadEmptyObjects)
    ->RangeMultiplier(2)
    ->Range(256 << 10, JsonFileUserDefaults::maximumFileSize)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ChangeInFileOfEntries(benchmark::State& state) {
    const BenchFolder folder(BenchFolder::Where::memory);
    const auto text = entries(static_cast<std::size_t>(state.range(0)));
    JsonFileUserDefaults defaults(folder.file(text));
    bool on = false;
    for (auto _ : state) defaults.set("a", on = !on);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ChangeInFileOfEntries)
    ->RangeMultiplier(2)
    ->Range(256 << 10, JsonFileUserDefaults::maximumFileSize - 1024)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
