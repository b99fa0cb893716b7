// surface.h - a 32-bit pixel surface, the memory that windows and bitmaps
// draw into. A pixel is 0x00RRGGBB, so its bytes in memory are blue, green,
// red, 0: the layout of a 32-bit top-row-first device-independent bitmap.
// Every writer keeps the top byte 0, so surfaces copy onto each other as
// plain memory.
#ifndef PLATFORM_SURFACE_H
#define PLATFORM_SURFACE_H

#include <cstdint>
#include <vector>

namespace platform {

struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // width * height, top row first

    Surface() = default;
    Surface(int32_t w, int32_t h, uint32_t fill = 0)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill & 0xFFFFFFu) {}

    uint32_t* Row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
    const uint32_t* Row(int32_t y) const {
        return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    }
    bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Win32 COLORREF (0x00BBGGRR) to surface pixel (0x00RRGGBB) and back.
inline uint32_t PixelFromColorref(uint32_t c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline uint32_t ColorrefFromPixel(uint32_t p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

}  // namespace platform

#endif
