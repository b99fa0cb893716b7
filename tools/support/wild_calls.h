// wild_calls.h - calls of the public drawing interface with wild and hostile
// arguments, each chosen and filled in from a source of 32-bit numbers: a
// seeded std::mt19937 in the tests, the bytes of a fuzz input in the fuzz
// target of library calls (tools/fuzz). Any callable returning uint32_t is
// a source. What the interface promises whatever the arguments is handed to
// `check(holds, what)`. Header only.
#ifndef TOOL_SUPPORT_WILD_CALLS_H
#define TOOL_SUPPORT_WILD_CALLS_H

#include <climits>
#include <cstdint>
#include <limits>
#include <vector>

#include "graphics.h"

namespace wild_calls {

// Coordinates: mostly near a small window, sometimes anywhere in 32 bits.
template <class Source>
int32_t Coordinate(Source& next) {
    static const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -65536,        -1,       0, 1,
                                       65535,     65536,         INT32_MAX - 1, INT32_MAX};
    switch (next() % 4) {
        case 0: return extremes[next() % 10];
        case 1: return static_cast<int32_t>(next());
        default: return static_cast<int32_t>(next() % 400) - 140;
    }
}

template <class Source>
double Angle(Source& next) {
    static const double extremes[] = {
        0.0,   -0.0,  1e300, -1e300, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
        360.0, -720.0};
    if (next() % 4 == 0) return extremes[next() % 8];
    return static_cast<double>(static_cast<int32_t>(next() % 1440) - 720);
}

// Any style, the three valid ones among them.
template <class Source>
drawstyle Style(Source& next) {
    return static_cast<drawstyle>(static_cast<int>(next() % 5));
}

// Room for the points of a polygon.
struct Points {
    std::vector<int32_t> xs = std::vector<int32_t>(300), ys = std::vector<int32_t>(300);
};

// A pen and a brush of any colour, then one shape, text or read-back with
// wild coordinates, sizes, counts, angles and font sizes.
template <class Source, class Check>
void Shape(window& w, Source& next, Check check, Points& points) {
    int pen = static_cast<int>(next() % 4 == 0 ? next() % 200 : next() % 10);
    int pc[3] = {static_cast<int>(next()), static_cast<int>(next()), static_cast<int>(next())};
    w.SetPen(color(pc[0], pc[1], pc[2]), pen);
    int bc[3] = {static_cast<int>(next()), static_cast<int>(next()), static_cast<int>(next())};
    w.SetBrush(color(bc[0], bc[1], bc[2]));
    auto c = [&next] { return Coordinate(next); };
    switch (next() % 11) {
        case 0: {
            int32_t p[2] = {c(), c()};
            w.DrawPoint(p[0], p[1]);
            break;
        }
        case 1: {
            int32_t p[4] = {c(), c(), c(), c()};
            w.DrawLine(p[0], p[1], p[2], p[3], Style(next));
            break;
        }
        case 2: {
            int32_t p[4] = {c(), c(), c(), c()};
            drawstyle style = Style(next);
            int32_t corner[2] = {next() % 3 ? 0 : c(), next() % 3 ? 0 : c()};
            w.DrawRectangle(p[0], p[1], p[2], p[3], style, corner[0], corner[1]);
            break;
        }
        case 3: {
            int32_t p[6] = {c(), c(), c(), c(), c(), c()};
            w.DrawTriangle(p[0], p[1], p[2], p[3], p[4], p[5], Style(next));
            break;
        }
        case 4: {
            int count = static_cast<int>(next() % 300);
            if (next() % 10 == 0) count = -static_cast<int>(next() % 5);
            for (size_t i = 0; i < points.xs.size(); ++i) {
                points.xs[i] = c();
                points.ys[i] = c();
            }
            w.DrawPolygon(points.xs.data(), points.ys.data(), count, Style(next));
            break;
        }
        case 5: {
            int32_t p[3] = {c(), c(), c()};
            w.DrawCircle(p[0], p[1], p[2], Style(next));
            break;
        }
        case 6: {
            int32_t p[4] = {c(), c(), c(), c()};
            w.DrawEllipse(p[0], p[1], p[2], p[3], Style(next));
            break;
        }
        case 7: {
            int32_t p[4] = {c(), c(), c(), c()};
            double angles[2] = {Angle(next), Angle(next)};
            drawstyle style = Style(next);
            w.DrawArc(p[0], p[1], p[2], p[3], angles[0], angles[1], style, static_cast<int>(next() % 3));
            break;
        }
        case 8: {
            int32_t p[8] = {c(), c(), c(), c(), c(), c(), c(), c()};
            w.DrawBezier(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], Style(next));
            break;
        }
        case 9: {
            int size = next() % 5 == 0 ? c() : static_cast<int>(next() % 120) - 60;
            uint16_t style = static_cast<uint16_t>(next() % 16);
            int family = static_cast<int>(next() % 7) - 1;
            w.SetFont(size, style, family, next() % 2 ? nullptr : "Arial");
            char text[40];
            for (char& ch : text) ch = static_cast<char>(1 + next() % 255);
            text[next() % 40] = '\0';
            text[39] = '\0';
            int32_t p[2] = {c(), c()};
            w.DrawString(p[0], p[1], text);
            int width = 0, height = 0;
            w.GetStringSize(width, height, text);
            check(width >= 0 && height >= 0, "a text's measured size is never negative");
            break;
        }
        default: {
            int32_t p[2] = {c(), c()};
            (void)w.GetColor(p[0], p[1]);
            if (next() % 20 == 0) w.UpdateBuffer();
            break;
        }
    }
}

