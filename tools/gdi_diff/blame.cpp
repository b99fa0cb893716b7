// blame.cpp - the tests of blame.h on the pictures of one shape.
#include "blame.h"

#include <algorithm>
#include <climits>

namespace gdi_diff {
namespace {

bool Changed(const Picture& before, const Picture& after, int x, int y) {
    size_t i = static_cast<size_t>(y) * static_cast<size_t>(before.width) + static_cast<size_t>(x);
    return before.pixels[i] != after.pixels[i];
}

}  // namespace

PixelBox Reach(const Shape& shape, int width, int height) {
    if (shape.kind == kText || shape.kind == kPicture) return {0, 0, width, height};
    if ((shape.kind == kLine || shape.kind == kBezier) && shape.penStyle == 5) return {0, 0, 0, 0};
    const std::vector<int>& v = shape.v;
    size_t from = shape.kind == kRegion ? 1 : 0;
    // Boxes give two corners; lines, polygons, curves and polygon regions
    // their points (a Bézier curve stays inside its control points' hull).
    bool boxFigure = shape.kind == kRect || shape.kind == kRound || shape.kind == kEllipse || shape.kind == kArc ||
                     shape.kind == kPie;
    size_t to = boxFigure ? 4 : shape.kind == kRegion && v[0] != 3 ? 5 : v.size();
    PixelBox box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (size_t i = from; i + 1 < to; i += 2) {
        box.left = std::min(box.left, v[i]);
        box.right = std::max(box.right, v[i]);
        box.top = std::min(box.top, v[i + 1]);
        box.bottom = std::max(box.bottom, v[i + 1]);
    }
    int pen = shape.kind == kRegion || shape.penStyle == 5 ? 0 : std::max(shape.penWidth, 1);
    // An inside-frame pen keeps a box figure inside its box, unless the pen
    // is wider than the box.
    bool boxed = boxFigure && shape.penStyle == 6;
    if (boxed && pen <= std::min(box.right - box.left, box.bottom - box.top)) pen = 0;
    int margin = pen + 2;
    box.left = std::max(box.left - margin, 0);
    box.top = std::max(box.top - margin, 0);
    box.right = std::min(box.right + margin + 1, width);
    box.bottom = std::min(box.bottom + margin + 1, height);
    return box;
}

bool ChangesOutside(const Picture& before, const Picture& after, const std::vector<PixelBox>& reach) {
    for (int y = 0; y < before.height; ++y) {
        for (int x = 0; x < before.width; ++x) {
            if (!Changed(before, after, x, y)) continue;
            bool inside = false;
            for (const PixelBox& box : reach)
                inside = inside || (x >= box.left && x < box.right && y >= box.top && y < box.bottom);
            if (!inside) return true;
        }
    }
    return false;
}

bool Symmetric(const Shape& shape, const Picture& before, const Picture& after) {
    if (shape.kind != kRegion || (shape.v[0] != 1 && shape.v[0] != 2)) return true;
    const std::vector<int>& v = shape.v;
    // GDI's region of a box leaves out the box's right column and bottom row.
    int left = std::min(v[1], v[3]), right = std::max(v[1], v[3]) - 1;
    int top = std::min(v[2], v[4]), bottom = std::max(v[2], v[4]) - 1;
    if (right - left < 2 || bottom - top < 2) return true;  // a rectangle, or nothing
    int w = before.width, h = before.height;
    for (int y = std::max(top, 0); y < std::min(bottom, h); ++y) {
        for (int x = std::max(left, 0); x < std::min(right, w); ++x) {
            bool here = Changed(before, after, x, y);
            int mx = left + right - 1 - x, my = top + bottom - 1 - y;
            if (mx >= 0 && mx < w && Changed(before, after, mx, y) != here) return false;
            if (my >= 0 && my < h && Changed(before, after, x, my) != here) return false;
        }
    }
    return true;
}

}  // namespace gdi_diff
