// Pixel read-back: the colour of one pixel of a window's drawing surface
// (the back buffer while buffering is on), as a colour or as levels 0 to 1.
#include <cstring>
#include <new>

#include "diagnostics.h"
#include "graphics_internal.h"

color window::GetColor(int32_t x, int32_t y) {
    const graphics_diagnostics::Call call("GetColor", KIVA_CALLER());
    color result(0, 0, 0);
    unsigned char pixel[4] = {0, 0, 0, 0};  // blue, green, red, reserved

    // The header describes one 32-bit pixel, top row first. It is allocated
    // with room for the colour table entry that the record type declares,
    // so that no platform may write past it.
    BITMAPINFO* info = new (std::nothrow) BITMAPINFO;
    if (info == nullptr) throw ERR_ALLOCATION;
    std::memset(info, 0, sizeof *info);
    DescribeTopDownPixels(info->bmiHeader, 1, 1);

    HDC dcTempBuffer = CreateCompatibleDC(dcActive);
    HBITMAP bmapTempBuffer = CreateCompatibleBitmap(dcActive, 1, 1);
    HGDIOBJ displaced = SelectObject(dcTempBuffer, bmapTempBuffer);

    ProcessOneMessage();
    graphics_diagnostics::CheckPixel(*this, x, y);

    if (BitBlt(dcTempBuffer, 0, 0, 1, 1, dcActive, x, y, SRCCOPY) != 1)
        FatalError("Fatal Error: Failed to BltBit in GetColor!");
    if (GetDIBits(dcActive, bmapTempBuffer, 0, 1, pixel, info, DIB_RGB_COLORS) == 0)
        FatalError("Fatal Error: Failed to GetDIBits in GetColor!");

    result.red = pixel[2];
    result.green = pixel[1];
    result.blue = pixel[0];

    SelectObject(dcTempBuffer, displaced);
    DeleteOrReport(bmapTempBuffer, "Fatal Error: Failed to delete bmapTempBuffer in GetColor!");
    DeleteOrReport(dcTempBuffer, "Fatal Error: Failed to delete dcTempBuffer in GetColor!");

    delete info;
    return result;
}

void window::GetColorLevels(int32_t x, int32_t y, double& red, double& green, double& blue) {
    const graphics_diagnostics::Call call("GetColorLevels", KIVA_CALLER());
    color c = GetColor(x, y);
    red = c.red / 255.0;
    green = c.green / 255.0;
    blue = c.blue / 255.0;
}

double window::GetRedLevel(int32_t x, int32_t y) {
    const graphics_diagnostics::Call call("GetRedLevel", KIVA_CALLER());
    return GetColor(x, y).red / 255.0;
}

double window::GetGreenLevel(int32_t x, int32_t y) {
    const graphics_diagnostics::Call call("GetGreenLevel", KIVA_CALLER());
    return GetColor(x, y).green / 255.0;
}

double window::GetBlueLevel(int32_t x, int32_t y) {
    const graphics_diagnostics::Call call("GetBlueLevel", KIVA_CALLER());
    return GetColor(x, y).blue / 255.0;
}
