// Costs of the layout engine's hot paths: the drop-zone lookup run on every drag event, and
// collecting the windows of one screen on the in-memory desktop.
#include "layout/PreviewService.h"
#include "layout/ScreenDetectionService.h"
#include "layout/WindowScreenLookup.h"
#include "platform/fake/FakeDesktop.h"

#include <benchmark/benchmark.h>

namespace {

using platform::Rect;

void BM_DropZoneLookup(benchmark::State& state) {
    const Rect area{0, 0, 2560, 1415};
    double x = 0;
    for (auto _ : state) {
        // Sweep across the screen so every rule gets its share.
        x = x >= area.width() ? 0 : x + 7.3;
        benchmark::DoNotOptimize(zentaris::dropZoneFor({x, 700}, area));
    }
}
BENCHMARK(BM_DropZoneLookup);

void BM_WindowsOfScreen(benchmark::State& state) {
    const auto count = state.range(0);
    platform::fake::FakeDesktop desktop;
    desktop.addScreen({0, 0, 1440, 900});
    desktop.addScreen({1440, 0, 1440, 900});
    desktop.accessibility().setRecording(false);
    for (int64_t i = 0; i < count; ++i) {
        auto app = desktop.addApplication();
        desktop.addWindow(app, {static_cast<double>((i % 2) * 1440 + 100), 100, 600, 400});
    }
    zentaris::ScreenDetectionService detection(desktop);
    const auto screen = desktop.screens().screens().front();
    for (auto _ : state) {
        std::size_t onScreen = 0;
        for (const auto& window : detection.allWindows()) {
            if (zentaris::isWindowOnScreen(desktop, window, screen)) ++onScreen;
        }
        benchmark::DoNotOptimize(onScreen);
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_WindowsOfScreen)->Arg(4)->Arg(50)->Arg(200)->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