// Pictures a hostile call may draw or capture into.
struct Pictures {
    const image* small = nullptr;  // a loaded picture
    image empty;
    image capture;
};

// Every public operation with hostile arguments: NaN, infinite and huge
// fractions and numbers, INT_MIN and INT_MAX coordinates and sizes, empty
// and null strings and arrays, zero and negative sizes, no image at all.
template <class Source, class Check>
void Hostile(window& w, Source& next, Check check, Pictures& pictures) {
    static const double nan = std::numeric_limits<double>::quiet_NaN();
    static const double inf = std::numeric_limits<double>::infinity();
    static const double fractions[] = {nan, inf, -inf, 1e300, -1e300, 8.5e6, -8.5e6, 0.0, 1.0, -0.0};
    static const int32_t ends[] = {INT32_MIN, INT32_MIN + 1, -65536, -1, 0, 1, 65535, 65536, INT32_MAX - 1, INT32_MAX};
    static const uint16_t sides[] = {0, 1, 65535, 120, 90, 32768};
    auto fraction = [&next] { return fractions[next() % 10]; };
    auto end = [&next] { return ends[next() % 10]; };
    auto side = [&next] { return sides[next() % 6]; };

    double pen[3] = {fraction(), fraction(), fraction()};
    w.SetPen(pen[0], pen[1], pen[2], end());
    double brush[3] = {fraction(), fraction(), fraction()};
    w.SetBrush(brush[0], brush[1], brush[2]);
    int size = end();
    uint16_t style = static_cast<uint16_t>(next());
    int family = end();
    w.SetFont(size, style, family, next() % 2 ? nullptr : "");
    switch (next() % 9) {
        case 0: {
            int32_t p[4] = {end(), end(), end(), end()};
            w.DrawString(p[0], p[1], next() % 2 ? nullptr : "");
            w.DrawString(p[2], p[3], std::string());
            break;
        }
        case 1: {
            int32_t p[5] = {end(), end(), end(), end(), end()};
            w.DrawNumber(p[0], p[1], fraction());
            w.DrawNumber(p[2], p[3], p[4]);
            int width = -1, height = -1;
            w.GetNumberSize(width, height, fraction());
            check(width >= 0, "a number's measured width is never negative");
            w.GetStringSize(width, height, static_cast<const char*>(nullptr));
            check(height >= 0, "no text has a negative height");
            break;
        }
        case 2: {
            int32_t p[4] = {end(), end(), end(), end()};
            w.DrawImage(static_cast<const image*>(nullptr), p[0], p[1], p[2], p[3]);
            int32_t q[2] = {end(), end()};
            w.DrawImage(pictures.empty, q[0], q[1], -1, -1);
            if (pictures.small == nullptr) break;
            int32_t r[2] = {end(), end()};
            int32_t width = next() % 3 ? end() : -1;
            w.DrawImage(*pictures.small, r[0], r[1], width, end());
            break;
        }
        case 3: {
            uint32_t x = static_cast<uint32_t>(end());
            uint16_t s[3] = {side(), side(), side()};
            w.StoreImage(static_cast<image*>(nullptr), x, s[0], s[1], s[2]);
            x = static_cast<uint32_t>(end());
            uint16_t t[3] = {side(), side(), side()};
            w.StoreImage(pictures.capture, x, t[0], t[1], t[2]);
            // Whatever was refused, the picture's size matches its pixels.
            if (pictures.capture.Pixels() != nullptr) {
                image copy(pictures.capture);
                check(copy.Width() == pictures.capture.Width(), "a copy of a capture is as wide as the capture");
            }
            break;
        }
        case 4: w.DrawPolygon(nullptr, nullptr, next() % 2 ? 0 : end(), STYLE_FILLED); break;
        case 5: {
            int32_t p[4] = {end(), end(), end(), end()};
            double angles[2] = {fraction(), fraction()};
            w.DrawArc(p[0], p[1], p[2], p[3], angles[0], angles[1], STYLE_FILLED, static_cast<int>(next() % 3));
            break;
        }
        case 6: {
            double red = 0, green = 0, blue = 0;
            int32_t p[2] = {end(), end()};
            w.GetColorLevels(p[0], p[1], red, green, blue);
            check(red >= 0.0 && green >= 0.0 && blue >= 0.0 && red <= 1.0 && green <= 1.0 && blue <= 1.0,
                  "colour levels lie between 0 and 1");
            break;
        }
        case 7: {
            int32_t p[6] = {end(), end(), end(), end(), end(), end()};
            w.DrawRectangle(p[0], p[1], p[2], p[3], STYLE_INVERTED, p[4], p[5]);
            int32_t q[3] = {end(), end(), end()};
            w.DrawCircle(q[0], q[1], q[2], STYLE_FRAME);
            break;
        }
        default:
            w.SetTitle(next() % 2 ? nullptr : "");
            w.UpdateBuffer();
            break;
    }
}

}  // namespace wild_calls

#endif
