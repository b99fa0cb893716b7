// The raster engine: span algebra, the one place pixels are written, and
// the geometry of lines, polygons, ellipses and wide pens as GDI draws them
// (expected pixels were read from real GDI under Wine).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "raster/paint.h"
#include "raster/raster.h"

namespace {

using platform::Surface;
using namespace platform::raster;

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

PixelSet PixelsOf(const Spans& spans) {
    PixelSet set;
    for (const Span& s : spans) {
        for (int x = s.x0; x < s.x1; ++x) set.insert({x, s.y});
    }
    return set;
}

const Clip kClip{0, 0, 64, 64};

// ------------------------------------------------------------ pixels

TEST(RasterPaint, CutsSpansToTheSurfaceWhateverTheirCoordinates) {
    Surface s(8, 4, 0x111111);
    Spans spans = {{-1, 0, 8}, {4, 0, 8}, {INT_MIN, INT_MIN, INT_MAX}, {1, INT_MIN, 2}, {2, 6, INT_MAX},
                   {3, -5, -1}, {3, 9, 20}};
    PaintSpans(s, spans, 0xABCDEF, R2_COPYPEN);
    EXPECT_EQ(s.Row(0)[0], 0x111111u);
    EXPECT_EQ(s.Row(1)[0], 0xABCDEFu);
    EXPECT_EQ(s.Row(1)[1], 0xABCDEFu);
    EXPECT_EQ(s.Row(1)[2], 0x111111u);
    EXPECT_EQ(s.Row(2)[5], 0x111111u);
    EXPECT_EQ(s.Row(2)[6], 0xABCDEFu);
    EXPECT_EQ(s.Row(2)[7], 0xABCDEFu);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(s.Row(3)[x], 0x111111u) << x;
}

TEST(RasterPaint, CopyPenRunsOfEveryLengthAndAlignmentPaintExactlyTheirPixels) {
    // Runs are filled several pixels at a time; none may spill over its ends.
    for (int x0 = 0; x0 < 8; ++x0) {
        for (int length = 0; length <= 40; ++length) {
            Surface s(56, 3, 0x111111);
            PaintSpans(s, Spans{{1, x0, x0 + length}}, 0xABCDEF, R2_COPYPEN);
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 56; ++x) {
                    bool inside = y == 1 && x >= x0 && x < x0 + length;
                    ASSERT_EQ(s.Row(y)[x], inside ? 0xABCDEFu : 0x111111u)
                        << "run [" << x0 << ", " << x0 + length << ") at (" << x << ", " << y << ")";
                }
            }
        }
    }
}

TEST(RasterPaint, MixModesFollowTheirTruthTables) {
    const uint32_t pen = 0x00FF00F0, dst = 0x0F0FF00F;
    struct Case {
        int rop;
        uint32_t expected;
    } cases[] = {
        {R2_BLACK, 0},
        {R2_WHITE, 0xFFFFFF},
        {R2_COPYPEN, pen & 0xFFFFFF},
        {R2_NOT, ~dst & 0xFFFFFF},
        {R2_XORPEN, (pen ^ dst) & 0xFFFFFF},
        {R2_MASKPEN, pen & dst & 0xFFFFFF},
        {R2_MERGEPEN, (pen | dst) & 0xFFFFFF},
        {R2_NOP, dst & 0xFFFFFF},
        {R2_NOTMERGEPEN, ~(pen | dst) & 0xFFFFFF},
        {R2_MASKNOTPEN, ~pen & dst & 0xFFFFFF},
        {R2_NOTCOPYPEN, ~pen & 0xFFFFFF},
        {R2_MASKPENNOT, pen & ~dst & 0xFFFFFF},
        {R2_NOTMASKPEN, ~(pen & dst) & 0xFFFFFF},
        {R2_NOTXORPEN, ~(pen ^ dst) & 0xFFFFFF},
        {R2_MERGENOTPEN, (~pen | dst) & 0xFFFFFF},
        {R2_MERGEPENNOT, (pen | ~dst) & 0xFFFFFF},
    };
    for (const Case& c : cases) {
        Surface s(1, 1, dst & 0xFFFFFF);
        PaintSpans(s, {{0, 0, 1}}, pen, c.rop);
        EXPECT_EQ(s.pixels[0], c.expected) << "rop " << c.rop;
    }
    // Long runs are mixed several pixels at a time: each pixel comes out as
    // it does when painted on its own.
    for (int rop = R2_BLACK; rop <= R2_WHITE; ++rop) {
        Surface whole(13, 1), single(13, 1);
        for (int x = 0; x < 13; ++x) whole.pixels[x] = single.pixels[x] = (0x9A3C5Fu * (x + 1)) & 0xFFFFFF;
        PaintSpans(whole, {{0, 0, 13}}, pen, rop);
        for (int x = 0; x < 13; ++x) PaintSpans(single, {{0, x, x + 1}}, pen, rop);
        EXPECT_EQ(whole.pixels, single.pixels) << "rop " << rop;
    }
    Surface s(1, 1, 0x123456);
    PaintSpans(s, {{0, 0, 1}}, 0, 0);
    PaintSpans(s, {{0, 0, 1}}, 0, 17);
    EXPECT_EQ(s.pixels[0], 0x123456u) << "unknown mix modes paint nothing";
}

