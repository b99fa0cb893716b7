// gdi_scenes.h - a fixed set of drawing scenes made with Win32 GDI calls on
// a memory DC, each read back as 32-bit pixels. The same scenes run on real
// GDI (the Windows build, under Wine) and on our platform layer, so their
// pictures can be compared pixel for pixel.
#ifndef GDI_SCENES_H
#define GDI_SCENES_H

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <string>
#include <vector>

#include "gdi_canvas.h"
#include "scene_files.h"

namespace gdi_scenes {

struct Scene {
    const char* name;
    int width;
    int height;
    void (*draw)(HDC dc);
};

using scene_files::Picture;
using scene_files::ReadPpm;
using scene_files::WritePpm;

// ------------------------------------------------------------ helpers

constexpr COLORREF kRed = RGB(220, 30, 40);
constexpr COLORREF kBlue = RGB(40, 60, 200);
constexpr COLORREF kGreen = RGB(20, 160, 60);

// Selects a new pen and brush, draws, then deletes them.
struct Tools {
    HDC dc;
    HPEN pen;
    HBRUSH brush;
    HGDIOBJ oldPen;
    HGDIOBJ oldBrush;
    Tools(HDC d, int penStyle, int width, COLORREF penColor, HBRUSH b)
        : dc(d), pen(CreatePen(penStyle, width, penColor)), brush(b) {
        oldPen = SelectObject(dc, pen);
        oldBrush = SelectObject(dc, brush);
    }
    ~Tools() {
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
};

enum Style { kFilled, kFrame, kInverted };

// The three ways the graphics library draws a closed shape.
template <typename DrawFn>
void InStyle(HDC dc, Style style, int width, DrawFn draw) {
    if (style == kInverted) {
        HGDIOBJ p = SelectObject(dc, GetStockObject(BLACK_PEN));
        HGDIOBJ b = SelectObject(dc, GetStockObject(BLACK_BRUSH));
        int rop = SetROP2(dc, R2_NOT);
        draw();
        SetROP2(dc, rop);
        SelectObject(dc, p);
        SelectObject(dc, b);
        return;
    }
    HBRUSH brush = style == kFilled ? CreateSolidBrush(kBlue) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    Tools tools(dc, PS_INSIDEFRAME, width, kRed, brush);
    draw();
}

// A background that shows inversion: green and white stripes.
inline void Stripes(HDC dc, int w, int h) {
    HPEN none = static_cast<HPEN>(GetStockObject(NULL_PEN));
    HGDIOBJ p = SelectObject(dc, none);
    HBRUSH green = CreateSolidBrush(kGreen);
    HGDIOBJ b = SelectObject(dc, green);
    for (int x = 0; x < w; x += 8) Rectangle(dc, x, 0, x + 5, h + 1);
    SelectObject(dc, p);
    SelectObject(dc, b);
    DeleteObject(green);
}

// Ten cells, one per pen width 0..9, 2 rows of 5 cells `cell` pixels wide.
template <typename CellFn>
void WidthGrid(int cell, CellFn fn) {
    for (int w = 0; w < 10; ++w) fn(w, (w % 5) * cell, (w / 5) * cell);
}

// ------------------------------------------------------------ scenes

inline void BoxShapes(HDC dc, Style style, int kind) {
    if (style == kInverted) Stripes(dc, 200, 100);
    WidthGrid(40, [&](int w, int x, int y) {
        // Sizes alternate between odd and even; every other box is given backwards.
        int sx = 27 + (w % 3), sy = 22 + (w % 2) * 9;
        int l = x + 4, t = y + 4, r = l + sx, b = t + sy;
        if (w % 4 == 3) std::swap(l, r);
        if (w % 4 == 1) std::swap(t, b);
        InStyle(dc, style, w, [&] {
            switch (kind) {
                case 0: Rectangle(dc, l, t, r, b); break;
                case 1: Ellipse(dc, l, t, r, b); break;
                case 2: RoundRect(dc, l, t, r, b, 6 + w * 2, 5 + w); break;
            }
        });
    });
}

inline void RectFilled(HDC dc) { BoxShapes(dc, kFilled, 0); }
inline void RectFrame(HDC dc) { BoxShapes(dc, kFrame, 0); }
inline void RectInverted(HDC dc) { BoxShapes(dc, kInverted, 0); }
inline void EllipseFilled(HDC dc) { BoxShapes(dc, kFilled, 1); }
inline void EllipseFrame(HDC dc) { BoxShapes(dc, kFrame, 1); }
inline void EllipseInverted(HDC dc) { BoxShapes(dc, kInverted, 1); }
inline void RoundFilled(HDC dc) { BoxShapes(dc, kFilled, 2); }
inline void RoundFrame(HDC dc) { BoxShapes(dc, kFrame, 2); }

inline void SmallBoxes(HDC dc) {
    // Tiny and empty boxes with a thin pen, then without a pen.
    for (int pass = 0; pass < 2; ++pass) {
        HBRUSH brush = CreateSolidBrush(kBlue);
        Tools tools(dc, pass == 0 ? PS_INSIDEFRAME : PS_NULL, 1, kRed, brush);
        for (int s = 0; s < 10; ++s) {
            int x = 2 + s * (s + 5), y = 2 + pass * 40;
            Rectangle(dc, x, y, x + s, y + s);
            Ellipse(dc, x, y + 14, x + s, y + 14 + s);
            RoundRect(dc, x, y + 26, x + s + 1, y + 26 + s, 3, 3);
        }
    }
}

inline void TinyWide(HDC dc) {
    // Boxes of 1 to 7 pixels drawn with pens wider than themselves.
    for (int w = 2; w <= 6; ++w) {
        for (int size = 1; size <= 7; ++size) {
            int x = 3 + (size - 1) * 16, y = 3 + (w - 2) * 19;
            HBRUSH brush = CreateSolidBrush(kBlue);
            Tools tools(dc, PS_INSIDEFRAME, w, kRed, brush);
            Rectangle(dc, x, y, x + size, y + size);
            Ellipse(dc, x + 8, y, x + 8 + size, y + size);
            RoundRect(dc, x, y + 9, x + size, y + 9 + size, 4, 4);
        }
    }
}

inline void Lines(HDC dc) {
    // Thin lines from a centre to every direction, both ways, with ties.
    HPEN pen = CreatePen(PS_SOLID, 0, kRed);
    HGDIOBJ old = SelectObject(dc, pen);
    const int d[][2] = {{9, 0}, {9, 3}, {8, 4}, {9, 9}, {4, 8}, {3, 9}, {0, 9}, {-3, 9}, {-4, 8},
                        {-9, 9}, {-8, 4}, {-9, 3}, {-9, 0}, {-9, -3}, {-8, -4}, {-9, -9}, {-4, -8},
                        {-3, -9}, {0, -9}, {3, -9}, {4, -8}, {9, -9}, {8, -4}, {9, -3}, {6, 1}, {1, 6}};
    int i = 0;
    for (auto& v : d) {
        int cx = 12 + (i % 9) * 22, cy = 12 + (i / 9) * 24;
        MoveToEx(dc, cx, cy, nullptr);
        LineTo(dc, cx + v[0], cy + v[1]);
        ++i;
    }
    for (auto& v : d) {
        int cx = 12 + (i % 9) * 22, cy = 12 + (i / 9) * 24;
        MoveToEx(dc, cx + v[0], cy + v[1], nullptr);
        LineTo(dc, cx, cy);
        ++i;
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

inline void WideLines(HDC dc) {
    WidthGrid(40, [&](int w, int x, int y) {
        Tools tools(dc, PS_INSIDEFRAME, w, kRed, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
        MoveToEx(dc, x + 6, y + 6, nullptr);
        LineTo(dc, x + 30, y + 6);
        LineTo(dc, x + 30, y + 20);
        LineTo(dc, x + 8, y + 34);
        MoveToEx(dc, x + 6, y + 14, nullptr);
        LineTo(dc, x + 20, y + 22);
    });
}

inline void Polygons(HDC dc, Style style, int fillMode) {
    if (style == kInverted) Stripes(dc, 200, 100);
    SetPolyFillMode(dc, fillMode);
    WidthGrid(40, [&](int w, int x, int y) {
        POINT star[5] = {{x + 19, y + 2}, {x + 31, y + 36}, {x + 2, y + 14}, {x + 37, y + 14}, {x + 7, y + 36}};
        POINT quad[4] = {{x + 3, y + 3}, {x + 25, y + 6}, {x + 35, y + 30}, {x + 6, y + 24}};
        POINT tri[3] = {{x + 3, y + 35}, {x + 20, y + 5}, {x + 36, y + 33}};
        InStyle(dc, style, w, [&] {
            if (w % 3 == 0) Polygon(dc, star, 5);
            if (w % 3 == 1) Polygon(dc, quad, 4);
            if (w % 3 == 2) Polygon(dc, tri, 3);
        });
    });
    SetPolyFillMode(dc, ALTERNATE);
}

inline void PolyFilled(HDC dc) { Polygons(dc, kFilled, ALTERNATE); }
inline void PolyFrame(HDC dc) { Polygons(dc, kFrame, ALTERNATE); }
inline void PolyInverted(HDC dc) { Polygons(dc, kInverted, ALTERNATE); }
inline void PolyWinding(HDC dc) { Polygons(dc, kFilled, WINDING); }

inline void ArcsAndPies(HDC dc, int kind) {
    // Start and end points at many angles around each box.
    WidthGrid(40, [&](int w, int x, int y) {
        int l = x + 3, t = y + 4, r = x + 36 - (w % 2), b = y + 33;
        int cx = (l + r) / 2, cy = (t + b) / 2;
        double a0 = w * 0.7, a1 = a0 + 0.9 + w * 0.55;
        int xs = cx + static_cast<int>(20 * std::cos(a0)), ys = cy - static_cast<int>(20 * std::sin(a0));
        int xe = cx + static_cast<int>(20 * std::cos(a1)), ye = cy - static_cast<int>(20 * std::sin(a1));
        Style style = kind == 0 ? kFrame : kind == 1 ? kFilled : kInverted;
        InStyle(dc, style, w, [&] {
            if (kind == 0) {
                Arc(dc, l, t, r, b, xs, ys, xe, ye);
            } else {
                Pie(dc, l, t, r, b, xs, ys, xe, ye);
            }
        });
    });
}

inline void ArcScene(HDC dc) { ArcsAndPies(dc, 0); }
inline void PieScene(HDC dc) { ArcsAndPies(dc, 1); }
inline void PieInverted(HDC dc) { ArcsAndPies(dc, 2); }

inline void Beziers(HDC dc) {
    WidthGrid(40, [&](int w, int x, int y) {
        Tools tools(dc, PS_INSIDEFRAME, w, kRed, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
        POINT p[4] = {{x + 3, y + 30}, {x + 10 + w, y - 5}, {x + 30, y + 45 - w}, {x + 36, y + 6}};
        PolyBezier(dc, p, 4);
    });
}

inline void Regions(HDC dc) {
    Stripes(dc, 200, 100);
    HRGN r[] = {
        CreateRectRgn(5, 5, 40, 30),
        CreateEllipticRgn(45, 5, 80, 38),
        CreateEllipticRgn(85, 5, 96, 16),
        CreateRoundRectRgn(100, 5, 150, 40, 12, 9),
        CreateRoundRectRgn(155, 5, 195, 40, 40, 35),
    };
    for (HRGN h : r) {
        InvertRgn(dc, h);
        DeleteObject(h);
    }
    POINT star[5] = {{30, 45}, {45, 95}, {5, 62}, {55, 62}, {12, 95}};
    POINT bow[4] = {{70, 50}, {120, 95}, {120, 50}, {70, 95}};
    HRGN w = CreatePolygonRgn(star, 5, WINDING);
    HRGN a = CreatePolygonRgn(bow, 4, ALTERNATE);
    InvertRgn(dc, w);
    InvertRgn(dc, a);
    DeleteObject(w);
    DeleteObject(a);
    // Inverted twice: back to the stripes.
    HRGN twice = CreateEllipticRgn(130, 50, 190, 95);
    InvertRgn(dc, twice);
    InvertRgn(dc, twice);
    DeleteObject(twice);
}

inline void InvertedTwice(HDC dc) {
    Stripes(dc, 200, 100);
    POINT tri[3] = {{120, 10}, {190, 30}, {140, 90}};
    for (int k = 0; k < 2; ++k) {
        InStyle(dc, kInverted, 1, [&] {
            Rectangle(dc, 5, 5, 60, 50);
            Pie(dc, 60, 10, 110, 60, 110, 30, 60, 30);
            Polygon(dc, tri, 3);
        });
    }
}

inline void Edges(HDC dc) {
    // Shapes reaching over every edge, some far beyond.
    HBRUSH brush = CreateSolidBrush(kBlue);
    Tools tools(dc, PS_INSIDEFRAME, 3, kRed, brush);
    Rectangle(dc, -20, -10, 40, 30);
    Ellipse(dc, 170, -30, 230, 40);
    RoundRect(dc, -30, 70, 50, 130, 20, 20);
    POINT distant[4] = {{150, 60}, {100000, 70}, {100000, 100000}, {140, 100000}};
    Polygon(dc, distant, 4);
    MoveToEx(dc, -1000, 50, nullptr);
    LineTo(dc, 1000, 55);
    Ellipse(dc, -100000, 40, 100000, 60);
}

inline void SolidPens(HDC dc) {
    WidthGrid(40, [&](int w, int x, int y) {
        HBRUSH brush = CreateSolidBrush(kBlue);
        Tools tools(dc, PS_SOLID, w, kRed, brush);
        Rectangle(dc, x + 6, y + 6, x + 34, y + 20 + (w % 2));
        Ellipse(dc, x + 8, y + 24, x + 32, y + 36);
    });
}

// A 12 x 9 test image with distinct pixels, as 32-bit rows, top row first.
inline std::vector<uint32_t> TestImage() {
    std::vector<uint32_t> px(12 * 9);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) {
            px[static_cast<size_t>(y * 12 + x)] =
                (static_cast<uint32_t>(x * 21) << 16) | (static_cast<uint32_t>(y * 28) << 8) |
                static_cast<uint32_t>(((x + y) % 3) * 120);
        }
    }
    return px;
}

inline BITMAPINFO Header(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

inline void DibTransfers(HDC dc) {
    std::vector<uint32_t> img = TestImage();
    BITMAPINFO top = Header(12, -9);
    // The same picture stored bottom-up.
    std::vector<uint32_t> flipped(img.size());
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) flipped[static_cast<size_t>((8 - y) * 12 + x)] = img[static_cast<size_t>(y * 12 + x)];
    }
    BITMAPINFO bottom = Header(12, 9);
    SetDIBitsToDevice(dc, 2, 2, 12, 9, 0, 0, 0, 9, img.data(), &top, DIB_RGB_COLORS);
    SetDIBitsToDevice(dc, 16, 2, 12, 9, 0, 0, 0, 9, flipped.data(), &bottom, DIB_RGB_COLORS);
    SetDIBitsToDevice(dc, 30, 2, 7, 5, 3, 2, 0, 9, img.data(), &top, DIB_RGB_COLORS);
    SetDIBitsToDevice(dc, 40, 2, 7, 5, 3, 2, 0, 9, flipped.data(), &bottom, DIB_RGB_COLORS);
    SetDIBitsToDevice(dc, -5, 90, 12, 9, 0, 0, 0, 9, img.data(), &top, DIB_RGB_COLORS);
    // Stretched up, down, by odd factors and mirrored.
    StretchDIBits(dc, 2, 14, 36, 27, 0, 0, 12, 9, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 40, 14, 29, 22, 0, 0, 12, 9, flipped.data(), &bottom, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 72, 14, 7, 5, 0, 0, 12, 9, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 82, 14, 5, 4, 0, 0, 12, 9, flipped.data(), &bottom, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 90, 14, 17, 40, 2, 1, 8, 6, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 110, 14, 24, 18, 0, 0, 12, 9, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 110, 60, 24, -18, 0, 0, 12, 9, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 160, 40, -24, 18, 0, 0, 12, 9, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 140, 70, 7, 5, 0, 0, 12, 9, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 150, 70, 5, 4, 0, 0, 12, 9, flipped.data(), &bottom, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, BLACKONWHITE);
}

inline void DibStretchMixed(HDC dc) {
    // A 37 x 23 picture shrunk one way and grown the other, and shrunk by
    // odd and even factors, in the default stretching mode.
    std::vector<uint32_t> img(37 * 23);
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            img[static_cast<size_t>(y * 37 + x)] = (static_cast<uint32_t>(x * 7) << 16) |
                                                   (static_cast<uint32_t>(y * 11) << 8) | (x < 18 ? 220u : 40u);
        }
    }
    BITMAPINFO top = Header(37, -23);
    StretchDIBits(dc, 5, 5, 18, 11, 0, 0, 37, 23, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 30, 5, 12, 7, 0, 0, 37, 23, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 50, 5, 5, 3, 0, 0, 37, 23, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 60, 5, 1, 1, 0, 0, 37, 23, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 70, 5, 36, 22, 0, 0, 37, 23, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 5, 40, 120, 10, 0, 0, 37, 23, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 130, 5, 10, 90, 0, 0, 37, 23, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 5, 55, 74, 11, 0, 0, 37, 23, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(dc, 150, 5, 18, 46, 0, 0, 37, 23, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
}

inline void Blits(HDC dc) {
    // A source bitmap with a drawing on it, copied and stretched.
    HDC screen = GetDC(nullptr);
    HDC src = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 20, 15);
    HGDIOBJ old = SelectObject(src, bmp);
    std::vector<uint32_t> img = TestImage();
    BITMAPINFO top = Header(12, -9);
    StretchDIBits(src, 0, 0, 20, 15, 0, 0, 12, 9, img.data(), &top, DIB_RGB_COLORS, SRCCOPY);
    {
        Tools tools(src, PS_SOLID, 1, kRed, CreateSolidBrush(kBlue));
        Ellipse(src, 3, 3, 17, 13);
    }
    BitBlt(dc, 2, 2, 20, 15, src, 0, 0, SRCCOPY);
    BitBlt(dc, 25, 2, 10, 8, src, 5, 4, SRCCOPY);
    BitBlt(dc, 190, 2, 20, 15, src, 0, 0, SRCCOPY);
    BitBlt(dc, 40, 2, 20, 15, src, -5, -3, SRCCOPY);
    StretchBlt(dc, 2, 20, 50, 37, src, 0, 0, 20, 15, SRCCOPY);
    StretchBlt(dc, 55, 20, 13, 9, src, 0, 0, 20, 15, SRCCOPY);
    StretchBlt(dc, 70, 20, 7, 6, src, 0, 0, 20, 15, SRCCOPY);
    StretchBlt(dc, 80, 20, 41, 16, src, 2, 2, 15, 10, SRCCOPY);
    // Within one surface, overlapping.
    BitBlt(dc, 10, 60, 30, 30, dc, 0, 50, SRCCOPY);
    SelectObject(src, old);
    DeleteObject(bmp);
    DeleteDC(src);
    ReleaseDC(nullptr, screen);
}

inline const std::vector<Scene>& Scenes() {
    static const std::vector<Scene> scenes = {
        {"rect_filled", 200, 80, RectFilled},     {"rect_frame", 200, 80, RectFrame},
        {"rect_inverted", 200, 80, RectInverted}, {"ellipse_filled", 200, 80, EllipseFilled},
        {"ellipse_frame", 200, 80, EllipseFrame}, {"ellipse_inverted", 200, 80, EllipseInverted},
        {"roundrect_filled", 200, 80, RoundFilled}, {"roundrect_frame", 200, 80, RoundFrame},
        {"small_boxes", 120, 80, SmallBoxes},     {"tiny_wide", 120, 100, TinyWide},     {"lines", 200, 80, Lines},
        {"wide_lines", 200, 80, WideLines},       {"polygon_filled", 200, 80, PolyFilled},
        {"polygon_frame", 200, 80, PolyFrame},    {"polygon_inverted", 200, 80, PolyInverted},
        {"polygon_winding", 200, 80, PolyWinding}, {"arc", 200, 80, ArcScene},
        {"pie_filled", 200, 80, PieScene},        {"pie_inverted", 200, 80, PieInverted},
        {"bezier", 200, 80, Beziers},             {"regions", 200, 100, Regions},
        {"inverted_twice", 200, 100, InvertedTwice}, {"edges", 200, 100, Edges},
        {"solid_pens", 200, 80, SolidPens},       {"dib_transfers", 170, 100, DibTransfers},
        {"blits", 200, 100, Blits},               {"dib_stretch_mixed", 170, 100, DibStretchMixed},
    };
    return scenes;
}

// ------------------------------------------------------------ rendering and files

// Draws a scene on a white bitmap in a memory DC and reads it back.
inline Picture Render(const Scene& scene) {
    return scene_files::DrawOnWhite(scene.width, scene.height, scene.draw);
}

}  // namespace gdi_scenes

#endif
