// scene.cpp - text form of differential scenes and their drawing with GDI.
#include "scene.h"

#include <windows.h>

#include "gdi_canvas.h"

#include <cstdio>
#include <cstring>
#include <sstream>

namespace gdi_diff {
namespace {

const uint32_t kPalette[] = {
    RGB(220, 30, 40), RGB(40, 60, 200), RGB(20, 160, 60), RGB(0, 0, 0), RGB(255, 255, 255), RGB(230, 200, 40),
};

size_t NeededValues(char kind) {
    switch (kind) {
        case kRect:
        case kEllipse: return 4;
        case kRound: return 6;
        case kArc:
        case kPie: return 8;
        default: return 0;
    }
}

bool ValidShape(const Shape& s) {
    if (s.penWidth < 0 || s.penWidth > 1000 || s.rop < 1 || s.rop > 16) return false;
    if (s.brush < kStockBlackBrush || s.brush >= PaletteSize() || s.penColor < 0 || s.penColor >= PaletteSize()) {
        return false;
    }
    if (s.kind == kText) {
        if (s.v.size() < 6 || s.v[2] < 0 || s.v[2] > kStockFont || s.v[3] < -1000 || s.v[3] > 1000 || s.v[4] < 0 ||
            s.v[4] > 7 || (s.v[5] != kTransparent && s.v[5] != kOpaque)) {
            return false;
        }
        for (size_t i = 6; i < s.v.size(); ++i)
            if (s.v[i] < kFirstTextChar || s.v[i] > kLastTextChar) return false;
        return true;
    }
    if (s.kind == kPicture) return true;  // its size is checked against the canvas's
    if (s.v.size() % 2 != 0 && s.kind != kRegion) return false;
    switch (s.kind) {
        case kLine: return s.v.size() >= 4;
        case kPolygon: return s.v.size() >= 4;
        case kBezier: return s.v.size() >= 8 && (s.v.size() / 2 - 1) % 3 == 0;
        case kRegion: return s.v.size() >= 5 && s.v[0] >= 0 && s.v[0] <= 3;
        case kRect:
        case kEllipse:
        case kRound:
        case kArc:
        case kPie: return s.v.size() == NeededValues(s.kind);
        default: return false;
    }
}

std::vector<POINT> Points(const std::vector<int>& v, size_t from) {
    std::vector<POINT> p;
    for (size_t i = from; i + 1 < v.size(); i += 2) p.push_back(POINT{v[i], v[i + 1]});
    return p;
}

// The font the graphics library makes for a face, style and cell height.
HFONT TextFont(int face, int size, int style) {
    LOGFONTA lf{};
    lf.lfHeight = size;
    lf.lfWeight = (style & kBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & kItalic) ? 1 : 0;
    lf.lfUnderline = (style & kUnderline) ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    static const BYTE kFamily[kTextFaces] = {FF_SWISS, FF_ROMAN, FF_MODERN, FF_DONTCARE, FF_DONTCARE};
    lf.lfPitchAndFamily = static_cast<BYTE>(DEFAULT_PITCH | kFamily[face]);
    if (face == kArialName) std::strcpy(lf.lfFaceName, "Arial");
    return CreateFontIndirectA(&lf);
}

void DrawTextShape(HDC dc, const Shape& s) {
    const std::vector<int>& v = s.v;
    HFONT font = v[2] == kStockFont ? nullptr : TextFont(v[2], v[3], v[4]);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    std::string text(v.begin() + 6, v.end());
    SetTextColor(dc, kPalette[s.penColor]);
    SetBkMode(dc, v[5]);
    TextOutA(dc, v[0], v[1], text.data(), static_cast<int>(text.size()));
    if (font) {
        SelectObject(dc, old);
        DeleteObject(font);
    }
}

void DrawPicture(HDC dc, const Shape& s, int width, int height) {
    BITMAPINFO info = scene_files::TopDownInfo(width, height);
    std::vector<uint32_t> pixels(s.v.begin(), s.v.end());
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
}

void DrawShape(HDC dc, const Shape& s, int width, int height) {
    if (s.kind == kText) {
        DrawTextShape(dc, s);
        return;
    }
    if (s.kind == kPicture) {
        DrawPicture(dc, s, width, height);
        return;
    }
    HPEN pen = nullptr;
    HGDIOBJ penObject;
    if (s.penStyle == kStockBlackPen) {
        penObject = GetStockObject(BLACK_PEN);
    } else {
        pen = CreatePen(s.penStyle, s.penWidth, kPalette[s.penColor]);
        penObject = pen;
    }
    HBRUSH brush = nullptr;
    HGDIOBJ brushObject;
    if (s.brush == kNullBrush) {
        brushObject = GetStockObject(NULL_BRUSH);
    } else if (s.brush == kStockBlackBrush) {
        brushObject = GetStockObject(BLACK_BRUSH);
    } else {
        brush = CreateSolidBrush(kPalette[s.brush]);
        brushObject = brush;
    }
    HGDIOBJ oldPen = SelectObject(dc, penObject);
    HGDIOBJ oldBrush = SelectObject(dc, brushObject);
    int oldRop = SetROP2(dc, s.rop);
    int oldFill = SetPolyFillMode(dc, s.fillMode);
    const std::vector<int>& v = s.v;
    switch (s.kind) {
        case kLine: {
            MoveToEx(dc, v[0], v[1], nullptr);
            for (size_t i = 2; i + 1 < v.size(); i += 2) LineTo(dc, v[i], v[i + 1]);
            break;
        }
        case kRect: Rectangle(dc, v[0], v[1], v[2], v[3]); break;
        case kRound: RoundRect(dc, v[0], v[1], v[2], v[3], v[4], v[5]); break;
        case kEllipse: Ellipse(dc, v[0], v[1], v[2], v[3]); break;
        case kPolygon: {
            std::vector<POINT> p = Points(v, 0);
            Polygon(dc, p.data(), static_cast<int>(p.size()));
            break;
        }
        case kArc: Arc(dc, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
        case kPie: Pie(dc, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
        case kBezier: {
            std::vector<POINT> p = Points(v, 0);
            PolyBezier(dc, p.data(), static_cast<DWORD>(p.size()));
            break;
        }
        case kRegion: {
            HRGN r = nullptr;
            switch (v[0]) {
                case 0: r = CreateRectRgn(v[1], v[2], v[3], v[4]); break;
                case 1: r = CreateEllipticRgn(v[1], v[2], v[3], v[4]); break;
                case 2:
                    if (v.size() >= 7) r = CreateRoundRectRgn(v[1], v[2], v[3], v[4], v[5], v[6]);
                    break;
                case 3: {
                    std::vector<POINT> p = Points(v, 1);
                    r = CreatePolygonRgn(p.data(), static_cast<int>(p.size()), s.fillMode);
                    break;
                }
            }
            if (r) {
                InvertRgn(dc, r);
                DeleteObject(r);
            }
            break;
        }
    }
    SetPolyFillMode(dc, oldFill);
    SetROP2(dc, oldRop);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    if (pen) DeleteObject(pen);
    if (brush) DeleteObject(brush);
}

}  // namespace

const std::vector<int>& TextSizes() {
    static const std::vector<int> sizes = {4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 18, 20, 22,
                                           24, 26, 28, 30, 32, 36, 40, 44, 48, 50, 56, 60, 64, 72, 100};
    return sizes;
}

std::string TextMeasures() {
    std::ostringstream out;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    for (int face = 0; face < kTextFaces; ++face) {
        for (int style = 0; style < 4; ++style) {
            for (int size : TextSizes()) {
                HFONT font = TextFont(face, size, style);
                HGDIOBJ old = SelectObject(dc, font);
                SIZE cell{};
                GetTextExtentPoint32A(dc, "x", 1, &cell);
                out << face << ' ' << size << ' ' << style << ": " << cell.cy << " |";
                for (int c = kFirstTextChar; c <= kLastTextChar; ++c) {
                    char ch = static_cast<char>(c);
                    SIZE one{};
                    GetTextExtentPoint32A(dc, &ch, 1, &one);
                    out << ' ' << one.cx;
                }
                out << '\n';
                SelectObject(dc, old);
                DeleteObject(font);
            }
        }
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return out.str();
}

uint32_t PaletteColor(int index) { return kPalette[index]; }
int PaletteSize() { return static_cast<int>(sizeof kPalette / sizeof kPalette[0]); }

std::string Format(const Scene& scene) {
    std::ostringstream out;
    out << scene.width << ' ' << scene.height;
    for (const Shape& s : scene.shapes) {
        out << " ; " << s.kind << ' ' << s.penStyle << ' ' << s.penWidth << ' ' << s.penColor << ' ' << s.brush << ' '
            << s.rop << ' ' << s.fillMode;
        for (int x : s.v) out << ' ' << x;
    }
    return out.str();
}

bool Parse(const std::string& text, Scene& scene) {
    scene = Scene{};
    std::istringstream parts(text);
    std::string part;
    bool first = true;
    while (std::getline(parts, part, ';')) {
        std::istringstream in(part);
        if (first) {
            first = false;
            if (!(in >> scene.width >> scene.height) || scene.width <= 0 || scene.height <= 0 || scene.width > 4096 ||
                scene.height > 4096) {
                return false;
            }
            continue;
        }
        Shape s;
        if (!(in >> s.kind >> s.penStyle >> s.penWidth >> s.penColor >> s.brush >> s.rop >> s.fillMode)) return false;
        int x;
        while (in >> x) s.v.push_back(x);
        if (!ValidShape(s)) return false;
        if (s.kind == kPicture && s.v.size() != static_cast<size_t>(scene.width) * scene.height) return false;
        scene.shapes.push_back(s);
    }
    return !first;
}

Picture Render(const Scene& scene) {
    return scene_files::DrawOnWhite(scene.width, scene.height, [&](HDC dc) {
        for (const Shape& s : scene.shapes) DrawShape(dc, s, scene.width, scene.height);
    });
}

}  // namespace gdi_diff
