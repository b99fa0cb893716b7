// message_step - what the library's per-operation message step and the
// polls cost with nothing pending, and what showing a 1000 x 720 frame with
// UpdateBuffer costs without pacing. Run with GRAPHICS_FPS=0 (the default
// paces presentation to 60 frames a second).
#include <benchmark/benchmark.h>

#include <memory>

#include "graphics.h"

namespace {

std::unique_ptr<window> QuietWindow(int width, int height) {
    auto w = std::make_unique<window>(width, height, 0, 0);
    w->SetWaitOnClose(false);
    return w;
}

void BM_ProcessOneMessageIdle(benchmark::State& state) {
    auto w = QuietWindow(200, 150);
    for (auto _ : state) w->ProcessOneMessage();
}
BENCHMARK(BM_ProcessOneMessageIdle);

void BM_PollKeyAndClickIdle(benchmark::State& state) {
    auto w = QuietWindow(200, 150);
    char code = 0;
    int32_t x = 0, y = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(w->PollKey(code));
        benchmark::DoNotOptimize(w->PollClick(x, y));
    }
}
BENCHMARK(BM_PollKeyAndClickIdle);

void BM_UpdateBufferFullFrame(benchmark::State& state) {
    auto w = QuietWindow(1000, 720);
    w->SetBuffering(true);
    for (auto _ : state) w->UpdateBuffer();
    w->SetBuffering(false);
}
BENCHMARK(BM_UpdateBufferFullFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