TEST(RasterPaint, IdempotentMixesPaintTwiceAsOnce) {
    // A mix called idempotent must give the same pixels painted twice; the
    // others (R2_NOT, R2_XORPEN with a non-black pen...) must not.
    const uint32_t pens[] = {0x000000, 0xFFFFFF, 0x00FF00F0};
    const uint32_t dsts[] = {0x000000, 0xFFFFFF, 0x0FF00F, 0xF00FF0};
    for (int rop = R2_BLACK; rop <= R2_LAST; ++rop) {
        for (uint32_t pen : pens) {
            bool twiceAsOnce = true;
            for (uint32_t dst : dsts) {
                Surface once(1, 1, dst), twice(1, 1, dst);
                PaintSpans(once, {{0, 0, 1}}, pen, rop);
                PaintSpans(twice, {{0, 0, 1}}, pen, rop);
                PaintSpans(twice, {{0, 0, 1}}, pen, rop);
                twiceAsOnce = twiceAsOnce && once.pixels[0] == twice.pixels[0];
            }
            EXPECT_EQ(Idempotent(MixOf(rop, pen)), twiceAsOnce) << "rop " << rop << " pen " << pen;
        }
    }
    EXPECT_FALSE(Idempotent(MixOf(R2_NOT, 0)));
    EXPECT_TRUE(Idempotent(MixOf(R2_COPYPEN, 0x123456)));
}

// ------------------------------------------------------------ span algebra

TEST(RasterSpans, NormalizeSortsMergesAndDropsEmptyRuns) {
    Spans spans = {{2, 5, 9}, {1, 0, 3}, {2, 0, 5}, {1, 2, 4}, {1, 6, 6}, {1, 7, 8}};
    Normalize(spans);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].y, 1);
    EXPECT_EQ(spans[0].x0, 0);
    EXPECT_EQ(spans[0].x1, 4);
    EXPECT_EQ(spans[1].x0, 7);
    EXPECT_EQ(spans[2].y, 2);
    EXPECT_EQ(spans[2].x0, 0);
    EXPECT_EQ(spans[2].x1, 9);
}

// Spans in a few ordered runs, as shape generators hand them on, with
// overlaps, touching neighbours and empty runs; the same every time.
Spans ScatteredSpans(unsigned seed, int runs) {
    Spans spans;
    for (int r = 0; r < runs; ++r) {
        int y = static_cast<int>(seed % 7);
        for (int i = 0; i < 12; ++i) {
            seed = seed * 1103515245u + 12345u;
            int x0 = static_cast<int>((seed >> 8) % 40);
            int length = static_cast<int>((seed >> 20) % 9) - 1;
            spans.push_back({y, x0, x0 + length});
            y += static_cast<int>((seed >> 4) % 3);
        }
    }
    return spans;
}

TEST(RasterSpans, NormalizeOfRunsInAnyOrderKeepsThePixelsOrderedAndApart) {
    for (unsigned seed = 1; seed < 200; ++seed) {
        Spans spans = ScatteredSpans(seed, 1 + static_cast<int>(seed % 9));
        PixelSet pixels = PixelsOf(spans);
        Normalize(spans);
        EXPECT_EQ(PixelsOf(spans), pixels) << "seed " << seed;
        for (size_t i = 0; i < spans.size(); ++i) {
            ASSERT_LT(spans[i].x0, spans[i].x1) << "seed " << seed;
            if (i == 0) continue;
            const Span& a = spans[i - 1];
            const Span& b = spans[i];
            // Rows ascend; runs on a row ascend with a gap between them.
            ASSERT_TRUE(a.y < b.y || (a.y == b.y && a.x1 < b.x0)) << "seed " << seed << " span " << i;
        }
    }
}

