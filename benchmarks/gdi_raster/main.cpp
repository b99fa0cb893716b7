// gdi_raster: how fast our GDI draws what the game draws every frame on a
// 1000 x 720 back buffer: a white clear, large filled four-point faces with
// 4-pixel inside-frame outlines, the frame copy to another bitmap, and the
// background picture put down with SetDIBitsToDevice.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <vector>

namespace {

struct Buffer {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    Buffer(int w, int h) : dc(CreateCompatibleDC(nullptr)) {
        HDC screen = GetDC(nullptr);
        bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
    }
    ~Buffer() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

// The court: floor, ceiling, walls and back wall as quadrilaterals.
const POINT kFaces[][4] = {
    {{0, 0}, {999, 0}, {700, 200}, {300, 200}},       {{0, 719}, {999, 719}, {700, 520}, {300, 520}},
    {{0, 0}, {300, 200}, {300, 520}, {0, 719}},       {{999, 0}, {700, 200}, {700, 520}, {999, 719}},
    {{300, 200}, {700, 200}, {700, 520}, {300, 520}},
};

void FilledFaces(benchmark::State& state) {
    Buffer buffer(1000, 720);
    HPEN pen = CreatePen(PS_INSIDEFRAME, static_cast<int>(state.range(0)), RGB(0, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(174, 174, 174));
    SelectObject(buffer.dc, pen);
    SelectObject(buffer.dc, brush);
    for (auto _ : state) {
        for (const auto& face : kFaces) Polygon(buffer.dc, face, 4);
    }
    SelectObject(buffer.dc, GetStockObject(BLACK_PEN));
    SelectObject(buffer.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(pen);
    DeleteObject(brush);
    state.SetItemsProcessed(state.iterations() * 5);
}
BENCHMARK(FilledFaces)->Arg(1)->Arg(4);

void ClearWithRectangle(benchmark::State& state) {
    Buffer buffer(1000, 720);
    for (auto _ : state) Rectangle(buffer.dc, 0, 0, 999, 719);
}
BENCHMARK(ClearWithRectangle);

void FrameCopy(benchmark::State& state) {
    Buffer back(1000, 720), front(1000, 720);
    for (auto _ : state) BitBlt(front.dc, 0, 0, 999, 719, back.dc, 0, 0, SRCCOPY);
}
BENCHMARK(FrameCopy);

void PictureAtNaturalSize(benchmark::State& state) {
    Buffer buffer(1000, 720);
    std::vector<uint32_t> picture(168 * 84, 0x336699);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 168;
    bi.bmiHeader.biHeight = -84;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    for (auto _ : state) {
        SetDIBitsToDevice(buffer.dc, 416, 318, 168, 84, 0, 0, 0, 84, picture.data(), &bi, DIB_RGB_COLORS);
    }
}
BENCHMARK(PictureAtNaturalSize);

void SpinningCubeOutlines(benchmark::State& state) {
    // Small faces with wide outlines, as the ball draws them.
    Buffer buffer(1000, 720);
    HPEN pen = CreatePen(PS_INSIDEFRAME, 4, RGB(0, 0, 0));
    SelectObject(buffer.dc, pen);
    SelectObject(buffer.dc, GetStockObject(NULL_BRUSH));
    POINT face[4] = {{480, 340}, {530, 345}, {525, 395}, {475, 390}};
    for (auto _ : state) {
        for (int i = 0; i < 6; ++i) Polygon(buffer.dc, face, 4);
    }
    SelectObject(buffer.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}
BENCHMARK(SpinningCubeOutlines);

}  // namespace

BENCHMARK_MAIN();
