// The picture fuzz target for JPEG files. Half of its mutations are
// libFuzzer's own, half damage the file where the decoder reads its
// structure (jpeg_mutator.h, which the decoder's tests and tools/jpeg_fuzz
// use too): sizes, sampling factors, tables, scan headers, cuts at markers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>

#include "jpeg_mutator.h"
#include "picture_format.h"

namespace picture_format {

const ImageKind kKind = IK_JPEG;

void LimitPixels(std::vector<unsigned char>& bytes, unsigned pixels) { jpeg_mutator::LimitPixels(bytes, pixels); }

}  // namespace picture_format

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    std::mt19937 rng(seed);
    if (rng() % 2 == 0) return LLVMFuzzerMutate(data, size, maxSize);
    std::vector<unsigned char> bytes =
        jpeg_mutator::MutateStructure(std::vector<unsigned char>(data, data + size), rng);
    if (bytes.size() == size && std::equal(bytes.begin(), bytes.end(), data))
        return LLVMFuzzerMutate(data, size, maxSize);  // no marker to damage
    size_t kept = std::min(bytes.size(), maxSize);
    std::memcpy(data, bytes.data(), kept);
    return kept;
}
