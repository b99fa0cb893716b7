// fuzz_support.h - what the fuzz targets share: a failed promise ends the
// run the way libFuzzer counts as a crash (the input is kept as a crash
// file), and the bytes of an input read as a source of 32-bit numbers.
#ifndef TOOLS_FUZZ_FUZZ_SUPPORT_H
#define TOOLS_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// Stops the run with `what` on standard error unless `holds`.
inline void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz target: broken promise: %s\n", what);
    std::abort();
}

// The input's bytes, four at a time (little-endian); zeros once they run
// out, and Done() tells that they have.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data(data), size(size) {}
    uint32_t operator()() {
        uint32_t value = 0;
        for (int i = 0; i < 4 && at < size; ++i) value |= uint32_t{data[at++]} << (8 * i);
        return value;
    }
    bool Done() const { return at >= size; }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

}  // namespace fuzz

#endif
