// paint.cpp - painters applied to spans: the one place where spans become
// pixels, a row at a time with the loops of pixel_rows.h.
#include "raster/paint.h"

#include <algorithm>

#include "raster/pixel_rows.h"

namespace platform {
namespace raster {

void Painter::Paint(Surface& surface, const Spans& spans) const {
    if (kind_ == Kind::Keep) return;
    const int32_t width = surface.width, height = surface.height;
    uint32_t* pixels = surface.pixels.data();
    for (const Span& s : spans) {
        if (s.y < 0 || s.y >= height) continue;
        int32_t x0 = std::max(s.x0, 0);
        int32_t x1 = std::min(s.x1, width);
        if (x0 >= x1) continue;
        uint32_t* row = pixels + static_cast<size_t>(s.y) * static_cast<size_t>(width);
        if (kind_ == Kind::Set) {
            pixel_rows::FillRow(row + x0, row + x1, mix_.xorMask);  // the pixels under do not matter
        } else {
            pixel_rows::MixRow(row + x0, row + x1, mix_.andMask, mix_.xorMask);
        }
    }
}

}  // namespace raster
}  // namespace platform
