// gdi_scenes: draws the GDI scenes (gdi_scenes.h) and writes each one as
// NAME.ppm into the folder given as the only argument (default: here).
#include <cstdio>
#include <string>

#include "gdi_scenes.h"

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    int failures = 0;
    for (const gdi_scenes::Scene& scene : gdi_scenes::Scenes()) {
        std::string path = folder + "/" + scene.name + ".ppm";
        if (!gdi_scenes::WritePpm(path, gdi_scenes::Render(scene))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
