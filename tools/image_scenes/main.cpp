// image_scenes - draws the picture scenes through the graphics library and
// writes each as OUTDIR/NAME.ppm, plus the decoded picture itself as
// OUTDIR/image_decoded.ppm.
//
// Usage: image_scenes OUTDIR
#include <cstdio>
#include <string>

#include "image_scenes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: image_scenes OUTDIR\n");
        return 2;
    }
    std::string dir = argv[1];
    std::string jpegPath = dir + "/image_scenes_picture.jpg";
    if (!image_scenes::WritePictureFile(jpegPath)) {
        std::fprintf(stderr, "image_scenes: cannot write %s\n", jpegPath.c_str());
        return 1;
    }
    image picture(jpegPath, IK_JPEG);
    std::remove(jpegPath.c_str());

    int failures = 0;
    auto save = [&](const std::string& name, const image_scenes::Picture& p) {
        std::string path = dir + "/" + name + ".ppm";
        if (!image_scenes::WritePpm(path, p)) {
            std::fprintf(stderr, "image_scenes: cannot write %s\n", path.c_str());
            ++failures;
        } else {
            std::printf("%s\n", path.c_str());
        }
    };
    save("image_decoded", image_scenes::Decoded(picture));
    for (const image_scenes::Scene& scene : image_scenes::All()) save(scene.name, image_scenes::Render(scene, picture));
    return failures == 0 ? 0 : 1;
}
