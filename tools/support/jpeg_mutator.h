// jpeg_mutator.h - damages JPEG files on purpose, repeatably, for fuzzing
// the decoder: flipped bits, random bytes, runs of zeros or 0xFF, cut
// files, repeated or dropped stretches and stray markers. Header only.
#ifndef KIVA_JPEG_MUTATOR_H
#define KIVA_JPEG_MUTATOR_H

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "surface_limits.h"

namespace jpeg_mutator {

// Frame header markers carry the picture's size (0xFFC0 to 0xFFCF except
// 0xFFC4, 0xFFC8 and 0xFFCC). Clamps every claimed width and height to
// `maxSide`, so that a damaged file never asks for a huge picture (the
// decoder would honestly allocate and fill it).
inline void LimitFrameSize(std::vector<unsigned char>& bytes, unsigned maxSide) {
    for (size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] != 0xFF) continue;
        unsigned char m = bytes[i + 1];
        if (m < 0xC0 || m > 0xCF || m == 0xC4 || m == 0xC8 || m == 0xCC) continue;
        for (size_t at : {i + 5, i + 7}) {
            unsigned side = (unsigned{bytes[at]} << 8) | bytes[at + 1];
            if (side > maxSide) {
                bytes[at] = static_cast<unsigned char>(maxSide >> 8);
                bytes[at + 1] = static_cast<unsigned char>(maxSide & 0xFF);
            }
        }
    }
}

// Makes the first frame header claim width x height pixels. False when
// there is no frame header.
inline bool SetFrameSize(std::vector<unsigned char>& bytes, unsigned width, unsigned height) {
    for (size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC1 || bytes[i + 1] == 0xC2)) {
            bytes[i + 5] = static_cast<unsigned char>(height >> 8);
            bytes[i + 6] = static_cast<unsigned char>(height & 0xFF);
            bytes[i + 7] = static_cast<unsigned char>(width >> 8);
            bytes[i + 8] = static_cast<unsigned char>(width & 0xFF);
            return true;
        }
    }
    return false;
}

// One damaged copy of `base`: one to four damages of the kinds above.
inline std::vector<unsigned char> Mutate(const std::vector<unsigned char>& base, std::mt19937& rng) {
    std::vector<unsigned char> bytes = base;
    auto pick = [&](size_t n) { return n == 0 ? size_t{0} : static_cast<size_t>(rng() % n); };
    int damages = 1 + static_cast<int>(rng() % 4);
    for (int d = 0; d < damages && !bytes.empty(); ++d) {
        size_t at = pick(bytes.size());
        switch (rng() % 8) {
        case 0:  // flip one bit
            bytes[at] ^= static_cast<unsigned char>(1u << (rng() % 8));
            break;
        case 1:  // a random byte
            bytes[at] = static_cast<unsigned char>(rng());
            break;
        case 2: {  // a run of zeros or 0xFF
            size_t n = std::min(bytes.size() - at, 1 + pick(16));
            std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), n, rng() % 2 ? 0x00 : 0xFF);
            break;
        }
        case 3:  // cut short
            bytes.resize(at);
            break;
        case 4: {  // repeat a stretch
            size_t n = std::min(bytes.size() - at, 1 + pick(64));
            std::vector<unsigned char> piece(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                             bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size())), piece.begin(), piece.end());
            break;
        }
        case 5: {  // drop a stretch
            size_t n = std::min(bytes.size() - at, 1 + pick(64));
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
            break;
        }
        case 6: {  // a stray marker
            static const unsigned char markers[] = {0xD8, 0xD9, 0xDA, 0xDB, 0xC4, 0xC0, 0xC2, 0xDD, 0xD0, 0xE0, 0xEE};
            unsigned char pair[2] = {0xFF, markers[rng() % sizeof markers]};
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), pair, pair + 2);
            break;
        }
        default:  // change a 16-bit length or size field near a marker
            for (size_t i = at; i + 3 < bytes.size(); ++i) {
                if (bytes[i] == 0xFF && bytes[i + 1] != 0x00 && bytes[i + 1] != 0xFF) {
                    bytes[i + 2 + rng() % 2] = static_cast<unsigned char>(rng());
                    break;
                }
            }
            break;
        }
    }
    LimitFrameSize(bytes, 512);
    return bytes;
}

// Offsets of every marker (0xFF followed by a byte that is neither 0x00,
// 0xFF nor a restart marker) in `bytes`: the places where cutting a file
// short hurts the most.
inline std::vector<size_t> MarkerOffsets(const std::vector<unsigned char>& bytes) {
    std::vector<size_t> offsets;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        unsigned char m = bytes[i + 1];
        if (bytes[i] == 0xFF && m != 0x00 && m != 0xFF && (m < 0xD0 || m > 0xD7)) offsets.push_back(i);
    }
    return offsets;
}

