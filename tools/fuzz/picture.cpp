// Fuzz target: any bytes as a picture file through image::Load, and copies
// of what loads. The loader either loads the picture or refuses the file;
// either way it closes the file and frees what it allocated (the leak
// checker watches each input). A picture that loads has a header that
// agrees with its size, pixels of blue, green, red and 0, and copies equal
// to it. The format is the build's (picture_format.h).
//
// A program whose picture file is refused ends with status 1, through
// EndForRefusedPicture once the library has released the decode. This
// target defines that function itself, so the linker leaves the library's
// out: here a refusal comes back as an exception and the next input follows.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "graphics.h"
#include "picture_format.h"

using fuzz::Require;

namespace {

struct Refused {};

// The picture file: a file in memory, opened by name through /proc.
int file = -1;
std::string fileName;

// The lowest descriptor free now: it moves up when a file is left open.
int LowestFreeDescriptor() {
    int probe = open("/dev/null", O_RDONLY);
    close(probe);
    return probe;
}

bool SamePixels(const image& a, const image& b) {
    size_t bytes = size_t{a.Width()} * a.Height() * 4;
    return a.Width() == b.Width() && a.Height() == b.Height() && b.Pixels() != nullptr &&
           std::memcmp(a.Pixels(), b.Pixels(), bytes) == 0;
}

}  // namespace

[[noreturn]] void EndForRefusedPicture();
void EndForRefusedPicture() { throw Refused{}; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    file = memfd_create("picture", 0);
    Require(file >= 0, "a file in memory for the pictures");
    fileName = "/proc/self/fd/" + std::to_string(file);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<unsigned char> bytes(data, data + size);
    picture_format::LimitPixels(bytes, 1u << 18);
    Require(
        ftruncate(file, 0) == 0 && pwrite(file, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()),
        "the picture file is written");

    const int lowestFree = LowestFreeDescriptor();
    image picture;
    bool loaded = false;
    try {
        picture.Load(fileName.c_str(), picture_format::kKind);
        loaded = true;
    } catch (const Refused&) {
    }
    Require(LowestFreeDescriptor() == lowestFree, "the picture file is closed again, loaded or refused");
    if (!loaded) return 0;

    const tagBITMAPINFOHEADER* header = picture.Header();
    Require(picture.Pixels() != nullptr && header != nullptr, "a loaded picture has pixels and a header");
    Require(header->biWidth == picture.Width() && header->biHeight == -int32_t{picture.Height()} &&
                header->biBitCount == 32,
            "the header gives the picture's size, top row first, 32 bits a pixel");
    const size_t pixels = size_t{picture.Width()} * picture.Height();
    for (size_t i = 0; i < pixels; ++i) Require(picture.Pixels()[i * 4 + 3] == 0, "every pixel's fourth byte is 0");

    image copy(picture);
    Require(SamePixels(picture, copy), "a copy has the picture's pixels");
    image assigned;
    assigned = picture;
    Require(SamePixels(picture, assigned), "an assigned picture has the picture's pixels");
    return 0;
}
