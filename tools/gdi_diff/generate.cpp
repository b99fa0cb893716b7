// generate.cpp - random differential scenes and their smaller variants.
#include "generate.h"

#include <cmath>
#include <cstdlib>
#include <random>

namespace gdi_diff {

const char* const kAllKinds = "LRQEPAWBGT";

namespace {

struct Dice {
    std::mt19937_64 rng;
    explicit Dice(uint64_t seed) : rng(seed * 0x9E3779B97F4A7C15ull + 12345) {}
    int Range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }  // inclusive
    bool Chance(int percent) { return Range(0, 99) < percent; }
};

// A coordinate along an axis of `size` pixels: mostly on or near the canvas,
// now and then far past it.
int Coordinate(Dice& d, int size) {
    int r = d.Range(0, 99);
    if (r < 80) return d.Range(-4, size + 4);
    if (r < 95) return d.Range(-size, 2 * size);
    return d.Chance(50) ? -d.Range(100, 3000) : size + d.Range(100, 3000);
}

// A box of any orientation: its corners in any order, at times degenerate
// (one or both sides 0 or 1 pixel) or tiny.
void Box(Dice& d, const Scene& scene, std::vector<int>& v) {
    int x1 = Coordinate(d, scene.width), y1 = Coordinate(d, scene.height);
    int x2, y2;
    int r = d.Range(0, 99);
    if (r < 10) {
        x2 = x1 + d.Range(-1, 1);
        y2 = y1 + d.Range(-40, 40);
    } else if (r < 20) {
        x2 = x1 + d.Range(-40, 40);
        y2 = y1 + d.Range(-1, 1);
    } else if (r < 35) {
        x2 = x1 + d.Range(-8, 8);
        y2 = y1 + d.Range(-8, 8);
    } else if (r < 90) {
        x2 = x1 + d.Range(-scene.width, scene.width);
        y2 = y1 + d.Range(-scene.height, scene.height);
    } else {
        x2 = Coordinate(d, scene.width);
        y2 = Coordinate(d, scene.height);
    }
    v.insert(v.end(), {x1, y1, x2, y2});
}

// The start or end point of an arc as the graphics library computes it from
// a whole-degree angle, or now and then any point.
void ArcPoint(Dice& d, const Scene& scene, std::vector<int>& v) {
    if (d.Chance(20)) {
        v.push_back(Coordinate(d, scene.width));
        v.push_back(Coordinate(d, scene.height));
        return;
    }
    int rx = (v[2] - v[0]) / 2, ry = (v[3] - v[1]) / 2;
    int cx = (v[0] + v[2]) / 2, cy = (v[1] + v[3]) / 2;
    double a = d.Range(0, 359) * (3.141592653589793 / 180.0);
    v.push_back(cx + static_cast<int>(rx * std::cos(a)));
    v.push_back(cy - static_cast<int>(ry * std::sin(a)));
}

int PenWidth(Dice& d) {
    int r = d.Range(0, 99);
    if (r < 30) return d.Range(0, 1);
    if (r < 65) return d.Range(2, 6);
    return d.Range(7, 20);
}

// Text: a face the library's families give, a size from the fixed list
// (now and then as an em height), mostly regular or bold, a short string
// of printable characters, placed on the canvas or partly past its edges.
void TextShape(Dice& d, const Scene& scene, Shape& s) {
    s.penStyle = 0;
    s.penWidth = 0;
    s.brush = kNullBrush;
    s.rop = 13;
    s.fillMode = 1;
    const std::vector<int>& sizes = TextSizes();
    int size = sizes[static_cast<size_t>(d.Range(0, static_cast<int>(sizes.size()) - 1))];
    if (d.Chance(10)) size = -size;
    int face = d.Range(0, kTextFaces - 1);
    int r = d.Range(0, 99);
    int style = r < 45 ? 0 : r < 85 ? kBold : d.Range(0, 7);
    int bk = d.Chance(85) ? kTransparent : kOpaque;
    int x = d.Range(-8, scene.width - 4);
    int y = d.Range(-std::abs(size) / 2, scene.height - 2);
    s.v = {x, y, face, size, style, bk};
    static const char kCommon[] = "ETAOINSHRDLUetaoinshrdlu0123456789 ";
    int n = d.Range(1, 8);
    for (int i = 0; i < n; ++i) {
        s.v.push_back(d.Chance(60) ? kCommon[d.Range(0, static_cast<int>(sizeof kCommon) - 2)]
                                   : d.Range(kFirstTextChar, kLastTextChar));
    }
}

Shape RandomShape(Dice& d, const Scene& scene, char kind) {
    Shape s;
    s.kind = kind;
    int ps = d.Range(0, 99);
    s.penStyle = ps < 60 ? 6 : ps < 85 ? 0 : ps < 93 ? 5 : kStockBlackPen;
    s.penWidth = PenWidth(d);
    s.penColor = d.Range(0, PaletteSize() - 1);
    int b = d.Range(0, 99);
    s.brush = b < 55 ? d.Range(0, PaletteSize() - 1) : b < 88 ? kNullBrush : kStockBlackBrush;
    int rop = d.Range(0, 99);
    s.rop = rop < 65 ? 13 : rop < 80 ? 6 : d.Range(1, 16);
    s.fillMode = d.Chance(50) ? 1 : 2;
    switch (kind) {
        case kLine:
        case kPolygon: {
            int n = d.Range(kind == kLine ? 2 : 3, 6);
            for (int i = 0; i < n; ++i) {
                s.v.push_back(Coordinate(d, scene.width));
                s.v.push_back(Coordinate(d, scene.height));
            }
            break;
        }
        case kRect:
        case kEllipse: Box(d, scene, s.v); break;
        case kRound:
            Box(d, scene, s.v);
            s.v.push_back(d.Range(-2, 60));
            s.v.push_back(d.Range(-2, 60));
            break;
        case kArc:
        case kPie:
            Box(d, scene, s.v);
            ArcPoint(d, scene, s.v);
            ArcPoint(d, scene, s.v);
            break;
        case kBezier: {
            int n = d.Chance(75) ? 4 : 7;
            for (int i = 0; i < n; ++i) {
                s.v.push_back(d.Range(-20, scene.width + 20));
                s.v.push_back(d.Range(-20, scene.height + 20));
            }
            break;
        }
        case kText: TextShape(d, scene, s); break;
        case kRegion: {
            int sub = d.Range(0, 3);
            s.v.push_back(sub);
            if (sub == 3) {
                int n = d.Range(3, 6);
                for (int i = 0; i < n; ++i) {
                    s.v.push_back(Coordinate(d, scene.width));
                    s.v.push_back(Coordinate(d, scene.height));
                }
            } else {
                std::vector<int> box;
                Box(d, scene, box);
                s.v.insert(s.v.end(), box.begin(), box.end());
                if (sub == 2) {
                    s.v.push_back(d.Range(0, 60));
                    s.v.push_back(d.Range(0, 60));
                }
            }
            break;
        }
    }
    return s;
}

// A value one step nearer `target`: half way, or by one when that is closer.
std::vector<int> Nearer(int v, int target) {
    std::vector<int> out;
    if (v == target) return out;
    int half = target + (v - target) / 2;
    out.push_back(half);
    int one = v + (v < target ? 1 : -1);
    if (one != half) out.push_back(one);
    return out;
}

// Simpler text: a character fewer, plainer style, transparent, black,
// nearer the canvas's top-left corner.
void SmallerText(const Scene& scene, size_t i, std::vector<Scene>& out) {
    const Shape& sh = scene.shapes[i];
    auto with = [&](auto change) {
        Scene s = scene;
        change(s.shapes[i]);
        out.push_back(s);
    };
    if (sh.v.size() > 7) {
        for (size_t p = 6; p < sh.v.size(); ++p)
            with([p](Shape& s) { s.v.erase(s.v.begin() + static_cast<long>(p)); });
    }
    for (int bit : {kUnderline, kItalic, kBold})
        if (sh.v[4] & bit) with([bit](Shape& s) { s.v[4] &= ~bit; });
    if (sh.v[5] != kTransparent) with([](Shape& s) { s.v[5] = kTransparent; });
    if (sh.penColor != 3) with([](Shape& s) { s.penColor = 3; });
    for (size_t j = 0; j < 2; ++j)
        for (int nv : Nearer(sh.v[j], 2)) with([j, nv](Shape& s) { s.v[j] = nv; });
}

}  // namespace

