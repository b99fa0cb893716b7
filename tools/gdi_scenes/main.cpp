// gdi_scenes - draws the GDI scenes (gdi_scenes.h) and writes each as
// OUTDIR/NAME.ppm.
//
// Usage: gdi_scenes OUTDIR
#include "gdi_scenes.h"

int main(int argc, char** argv) {
    scene_files::Output out("gdi_scenes", argc, argv);
    if (!out.ok()) return out.Status();
    for (const gdi_scenes::Scene& scene : gdi_scenes::Scenes()) out.Save(scene.name, gdi_scenes::Render(scene));
    return out.Status();
}
