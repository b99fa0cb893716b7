// fault_points.h - the platform calls that a test can make fail, and the
// one check each of them makes first. Tests arm a call by its Win32 name
// (platform_faults.h); the name is turned into its Call here only then, so
// a call asks nothing but whether its entry of a plain array is armed.
#ifndef PLATFORM_FAULT_POINTS_H
#define PLATFORM_FAULT_POINTS_H

#include <cstddef>

namespace platform_faults {

// Every call that can be made to fail, by its Win32 name.
// clang-format off
#define PLATFORM_FAULT_POINTS(X) \
    X(Arc) X(BitBlt) X(CreateCompatibleBitmap) X(CreateCompatibleDC) X(CreateDiscardableBitmap) \
    X(CreateEllipticRgn) X(CreateFontIndirectA) X(CreatePen) X(CreatePolygonRgn) X(CreateRectRgn) \
    X(CreateRoundRectRgn) X(CreateSolidBrush) X(CreateWindowExA) X(DeleteDC) X(DeleteObject) \
    X(DestroyWindow) X(Ellipse) X(EndDoc) X(EndPage) X(GetClientRect) X(GetDC) X(GetDIBits) \
    X(GetModuleHandleA) X(GetStockObject) X(GetSystemMetrics) X(GetTextExtentPoint32A) X(GetWindowRect) \
    X(GetWindowTextA) X(InvertRgn) X(LineTo) X(LoadCursorA) X(MessageBoxA) X(MoveToEx) X(PeekMessageA) \
    X(Pie) X(PolyBezier) X(Polygon) X(PostMessageA) X(PrintDlgA) X(Rectangle) X(RegisterClassA) \
    X(ReleaseCapture) X(ReleaseDC) X(RoundRect) X(SelectObject) X(SetBkMode) X(SetDIBitsToDevice) \
    X(SetPixel) X(SetPolyFillMode) X(SetROP2) X(SetStretchBltMode) X(SetTextAlign) X(SetTextColor) \
    X(SetWindowTextA) X(StartDocA) X(StartPage) X(StretchBlt) X(StretchDIBits) X(TextOutA) \
    X(WaitMessage)
// clang-format on

enum class Call : unsigned char {
#define PLATFORM_FAULT_ENUM(name) name,
    PLATFORM_FAULT_POINTS(PLATFORM_FAULT_ENUM)
#undef PLATFORM_FAULT_ENUM
};

#define PLATFORM_FAULT_COUNT(name) +1
constexpr size_t kCallCount = 0 PLATFORM_FAULT_POINTS(PLATFORM_FAULT_COUNT);
#undef PLATFORM_FAULT_COUNT

// How many of each call's next calls fail (faults.cpp); 0 for almost
// every call of almost every run.
extern int armed[kCallCount];

// Whether a failure of `call` is armed.
inline bool Armed(Call call) { return armed[static_cast<size_t>(call)] > 0; }

// True, and one armed failure used up, when `call` is armed: the call then
// fails as the Win32 call reports failure. (It calls nothing, so that a
// platform call keeps nothing aside for it.)
inline bool ShouldFail(Call call) {
    if (!Armed(call)) return false;
    --armed[static_cast<size_t>(call)];
    return true;
}

}  // namespace platform_faults

#endif
