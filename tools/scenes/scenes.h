// scenes.h - a fixed set of drawing scenes made through the graphics
// library's public interface only, read back in one capture, and a small
// binary PPM writer and reader for them. The scenes tool writes them as
// reference pictures; the tests draw them again and compare.
#ifndef TOOLS_SCENES_SCENES_H
#define TOOLS_SCENES_SCENES_H

#include <cstdint>
#include <string>
#include <vector>

#include "graphics.h"

namespace scenes {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// A picture as 0x00RRGGBB pixels, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

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

bool WritePpm(const std::string& path, const Picture& picture);
bool ReadPpm(const std::string& path, Picture& picture);

}  // namespace scenes

#endif
