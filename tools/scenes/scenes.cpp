// scenes.cpp - the scenes, their read-back and the PPM files.
#include "scenes.h"

#include <cstdio>
#include <map>

namespace scenes {
namespace {

// ------------------------------------------------------------ shape scenes

void Rectangles(window& w) {
    // Outlines and filled boxes with pens 0 to 9 wide, odd and even sizes.
    for (int i = 0; i < 10; ++i) {
        int x = 5 + i * 31;
        w.SetPen(color(200 - i * 15, 20 * i, 60), i);
        w.DrawRectangle(x, 5, x + 20 + i % 2, 30 + i % 2, STYLE_FRAME, 0, 0);
        w.SetBrush(color(40, 120 + i * 10, 250 - i * 20));
        w.DrawRectangle(x, 40, x + 25 - i % 2, 70 - i % 2, STYLE_FILLED, 0, 0);
    }
    // A striped ground, inverted in boxes of several sizes.
    for (int i = 0; i < 8; ++i) {
        w.SetPen(BLACK, 0);
        w.SetBrush(i % 2 ? ORANGE : STEEL_BLUE);
        w.DrawRectangle(i * 40, 80, i * 40 + 40, 120, STYLE_FILLED, 0, 0);
    }
    w.DrawRectangle(10, 85, 50, 110, STYLE_INVERTED, 0, 0);
    w.DrawRectangle(70, 90, 71, 91, STYLE_INVERTED, 0, 0);
    w.DrawRectangle(100, 84, 175, 117, STYLE_INVERTED, 0, 0);
    // Boxes given backwards and empty ones.
    w.SetPen(DARK_GREEN, 3);
    w.SetBrush(GOLD);
    w.DrawRectangle(60, 160, 10, 130, STYLE_FILLED, 0, 0);
    w.DrawRectangle(120, 130, 80, 170, STYLE_FRAME, 0, 0);
    w.DrawRectangle(140, 130, 140, 170, STYLE_FILLED, 0, 0);
    w.DrawRectangle(150, 150, 190, 150, STYLE_FRAME, 0, 0);
    w.DrawRectangle(200, 140, 201, 141, STYLE_FILLED, 0, 0);
    w.SetPen(PURPLE, 1);
    w.DrawRectangle(210, 130, 213, 133, STYLE_FRAME, 0, 0);
    // Crossing the edges.
    w.SetPen(NAVY, 4);
    w.SetBrush(PINK);
    w.DrawRectangle(-10, 180, 30, 260, STYLE_FILLED, 0, 0);
    w.DrawRectangle(290, 190, 400, 300, STYLE_FILLED, 0, 0);
    w.DrawRectangle(100, 200, 200, 1000, STYLE_INVERTED, 0, 0);
}

void Rounded(window& w) {
    const int corners[][2] = {{0, 5}, {5, 0}, {10, 10}, {20, 8}, {7, 15}, {40, 40}};
    for (int i = 0; i < 6; ++i) {
        int x = 5 + i * 52;
        w.SetPen(color(30 * i, 0, 200), i * 2);
        w.SetBrush(color(250, 200 - 30 * i, 100));
        w.DrawRectangle(x, 5, x + 45 + i % 2, 55 + i % 2, STYLE_FILLED, corners[i][0], corners[i][1]);
        w.DrawRectangle(x, 65, x + 44, 110, STYLE_FRAME, corners[i][0], corners[i][1]);
    }
    for (int i = 0; i < 8; ++i) {
        w.SetPen(BLACK, 0);
        w.SetBrush(i % 2 ? LIGHT_SEA_GREEN : TOMATO);
        w.DrawRectangle(i * 40, 120, i * 40 + 40, 180, STYLE_FILLED, 0, 0);
    }
    for (int i = 0; i < 6; ++i) {
        int x = 5 + i * 52;
        w.DrawRectangle(x, 125, x + 41 + i % 2, 175, STYLE_INVERTED, corners[i][0], corners[i][1]);
    }
    w.SetPen(MAROON, 5);
    w.SetBrush(KHAKI);
    w.DrawRectangle(-20, 190, 60, 260, STYLE_FILLED, 30, 30);
    w.DrawRectangle(150, 230, 100, 190, STYLE_FILLED, 12, 12);
    w.DrawRectangle(280, 185, 350, 250, STYLE_FRAME, 25, 25);
}

void Polygons(window& w) {
    w.SetPen(DARK_BLUE, 0);
    w.SetBrush(YELLOW_GREEN);
    w.DrawTriangle(10, 10, 60, 15, 30, 60, STYLE_FILLED);
    w.SetPen(FIREBRICK, 3);
    w.DrawTriangle(70, 60, 120, 10, 125, 55, STYLE_FRAME);
    // Five-pointed stars: self-intersecting, so the filled style (alternate
    // rule) leaves the centre open and the inverted one (winding) does not.
    const int32_t sx[] = {180, 198, 150, 210, 162};
    const int32_t sy[] = {5, 60, 25, 25, 60};
    w.SetPen(BLACK, 1);
    w.SetBrush(CORNFLOWER_BLUE);
    w.DrawPolygon(sx, sy, 5, STYLE_FILLED);
    int32_t tx[5], ty[5];
    for (int i = 0; i < 5; ++i) { tx[i] = sx[i] + 70; ty[i] = sy[i]; }
    w.SetPen(SIENNA, 2);
    w.DrawPolygon(tx, ty, 5, STYLE_FRAME);
    for (int i = 0; i < 8; ++i) {
        w.SetPen(BLACK, 0);
        w.SetBrush(i % 2 ? PLUM : DARK_SEA_GREEN);
        w.DrawRectangle(i * 40, 70, i * 40 + 40, 150, STYLE_FILLED, 0, 0);
    }
    for (int i = 0; i < 5; ++i) { tx[i] = sx[i] - 140; ty[i] = sy[i] + 80; }
    w.DrawPolygon(tx, ty, 5, STYLE_INVERTED);
    w.DrawTriangle(110, 80, 170, 140, 100, 145, STYLE_INVERTED);
    // A bow tie and a pen-width sweep of small triangles.
    const int32_t bx[] = {190, 250, 190, 250};
    const int32_t by[] = {80, 140, 140, 80};
    w.SetPen(DARK_CYAN, 4);
    w.SetBrush(SALMON);
    w.DrawPolygon(bx, by, 4, STYLE_FILLED);
    for (int i = 0; i < 10; ++i) {
        w.SetPen(color(25 * i, 100, 255 - 25 * i), i);
        w.SetBrush(LIGHT_YELLOW);
        w.DrawTriangle(5 + i * 31, 165, 30 + i * 31, 170 + i % 2, 15 + i * 31, 200, STYLE_FILLED);
    }
    // Crossing the edges.
    const int32_t ex[] = {-30, 60, 40, 330, 250};
    const int32_t ey[] = {210, 205, 260, 215, 245};
    w.SetPen(DARK_SLATE_BLUE, 2);
    w.SetBrush(ORCHID);
    w.DrawPolygon(ex, ey, 5, STYLE_FILLED);
}

void Ellipses(window& w) {
    for (int i = 0; i < 10; ++i) {
        int x = 16 + i * 31;
        w.SetPen(color(20 * i, 40, 160), i);
        w.SetBrush(color(255, 240 - 15 * i, 180));
        w.DrawCircle(x, 18, 13 + i % 2, STYLE_FILLED);
        w.DrawEllipse(x - 14, 38, x + 13 + i % 2, 58 + i % 2, STYLE_FRAME);
    }
    for (int i = 0; i < 8; ++i) {
        w.SetPen(BLACK, 0);
        w.SetBrush(i % 2 ? GOLDENROD : MEDIUM_PURPLE);
        w.DrawRectangle(i * 40, 70, i * 40 + 40, 140, STYLE_FILLED, 0, 0);
    }
    w.DrawCircle(40, 105, 30, STYLE_INVERTED);
    w.DrawEllipse(80, 75, 181, 136, STYLE_INVERTED);
    w.DrawEllipse(190, 80, 196, 86, STYLE_INVERTED);
    w.DrawCircle(250, 105, 1, STYLE_INVERTED);
    w.SetPen(FOREST_GREEN, 2);
    w.SetBrush(LAVENDER);
    w.DrawEllipse(10, 150, 130, 190, STYLE_FILLED);
    w.DrawEllipse(140, 190, 200, 150, STYLE_FILLED);
    w.DrawEllipse(210, 150, 212, 190, STYLE_FILLED);
    w.DrawCircle(0, 240, 40, STYLE_FILLED);
    w.DrawCircle(320, 220, 35, STYLE_FRAME);
}

void Arcs(window& w) {
    const double degrees[][2] = {{0, 90}, {45, 300}, {90, 0}, {180, 360}, {10, 20}, {-30, 200}};
    for (int i = 0; i < 6; ++i) {
        int x = 5 + i * 52;
        w.SetPen(color(0, 40 * i, 120), i);
        w.SetBrush(color(255, 160, 40 * i));
        w.DrawArc(x, 5, x + 46 + i % 2, 50, degrees[i][0], degrees[i][1], STYLE_FILLED, 0);
        w.DrawArc(x, 60, x + 45, 100 + i % 2, degrees[i][0], degrees[i][1], STYLE_FRAME, 2);
    }
    const double pi = 3.141592653589793;
    const double radians[][2] = {{0, pi / 2}, {pi, 2 * pi}, {pi / 4, 3 * pi / 2}, {5.0, 1.0}};
    for (int i = 0; i < 4; ++i) {
        int x = 5 + i * 78;
        w.SetPen(DARK_ORANGE, 1);
        w.DrawArc(x, 110, x + 70, 150, radians[i][0], radians[i][1], STYLE_FRAME, 1);
    }
    for (int i = 0; i < 8; ++i) {
        w.SetPen(BLACK, 0);
        w.SetBrush(i % 2 ? SKY_BLUE : HOT_PINK);
        w.DrawRectangle(i * 40, 160, i * 40 + 40, 240, STYLE_FILLED, 0, 0);
    }
    w.DrawArc(10, 165, 110, 235, 30, 250, STYLE_INVERTED, 0);
    w.DrawArc(120, 170, 201, 231, pi / 3, pi, STYLE_INVERTED, 1);
    w.SetPen(DARK_SLATE_GRAY, 3);
    w.SetBrush(BEIGE);
    w.DrawArc(230, 190, 360, 300, 0, 270, STYLE_FILLED, 0);
}

void Lines(window& w) {
    for (int i = 0; i < 10; ++i) {
        int x = 10 + i * 31;
        w.SetPen(color(25 * i, 0, 255 - 25 * i), i);
        w.DrawLine(x, 5, x + 20, 60, STYLE_FRAME);
        w.DrawLine(x + 20, 70, x, 80 + i, STYLE_FRAME);
    }
    // Every octant from one centre.
    w.SetPen(BLACK, 0);
    const int dx[] = {30, 30, 10, -10, -30, -30, -10, 10, 30, 0, -30, 0};
    const int dy[] = {10, -10, -30, -30, -10, 10, 30, 30, 0, -30, 0, 30};
    for (int i = 0; i < 12; ++i) w.DrawLine(50, 130, 50 + dx[i], 130 + dy[i], STYLE_FRAME);
    // Bezier curves.
    w.SetPen(FIREBRICK, 1);
    w.DrawBezier(100, 100, 130, 40, 180, 200, 220, 110, STYLE_FRAME);
    w.SetPen(DARK_GREEN, 4);
    w.DrawBezier(230, 100, 320, 100, 230, 170, 310, 170, STYLE_FRAME);
    // Points with wide pens still set single pixels.
    for (int i = 0; i < 10; ++i) {
        w.SetPen(color(200, 20 * i, 0), i);
        w.DrawPoint(20 + i * 7, 190);
        w.DrawPoint(20 + i * 7, 195 + i % 2);
    }
    // Lines leaving the window.
    w.SetPen(BLUE_VIOLET, 2);
    w.DrawLine(-50, 230, 400, 200, STYLE_FRAME);
    w.DrawLine(160, 300, 200, -100, STYLE_FRAME);
}

// Every shape that can be inverted, inverted twice over a patterned ground:
// the ground comes back.
void InvertedTwice(window& w) {
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 6; ++j) {
            w.SetPen(BLACK, 0);
            w.SetBrush(color(30 * i, 40 * j, 255 - 30 * i));
            w.DrawRectangle(i * 40, j * 40, i * 40 + 40, j * 40 + 40, STYLE_FILLED, 0, 0);
        }
    }
    const int32_t px[] = {200, 260, 210, 280, 230};
    const int32_t py[] = {130, 130, 180, 160, 120};
    for (int k = 0; k < 2; ++k) {
        w.DrawRectangle(10, 10, 70, 60, STYLE_INVERTED, 0, 0);
        w.DrawRectangle(80, 10, 150, 60, STYLE_INVERTED, 15, 15);
        w.DrawTriangle(160, 10, 230, 30, 180, 70, STYLE_INVERTED);
        w.DrawPolygon(px, py, 5, STYLE_INVERTED);
        w.DrawCircle(60, 140, 40, STYLE_INVERTED);
        w.DrawEllipse(110, 100, 181, 171, STYLE_INVERTED);
        w.DrawArc(10, 180, 130, 235, 20, 290, STYLE_INVERTED, 0);
    }
}

