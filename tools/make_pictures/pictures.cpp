// The game's five pictures, painted from shapes and gradients.
#include "pictures.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace {

const float kPi = 3.14159265358979f;

const Rgb kWhite{255, 255, 255};
const Rgb kBlack{20, 20, 24};

// A cheap repeatable noise from a seed, in [0, 1).
float Hash(int i) {
    unsigned h = static_cast<unsigned>(i) * 2654435761u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return (h & 0xFFFF) / 65536.0f;
}

// A ridge line across the picture: y for each x, as a sum of waves.
std::function<float(float)> Ridge(float base, float a1, float f1, float a2, float f2, float phase) {
    return [=](float x) { return base + a1 * std::sin(x * f1 + phase) + a2 * std::sin(x * f2 + phase * 2.3f); };
}

// Everything below a ridge line down to `bottom`, from x0 to x1.
Shape Below(const std::function<float(float)>& ridge, float x0, float x1, float bottom) {
    std::vector<Point> outline{{x0, bottom}};
    for (float x = x0; x < x1; x += 0.5f) outline.push_back({x, ridge(x)});
    outline.push_back({x1, ridge(x1)});
    outline.push_back({x1, bottom});
    return Polygon(outline);
}

// The whole picture, shading from `top` at y0 to `bottom` at y1.
void Sky(Canvas& canvas, float y0, float y1, Rgb top, Rgb bottom) {
    canvas.Paint(Rect(0, 0, static_cast<float>(canvas.Width()), static_cast<float>(canvas.Height())),
                 Vertical(y0, y1, top, bottom));
}

// A flag's cloth laid flat: its box and the pieces of its design, painted
// in order.
struct Flag {
    float x, y, w, h;
    std::vector<std::pair<Shape, Rgb>> design;
};

// The flag on a pole, waving: each column of the cloth is shifted up or
// down along the folds, which catch the light where they turn towards it and
// are in shade where they turn away.
void WavingFlag(Canvas& canvas, const Flag& flag, float wave, float poleBottom) {
    const float x = flag.x, y = flag.y, w = flag.w, h = flag.h;
    canvas.Paint(Rect(x - 4, y - 6, x, poleBottom), Rgb{120, 110, 100});
    canvas.Paint(Circle(x - 2, y - 7, 4), Rgb{220, 190, 60});
    Gradient light{{x, 0}, {x + w, 0}, {}}, shade = light;
    for (int i = 0; i <= 44; ++i) {
        float u = i / 44.0f, slope = std::cos(u * 2.2f * kPi);
        light.stops.push_back({u, kWhite, std::max(0.0f, 0.18f * slope)});
        shade.stops.push_back({u, kBlack, std::max(0.0f, -0.22f * slope)});
    }
    const Shape cloth = Rect(x, y, x + w, y + h);
    for (float column = x; column < x + w; ++column) {
        float u = (column + 0.5f - x) / w, dy = wave * u * std::sin(u * 2.2f * kPi);
        Shape strip = Rect(column, y - wave - 1, column + 1, y + h + wave + 1);
        for (const auto& [shape, colour] : flag.design) canvas.Paint(Intersect(strip, Moved(shape, 0, dy)), colour);
        canvas.Paint(Intersect(strip, Moved(cloth, 0, dy)), light);
        canvas.Paint(Intersect(strip, Moved(cloth, 0, dy)), shade);
    }
}

// A five-petalled blossom.
void Blossom(Canvas& canvas, float cx, float cy, float r, float turn) {
    for (int i = 0; i < 5; ++i) {
        float a = turn + i * 2 * kPi / 5;
        canvas.Paint(Circle(cx + r * 0.55f * std::cos(a), cy + r * 0.55f * std::sin(a), r * 0.5f),
                     Rgb{255, 190, 215});
    }
    canvas.Paint(Circle(cx, cy, r * 0.28f), Rgb{230, 90, 140});
}

