// generate.h - random differential scenes from a seed, and the smaller
// variants of a scene that the minimiser tries.
#ifndef GDI_DIFF_GENERATE_H
#define GDI_DIFF_GENERATE_H

#include <cstdint>
#include <string>
#include <vector>

#include "scene.h"

namespace gdi_diff {

// Every shape kind, as the letters of scene.h.
extern const char* const kAllKinds;

// A scene of 1 to 5 shapes of the given kinds, drawn from `seed` alone:
// pens of width 0 to 20 in the solid, inside-frame and null styles and the
// black stock pen; solid, null and black brushes; every mix mode; boxes of
// every size and orientation, degenerate ones and ones reaching thousands
// of pixels past the canvas; arcs and pies at every whole degree.
Scene Generate(uint64_t seed, const std::string& kinds);

// Scenes one step smaller or simpler than `scene`, most promising first:
// a shape fewer, then per shape a thinner pen, a plainer pen, brush or mix
// mode, fewer points, coordinates nearer each other and the canvas.
std::vector<Scene> Smaller(const Scene& scene);

}  // namespace gdi_diff

#endif