// Shapes drawn over each other in all three styles.
void Overlaps(window& w) {
    w.SetPen(BLACK, 2);
    w.SetBrush(LIGHT_STEEL_BLUE);
    w.DrawRectangle(20, 20, 200, 150, STYLE_FILLED, 0, 0);
    w.SetBrush(WHEAT);
    w.DrawCircle(150, 120, 70, STYLE_FILLED);
    w.DrawEllipse(40, 60, 300, 200, STYLE_INVERTED);
    w.SetPen(RED, 6);
    w.DrawRectangle(60, 40, 260, 220, STYLE_FRAME, 30, 20);
    const int32_t px[] = {10, 310, 10, 310};
    const int32_t py[] = {10, 230, 230, 10};
    w.DrawPolygon(px, py, 4, STYLE_INVERTED);
}

// ------------------------------------------------------------ text scenes

const std::vector<TextItem>& FontItems() {
    static const std::vector<TextItem> items = {
        {4, 2, 10, 0, FAMILY_SWISS, nullptr, "Default ten pixels 0123", BLACK, 0, 14},
        {4, 16, 20, 0, FAMILY_SWISS, nullptr, "Swiss 20: Hag 42", BLACK, 14, 40},
        {4, 40, 20, 0, FAMILY_ROMAN, nullptr, "Roman 20: Hag 42", BLACK, 40, 64},
        {4, 64, 20, 0, FAMILY_MODERN, nullptr, "Modern 20: Hag 42", BLACK, 64, 88},
        {4, 88, 20, 0, FAMILY_ANY, "Arial", "Arial 20: SCORE 1234", BLACK, 88, 112},
        {4, 112, 20, FONT_BOLD, FAMILY_SWISS, nullptr, "Bold 20: LEVEL 7", BLACK, 112, 136},
        {4, 136, 20, FONT_ITALIC, FAMILY_SWISS, nullptr, "Italic 20: Level", BLACK, 136, 160},
        {4, 160, 20, FONT_BOLD | FONT_ITALIC | FONT_UNDERLINE, FAMILY_ROMAN, nullptr, "All three: Yg", BLACK, 160,
         186},
        {4, 184, 50, 0, FAMILY_SWISS, nullptr, "GAME 50", BLACK, 184, 240},
    };
    return items;
}