// A fluffy cloud of overlapping circles.
void Cloud(Canvas& canvas, float cx, float cy, float size, float opacity = 0.95f) {
    std::vector<Shape> puffs{Ellipse(cx, cy + size * 0.15f, size * 1.3f, size * 0.45f)};
    for (int i = 0; i < 4; ++i)
        puffs.push_back(Circle(cx - size * 0.75f + i * size * 0.5f, cy - size * (0.1f + 0.25f * (i % 2)),
                               size * (0.45f + 0.1f * (i % 2))));
    canvas.Paint(Union(puffs), Vertical(cy - size, cy + size, kWhite, Rgb{200, 210, 230}), opacity);
}

// A picture card's edge: a light mat and a thin dark line.
void Border(Canvas& canvas, Rgb mat) {
    float w = static_cast<float>(canvas.Width()), h = static_cast<float>(canvas.Height());
    canvas.Paint(Hollow(Rect(0, 0, w, h), Rect(6, 6, w - 6, h - 6)), mat);
    canvas.Paint(Hollow(Rect(6, 6, w - 6, h - 6), Rect(8, 8, w - 8, h - 8)), Rgb{60, 50, 40});
}

// Letters of a 5 x 7 dot font, enough for the closing pictures' captions.
const char* Glyph(char letter) {
    switch (letter) {
    case 'A': return ".###.#...##...#######...##...##...#";
    case 'C': return ".###.#...##....#....#....#...#.###.";
    case 'D': return "####.#...##...##...##...##...#####.";
    case 'E': return "######....#....####.#....#....#####";
    case 'H': return "#...##...##...#######...##...##...#";
    case 'I': return ".###...#....#....#....#....#...###.";
    case 'L': return "#....#....#....#....#....#....#####";
    case 'M': return "#...###.###.#.##.#.##...##...##...#";
    case 'N': return "#...###..##.#.##..###...##...##...#";
    case 'O': return ".###.#...##...##...##...##...#.###.";
    case 'P': return "####.#...##...#####.#....#....#....";
    case 'R': return "####.#...##...#####.#.#..#..#.#...#";
    case 'Y': return "#...##...#.#.#...#....#....#....#..";
    case 'W': return "#...##...##...##.#.##.#.##.#.#.#.#.";
    case '!': return "..#....#....#....#....#.........#..";
    default: return nullptr;  // a space
    }
}

// A ribbon across the bottom of a closing picture with a caption on it, in
// round dots like a stadium's scoreboard.
void Banner(Canvas& canvas, float top, const char* text, Rgb ribbon, Rgb ink) {
    float w = static_cast<float>(canvas.Width());
    float bottom = top + 48, middle = top + 24;
    Rgb fold = Mix(ribbon, kBlack, 0.35f);
    // The ribbon's ends, tucked behind, with swallowtails.
    canvas.Paint(Polygon({{14, top + 10}, {46, top + 10}, {46, bottom + 8}, {14, bottom + 8}, {26, middle + 8}}), fold);
    canvas.Paint(Polygon({{w - 14, top + 10}, {w - 46, top + 10}, {w - 46, bottom + 8}, {w - 14, bottom + 8},
                          {w - 26, middle + 8}}),
                 fold);
    canvas.Paint(Rect(34, top, w - 34, bottom), Vertical(top, bottom, Mix(ribbon, kWhite, 0.25f), ribbon));
    int letters = 0;
    for (const char* c = text; *c; ++c) ++letters;
    const float cell = std::min(4.6f, (w - 96) / (letters * 6));
    float x = w / 2 - (letters * 6 - 1) * cell / 2, y = middle - 3.5f * cell;
    for (const char* c = text; *c; ++c, x += 6 * cell) {
        const char* glyph = Glyph(*c);
        if (glyph == nullptr) continue;
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (glyph[row * 5 + col] == '#') {
                    float cx = x + (col + 0.5f) * cell, cy = y + (row + 0.5f) * cell;
                    canvas.Paint(Circle(cx + 1, cy + 1, cell * 0.52f), fold, 0.8f);
                    canvas.Paint(Circle(cx, cy, cell * 0.52f), ink);
                }
    }
}