TEST(RasterSpans, SetOperationsAgreeWithPixelSets) {
    Spans a = {{0, 0, 10}, {1, 2, 4}, {3, 0, 5}};
    Spans b = {{0, 3, 5}, {1, 0, 10}, {2, 0, 1}};
    PixelSet pa = PixelsOf(a), pb = PixelsOf(b);
    PixelSet minus, both, either = pa;
    for (auto p : pa) (pb.count(p) ? both : minus).insert(p);
    either.insert(pb.begin(), pb.end());
    EXPECT_EQ(PixelsOf(Subtract(a, b)), minus);
    EXPECT_EQ(PixelsOf(Intersect(a, b)), both);
    EXPECT_EQ(PixelsOf(Union(a, b)), either);
    // Rows of many runs each.
    for (unsigned seed = 1; seed < 60; ++seed) {
        Spans c = ScatteredSpans(seed, 3), d = ScatteredSpans(seed * 7919u, 3);
        Normalize(c);
        Normalize(d);
        PixelSet pc = PixelsOf(c), pd = PixelsOf(d), cMinus, cBoth, cEither = pc;
        for (auto p : pc) (pd.count(p) ? cBoth : cMinus).insert(p);
        cEither.insert(pd.begin(), pd.end());
        EXPECT_EQ(PixelsOf(Subtract(c, d)), cMinus) << "seed " << seed;
        EXPECT_EQ(PixelsOf(Intersect(c, d)), cBoth) << "seed " << seed;
        EXPECT_EQ(PixelsOf(Union(c, d)), cEither) << "seed " << seed;
    }
}

TEST(RasterSpans, BoundaryOfABoxIsItsRing) {
    Spans box;
    RectSpans(Box{2, 3, 7, 8}, kClip, box);
    PixelSet ring = PixelsOf(Boundary(box));
    EXPECT_EQ(ring.size(), 16u);
    EXPECT_TRUE(ring.count({2, 3}) && ring.count({6, 7}) && ring.count({4, 3}) && ring.count({2, 5}));
    EXPECT_FALSE(ring.count({4, 5}));
}

TEST(RasterSpans, DilatingOnePixelGivesThePensDot) {
    PixelSet three = PixelsOf(Dilate({{10, 10, 11}}, 3, kClip));
    EXPECT_EQ(three, (PixelSet{{10, 9}, {9, 10}, {10, 10}, {11, 10}, {10, 11}}));
    PixelSet four = PixelsOf(Dilate({{10, 10, 11}}, 4, kClip));
    EXPECT_EQ(four.size(), 12u);  // GDI's 4 x 4 dot has its corners cut
    EXPECT_FALSE(four.count({8, 8}));
    EXPECT_TRUE(four.count({8, 9}) && four.count({11, 10}) && four.count({9, 8}));
}

// ------------------------------------------------------------ lines