const std::vector<TextItem>& ColorItems() {
    static const std::vector<TextItem> items = {
        {6, 4, 20, 0, FAMILY_SWISS, nullptr, "Red on white", RED, 0, 30},
        {6, 34, 20, FONT_UNDERLINE, FAMILY_SWISS, nullptr, "Underlined blue", BLUE, 30, 60},
        {6, 64, 20, 0, FAMILY_SWISS, nullptr, "White on navy", WHITE, 60, 90},
        {6, 94, 20, FONT_BOLD, FAMILY_MODERN, nullptr, "Gold on green", GOLD, 90, 120},
        {6, 124, -20, 0, FAMILY_SWISS, nullptr, "Minus 20 em", DARK_RED, 120, 150},
        {6, 154, 0, 0, FAMILY_SWISS, nullptr, "Size 0 default", BLACK, 150, 180},
        {6, 182, 50, FONT_BOLD, FAMILY_ANY, nullptr, "Bold 50", CORAL, 180, 240},
    };
    return items;
}

void DrawItems(window& w, const std::vector<TextItem>& items) {
    for (const TextItem& item : items) {
        w.SetFont(item.size, item.style, item.family, item.face);
        w.SetPen(item.ink, 1);
        w.DrawString(item.x, item.y, item.text);
    }
}