// A closing picture: the scene as a card with a caption ribbon below it.
Canvas WithCaption(const Canvas& scene, const char* caption, Rgb mat, Rgb ribbon, Rgb ink) {
    Canvas c(scene.Width(), scene.Height() + 64);
    float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    c.Paint(Rect(0, 0, w, h), mat);
    c.Place(scene, 0, 0);
    Banner(c, static_cast<float>(scene.Height()), caption, ribbon, ink);
    c.Paint(Hollow(Rect(0, 0, w, h), Rect(1, 1, w - 1, h - 1)), Rgb{170, 160, 140});
    return c;
}

}  // namespace

Canvas PaintBackground() {
    Canvas c(kBackgroundWidth, kBackgroundHeight);
    const float w = kBackgroundWidth, h = kBackgroundHeight;
    Sky(c, 0, 52, Rgb{60, 40, 110}, Rgb{255, 150, 70});
    c.Paint(Circle(120, 30, 24), Rgb{255, 190, 100}, 0.25f);  // glow
    c.Paint(Circle(120, 30, 12), Vertical(18, 42, Rgb{255, 245, 170}, Rgb{255, 140, 50}));
    for (int i = 0; i < 18; ++i) c.Paint(Circle(Hash(i) * w, Hash(i + 50) * 22, 0.6f), kWhite, 0.7f);
    c.Paint(Below(Ridge(36, 7, 0.07f, 3, 0.23f, 1.0f), 0, w, h), Rgb{110, 70, 130});
    c.Paint(Below(Ridge(44, 5, 0.11f, 2, 0.31f, 2.5f), 0, w, h), Rgb{75, 45, 100});
    c.Paint(Rect(0, 54, w, h), Vertical(54, 84, Rgb{200, 110, 90}, Rgb{40, 30, 80}));
    for (int i = 0; i < 7; ++i) {  // the sun's reflection
        float y = 57 + i * 3.5f, half = 13 - i * 1.6f;
        c.Paint(Rect(120 - half, y, 120 + half, y + 1.2f), Rgb{255, 210, 130}, 0.8f);
    }
    // Reeds on the near shore.
    c.Paint(Below(Ridge(80, 2, 0.3f, 1, 0.7f, 0.3f), 0, 40, h), Rgb{30, 25, 50});
    for (int i = 0; i < 9; ++i) {
        float rx = 3 + i * 4 + Hash(i + 70) * 2;
        c.Paint(Stroke({rx, h}, {rx + 1.5f, 66 + Hash(i + 80) * 8}, 1.1f), Rgb{30, 25, 50});
    }
    for (int i = 0; i < 3; ++i) {  // birds
        float bx = 40 + i * 14, by = 18 + (i % 2) * 6;
        c.Paint(Path({{bx - 4, by - 2}, {bx, by}, {bx + 4, by - 2}}, 1.0f), Rgb{40, 20, 50});
    }
    return c;
}

