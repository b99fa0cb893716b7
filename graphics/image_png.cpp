// Saving an image as a PNG file, with the library's own encoder (the same
// bytes on every build for the same picture), replacing the file safely.
#include "graphics.h"
#include "png_writer.h"

bool image::SavePng(const char* fileName) const {
    if (fileName == nullptr || imgPixels == nullptr || imgWidth == 0 || imgHeight == 0) return false;
    std::string reason;
    return graphics_png::Write(fileName, imgWidth, imgHeight, imgPixels, static_cast<size_t>(imgWidth) * 4, reason);
}

bool image::SavePng(const std::string& fileName) const { return SavePng(fileName.c_str()); }
