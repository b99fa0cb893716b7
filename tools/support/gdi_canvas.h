// gdi_canvas.h - a white memory bitmap to draw on with GDI, read back as a
// picture: how the GDI scene tools draw a scene with whichever GDI the
// build has (ours on Linux, the real one on Windows and under Wine).
#ifndef TOOL_SUPPORT_GDI_CANVAS_H
#define TOOL_SUPPORT_GDI_CANVAS_H

#include <windows.h>

#include "scene_files.h"

namespace scene_files {

// The header of a width x height picture of 32-bit pixels 0x00RRGGBB, top
// row first, as GetDIBits and SetDIBitsToDevice take it.
inline BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// Calls draw(dc) on a width x height memory bitmap painted white and
// returns what it holds afterwards, pixels 0x00RRGGBB, top row first.
template <typename Draw>
Picture DrawOnWhite(int width, int height, Draw&& draw) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bmp);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 0, 0, width + 1, height + 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    draw(dc);

    BITMAPINFO bi = TopDownInfo(width, height);
    Picture pic;
    pic.width = width;
    pic.height = height;
    pic.pixels.assign(static_cast<size_t>(width) * height, 0);
    GetDIBits(dc, bmp, 0, static_cast<UINT>(height), pic.pixels.data(), &bi, DIB_RGB_COLORS);
    for (auto& p : pic.pixels) p &= 0xFFFFFFu;
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pic;
}

}  // namespace scene_files

#endif
