// Helpers shared by the image tests: a scratch folder for generated JPEG
// files, access to an image's private fields, and the number of heap bytes
// in use (for leak checks).
#ifndef KIVA_IMAGE_TEST_SUPPORT_H
#define KIVA_IMAGE_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdio>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif
#include <string>
#include <vector>

#include "graphics_internal.h"
#include "jpeg_writer.h"

#if defined(__SANITIZE_ADDRESS__)
#include <cstddef>
// Part of the sanitizer runtime; GCC installs no header declaring it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#elif defined(_WIN32)
#include <malloc.h>
#endif

// An image's private fields, through the library's own door to them.
struct ImageTestAccess : GraphicsInternals {};

namespace image_test {

// A file name in the test scratch folder, unique to this process.
inline std::string ScratchPath(const std::string& name) {
    static const std::string prefix = [] {
        char tag[48];
        std::snprintf(tag, sizeof tag, "kiva_img_%lu_", static_cast<unsigned long>(getpid()));
        return ::testing::TempDir() + tag;
    }();
    return prefix + name;
}

// Writes a JPEG of pixels given as (r, g, b) triples.
inline std::string WriteRgbFile(const std::string& name, int width, int height,
                                const std::vector<unsigned char>& rgb, int quality = 100,
                                bool storeRgb = false) {
    std::string path = ScratchPath(name);
    EXPECT_TRUE(jpeg_writer::WriteRgb(path, width, height, rgb.data(), quality, storeRgb));
    return path;
}

// A width x height picture with a smooth pattern, as RGB triples.
inline std::vector<unsigned char> Pattern(int width, int height) {
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = static_cast<unsigned char>(x * 255 / (width > 1 ? width - 1 : 1));
            p[1] = static_cast<unsigned char>(y * 255 / (height > 1 ? height - 1 : 1));
            p[2] = static_cast<unsigned char>(128);
        }
    return rgb;
}

// Heap bytes in use now; -1 where this build cannot tell.
inline long long HeapBytesInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#elif defined(__GLIBC__)
    return static_cast<long long>(mallinfo2().uordblks);
#elif defined(_WIN32)
    long long used = 0;
    _HEAPINFO entry = {};
    int status;
    while ((status = _heapwalk(&entry)) == _HEAPOK) {
        if (entry._useflag == _USEDENTRY) used += static_cast<long long>(entry._size);
    }
    if (status != _HEAPEND && status != _HEAPEMPTY) return -1;
    return used;
#else
    return -1;
#endif
}

}  // namespace image_test

#endif
