// pixel_rows_generic.h - the row loops of pixel_rows.h in plain C++, for
// processors without fast paths of their own. Included by pixel_rows.h only.
#ifndef PLATFORM_PIXEL_ROWS_GENERIC_H
#define PLATFORM_PIXEL_ROWS_GENERIC_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform {
namespace pixel_rows {

inline void FillRow(uint32_t* p, uint32_t* end, uint32_t value) { std::fill(p, end, value); }

inline void MixRow(uint32_t* p, uint32_t* end, uint32_t andMask, uint32_t xorMask) {
    for (; p != end; ++p) *p = (*p & andMask) ^ xorMask;
}

inline void CopyRow(uint32_t* out, const uint32_t* in, size_t n) { std::memcpy(out, in, n * sizeof(uint32_t)); }

inline void CopyRowClearingTop(uint32_t* out, const uint32_t* in, size_t n) {
    for (size_t i = 0; i < n; ++i) out[i] = in[i] & 0xFFFFFFu;
}

inline void CopyChanged(uint32_t* out, uint32_t* shown, size_t shownCount, const uint32_t* in, size_t n) {
    constexpr size_t kBlock = 16;
    for (size_t i = 0; i < n; i += kBlock) {
        size_t k = std::min(kBlock, n - i);
        if (std::memcmp(out + i, in + i, k * sizeof(uint32_t)) == 0) continue;
        std::memcpy(out + i, in + i, k * sizeof(uint32_t));
        if (i < shownCount) std::memcpy(shown + i, in + i, std::min(k, shownCount - i) * sizeof(uint32_t));
    }
}

}  // namespace pixel_rows
}  // namespace platform

#endif
