// jpeg_decode - how long loading a window-sized (1000 x 720) JPEG file
// takes, and drawing the picture on a buffered 1000 x 720 window at natural
// size, stretched, and capturing the whole window.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics.h"
#include "jpeg_writer.h"

namespace {

const int kWidth = 1000, kHeight = 720;

// A photograph-like picture: smooth gradients with some texture.
const std::string& PicturePath() {
    static const std::string path = [] {
        std::vector<unsigned char> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                unsigned char* p = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
                p[0] = static_cast<unsigned char>(128 + 100 * std::sin(x * 0.01 + y * 0.003));
                p[1] = static_cast<unsigned char>(y * 255 / kHeight);
                p[2] = static_cast<unsigned char>(((x * 7) ^ (y * 3)) & 0xFF);
            }
        std::string file = (std::filesystem::temp_directory_path() / "jpeg_decode_bench.jpg").string();
        if (!jpeg_writer::WriteRgb(file, kWidth, kHeight, rgb.data(), 85)) std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return file;
    }();
    return path;
}

window& Window() {
    static window* w = [] {
        window* made = new window(kWidth, kHeight, 0, 0);
        made->SetWaitOnClose(false);
        made->SetBuffering(true);
        return made;
    }();
    return *w;
}

void BM_LoadJpeg(benchmark::State& state) {
    image img;
    for (auto _ : state) {
        img.Load(PicturePath(), IK_JPEG);
        benchmark::DoNotOptimize(img.Pixels());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_LoadJpeg)->Unit(benchmark::kMillisecond);

void BM_DrawNaturalSize(benchmark::State& state) {
    image img(PicturePath(), IK_JPEG);
    window& w = Window();
    for (auto _ : state) w.DrawImage(img, 0, 0, -1, -1);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_DrawNaturalSize)->Unit(benchmark::kMillisecond);

void BM_DrawStretched(benchmark::State& state) {
    image img(PicturePath(), IK_JPEG);
    window& w = Window();
    const int size = static_cast<int>(state.range(0));
    for (auto _ : state) w.DrawImage(img, 0, 0, size, size * kHeight / kWidth);
    state.SetItemsProcessed(state.iterations() * size * (size * kHeight / kWidth));
}
BENCHMARK(BM_DrawStretched)->Arg(500)->Arg(1000)->Arg(1500)->Unit(benchmark::kMillisecond);

void BM_DrawBackground(benchmark::State& state) {
    // The game's per-frame picture: 168 x 84 at natural size.
    std::vector<unsigned char> rgb(168 * 84 * 3, 90);
    std::string file = (std::filesystem::temp_directory_path() / "jpeg_decode_bench_small.jpg").string();
    jpeg_writer::WriteRgb(file, 168, 84, rgb.data(), 90);
    image img(file, IK_JPEG);
    window& w = Window();
    for (auto _ : state) w.DrawImage(img, 416, 318, -1, -1);
}
BENCHMARK(BM_DrawBackground)->Unit(benchmark::kMicrosecond);

void BM_CaptureWindow(benchmark::State& state) {
    window& w = Window();
    image cap;
    for (auto _ : state) w.StoreImage(cap, 0, 0, kWidth, kHeight);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_CaptureWindow)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