// Pictures between the small and the refused (more than 2^28 pixels, which
// the loader turns down at once) would decode honestly for long: every frame
// header that claims more than `pixels` pixels, but not so many, is made
// fewer rows high, keeping its width (at least one row).
inline void LimitPixels(std::vector<unsigned char>& bytes, unsigned pixels) {
    for (size_t i : MarkerOffsets(bytes)) {
        unsigned char m = bytes[i + 1];
        if (m < 0xC0 || m > 0xCF || m == 0xC4 || m == 0xC8 || m == 0xCC || i + 8 >= bytes.size()) continue;
        unsigned height = (unsigned{bytes[i + 5]} << 8) | bytes[i + 6];
        unsigned width = (unsigned{bytes[i + 7]} << 8) | bytes[i + 8];
        uint64_t claimed = uint64_t{width} * height;
        if (claimed <= pixels || claimed > kiva::kMaxSurfacePixels) continue;  // refused at once
        unsigned rows = std::max(1u, pixels / width);
        bytes[i + 5] = static_cast<unsigned char>(rows >> 8);
        bytes[i + 6] = static_cast<unsigned char>(rows & 0xFF);
    }
}

// One copy of `base` damaged where the decoder reads its structure: the
// frame header's size (zero, one, or far past what a picture may have),
// precision, component count and sampling factors; quantisation and
// Huffman table numbers; the scan header's components and spectral and
// approximation fields; the restart interval; or a cut at a marker. Sizes
// stay either small or beyond the picture limit, so that no case decodes
// for long.
inline std::vector<unsigned char> MutateStructure(const std::vector<unsigned char>& base, std::mt19937& rng) {
    std::vector<unsigned char> bytes = base;
    std::vector<size_t> markers = MarkerOffsets(bytes);
    if (markers.empty()) return bytes;
    auto put16 = [&](size_t at, unsigned value) {
        if (at + 1 >= bytes.size()) return;
        bytes[at] = static_cast<unsigned char>(value >> 8);
        bytes[at + 1] = static_cast<unsigned char>(value & 0xFF);
    };
    auto set = [&](size_t at, unsigned char value) {
        if (at < bytes.size()) bytes[at] = value;
    };
    static const unsigned sides[][2] = {{0, 16}, {16, 0}, {0, 0}, {1, 1}, {65500, 65500}, {65535, 65535},
                                        {65500, 4100}, {30000, 30000}, {3, 500}, {500, 3}};
    static const unsigned char sampling[] = {0x11, 0x22, 0x44, 0x41, 0x14, 0x00, 0x55, 0x12, 0x21, 0x88, 0xFF};
    int damages = 1 + static_cast<int>(rng() % 2);
    for (int d = 0; d < damages; ++d) {
        size_t at = markers[rng() % markers.size()];
        unsigned char kind = bytes[at + 1];
        bool frame = kind >= 0xC0 && kind <= 0xCF && kind != 0xC4 && kind != 0xC8 && kind != 0xCC;
        if (rng() % 5 == 0) {  // cut at (or just after) the marker
            bytes.resize(std::min(bytes.size(), at + rng() % 4));
            return bytes;
        }
        if (frame) {
            switch (rng() % 4) {
                case 0: {
                    const unsigned* side = sides[rng() % (sizeof sides / sizeof sides[0])];
                    put16(at + 5, side[1]);
                    put16(at + 7, side[0]);
                    break;
                }
                case 1: set(at + 4, static_cast<unsigned char>(rng() % 3 == 0 ? 12 : rng() % 17)); break;
                case 2: set(at + 9, static_cast<unsigned char>(rng() % 6)); break;
                default:
                    for (size_t c = 0; c < 4; ++c) set(at + 11 + c * 3, sampling[rng() % sizeof sampling]);
                    break;
            }
        } else if (kind == 0xDB || kind == 0xC4) {  // a table: its class and number
            set(at + 4, static_cast<unsigned char>(rng() % 2 ? rng() : rng() % 0x14));
        } else if (kind == 0xDA) {  // a scan header
            switch (rng() % 3) {
                case 0: set(at + 4, static_cast<unsigned char>(rng() % 6)); break;
                case 1: set(at + 6, static_cast<unsigned char>(rng())); break;  // its tables
                default: {  // spectral selection and successive approximation
                    if (at + 3 >= bytes.size()) break;  // the file ends at the marker
                    size_t tail = at + 2 + ((size_t{bytes[at + 2]} << 8) | bytes[at + 3]);
                    if (tail >= 3 && tail < bytes.size()) {
                        set(tail - 3, static_cast<unsigned char>(rng() % 70));
                        set(tail - 2, static_cast<unsigned char>(rng() % 70));
                        set(tail - 1, static_cast<unsigned char>(rng()));
                    }
                    break;
                }
            }
        } else if (kind == 0xDD) {  // restart interval
            put16(at + 4, rng() % 2 ? 0 : rng() & 0xFFFF);
        } else {  // a segment's length
            put16(at + 2, rng() % 3 == 0 ? 0 : rng() & 0xFFFF);
        }
    }
    LimitPixels(bytes, 512 * 512);
    return bytes;
}

}  // namespace jpeg_mutator

#endif
