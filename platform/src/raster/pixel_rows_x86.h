// pixel_rows_x86.h - the row loops of pixel_rows.h with the fast paths of
// x86 processors: SSE2 vectors, and on x86-64 with GCC or clang the string
// store (rep stosl) for long runs. Included by pixel_rows.h only.
#ifndef PLATFORM_PIXEL_ROWS_X86_H
#define PLATFORM_PIXEL_ROWS_X86_H

#include <emmintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform {
namespace pixel_rows {

// Sets the pixels [p, end) to `value`. Runs of 256 pixels or more are
// left to the processor's string store, which writes whole cache lines
// without reading them first: faster than vector stores once a surface no
// longer fits in the cache, and as fast for a run this long when it does.
// Otherwise with vector stores: runs of four pixels or more are covered by
// 16-byte stores, the last one overlapping its neighbour rather than
// finishing pixel by pixel; long runs are stored 64 bytes at a time on
// 16-byte boundaries in between.
inline void FillRow(uint32_t* p, uint32_t* end, uint32_t value) {
#if defined(__GNUC__) && defined(__x86_64__)
    if (end - p >= 256) {
        size_t n = static_cast<size_t>(end - p);
        asm volatile("rep stosl" : "+D"(p), "+c"(n) : "a"(value) : "memory");
        return;
    }
#endif
    if (end - p >= 4) {
        const __m128i v = _mm_set1_epi32(static_cast<int>(value));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
        if (end - p > 8) {
            // From the first 16-byte boundary at or after p on; the store
            // above covers the pixels before it.
            auto* q = reinterpret_cast<uint32_t*>((reinterpret_cast<uintptr_t>(p) + 15) & ~uintptr_t{15});
            for (; end - q >= 16; q += 16) {
                _mm_store_si128(reinterpret_cast<__m128i*>(q), v);
                _mm_store_si128(reinterpret_cast<__m128i*>(q + 4), v);
                _mm_store_si128(reinterpret_cast<__m128i*>(q + 8), v);
                _mm_store_si128(reinterpret_cast<__m128i*>(q + 12), v);
            }
            for (; end - q >= 4; q += 4) _mm_store_si128(reinterpret_cast<__m128i*>(q), v);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), v);
        return;
    }
    for (; p != end; ++p) *p = value;
}

// Each pixel p of [p, end) becomes (p & andMask) ^ xorMask, four at a time.
inline void MixRow(uint32_t* p, uint32_t* end, uint32_t andMask, uint32_t xorMask) {
    const __m128i a = _mm_set1_epi32(static_cast<int>(andMask)), x = _mm_set1_epi32(static_cast<int>(xorMask));
    for (; end - p >= 4; p += 4) {
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_xor_si128(_mm_and_si128(d, a), x));
    }
    for (; p != end; ++p) *p = (*p & andMask) ^ xorMask;
}

// Copies n pixels, 64 bytes at a time.
inline void CopyRow(uint32_t* out, const uint32_t* in, size_t n) {
    size_t i = 0;
    for (; n - i >= 16; i += 16) {
        __m128i p0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        __m128i p1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
        __m128i p2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
        __m128i p3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 12));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), p0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), p1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), p2);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 12), p3);
    }
    if (i < n) std::memcpy(out + i, in + i, (n - i) * sizeof(uint32_t));
}

// Copies n pixels with their top byte cleared, four at a time.
inline void CopyRowClearingTop(uint32_t* out, const uint32_t* in, size_t n) {
    size_t i = 0;
    const __m128i mask = _mm_set1_epi32(0xFFFFFF);
    for (; n - i >= 4; i += 4) {
        __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_and_si128(p, mask));
    }
    for (; i < n; ++i) out[i] = in[i] & 0xFFFFFFu;
}

// Copies n pixels from `in` to `out` where they differ, writing each changed
// pixel to `shown` as well for the first `shownCount` of them (the part of
// the row the screen has, which shows `out` as it was). Both are read and
// written in one pass, 64 bytes at a time, and a stretch left as it was is
// written nowhere.
inline void CopyChanged(uint32_t* out, uint32_t* shown, size_t shownCount, const uint32_t* in, size_t n) {
    size_t i = 0;
    // Writes pixels [i, i + k) that differ somewhere.
    auto store = [&](size_t at, size_t k) {
        std::memcpy(out + at, in + at, k * sizeof(uint32_t));
        if (at < shownCount) std::memcpy(shown + at, in + at, std::min(k, shownCount - at) * sizeof(uint32_t));
    };
    for (; n - i >= 16; i += 16) {
        __m128i p0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        __m128i p1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
        __m128i p2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
        __m128i p3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 12));
        __m128i q0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
        __m128i q1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i + 4));
        __m128i q2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i + 8));
        __m128i q3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i + 12));
        __m128i same = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi32(p0, q0), _mm_cmpeq_epi32(p1, q1)),
                                     _mm_and_si128(_mm_cmpeq_epi32(p2, q2), _mm_cmpeq_epi32(p3, q3)));
        if (_mm_movemask_epi8(same) == 0xFFFF) continue;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), p0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), p1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), p2);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 12), p3);
        if (i + 16 <= shownCount) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(shown + i), p0);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(shown + i + 4), p1);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(shown + i + 8), p2);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(shown + i + 12), p3);
        } else if (i < shownCount) {
            std::memcpy(shown + i, in + i, (shownCount - i) * sizeof(uint32_t));
        }
    }
    if (i < n && std::memcmp(out + i, in + i, (n - i) * sizeof(uint32_t)) != 0) store(i, n - i);
}

}  // namespace pixel_rows
}  // namespace platform

#endif
