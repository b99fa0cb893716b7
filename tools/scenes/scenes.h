// scenes.h - a fixed set of drawing scenes made through the graphics
// library's public interface only, read back in one capture. The scenes
// tool writes them as reference pictures (scene_files.h); the tests draw
// them again and compare.
#ifndef TOOLS_SCENES_SCENES_H
#define TOOLS_SCENES_SCENES_H

#include <cstdint>
#include <string>
#include <vector>

#include "graphics.h"
#include "scene_files.h"

namespace scenes {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

using scene_files::Picture;
using scene_files::ReadPpm;
using scene_files::WritePpm;

// One line of text of the text scenes, drawn at (x, y) in its own band of
// the picture, from `top` to `bottom`.
struct TextItem {
    int x, y;
    int size;
    uint16_t style;
    int family;
    const char* face;  // may be null
    const char* text;
    color ink;
    int top, bottom;
};

struct Scene {
    const char* name;
    bool text;  // a text scene: compared by extents and ink, not pixel by pixel
    void (*draw)(window& w);
};

const std::vector<Scene>& All();
const std::vector<TextItem>& TextItems(const std::string& sceneName);

// Draws one scene into a fresh buffered window of kWidth x kHeight cleared
// to white and captures it. Text scenes also give the measured extent of
// each item (width, height).
Picture Render(const Scene& scene, std::vector<std::pair<int, int>>* extents);

}  // namespace scenes

#endif
