// make_pictures: paints the game's pictures and writes them as JPEG files.
// Usage: make_pictures OUTPUT_FOLDER
// Writes background1.jpg and frame1.jpg to frame4.jpg into the folder
// (made if missing). Exit status 0 on success, 1 when a file cannot be written.
#include <cstdio>
#include <filesystem>
#include <string>

#include "jpeg_writer.h"
#include "pictures.h"

namespace {

bool Save(const std::filesystem::path& folder, const char* name, const Canvas& canvas) {
    std::string path = (folder / name).string();
    std::vector<unsigned char> rgb = canvas.Bytes();
    if (!jpeg_writer::WriteRgb(path, canvas.Width(), canvas.Height(), rgb.data(), 92)) {
        std::fprintf(stderr, "make_pictures: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pictures OUTPUT_FOLDER\n");
        return 1;
    }
    std::filesystem::path folder(argv[1]);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);

    bool ok = Save(folder, "background1.jpg", PaintBackground());
    ok = Save(folder, "frame1.jpg", PaintJapan()) && ok;
    ok = Save(folder, "frame2.jpg", PaintEngland()) && ok;
    ok = Save(folder, "frame3.jpg", PaintEthiopia()) && ok;
    ok = Save(folder, "frame4.jpg", PaintFarmAnimal()) && ok;
    return ok ? 0 : 1;
}