Scene Generate(uint64_t seed, const std::string& kinds) {
    Dice d(seed);
    Scene scene;
    const std::string& k = kinds.empty() ? std::string(kAllKinds) : kinds;
    int n = d.Range(1, 5);
    for (int i = 0; i < n; ++i) {
        char kind = k[static_cast<size_t>(d.Range(0, static_cast<int>(k.size()) - 1))];
        scene.shapes.push_back(RandomShape(d, scene, kind));
    }
    return scene;
}

std::vector<Scene> Smaller(const Scene& scene) {
    std::vector<Scene> out;
    auto with = [&](size_t i, auto change) {
        Scene s = scene;
        change(s.shapes[i]);
        out.push_back(s);
    };
    for (size_t i = 0; i < scene.shapes.size() && scene.shapes.size() > 1; ++i) {
        Scene s = scene;
        s.shapes.erase(s.shapes.begin() + static_cast<long>(i));
        out.push_back(s);
    }
    for (size_t i = 0; i < scene.shapes.size(); ++i) {
        const Shape& sh = scene.shapes[i];
        if (sh.kind == kText) {
            SmallerText(scene, i, out);
            continue;
        }
        if (sh.rop != 13) with(i, [](Shape& s) { s.rop = 13; });
        if (sh.brush != kNullBrush) with(i, [](Shape& s) { s.brush = kNullBrush; });
        if (sh.penStyle != 5 && sh.kind != kRegion) with(i, [](Shape& s) { s.penStyle = 5; });
        if (sh.penStyle != 6 && sh.penStyle != 5) with(i, [](Shape& s) { s.penStyle = 6; });
        for (int w : Nearer(sh.penWidth, 0)) with(i, [w](Shape& s) { s.penWidth = w; });
        if (sh.brush >= 0 && sh.brush != 1) with(i, [](Shape& s) { s.brush = 1; });
        if (sh.penColor != 0) with(i, [](Shape& s) { s.penColor = 0; });
        if (sh.fillMode != 1) with(i, [](Shape& s) { s.fillMode = 1; });
        // Fewer points.
        size_t first = sh.kind == kRegion ? 1 : 0;
        size_t minPoints = sh.kind == kLine ? 2 : sh.kind == kPolygon || sh.kind == kRegion ? 3 : 0;
        if ((sh.kind == kLine || sh.kind == kPolygon || (sh.kind == kRegion && sh.v[0] == 3)) &&
            (sh.v.size() - first) / 2 > minPoints) {
            for (size_t p = first; p + 1 < sh.v.size(); p += 2) {
                with(i, [p](Shape& s) {
                    s.v.erase(s.v.begin() + static_cast<long>(p), s.v.begin() + static_cast<long>(p) + 2);
                });
            }
        }
        if (sh.kind == kBezier && sh.v.size() > 8) with(i, [](Shape& s) { s.v.resize(8); });
        // Coordinates nearer the canvas's middle, one at a time.
        for (size_t j = first; j < sh.v.size(); ++j) {
            bool corner = (sh.kind == kRound && j >= 4) || (sh.kind == kRegion && sh.v[0] == 2 && j >= 5);
            int target = corner ? 0 : ((j - first) % 2 == 0 ? scene.width / 2 : scene.height / 2);
            for (int nv : Nearer(sh.v[j], target)) with(i, [j, nv](Shape& s) { s.v[j] = nv; });
        }
    }
    return out;
}

}  // namespace gdi_diff
