// paint.h - where spans become pixels. A mix mode (R2_BLACK .. R2_WHITE)
// with a pen or brush colour is made once into what it does to every pixel,
// a Painter, which a device context keeps with its selected pen and brush;
// painting is then that operation over the spans, cut to the surface.
#ifndef PLATFORM_PAINT_H
#define PLATFORM_PAINT_H

#include <windows.h>

#include <cstdint>

#include "raster/raster.h"
#include "surface.h"

namespace platform {
namespace raster {

// A mix mode for one colour, as Wine's DIB engine keeps it: each pixel
// becomes (pixel & andMask) ^ xorMask.
struct Mix {
    uint32_t andMask;
    uint32_t xorMask;
};
// Each mix mode's masks as functions of the pen: andMask = (pen & a1) ^ a2,
// xorMask = (pen & x1) ^ x2, each of a1, a2, x1, x2 all ones or all zeros.
struct MixCodes {
    uint32_t a1, a2, x1, x2;
};
inline constexpr uint32_t kColourBits = 0xFFFFFFu;
inline constexpr MixCodes kMixCodes[16] = {
    {0, 0, 0, 0},                                          // R2_BLACK
    {kColourBits, kColourBits, kColourBits, kColourBits},  // R2_NOTMERGEPEN
    {kColourBits, kColourBits, 0, 0},                      // R2_MASKNOTPEN
    {0, 0, kColourBits, kColourBits},                      // R2_NOTCOPYPEN
    {kColourBits, 0, kColourBits, 0},                      // R2_MASKPENNOT
    {0, kColourBits, 0, kColourBits},                      // R2_NOT
    {0, kColourBits, kColourBits, 0},                      // R2_XORPEN
    {kColourBits, 0, 0, kColourBits},                      // R2_NOTMASKPEN
    {kColourBits, 0, 0, 0},                                // R2_MASKPEN
    {0, kColourBits, kColourBits, kColourBits},            // R2_NOTXORPEN
    {0, kColourBits, 0, 0},                                // R2_NOP
    {kColourBits, 0, kColourBits, kColourBits},            // R2_MERGENOTPEN
    {0, 0, kColourBits, 0},                                // R2_COPYPEN
    {kColourBits, kColourBits, 0, kColourBits},            // R2_MERGEPENNOT
    {kColourBits, kColourBits, kColourBits, 0},            // R2_MERGEPEN
    {0, 0, 0, kColourBits},                                // R2_WHITE
};

// The masks of `rop2` with the pen (or brush) colour `pixel`; a mode outside
// R2_BLACK .. R2_WHITE leaves every pixel as it is.
inline Mix MixOf(int rop2, uint32_t pixel) {
    if (rop2 < R2_BLACK || rop2 > R2_LAST) return Mix{kColourBits, 0};
    const MixCodes& c = kMixCodes[rop2 - R2_BLACK];
    const uint32_t pen = pixel & kColourBits;
    return Mix{(pen & c.a1) ^ c.a2, (pen & c.x1) ^ c.x2};
}
// Painting twice gives what painting once gives: no bit is both kept and
// flipped.
inline bool Idempotent(const Mix& mix) { return (mix.andMask & mix.xorMask) == 0; }

// A colour in a mix mode, ready to paint spans with.
class Painter {
public:
    Painter() = default;  // leaves every pixel as it is
    Painter(int rop2, uint32_t pixel) : mix_(MixOf(rop2, pixel)) {
        if (rop2 < R2_BLACK || rop2 > R2_LAST) return;
        if (mix_.andMask == kColourBits && mix_.xorMask == 0) return;  // leaves every pixel as it is
        kind_ = mix_.andMask == 0 ? Kind::Set : Kind::Combine;
    }

    const Mix& mix() const { return mix_; }
    bool Idempotent() const { return raster::Idempotent(mix_); }
    // Sets the pixels whatever lies under them: nothing of what was there
    // shows through.
    bool Covers() const { return kind_ == Kind::Set; }

    // Paints every pixel of the spans; spans outside the surface are cut away.
    void Paint(Surface& surface, const Spans& spans) const;
    // Paints one pixel, if the surface has it.
    void PaintPixel(Surface& surface, int64_t x, int64_t y) const {
        if (kind_ == Kind::Keep || x < 0 || y < 0 || x >= surface.width || y >= surface.height) return;
        uint32_t& p =
            surface.pixels[static_cast<size_t>(y) * static_cast<size_t>(surface.width) + static_cast<size_t>(x)];
        p = (p & mix_.andMask) ^ mix_.xorMask;
    }

private:
    enum class Kind : uint8_t { Keep, Set, Combine };
    Mix mix_{kColourBits, 0};
    Kind kind_ = Kind::Keep;
};

// Combines `pixel` (0x00RRGGBB) into every pixel of the spans by the binary
// raster operation `rop2` (R2_BLACK .. R2_WHITE; R2_COPYPEN copies, R2_NOT
// inverts). Spans outside the surface are cut away.
inline void PaintSpans(Surface& surface, const Spans& spans, uint32_t pixel, int rop2) {
    Painter(rop2, pixel).Paint(surface, spans);
}

}  // namespace raster
}  // namespace platform

#endif