Canvas PaintJapan() {
    Canvas c(400, 300);
    Sky(c, 8, 200, Rgb{150, 200, 240}, Rgb{255, 225, 200});
    c.Paint(Circle(200, 112, 62), Rgb{210, 30, 50});  // the rising sun
    Cloud(c, 80, 60, 24, 0.8f);
    Cloud(c, 330, 85, 18, 0.8f);
    // Mount Fuji with its snow cap.
    Shape mountain = Polygon({{40, 232}, {168, 118}, {232, 118}, {360, 232}});
    c.Paint(mountain, Vertical(118, 232, Rgb{90, 110, 170}, Rgb{50, 70, 120}));
    c.Paint(Polygon({{168, 118}, {232, 118}, {262, 146}, {246, 140}, {232, 154}, {216, 142}, {200, 158},
                     {186, 142}, {170, 152}, {156, 142}, {138, 146}}),
            Rgb{248, 250, 255});
    // The lake and the mountain's reflection.
    c.Paint(Rect(8, 232, 392, 292), Vertical(232, 292, Rgb{120, 170, 220}, Rgb{60, 100, 160}));
    c.Paint(Polygon({{40, 232}, {360, 232}, {232, 290}, {168, 290}}), Rgb{60, 80, 140}, 0.35f);
    for (int i = 0; i < 12; ++i)
        c.Paint(Rect(30 + Hash(i) * 320, 238 + Hash(i + 9) * 50, 50 + Hash(i) * 330, 239.2f + Hash(i + 9) * 50), kWhite, 0.5f);
    // A torii gate on the shore.
    const Rgb vermilion{225, 60, 40};
    c.Paint(Rect(300, 190, 306, 240), vermilion);
    c.Paint(Rect(330, 190, 336, 240), vermilion);
    c.Paint(Polygon({{290, 186}, {346, 186}, {350, 180}, {286, 180}}), kBlack);
    c.Paint(Rect(292, 196, 344, 200), vermilion);
    // A cherry branch from the top left corner, in blossom.
    const Rgb bark{90, 50, 40};
    c.Paint(Path({{0, 30}, {40, 42}, {85, 40}, {130, 58}}, 7), bark);
    c.Paint(Path({{40, 42}, {62, 70}, {70, 100}}, 4.5f), bark);
    c.Paint(Path({{85, 40}, {110, 24}, {140, 22}}, 4), bark);
    const Point blooms[] = {{130, 58}, {70, 100}, {140, 22}, {62, 70}, {100, 48}, {24, 36}, {118, 30},
                            {52, 52}, {78, 86}, {148, 66}, {92, 36}, {12, 46}};
    for (int i = 0; i < 12; ++i) Blossom(c, blooms[i].x, blooms[i].y, 7 + 3 * Hash(i), Hash(i + 3) * 6);
    for (int i = 0; i < 10; ++i)  // falling petals
        c.Paint(Ellipse(150 + Hash(i + 20) * 200, 120 + Hash(i + 40) * 160, 2.5f, 1.5f), Rgb{255, 200, 220});
    // The flag: a red disc on white.
    const float fx = 30, fy = 160, fw = 72, fh = 48;
    WavingFlag(c,
               {fx,
                fy,
                fw,
                fh,
                {{Rect(fx, fy, fx + fw, fy + fh), Rgb{252, 252, 252}},
                 {Circle(fx + fw / 2, fy + fh / 2, 0.3f * fh), Rgb{200, 20, 45}}}},
               5, 285);
    Border(c, Rgb{250, 244, 230});
    return WithCaption(c, "CHAMPION!", Rgb{250, 244, 230}, Rgb{200, 20, 45}, Rgb{255, 250, 240});
}

