// Double buffering of a window: drawing goes either straight to the screen
// device context or into a back buffer of the window's size, which
// UpdateBuffer copies to the screen in one block transfer.
#include "diagnostics.h"
#include "frame_pacing.h"
#include "graphics_internal.h"
#include "headless.h"

namespace {

// The last pixel's coordinate along a side of `size`, wrapped like the
// machine's own arithmetic: the most negative size (of a window that was
// refused) cannot make it undefined.
int32_t LastPixel(int32_t size) { return static_cast<int32_t>(static_cast<uint32_t>(size) - 1u); }

}  // namespace

bool window::SetBuffering(bool on) {
    ProcessOneMessage();
    if (on == bufferingOn) return bufferingOn;
    bool previous = bufferingOn;
    bufferingOn = on;
    if (on) {
        bmapBuffer = CreateDiscardableBitmap(dcActive, drawWidth, drawHeight);
        dcScreen = dcActive;
        dcActive = CreateCompatibleDC(dcScreen);
        if (dcActive != nullptr) bmapDisplaced = SelectObject(dcActive, bmapBuffer);
        SetPen(WHITE, 1);
        SetBrush(WHITE);
        DrawRectangle(0, 0, LastPixel(drawWidth), LastPixel(drawHeight), STYLE_FILLED, 0, 0);
        penChosen = false;  // white by the library's choice, not the program's
        brushChosen = false;
    } else {
        SelectObject(dcActive, bmapDisplaced);
        if (dcActive != nullptr) DeleteOrReport(dcActive, "Fatal Error: Failed to delete dcActive in SetBuffering!");
        if (bmapBuffer != nullptr)
            DeleteOrReport(bmapBuffer, "Fatal Error: Failed to delete bmapBuffer in SetBuffering!");
        dcActive = dcScreen;
    }
    return previous;
}

void window::UpdateBuffer() {
    const graphics_diagnostics::Call call("UpdateBuffer", KIVA_CALLER());
    graphics_diagnostics::CheckClosed(*this);
    ProcessOneMessage();
    graphics_diagnostics::CheckUpdate(*this);
    if (bufferingOn) {
        // The frame reaches the screen when this window's steady rate says it
        // is due; the copy itself never waits.
        PaceFrame(nextFrameDue);
        // The last column and the last row of the buffer are not copied.
        if (BitBlt(dcScreen, 0, 0, LastPixel(drawWidth), LastPixel(drawHeight), dcActive, 0, 0, SRCCOPY) != 1)
            FatalError("Fatal Error: Failed to BitBlt in UpdateBuffer!");
    }
    // Every call counts as a frame of a headless run, whose snapshot is the
    // frame as drawn: the whole back buffer (or the screen, unbuffered).
    graphics_headless::FrameShown(dcActive, drawWidth, drawHeight, FrameRateFromEnvironment());
}