TEST(RasterLines, LeaveOutTheLastPixelAndBreakTiesTowardTheSmallerCoordinate) {
    Spans spans;
    ThinLineSpans(1, 1, 5, 3, false, kClip, spans);
    EXPECT_EQ(PixelsOf(spans), (PixelSet{{1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    spans.clear();
    ThinLineSpans(5, 5, 1, 3, false, kClip, spans);
    EXPECT_EQ(PixelsOf(spans), (PixelSet{{5, 5}, {4, 4}, {3, 4}, {2, 3}}));
    spans.clear();
    ThinLineSpans(8, 1, 10, 5, false, kClip, spans);
    EXPECT_EQ(PixelsOf(spans), (PixelSet{{8, 1}, {8, 2}, {9, 3}, {9, 4}}));
    spans.clear();
    ThinLineSpans(3, 3, 3, 3, false, kClip, spans);
    EXPECT_TRUE(spans.empty()) << "a line to its own start draws nothing";
    ThinLineSpans(3, 3, 3, 3, true, kClip, spans);
    EXPECT_EQ(PixelsOf(spans), (PixelSet{{3, 3}}));
    // Level and upright lines, both ways, with and without their last pixel.
    spans.clear();
    ThinLineSpans(6, 2, 3, 2, false, kClip, spans);
    EXPECT_EQ(PixelsOf(spans), (PixelSet{{6, 2}, {5, 2}, {4, 2}}));
    spans.clear();
    ThinLineSpans(3, 2, 6, 2, true, kClip, spans);
    EXPECT_EQ(PixelsOf(spans), (PixelSet{{3, 2}, {4, 2}, {5, 2}, {6, 2}}));
    spans.clear();
    ThinLineSpans(7, 4, 7, 1, false, kClip, spans);
    EXPECT_EQ(PixelsOf(spans), (PixelSet{{7, 4}, {7, 3}, {7, 2}}));
    spans.clear();
    ThinLineSpans(7, -3, 7, 1, true, kClip, spans);
    EXPECT_EQ(PixelsOf(spans), (PixelSet{{7, 0}, {7, 1}})) << "rows above the clip are left out";
    spans.clear();
    ThinLineSpans(64, 1, 64, 9, true, kClip, spans);
    EXPECT_TRUE(spans.empty()) << "a column right of the clip";
}

TEST(RasterLines, ABoxRimIsTheClosedLineThroughItsCorners) {
    const Clip cut{2, 1, 7, 6};
    for (int w = 1; w <= 6; ++w) {
        for (int h = 1; h <= 6; ++h) {
            for (int at = 0; at < 3; ++at) {
                Box box{at, at, at + w, at + h};
                POINT corners[4] = {{at, at}, {at + w - 1, at}, {at + w - 1, at + h - 1}, {at, at + h - 1}};
                for (const Clip& clip : {kClip, cut}) {
                    Spans rim, line;
                    BoxRimSpans(box, clip, rim);
                    ThinPolylineSpans(corners, 4, true, clip, line);
                    EXPECT_EQ(PixelsOf(rim), PixelsOf(line)) << w << " x " << h << " at " << at;
                }
            }
        }
    }
    Spans huge;
    BoxRimSpans(Box{INT_MIN, 10, INT_MAX, 20}, kClip, huge);
    EXPECT_EQ(PixelsOf(huge).size(), 128u) << "rows 10 and 19 across the clip";
}

TEST(RasterLines, ExtremeCoordinatesOnlyCostTheirVisiblePixels) {
    Spans spans;
    ThinLineSpans(INT_MIN, INT_MIN, INT_MAX, INT_MAX, false, kClip, spans);
    ThinLineSpans(INT_MAX, 5, INT_MIN, 5, true, kClip, spans);
    ThinLineSpans(-100000, 40, 100000, 41, false, kClip, spans);
    ThinLineSpans(20, INT_MAX, 20, INT_MIN, true, kClip, spans);
    for (const Span& s : spans) {
        EXPECT_GE(s.y, kClip.top);
        EXPECT_LT(s.y, kClip.bottom);
        EXPECT_GE(s.x0, kClip.left);
        EXPECT_LE(s.x1, kClip.right);
    }
    PixelSet px = PixelsOf(spans);
    EXPECT_TRUE(px.count({0, 0}) && px.count({63, 63}));
    EXPECT_TRUE(px.count({0, 5}) && px.count({63, 5}));
    EXPECT_TRUE(px.count({0, 40}) && px.count({63, 41})) << "the tie at x = 0 goes to the upper row";
    EXPECT_TRUE(px.count({20, 0}) && px.count({20, 63}));
}

TEST(RasterLines, WidePensHaveRoundCapsAndCoverTheEndPoint) {
    // GDI: a 4-pixel pen from (3, 3) to (12, 3) covers rows 1..4 with the
    // corners of its round caps cut.
    POINT line[2] = {{3, 3}, {12, 3}};
    Spans spans;
    WidePolylineSpans(line, 2, false, 4, kClip, spans);
    Normalize(spans);
    ASSERT_EQ(spans.size(), 4u);
    EXPECT_EQ(spans[0].y, 1);
    EXPECT_EQ(spans[0].x0, 2);
    EXPECT_EQ(spans[0].x1, 13);
    EXPECT_EQ(spans[1].x0, 1);
    EXPECT_EQ(spans[1].x1, 14);
    EXPECT_EQ(spans[3].y, 4);
}

TEST(RasterLines, SlantedWideBandsTakeInPixelsWithinHalfAPixelAlongTheMajorAxis) {
    // Rows (or columns) away from the caps, as GDI draws these lines from
    // (10, 10): each reaches half a pixel beyond the band of the pen's width.
    auto row = [](const Spans& spans, int y) {
        Spans r;
        for (const Span& s : spans) {
            if (s.y == y) r.push_back(s);
        }
        return r;
    };
    struct Case {
        int width, dx, dy, y, x0, x1;
    };
    const Case cases[] = {
        {2, 30, 5, 12, 16, 29}, {2, 30, 5, 13, 22, 35},  // even: centred on pixel corners
        {3, 5, 30, 20, 11, 14}, {3, 5, 30, 30, 13, 16},  // odd: half a pixel to the right
        {2, 14, 22, 20, 15, 18}, {2, 14, 22, 26, 19, 22},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "width " << c.width << " to (" << c.dx << ", " << c.dy << ") row " << c.y);
        POINT line[2] = {{10, 10}, {10 + c.dx, 10 + c.dy}};
        Spans spans;
        WidePolylineSpans(line, 2, false, c.width, kClip, spans);
        Normalize(spans);
        Spans r = row(spans, c.y);
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0].x0, c.x0);
        EXPECT_EQ(r[0].x1, c.x1);
    }
}

TEST(RasterLines, AClosedWideOutlineKeepsEveryBandWhateverItsNeighbours) {
    // Bands painted after the corner dots of the same rows must not be
    // swallowed by them.
    POINT box[4] = {{85, 5}, {112, 5}, {112, 25}, {85, 25}};
    Spans spans;
    WidePolylineSpans(box, 4, true, 2, kClip, spans);
    PixelSet px = PixelsOf(spans);
    for (int x = 84; x <= 112; ++x) {
        if (x >= 64) break;  // the clip ends at 64
        EXPECT_TRUE(px.count({x, 24}) && px.count({x, 25})) << x;
        EXPECT_TRUE(px.count({x, 4}) && px.count({x, 5})) << x;
    }
    POINT small[4] = {{5, 24}, {40, 24}, {40, 30}, {5, 30}};
    Spans band;
    WidePolylineSpans(small, 4, true, 2, kClip, band);
    PixelSet b = PixelsOf(band);
    for (int x = 5; x <= 40; ++x) EXPECT_TRUE(b.count({x, 29}) && b.count({x, 30})) << x;
}

// The traced outline of a huge figure drawn with a wide pen: many points,
// none near the clip. It draws nothing and takes no room for what it would
// draw elsewhere (it once asked for gigabytes).
TEST(RasterLines, AWideOutlineFarOutsideTheClipTakesNoRoom) {
    std::vector<POINT> far(100000);
    for (size_t i = 0; i < far.size(); ++i)
        far[i] = POINT{static_cast<LONG>(i % 2 ? 1000000 : -1000000), static_cast<LONG>(i)};
    Spans spans;
    WidePolylineSpans(far.data(), far.size(), true, 1024, Clip{0, 200000, 64, 200064}, spans);
    EXPECT_TRUE(spans.empty());
    EXPECT_LT(spans.capacity(), 100000u);
}

TEST(RasterLines, BezierFlatteningKeepsBothEndsAndFollowsTheCurve) {
    POINT p[4] = {{0, 0}, {10, 30}, {40, 30}, {50, 0}};
    std::vector<POINT> line = FlattenBezier(p);
    ASSERT_GE(line.size(), 4u);
    EXPECT_EQ(line.front().x, 0);
    EXPECT_EQ(line.back().x, 50);
    EXPECT_EQ(line.back().y, 0);
    // Every corner of the polyline lies on the curve to within a pixel and a half.
    for (const POINT& q : line) {
        double best = 1e9;
        for (int k = 0; k <= 1000; ++k) {
            double t = k / 1000.0, u = 1 - t;
            double x = 3 * u * u * t * 10 + 3 * u * t * t * 40 + t * t * t * 50;
            double y = 3 * u * u * t * 30 + 3 * u * t * t * 30;
            best = std::min(best, std::hypot(x - q.x, y - q.y));
        }
        EXPECT_LE(best, 1.5) << q.x << "," << q.y;
    }
    std::vector<POINT> flat = FlattenBezier(std::vector<POINT>{{0, 5}, {5, 5}, {9, 5}, {20, 5}}.data());
    EXPECT_EQ(flat.size(), 2u) << "a straight curve is one piece";
    for (const POINT& q : flat) EXPECT_EQ(q.y, 5);
}

// ------------------------------------------------------------ polygons

TEST(RasterPolygons, SampleAtPixelCornersWithLeftAndTopEdgesInside) {
    POINT square[4] = {{16, 1}, {22, 1}, {22, 6}, {16, 6}};
    Spans spans;
    PolygonSpans(square, 4, ALTERNATE, kClip, spans);
    PixelSet px = PixelsOf(spans);
    EXPECT_EQ(px.size(), 30u);
    EXPECT_TRUE(px.count({16, 1}) && px.count({21, 5}));
    EXPECT_FALSE(px.count({22, 1}) || px.count({16, 6}));
}

TEST(RasterPolygons, AlternateLeavesTheStarsMiddleOpenAndWindingFillsIt) {
    POINT star[5] = {{30, 0}, {48, 54}, {2, 20}, {58, 20}, {12, 54}};
    Spans alternate, winding;
    PolygonSpans(star, 5, ALTERNATE, kClip, alternate);
    PolygonSpans(star, 5, WINDING, kClip, winding);
    PixelSet a = PixelsOf(alternate), w = PixelsOf(winding);
    EXPECT_FALSE(a.count({30, 30}));
    EXPECT_TRUE(w.count({30, 30}));
    EXPECT_TRUE(a.count({30, 5}) && w.count({30, 5}));
    for (auto p : a) EXPECT_TRUE(w.count(p));
}

TEST(RasterPolygons, HugeOrDegenerateInputStaysInsideTheClip) {
    POINT huge[3] = {{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}};
    Spans spans;
    PolygonSpans(huge, 3, WINDING, kClip, spans);
    for (const Span& s : spans) {
        EXPECT_TRUE(s.y >= 0 && s.y < 64 && s.x0 >= 0 && s.x1 <= 64 && s.x0 < s.x1);
    }
    EXPECT_FALSE(spans.empty());
    Spans none;
    POINT line[3] = {{0, 0}, {10, 10}, {20, 20}};
    PolygonSpans(line, 3, ALTERNATE, kClip, none);
    PolygonSpans(line, 2, ALTERNATE, kClip, none);
    PolygonSpans(nullptr, 5, ALTERNATE, kClip, none);
    EXPECT_TRUE(none.empty());
}

// ------------------------------------------------------------ ellipses

std::vector<std::pair<int, int>> RowExtents(const Spans& spans) {
    std::vector<std::pair<int, int>> rows;
    for (const Span& s : spans) rows.push_back({s.x0, s.x1});
    return rows;
}

TEST(RasterEllipses, TraceTheSamePixelsAsGdi) {
    using Rows = std::vector<std::pair<int, int>>;
    Spans e3, e6, e7x5;
    EllipseSpans(Box{0, 0, 3, 3}, kClip, e3);
    EllipseSpans(Box{0, 0, 6, 6}, kClip, e6);
    EllipseSpans(Box{0, 0, 7, 5}, kClip, e7x5);
    EXPECT_EQ(RowExtents(e3), (Rows{{1, 2}, {0, 3}, {1, 2}}));
    EXPECT_EQ(RowExtents(e6), (Rows{{2, 4}, {1, 5}, {0, 6}, {0, 6}, {1, 5}, {2, 4}}));
    EXPECT_EQ(RowExtents(e7x5), (Rows{{2, 5}, {0, 7}, {0, 7}, {0, 7}, {2, 5}}));
}

TEST(RasterEllipses, TheRimIsTheFiguresOutlineAndThePolygonWalksIt) {
    Box box{5, 5, 30, 20};
    Spans fill, rim;
    EllipseSpans(box, kClip, fill);
    EllipseRimSpans(box, kClip, rim);
    Normalize(rim);
    PixelSet f = PixelsOf(fill), r = PixelsOf(rim);
    for (auto p : r) EXPECT_TRUE(f.count(p));
    EXPECT_EQ(PixelsOf(Subtract(Boundary(fill), rim)).size(), 0u);
    std::vector<POINT> ring = RoundedPolygon(box, 25, 15);
    ASSERT_FALSE(ring.empty());
    for (size_t i = 0; i < ring.size(); ++i) {
        const POINT& a = ring[i];
        const POINT& b = ring[(i + 1) % ring.size()];
        EXPECT_LE(std::abs(a.x - b.x), 1);
        EXPECT_LE(std::abs(a.y - b.y), 1);
        EXPECT_TRUE(r.count({a.x, a.y}));
    }
}

TEST(RasterEllipses, HugeBoxesAreWorkedOutOnlyWhereTheyShow) {
    Spans spans;
    EllipseSpans(Box{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kClip, spans);
    EXPECT_EQ(spans.size(), 64u);
    for (const Span& s : spans) {
        EXPECT_EQ(s.x0, 0);
        EXPECT_EQ(s.x1, 64);
    }
    Spans round;
    RoundRectSpans(Box{-100000, 10, 100000, 20}, 50, 50, kClip, round);
    EXPECT_EQ(round.size(), 10u);
}

TEST(RasterArcs, SectorsRunCounterClockwiseFromTheStartRay) {
    Box box{0, 0, 41, 41};
    Spans fill;
    EllipseSpans(box, kClip, fill);
    Normalize(fill);
    // From the ray to the right up to the ray to the top: the top right quarter.
    PixelSet quarter = PixelsOf(Sector(fill, box, 40, 20, 20, 0));
    EXPECT_TRUE(quarter.count({30, 10}));
    EXPECT_FALSE(quarter.count({10, 10}) || quarter.count({30, 30}) || quarter.count({10, 30}));
    // The other way round: three quarters.
    PixelSet rest = PixelsOf(Sector(fill, box, 20, 0, 40, 20));
    EXPECT_FALSE(rest.count({30, 10}));
    EXPECT_TRUE(rest.count({10, 10}) && rest.count({30, 30}) && rest.count({10, 30}));
    EXPECT_EQ(PixelsOf(Sector(fill, box, 40, 20, 40, 20)), PixelsOf(fill)) << "equal rays: a full turn";
}

// Arc end points as the Windows build draws them (found from its pictures).
TEST(RasterArcs, ArcPointsStartAndEndWhereGdiDoes) {
    auto same = [](const POINT& p, LONG x, LONG y) { return p.x == x && p.y == y; };
    auto arcOf = [](const Box& b, int64_t xs, int64_t ys, int64_t xe, int64_t ye) {
        std::vector<POINT> points;
        EXPECT_TRUE(ArcPoints(b, xs, ys, xe, ye, points));
        return points;
    };
    // An even box: rays from the middle pixel (40, 25), outline points from
    // the middle of their own half, so both right middle points look
    // straight right; the arc starts at the upper one.
    std::vector<POINT> arc = arcOf(Box{20, 10, 60, 40}, 1040, 25, 40, -975);
    ASSERT_FALSE(arc.empty());
    EXPECT_TRUE(same(arc.front(), 59, 24));
    EXPECT_TRUE(same(arc.back(), 41, 10));
    // A point exactly on a ray below the centre: not past the start ray,
    // but still before the end ray.
    arc = arcOf(Box{20, 10, 61, 41}, 640, 625, 40, -975);
    ASSERT_FALSE(arc.empty());
    EXPECT_TRUE(same(arc.front(), 53, 36));
    arc = arcOf(Box{20, 10, 61, 41}, 1040, 25, 640, 625);
    ASSERT_FALSE(arc.empty());
    EXPECT_TRUE(same(arc.back(), 52, 37));
    // Rays in one direction through no outline point: the whole way round.
    Box box{20, 10, 61, 41};
    std::set<std::pair<LONG, LONG>> round, outline;
    for (const POINT& p : arcOf(box, 38, 29, -160, 425)) round.insert({p.x, p.y});
    for (const POINT& p : RoundedPolygon(box, 41, 31)) outline.insert({p.x, p.y});
    EXPECT_EQ(round, outline);
    // A box one pixel wide and two high: its quarters are one point each,
    // (40, 30) twice above and (40, 31) twice below. A whole turn from the
    // right ends below (a thin pen draws only the upper pixel), one from
    // the left goes on round to the upper pixel again (it draws both).
    arc = arcOf(Box{40, 30, 41, 32}, 141, 30, 141, 30);
    ASSERT_EQ(arc.size(), 4u);
    EXPECT_TRUE(same(arc.front(), 40, 30) && same(arc[1], 40, 30) && same(arc.back(), 40, 31));
    arc = arcOf(Box{40, 30, 41, 32}, -60, 31, -60, 31);
    ASSERT_EQ(arc.size(), 4u);
    EXPECT_TRUE(same(arc.front(), 40, 30) && same(arc[1], 40, 31) && same(arc.back(), 40, 30));
}

}  // namespace
