// png_file.h - pictures written as PNG files through libpng with fixed
// settings (8-bit RGB, not interlaced, no time or text chunks, zlib level 6,
// adaptive filters), so that a picture is the same bytes on every build
// that links the same libpng and zlib (image_png.cpp).
#ifndef GRAPHICS_PNG_FILE_H
#define GRAPHICS_PNG_FILE_H

#include <cstddef>
#include <string>
#include <vector>

namespace graphics_png {

// Encodes `height` rows of `width` pixels, each row `stride` bytes apart,
// each pixel four bytes blue, green, red, unused (the library's bitmap
// layout), top row first. Empty when width or height is not positive, or
// when memory runs out.
std::vector<unsigned char> Encode(int width, int height, const unsigned char* pixels, size_t stride);

// Encodes as above and replaces the file with it (written aside, renamed
// when complete); false with the reason when it cannot be written, the
// file of that name then left as it was.
bool Write(const char* fileName, int width, int height, const unsigned char* pixels, size_t stride,
           std::string& reason);

}  // namespace graphics_png

#endif
