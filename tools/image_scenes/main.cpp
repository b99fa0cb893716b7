// image_scenes - draws the picture scenes through the graphics library and
// writes each as OUTDIR/NAME.ppm, plus the decoded picture itself as
// OUTDIR/image_decoded.ppm.
//
// Usage: image_scenes OUTDIR
#include <cstdio>
#include <string>

#include "image_scenes.h"

int main(int argc, char** argv) {
    scene_files::Output out("image_scenes", argc, argv);
    if (!out.ok()) return out.Status();
    std::string jpegPath = out.Path("image_scenes_picture.jpg");
    if (!image_scenes::WritePictureFile(jpegPath)) {
        out.Fail(jpegPath);
        return out.Status();
    }
    image picture(jpegPath, IK_JPEG);
    std::remove(jpegPath.c_str());

    out.Save("image_decoded", image_scenes::Decoded(picture));
    for (const image_scenes::Scene& scene : image_scenes::All())
        out.Save(scene.name, image_scenes::Render(scene, picture));
    return out.Status();
}