Canvas PaintEngland() {
    Canvas c(350, 300);
    Sky(c, 8, 210, Rgb{70, 130, 210}, Rgb{190, 220, 245});
    Cloud(c, 70, 55, 22);
    Cloud(c, 250, 40, 16);
    Cloud(c, 300, 110, 14);
    // Rolling hills, far to near.
    c.Paint(Below(Ridge(190, 12, 0.02f, 5, 0.05f, 0.5f), 0, 350, 300), Rgb{120, 170, 90});
    c.Paint(Below(Ridge(225, 14, 0.015f, 6, 0.04f, 2.0f), 0, 350, 300), Rgb{80, 145, 70});
    c.Paint(Below(Ridge(262, 8, 0.02f, 3, 0.07f, 4.0f), 0, 350, 300), Rgb{55, 120, 55});
    for (int i = 0; i < 5; ++i) {  // hedgerow trees
        float tx = 20 + i * 34 + Hash(i) * 10, ty = 205 + Hash(i + 7) * 12;
        c.Paint(Rect(tx - 1.5f, ty, tx + 1.5f, ty + 12), Rgb{90, 60, 40});
        c.Paint(Circle(tx, ty - 2, 8), Rgb{40, 100 + Hash(i) * 30, 45});
    }
    // The clock tower.
    const Rgb stone{214, 190, 130}, shade{180, 150, 95}, roof{70, 90, 80};
    c.Paint(Rect(228, 96, 272, 262), stone);
    c.Paint(Rect(262, 96, 272, 262), shade);
    for (int i = 0; i < 6; ++i) c.Paint(Rect(236, 180 + i * 13, 264, 186 + i * 13), Rgb{150, 125, 80});
    c.Paint(Rect(222, 92, 278, 100), shade);
    c.Paint(Rect(222, 130, 278, 136), shade);
    c.Paint(Circle(250, 114, 15), Rgb{240, 235, 215});
    c.Paint(Hollow(Circle(250, 114, 16), Circle(250, 114, 14)), Rgb{60, 50, 30});
    for (int i = 0; i < 12; ++i) {
        float a = i * kPi / 6;
        c.Paint(Circle(250 + 11.5f * std::sin(a), 114 - 11.5f * std::cos(a), 1.0f), kBlack);
    }
    c.Paint(Stroke({250, 114}, {250, 104}, 2), kBlack);  // twelve o'clock
    c.Paint(Stroke({250, 114}, {257, 117}, 2), kBlack);
    c.Paint(Polygon({{224, 92}, {276, 92}, {250, 42}}), roof);
    c.Paint(Polygon({{250, 42}, {276, 92}, {262, 92}}), Rgb{50, 65, 58});
    // The flag of England above it.
    const float fx = 252, fy = 18, fw = 58, fh = 36;
    const Rgb red{205, 20, 40};
    WavingFlag(c,
               {fx,
                fy,
                fw,
                fh,
                {{Rect(fx, fy, fx + fw, fy + fh), Rgb{252, 252, 252}},
                 {Rect(fx + 0.41f * fw, fy, fx + 0.59f * fw, fy + fh), red},
                 {Rect(fx, fy + 0.36f * fh, fx + fw, fy + 0.64f * fh), red}}},
               4, 46);
    // A red telephone box.
    c.Paint(Rect(60, 222, 84, 272), Rgb{200, 20, 30});
    c.Paint(Ellipse(72, 222, 13, 5), Rgb{200, 20, 30});
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 2; ++col)
            c.Paint(Rect(64 + col * 9, 232 + row * 9, 71 + col * 9, 239 + row * 9), Rgb{230, 240, 250});
    c.Paint(Rect(60, 226, 84, 229), kBlack);
    Border(c, Rgb{245, 245, 240});
    return WithCaption(c, "WELL DONE!", Rgb{245, 245, 240}, Rgb{30, 50, 120}, Rgb{255, 255, 255});
}

Canvas PaintEthiopia() {
    Canvas c(480, 320);
    Sky(c, 8, 210, Rgb{255, 170, 90}, Rgb{255, 230, 170});
    c.Paint(Circle(360, 120, 40), Rgb{255, 245, 200}, 0.35f);
    c.Paint(Circle(360, 120, 24), Rgb{255, 250, 215});
    // Highlands with flat-topped mountains.
    auto ambas = [](float x) {
        float base = 150 + 18 * std::sin(x * 0.018f) + 8 * std::sin(x * 0.061f + 1);
        float plateau = std::fmod(x, 120.0f) < 50 ? 20.0f : 0.0f;
        return base - plateau;
    };
    c.Paint(Below(ambas, 0, 480, 320), Rgb{150, 120, 150});
    c.Paint(Below(Ridge(190, 10, 0.025f, 6, 0.08f, 1.7f), 0, 480, 320), Rgb{120, 110, 90});
    // Golden savanna.
    c.Paint(Below(Ridge(222, 6, 0.02f, 3, 0.09f, 0.4f), 0, 480, 320),
            Vertical(215, 315, Rgb{225, 180, 80}, Rgb{170, 120, 40}));
    for (int i = 0; i < 60; ++i) {  // grass tufts
        float gx = Hash(i) * 480, gy = 240 + Hash(i + 100) * 70;
        c.Paint(Path({{gx - 3, gy - 6}, {gx, gy}, {gx + 3, gy - 7}}, 1.2f), Rgb{140, 100, 30});
    }
    // Acacia trees: thin trunks and flat crowns.
    const Point trees[] = {{90, 235}, {300, 228}, {420, 250}};
    for (int i = 0; i < 3; ++i) {
        float tx = trees[i].x, ty = trees[i].y, s = 1.0f - 0.2f * i;
        const Rgb trunk{70, 50, 35};
        c.Paint(Path({{tx, ty}, {tx + 3 * s, ty - 30 * s}, {tx - 18 * s, ty - 48 * s}}, 4 * s), trunk);
        c.Paint(Path({{tx + 3 * s, ty - 30 * s}, {tx + 22 * s, ty - 50 * s}}, 3 * s), trunk);
        c.Paint(Ellipse(tx, ty - 54 * s, 48 * s, 10 * s), Rgb{70, 110, 40});
        c.Paint(Ellipse(tx + 6 * s, ty - 58 * s, 36 * s, 7 * s), Rgb{95, 140, 55});
    }
    // The flag: green, yellow and red with the blue disc and its star.
    const float fx = 40, fy = 36, fw = 150, fh = 76, cx = fx + fw / 2, cy = fy + fh / 2;
    // The emblem: a yellow pentagram of lines with rays between its points.
    std::vector<Shape> emblem;
    auto at = [=](float r, float a) { return Point{cx + r * fh * std::sin(a), cy - r * fh * std::cos(a)}; };
    for (int i = 0; i < 5; ++i) {
        float a = i * 2 * kPi / 5, b = (i + 2) * 2 * kPi / 5, m = a + kPi / 5;
        emblem.push_back(Stroke(at(0.25f, a), at(0.25f, b), 0.045f * fh));
        emblem.push_back(Stroke(at(0.14f, m), at(0.29f, m), 0.035f * fh));
    }
    WavingFlag(c,
               {fx,
                fy,
                fw,
                fh,
                {{Rect(fx, fy, fx + fw, fy + fh / 3), Rgb{20, 150, 60}},
                 {Rect(fx, fy + fh / 3, fx + fw, fy + 2 * fh / 3), Rgb{252, 215, 20}},
                 {Rect(fx, fy + 2 * fh / 3, fx + fw, fy + fh), Rgb{220, 30, 40}},
                 {Circle(cx, cy, 0.34f * fh), Rgb{30, 80, 190}},
                 {Union(emblem), Rgb{250, 215, 30}}}},
               7, 232);
    Border(c, Rgb{250, 240, 215});
    return WithCaption(c, "CHAMPION!", Rgb{250, 240, 215}, Rgb{20, 130, 60}, Rgb{252, 215, 20});
}

