// png_writer.h - writes pictures as PNG files with the library's own
// encoder: 8-bit RGB, no interlacing, every row unfiltered, one zlib stream
// compressed with fixed-code deflate. The bytes depend on the pixels alone,
// so the Linux and the Windows build write the same file for the same
// picture.
#ifndef GRAPHICS_PNG_WRITER_H
#define GRAPHICS_PNG_WRITER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace graphics_png {

// Encodes `height` rows of `width` pixels, each row `stride` bytes apart,
// each pixel four bytes blue, green, red, unused (the library's bitmap
// layout), top row first. Empty when width or height is not positive.
std::vector<unsigned char> Encode(int width, int height, const unsigned char* pixels, size_t stride);

// Encodes as above and replaces the file with it (written aside, renamed
// when complete); false with the reason when it cannot be written, the
// file of that name then left as it was.
bool Write(const char* fileName, int width, int height, const unsigned char* pixels, size_t stride,
           std::string& reason);

// The deflate stream alone (RFC 1951, one final block of fixed codes),
// wrapped in zlib's header and Adler-32 trailer (RFC 1950).
std::vector<unsigned char> ZlibCompress(const unsigned char* data, size_t size);

}  // namespace graphics_png

#endif
