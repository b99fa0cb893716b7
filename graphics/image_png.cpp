// Saving an image as a PNG file, with the library's own encoder (the same
// bytes on every build for the same picture).
#include "graphics.h"
#include "png_writer.h"

bool image::SavePng(const char* fileName) const {
    if (fileName == nullptr || imgPixels == nullptr || imgWidth == 0 || imgHeight == 0) return false;
    return graphics_png::Write(fileName, imgWidth, imgHeight, imgPixels, static_cast<size_t>(imgWidth) * 4);
}

bool image::SavePng(const std::string& fileName) const { return SavePng(fileName.c_str()); }
