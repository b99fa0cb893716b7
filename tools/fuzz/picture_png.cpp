// The picture fuzz target for PNG files. Most of its mutations are
// libFuzzer's own with every chunk's checksum mended afterwards, so that
// damaged headers, palettes and compressed data get past the checksums to
// the code that reads them; the rest keep the checksums as they come out.
#include <zlib.h>

#include <cstddef>
#include <cstdint>

#include "picture_format.h"
#include "surface_limits.h"

namespace {

uint32_t BigEndian(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void PutBigEndian(unsigned char* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

// Each whole chunk after the signature gets the checksum of its type and
// data; a chunk cut short ends the walk.
void MendChecksums(unsigned char* data, size_t size) {
    for (size_t at = 8; at + 12 <= size;) {
        uint32_t length = BigEndian(data + at);
        if (length > size - at - 12) break;
        PutBigEndian(data + at + 8 + length, static_cast<uint32_t>(crc32(0, data + at + 4, length + 4)));
        at += 12 + size_t{length};
    }
}

}  // namespace

namespace picture_format {

const ImageKind kKind = IK_PNG;

// The header is the first chunk: its width and height are cut down, and
// its checksum mended.
void LimitPixels(std::vector<unsigned char>& bytes, unsigned pixels) {
    if (bytes.size() < 33 || BigEndian(&bytes[8]) != 13 ||
        BigEndian(&bytes[12]) != BigEndian(reinterpret_cast<const unsigned char*>("IHDR")))
        return;
    uint64_t width = BigEndian(&bytes[16]), height = BigEndian(&bytes[20]);
    if (width * height <= pixels || width * height > kiva::kMaxSurfacePixels || width > UINT16_MAX ||
        height > UINT16_MAX)
        return;
    if (width > pixels) width = pixels;
    height = pixels / width;
    PutBigEndian(&bytes[16], static_cast<uint32_t>(width));
    PutBigEndian(&bytes[20], static_cast<uint32_t>(height));
    PutBigEndian(&bytes[29], static_cast<uint32_t>(crc32(0, &bytes[12], 17)));
}

}  // namespace picture_format

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (seed % 4 != 0) MendChecksums(data, size);
    return size;
}
