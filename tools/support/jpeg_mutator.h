// jpeg_mutator.h - damages JPEG files on purpose, repeatably, for fuzzing
// the decoder: flipped bits, random bytes, runs of zeros or 0xFF, cut
// files, repeated or dropped stretches and stray markers. Header only.
#ifndef KIVA_JPEG_MUTATOR_H
#define KIVA_JPEG_MUTATOR_H

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

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

}  // namespace jpeg_mutator

#endif
