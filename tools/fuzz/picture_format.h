// picture_format.h - what the picture fuzz target (picture.cpp) asks of the
// file format it is built for, one file a format (picture_jpeg.cpp): a new
// format is a new such file, a line in CMakeLists.txt and a seed folder.
#ifndef TOOLS_FUZZ_PICTURE_FORMAT_H
#define TOOLS_FUZZ_PICTURE_FORMAT_H

#include <vector>

#include "graphics.h"

namespace picture_format {

// The kind image::Load is given.
extern const ImageKind kKind;

// Makes a file claim no more than `pixels` pixels, unless it claims more
// than the loader accepts at all: what decodes, decodes quickly.
void LimitPixels(std::vector<unsigned char>& bytes, unsigned pixels);

}  // namespace picture_format

#endif