void TextFonts(window& w) { DrawItems(w, FontItems()); }

void TextColors(window& w) {
    w.SetPen(BLACK, 0);
    w.SetBrush(NAVY);
    w.DrawRectangle(0, 60, 320, 90, STYLE_FILLED, 0, 0);
    w.SetBrush(DARK_GREEN);
    w.DrawRectangle(0, 90, 320, 120, STYLE_FILLED, 0, 0);
    w.SetBrush(LIGHT_CYAN);
    w.DrawRectangle(0, 180, 320, 240, STYLE_FILLED, 0, 0);
    DrawItems(w, ColorItems());
}

}  // namespace

const std::vector<Scene>& All() {
    static const std::vector<Scene> all = {
        {"rectangles", false, Rectangles}, {"rounded", false, Rounded},
        {"polygons", false, Polygons},     {"ellipses", false, Ellipses},
        {"arcs", false, Arcs},             {"lines", false, Lines},
        {"inverted_twice", false, InvertedTwice}, {"overlaps", false, Overlaps},
        {"text_fonts", true, TextFonts},   {"text_colors", true, TextColors},
    };
    return all;
}

const std::vector<TextItem>& TextItems(const std::string& sceneName) {
    static const std::vector<TextItem> none;
    if (sceneName == "text_fonts") return FontItems();
    if (sceneName == "text_colors") return ColorItems();
    return none;
}

Picture Render(const Scene& scene, std::vector<std::pair<int, int>>* extents) {
    window w(kWidth, kHeight, 10, 10);
    w.SetWaitOnClose(false);
    w.SetBuffering(true);
    scene.draw(w);
    // The buffer is read back in one capture; its pixels are blue, green,
    // red and a spare byte, top row first.
    image capture;
    w.StoreImage(capture, 0, 0, kWidth, kHeight);
    Picture picture = scene_files::FromBgrx(kWidth, kHeight, capture.Pixels());
    if (extents != nullptr) {
        extents->clear();
        for (const TextItem& item : TextItems(scene.name)) {
            int width = 0, height = 0;
            w.SetFont(item.size, item.style, item.family, item.face);
            w.GetStringSize(width, height, item.text);
            extents->emplace_back(width, height);
        }
    }
    w.UpdateBuffer();
    w.SetBuffering(false);
    return picture;
}

}  // namespace scenes
