// window_device.cpp - the device of a window's client area, and of the
// screen (GetDC(NULL)), which shows nothing drawn on it: the window's
// pixels come from the window service, what is drawn is shown promptly and
// what is copied onto it at once. GetDC and ReleaseDC make and release DCs
// on it; GetDeviceCaps answers for every DC, with the screen's figures
// where the device has none of its own.
#include <windows.h>

#include <memory>

#include "device.h"
#include "fault_points.h"
#include "gdi_service.h"
#include "window_service.h"

using platform_faults::Call;
using platform_faults::ShouldFail;

namespace platform {
namespace {

class WindowDevice final : public Device {
public:
    explicit WindowDevice(HWND hwnd) : hwnd_(hwnd) {}

    HWND hwnd() const { return hwnd_; }

    Surface* Pixels() override { return hwnd_ ? CurrentClientArea(hwnd_, area_).surface : nullptr; }
    void Drawn() override {
        if (hwnd_) NoteDrawn(CurrentClientArea(hwnd_, area_));
    }
    void Transferred(int x0, int y0, int x1, int y1) override {
        if (hwnd_) PresentNow(hwnd_, x0, y0, x1, y1);
    }
    ScreenRows LendScreen() override { return hwnd_ ? platform::LendScreen(hwnd_) : ScreenRows{}; }
    void ScreenWritten(int x0, int y0, int x1, int y1) override {
        if (hwnd_) platform::ScreenWritten(hwnd_, x0, y0, x1, y1);
    }

private:
    HWND hwnd_;  // null: the screen
    ClientArea area_;  // the window's, found again only after windows changed
};

int ScreenCaps(int index) {
    switch (index) {
        case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
        case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
        case BITSPIXEL: return 32;
        case PLANES: return 1;
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case RASTERCAPS:
            return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV | RC_BIGFONT | RC_STRETCHBLT |
                   RC_FLOODFILL | RC_STRETCHDIB | RC_OP_DX_OUTPUT;
        default: return 0;
    }
}

}  // namespace
}  // namespace platform

using namespace platform;

HDC GetDC(HWND hwnd) {
    if (ShouldFail(Call::GetDC)) return nullptr;
    // A window being destroyed has no client area left to draw on.
    if (hwnd && (!IsWindow(hwnd) || !ClientSurface(hwnd))) return nullptr;
    return CreateDeviceDC(std::make_shared<WindowDevice>(hwnd));
}

int ReleaseDC(HWND hwnd, HDC dc) {
    if (ShouldFail(Call::ReleaseDC)) return 0;
    auto* device = dynamic_cast<WindowDevice*>(DeviceOf(dc));
    if (!device || device->hwnd() != hwnd) return 0;
    DestroyDeviceDC(dc);
    return 1;
}

int GetDeviceCaps(HDC dc, int index) {
    const Device* device = DeviceOf(dc);
    if (!device) return 0;
    int value = 0;
    return device->Caps(index, value) ? value : ScreenCaps(index);
}