Canvas PaintFarmAnimal() {
    Canvas c(300, 300);
    Sky(c, 8, 180, Rgb{110, 180, 240}, Rgb{200, 230, 250});
    // The sun with rays.
    for (int i = 0; i < 12; ++i) {
        float a = i * kPi / 6;
        c.Paint(Stroke({250 + 30 * std::cos(a), 50 + 30 * std::sin(a)}, {250 + 42 * std::cos(a), 50 + 42 * std::sin(a)}, 4),
                Rgb{255, 210, 60});
    }
    c.Paint(Circle(250, 50, 22), Rgb{255, 225, 70});
    Cloud(c, 90, 50, 18);
    // The barn.
    const Rgb barnRed{190, 40, 35};
    c.Paint(Rect(20, 110, 110, 190), barnRed);
    c.Paint(Polygon({{14, 112}, {65, 70}, {116, 112}}), Rgb{150, 30, 30});
    c.Paint(Rect(45, 140, 85, 190), Rgb{150, 30, 30});
    c.Paint(Path({{45, 140}, {85, 190}}, 3), kWhite);
    c.Paint(Path({{85, 140}, {45, 190}}, 3), kWhite);
    c.Paint(Hollow(Rect(43, 138, 87, 190), Rect(47, 142, 83, 190)), kWhite);
    c.Paint(Rect(56, 96, 74, 112), kWhite);
    c.Paint(Rect(58, 98, 72, 110), Rgb{60, 40, 30});
    // Meadow and fence.
    c.Paint(Below(Ridge(182, 5, 0.03f, 2, 0.1f, 1.0f), 0, 300, 300),
            Vertical(175, 300, Rgb{110, 200, 80}, Rgb{60, 150, 50}));
    for (int i = 0; i < 8; ++i) c.Paint(Rect(125 + i * 22, 160, 130 + i * 22, 192), Rgb{245, 240, 225});
    c.Paint(Rect(120, 166, 300, 170), Rgb{245, 240, 225});
    c.Paint(Rect(120, 178, 300, 182), Rgb{245, 240, 225});
    for (int i = 0; i < 14; ++i) {  // flowers
        float fx = 12 + Hash(i) * 276, fy = 240 + Hash(i + 30) * 50;
        Rgb petal = i % 3 == 0 ? Rgb{255, 255, 255} : (i % 3 == 1 ? Rgb{255, 220, 60} : Rgb{240, 120, 180});
        for (int p = 0; p < 5; ++p)
            c.Paint(Circle(fx + 3 * std::cos(p * 1.2566f), fy + 3 * std::sin(p * 1.2566f), 2.2f), petal);
        c.Paint(Circle(fx, fy, 1.6f), Rgb{240, 160, 30});
    }
    // The cow: legs, body with patches, udder, tail, then the head.
    const Rgb hide{252, 250, 245}, patch{35, 30, 35}, pink{250, 170, 180}, hoof{70, 60, 60};
    for (float lx : {128.0f, 152.0f, 206.0f, 228.0f}) {
        c.Paint(Rect(lx, 200, lx + 14, 250), hide);
        c.Paint(Rect(lx, 244, lx + 14, 254), hoof);
    }
    c.Paint(Path({{244, 170}, {262, 200}, {266, 228}}, 4), hide);
    c.Paint(Ellipse(266, 232, 5, 8), patch);
    Shape body = Ellipse(180, 185, 68, 38);
    c.Paint(body, hide);
    c.Paint(Intersect(body, Ellipse(150, 170, 22, 16)), patch);
    c.Paint(Intersect(body, Ellipse(205, 196, 18, 14)), patch);
    c.Paint(Intersect(body, Ellipse(236, 168, 14, 20)), patch);
    c.Paint(Ellipse(190, 222, 14, 8), pink);
    for (float tx : {182.0f, 190.0f, 198.0f}) c.Paint(Ellipse(tx, 230, 2.5f, 4), pink);
    // Head.
    c.Paint(Polygon({{84, 128}, {70, 112}, {80, 108}, {92, 120}}), Rgb{240, 225, 180});  // horns
    c.Paint(Polygon({{124, 122}, {136, 104}, {144, 110}, {132, 126}}), Rgb{240, 225, 180});
    c.Paint(Ellipse(74, 134, 14, 7), hide);  // ears
    c.Paint(Ellipse(144, 132, 14, 7), hide);
    c.Paint(Ellipse(76, 134, 8, 4), pink);
    c.Paint(Ellipse(142, 132, 8, 4), pink);
    Shape head = Ellipse(110, 150, 34, 38);
    c.Paint(head, hide);
    c.Paint(Intersect(head, Ellipse(128, 128, 16, 14)), patch);
    c.Paint(Ellipse(110, 174, 30, 20), pink);
    c.Paint(Ellipse(100, 172, 4, 6), Rgb{150, 80, 90});
    c.Paint(Ellipse(120, 172, 4, 6), Rgb{150, 80, 90});
    c.Paint(Path({{98, 184}, {104, 188}, {110, 189}, {116, 188}, {122, 184}}, 2), Rgb{150, 70, 80});
    for (float ex : {96.0f, 124.0f}) {
        c.Paint(Ellipse(ex, 144, 8, 9), kWhite);
        c.Paint(Circle(ex + 1, 146, 5), kBlack);
        c.Paint(Circle(ex + 3, 143, 1.8f), kWhite);
    }
    c.Paint(Ellipse(88, 160, 6, 3), Rgb{255, 150, 160}, 0.6f);  // cheeks
    c.Paint(Ellipse(132, 160, 6, 3), Rgb{255, 150, 160}, 0.6f);
    // Collar and bell.
    c.Paint(Path({{86, 190}, {110, 198}, {134, 190}}, 5), Rgb{200, 40, 40});
    c.Paint(Polygon({{104, 198}, {116, 198}, {119, 212}, {101, 212}}), Rgb{240, 200, 40});
    c.Paint(Circle(110, 213, 2.5f), Rgb{150, 110, 20});
    Border(c, Rgb{255, 250, 235});
    return WithCaption(c, "HOORAY!", Rgb{255, 250, 235}, Rgb{190, 40, 35}, Rgb{255, 255, 255});
}
