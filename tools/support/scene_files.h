// scene_files.h - what the scene tools (scenes, gdi_scenes, image_scenes)
// share: a picture as 0x00RRGGBB pixels, its binary PPM (P6) file, the
// conversion from a capture's blue-green-red-spare bytes, and the tools'
// command line ("TOOL OUTDIR") and output loop. The tests read the same
// files back with ReadPpm. Header only.
#ifndef KIVA_SCENE_FILES_H
#define KIVA_SCENE_FILES_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "surface_limits.h"

namespace scene_files {

// A picture as 0x00RRGGBB pixels, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// A picture from 32-bit pixels stored blue, green, red and a spare byte,
// top row first (a capture's or a top-down DIB's layout).
inline Picture FromBgrx(int width, int height, const unsigned char* bytes) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<size_t>(width) * height, 0);
    for (size_t i = 0; bytes != nullptr && i < picture.pixels.size(); ++i)
        picture.pixels[i] = (uint32_t{bytes[i * 4 + 2]} << 16) | (uint32_t{bytes[i * 4 + 1]} << 8) | bytes[i * 4];
    return picture;
}

inline bool WritePpm(const std::string& path, const Picture& picture) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height);
    std::vector<unsigned char> bytes;
    bytes.reserve(picture.pixels.size() * 3);
    for (uint32_t p : picture.pixels) {
        bytes.push_back(static_cast<unsigned char>(p >> 16));
        bytes.push_back(static_cast<unsigned char>(p >> 8));
        bytes.push_back(static_cast<unsigned char>(p));
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

// Reads a file WritePpm wrote (any P6 file of 8-bit channels with sides up
// to kiva::kMaxWindowSide); false, with `picture` unspecified, for anything
// else.
inline bool ReadPpm(const std::string& path, Picture& picture) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    int width = 0, height = 0, maxValue = 0;
    bool ok = std::fscanf(file, "P6 %d %d %d", &width, &height, &maxValue) == 3 && maxValue == 255 && width > 0 &&
              height > 0 && width <= kiva::kMaxWindowSide && height <= kiva::kMaxWindowSide && std::fgetc(file) != EOF;
    if (ok) {
        std::vector<unsigned char> bytes(static_cast<size_t>(width) * height * 3);
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (ok) {
            picture.width = width;
            picture.height = height;
            picture.pixels.resize(static_cast<size_t>(width) * height);
            for (size_t i = 0; i < picture.pixels.size(); ++i)
                picture.pixels[i] =
                    (uint32_t{bytes[i * 3]} << 16) | (uint32_t{bytes[i * 3 + 1]} << 8) | bytes[i * 3 + 2];
        }
    }
    std::fclose(file);
    return ok;
}

// The output side of a scene tool: the folder named by its only argument,
// and every picture written there as NAME.ppm, its path printed.
class Output {
public:
    // Checks the command line "TOOL OUTDIR"; on a wrong one prints the usage
    // and leaves ok() false.
    Output(const char* tool, int argc, char** argv) : tool_(tool) {
        if (argc == 2) {
            folder_ = argv[1];
        } else {
            std::fprintf(stderr, "usage: %s OUTDIR\n", tool);
        }
    }

    bool ok() const { return !folder_.empty(); }
    std::string Path(const std::string& fileName) const { return folder_ + "/" + fileName; }

    void Save(const std::string& name, const Picture& picture) {
        std::string path = Path(name + ".ppm");
        if (WritePpm(path, picture)) {
            std::printf("%s\n", path.c_str());
        } else {
            Fail(path);
        }
    }

    // Reports a file that could not be written; the tool then ends with 1.
    void Fail(const std::string& path) {
        std::fprintf(stderr, "%s: cannot write %s\n", tool_, path.c_str());
        ++failures_;
    }

    // The tool's exit status: 2 for a wrong command line, 1 after a failed
    // write, 0 otherwise.
    int Status() const { return !ok() ? 2 : failures_ == 0 ? 0 : 1; }

private:
    const char* tool_;
    std::string folder_;
    int failures_ = 0;
};

}  // namespace scene_files

#endif
