// scenes - draws the fixed drawing scenes through the graphics library and
// writes each as OUTDIR/NAME.ppm, with the measured extents of the text
// scenes' lines in OUTDIR/text_extents.txt ("scene item width height").
//
// Usage: scenes OUTDIR
#include <cstdio>
#include <string>

#include "scenes.h"

int main(int argc, char** argv) {
    scene_files::Output out("scenes", argc, argv);
    if (!out.ok()) return out.Status();
    std::string extentsPath = out.Path("text_extents.txt");
    std::FILE* extentsFile = std::fopen(extentsPath.c_str(), "w");
    if (extentsFile == nullptr) {
        out.Fail(extentsPath);
        return out.Status();
    }
    for (const scenes::Scene& scene : scenes::All()) {
        std::vector<std::pair<int, int>> extents;
        out.Save(scene.name, scenes::Render(scene, &extents));
        for (size_t i = 0; i < extents.size(); ++i)
            std::fprintf(extentsFile, "%s %zu %d %d\n", scene.name, i, extents[i].first, extents[i].second);
    }
    if (std::fclose(extentsFile) != 0) out.Fail(extentsPath);
    return out.Status();
}
