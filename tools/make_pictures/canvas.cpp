// The canvas: region shapes and smooth-edged painting.
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace {

const float kPi = 3.14159265358979f;
const int kSamples = 4;  // per axis and pixel

float Clamp255(float v) { return std::min(255.0f, std::max(0.0f, v)); }

float SegmentDistance(Point p, Point a, Point b) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float length2 = dx * dx + dy * dy;
    float t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::min(1.0f, std::max(0.0f, t));
    float ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Shape Rect(float x0, float y0, float x1, float y1) {
    return {x0, y0, x1, y1, [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }};
}

Shape Ellipse(float cx, float cy, float rx, float ry) {
    return {cx - rx, cy - ry, cx + rx, cy + ry, [=](float x, float y) {
                float dx = (x - cx) / rx, dy = (y - cy) / ry;
                return dx * dx + dy * dy <= 1.0f;
            }};
}

Shape Circle(float cx, float cy, float r) { return Ellipse(cx, cy, r, r); }

Shape Polygon(std::vector<Point> points) {
    Shape shape;
    shape.x0 = shape.y0 = 1e9f;
    shape.x1 = shape.y1 = -1e9f;
    for (const Point& p : points) {
        shape.x0 = std::min(shape.x0, p.x);
        shape.y0 = std::min(shape.y0, p.y);
        shape.x1 = std::max(shape.x1, p.x);
        shape.y1 = std::max(shape.y1, p.y);
    }
    shape.inside = [points = std::move(points)](float x, float y) {
        bool in = false;
        size_t n = points.size();
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const Point& a = points[i];
            const Point& b = points[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
        }
        return in;
    };
    return shape;
}

Shape Stroke(Point a, Point b, float width) { return Path({a, b}, width); }

Shape Path(const std::vector<Point>& points, float width) {
    float r = width / 2;
    Shape shape;
    shape.x0 = shape.y0 = 1e9f;
    shape.x1 = shape.y1 = -1e9f;
    for (const Point& p : points) {
        shape.x0 = std::min(shape.x0, p.x - r);
        shape.y0 = std::min(shape.y0, p.y - r);
        shape.x1 = std::max(shape.x1, p.x + r);
        shape.y1 = std::max(shape.y1, p.y + r);
    }
    shape.inside = [points, r](float x, float y) {
        for (size_t i = 0; i + 1 < points.size(); ++i)
            if (SegmentDistance({x, y}, points[i], points[i + 1]) <= r) return true;
        return points.size() == 1 && SegmentDistance({x, y}, points[0], points[0]) <= r;
    };
    return shape;
}

Shape Star(float cx, float cy, float outer, float inner, int spikes, float angle) {
    std::vector<Point> points;
    for (int i = 0; i < spikes * 2; ++i) {
        float r = i % 2 == 0 ? outer : inner;
        float a = (angle + 180.0f * i / spikes) * kPi / 180.0f;
        points.push_back({cx + r * std::sin(a), cy - r * std::cos(a)});
    }
    return Polygon(points);
}

Shape Intersect(Shape a, Shape b) {
    Shape shape{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1), {}};
    shape.inside = [ia = a.inside, ib = b.inside](float x, float y) { return ia(x, y) && ib(x, y); };
    return shape;
}

Shape Subtract(Shape a, Shape b) {
    Shape shape{a.x0, a.y0, a.x1, a.y1, {}};
    shape.inside = [ia = a.inside, ib = b.inside](float x, float y) { return ia(x, y) && !ib(x, y); };
    return shape;
}

Canvas::Canvas(int width, int height)
    : width(width), height(height), pixels(static_cast<size_t>(width) * height, Rgb{255, 255, 255}) {}

void Canvas::Paint(const Shape& shape, Rgb colour, float opacity) {
    Paint(shape, [colour](float, float) { return colour; }, opacity);
}

void Canvas::Paint(const Shape& shape, const std::function<Rgb(float, float)>& colourAt, float opacity) {
    int x0 = std::max(0, static_cast<int>(std::floor(shape.x0)) - 1);
    int y0 = std::max(0, static_cast<int>(std::floor(shape.y0)) - 1);
    int x1 = std::min(width - 1, static_cast<int>(std::ceil(shape.x1)) + 1);
    int y1 = std::min(height - 1, static_cast<int>(std::ceil(shape.y1)) + 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    if (shape.inside(x + (sx + 0.5f) / kSamples, y + (sy + 0.5f) / kSamples)) ++hits;
            if (hits == 0) continue;
            float cover = opacity * hits / (kSamples * kSamples);
            Rgb& pixel = pixels[static_cast<size_t>(y) * width + x];
            pixel = Mix(pixel, colourAt(x + 0.5f, y + 0.5f), cover);
        }
    }
}

void Canvas::VerticalGradient(float y0, float y1, Rgb top, Rgb bottom) {
    for (int y = 0; y < height; ++y) {
        float t = std::min(1.0f, std::max(0.0f, (y + 0.5f - y0) / (y1 - y0)));
        Rgb colour = Mix(top, bottom, t);
        for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = colour;
    }
}

void Canvas::Place(const Canvas& source, int x, int y) {
    for (int sy = 0; sy < source.height; ++sy) {
        if (y + sy < 0 || y + sy >= height) continue;
        for (int sx = 0; sx < source.width; ++sx) {
            if (x + sx < 0 || x + sx >= width) continue;
            pixels[static_cast<size_t>(y + sy) * width + x + sx] = source.At(sx, sy);
        }
    }
}

std::vector<unsigned char> Canvas::Bytes() const {
    std::vector<unsigned char> bytes;
    bytes.reserve(pixels.size() * 3);
    for (const Rgb& p : pixels) {
        bytes.push_back(static_cast<unsigned char>(std::lround(Clamp255(p.r))));
        bytes.push_back(static_cast<unsigned char>(std::lround(Clamp255(p.g))));
        bytes.push_back(static_cast<unsigned char>(std::lround(Clamp255(p.b))));
    }
    return bytes;
}
