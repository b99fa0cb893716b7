// Randomised calls of the public drawing interface with wild coordinates,
// sizes, counts, angles and font sizes. Nothing may crash, hang or write
// outside its surface (the sanitizer build watches the memory), and the
// window keeps working afterwards.
//
// Linux only: the platform's own GDI (Wine's) spends gigabytes of memory
// and minutes on shapes billions of pixels wide, and that is not ours to test.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "drawing_test_support.h"
#include "graphics.h"

namespace {

using drawing_test::OutputCatcher;

class DrawingFuzzTest : public drawing_test::DrawingTest {};

// Coordinates: mostly near the window, sometimes anywhere in 32 bits.
int32_t Wild(std::mt19937& rng) {
    static const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -65536, -1, 0, 1, 65535, 65536, INT32_MAX - 1,
                                       INT32_MAX};
    switch (rng() % 4) {
        case 0: return extremes[rng() % 10];
        case 1: return static_cast<int32_t>(rng());
        default: return static_cast<int32_t>(rng() % 400) - 140;
    }
}

double WildAngle(std::mt19937& rng) {
    static const double extremes[] = {0.0, -0.0, 1e300, -1e300, std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::quiet_NaN(), 360.0, -720.0};
    if (rng() % 4 == 0) return extremes[rng() % 8];
    return static_cast<double>(static_cast<int32_t>(rng() % 1440) - 720);
}

drawstyle AnyStyle(std::mt19937& rng) { return static_cast<drawstyle>(static_cast<int>(rng() % 5)); }

TEST_F(DrawingFuzzTest, WildCallsNeitherCrashNorWriteOutsideTheSurface) {
    std::mt19937 rng(20261208);
    std::vector<int32_t> xs(300), ys(300);
    OutputCatcher out;  // invalid styles and refused calls report; that is fine
    for (int round = 0; round < 1500; ++round) {
        int pen = static_cast<int>(rng() % 4 == 0 ? rng() % 200 : rng() % 10);
        w->SetPen(color(static_cast<int>(rng()), static_cast<int>(rng()), static_cast<int>(rng())), pen);
        w->SetBrush(color(static_cast<int>(rng()), static_cast<int>(rng()), static_cast<int>(rng())));
        switch (rng() % 11) {
            case 0: w->DrawPoint(Wild(rng), Wild(rng)); break;
            case 1: w->DrawLine(Wild(rng), Wild(rng), Wild(rng), Wild(rng), AnyStyle(rng)); break;
            case 2:
                w->DrawRectangle(Wild(rng), Wild(rng), Wild(rng), Wild(rng), AnyStyle(rng),
                                 rng() % 3 ? 0 : Wild(rng), rng() % 3 ? 0 : Wild(rng));
                break;
            case 3: w->DrawTriangle(Wild(rng), Wild(rng), Wild(rng), Wild(rng), Wild(rng), Wild(rng), AnyStyle(rng)); break;
            case 4: {
                int count = static_cast<int>(rng() % 300);
                if (rng() % 10 == 0) count = -static_cast<int>(rng() % 5);
                for (int i = 0; i < 300; ++i) {
                    xs[i] = Wild(rng);
                    ys[i] = Wild(rng);
                }
                w->DrawPolygon(xs.data(), ys.data(), count, AnyStyle(rng));
                break;
            }
            case 5: w->DrawCircle(Wild(rng), Wild(rng), Wild(rng), AnyStyle(rng)); break;
            case 6: w->DrawEllipse(Wild(rng), Wild(rng), Wild(rng), Wild(rng), AnyStyle(rng)); break;
            case 7:
                w->DrawArc(Wild(rng), Wild(rng), Wild(rng), Wild(rng), WildAngle(rng), WildAngle(rng), AnyStyle(rng),
                           static_cast<int>(rng() % 3));
                break;
            case 8:
                w->DrawBezier(Wild(rng), Wild(rng), Wild(rng), Wild(rng), Wild(rng), Wild(rng), Wild(rng), Wild(rng),
                              AnyStyle(rng));
                break;
            case 9: {
                int size = rng() % 5 == 0 ? Wild(rng) : static_cast<int>(rng() % 120) - 60;
                w->SetFont(size, static_cast<uint16_t>(rng() % 16), static_cast<int>(rng() % 7) - 1,
                           rng() % 2 ? nullptr : "Arial");
                char text[40];
                for (char& c : text) c = static_cast<char>(1 + rng() % 255);
                text[rng() % 40] = '\0';
                text[39] = '\0';
                w->DrawString(Wild(rng), Wild(rng), text);
                int width = 0, height = 0;
                w->GetStringSize(width, height, text);
                EXPECT_GE(width, 0);
                EXPECT_GE(height, 0);
                break;
            }
            default: {
                color c = w->GetColor(Wild(rng), Wild(rng));
                (void)c;
                if (rng() % 20 == 0) w->UpdateBuffer();
                break;
            }
        }
    }
    out.Take();
    // Still a working window: a plain box comes out right.
    w->SetPen(BLACK, 1);
    w->SetBrush(GREEN);
    w->DrawRectangle(10, 10, 30, 30, STYLE_FILLED, 0, 0);
    EXPECT_COLOR(GREEN, At(20, 20));
    EXPECT_COLOR(BLACK, At(10, 20));
}

}  // namespace

#endif
