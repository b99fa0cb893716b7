// picture_dump: loads a picture file through the library and writes what
// it loaded, to be compared with what other decoders make of the file.
//
//   picture_dump png|jpeg PICTURE PIXELS.ppm [SAVED.png]
//
// PIXELS.ppm gets the loaded pixels (binary PPM, 8 bits a sample); SAVED.png,
// when named, the loaded picture written by image::SavePng. Exit status 0
// when both were written, 1 when the library refused the picture (its own
// message on standard error), 2 for wrong usage, 3 when a file could not be
// written or the picture not opened.
#include <cstdio>
#include <cstring>
#include <vector>

#include "graphics.h"

int main(int argc, char** argv) {
    if ((argc != 4 && argc != 5) || (std::strcmp(argv[1], "png") != 0 && std::strcmp(argv[1], "jpeg") != 0)) {
        std::fprintf(stderr, "usage: picture_dump png|jpeg PICTURE PIXELS.ppm [SAVED.png]\n");
        return 2;
    }
    image picture;
    try {
        picture.Load(argv[2], std::strcmp(argv[1], "png") == 0 ? IK_PNG : IK_JPEG);
    } catch (error) {
        return 3;  // the library has said why
    }
    const int width = picture.Width(), height = picture.Height();
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    const unsigned char* pixels = picture.Pixels();
    for (size_t i = 0; i < rgb.size() / 3; ++i) {
        rgb[i * 3] = pixels[i * 4 + 2];
        rgb[i * 3 + 1] = pixels[i * 4 + 1];
        rgb[i * 3 + 2] = pixels[i * 4];
    }
    std::FILE* out = std::fopen(argv[3], "wb");
    bool written = out != nullptr && std::fprintf(out, "P6\n%d %d\n255\n", width, height) > 0 &&
                   std::fwrite(rgb.data(), 1, rgb.size(), out) == rgb.size();
    if (out != nullptr && std::fclose(out) != 0) written = false;
    if (!written) {
        std::fprintf(stderr, "picture_dump: cannot write %s\n", argv[3]);
        return 3;
    }
    if (argc == 5 && !picture.SavePng(argv[4])) {
        std::fprintf(stderr, "picture_dump: cannot save %s\n", argv[4]);
        return 3;
    }
    return 0;
}
