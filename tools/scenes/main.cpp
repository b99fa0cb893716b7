// scenes - draws the fixed drawing scenes through the graphics library and
// writes each as OUTDIR/NAME.ppm, with the measured extents of the text
// scenes' lines in OUTDIR/text_extents.txt ("scene item width height").
//
// Usage: scenes OUTDIR
#include <cstdio>
#include <string>

#include "scenes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: scenes OUTDIR\n");
        return 2;
    }
    std::string dir = argv[1];
    std::FILE* extentsFile = std::fopen((dir + "/text_extents.txt").c_str(), "w");
    if (extentsFile == nullptr) {
        std::fprintf(stderr, "scenes: cannot write in %s\n", dir.c_str());
        return 1;
    }
    int failures = 0;
    for (const scenes::Scene& scene : scenes::All()) {
        std::vector<std::pair<int, int>> extents;
        scenes::Picture picture = scenes::Render(scene, &extents);
        std::string path = dir + "/" + scene.name + ".ppm";
        if (!scenes::WritePpm(path, picture)) {
            std::fprintf(stderr, "scenes: cannot write %s\n", path.c_str());
            ++failures;
        }
        for (size_t i = 0; i < extents.size(); ++i)
            std::fprintf(extentsFile, "%s %zu %d %d\n", scene.name, i, extents[i].first, extents[i].second);
        std::printf("%s\n", path.c_str());
    }
    std::fclose(extentsFile);
    return failures == 0 ? 0 : 1;
}
