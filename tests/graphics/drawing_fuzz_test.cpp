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
#include "image_test_support.h"

namespace {

using drawing_test::OutputCatcher;

class DrawingFuzzTest : public drawing_test::DrawingTest {
protected:
    // After the wild calls the window still works: a plain box comes out
    // right, inside and on its outline.
    void ExpectStillDraws() {
        w->SetPen(BLACK, 1);
        w->SetBrush(GREEN);
        w->DrawRectangle(10, 10, 30, 30, STYLE_FILLED, 0, 0);
        EXPECT_COLOR(GREEN, At(20, 20));
        EXPECT_COLOR(BLACK, At(10, 20));
    }
};

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
    ExpectStillDraws();
}

// Every public operation with hostile arguments: NaN, infinite and huge
// fractions and numbers, INT_MIN and INT_MAX coordinates and sizes, empty
// and null strings and arrays, zero and negative sizes, no image at all.
// The sanitizer build (float-cast-overflow included) fails on any undefined
// conversion or stray memory access.
TEST_F(DrawingFuzzTest, HostileArgumentsToEveryOperationAreHarmless) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double fractions[] = {nan, inf, -inf, 1e300, -1e300, 8.5e6, -8.5e6, 0.0, 1.0, -0.0};
    const int32_t ends[] = {INT32_MIN, INT32_MIN + 1, -65536, -1, 0, 1, 65535, 65536, INT32_MAX - 1, INT32_MAX};
    const uint16_t sides[] = {0, 1, 65535, 120, 90, 32768};

    image small(image_test::WriteRgbFile("fuzz_small.jpg", 2, 1, {255, 0, 0, 0, 0, 255}), IK_JPEG);
    image empty;
    image capture;
    std::mt19937 rng(7);
    auto fraction = [&] { return fractions[rng() % 10]; };
    auto end = [&] { return ends[rng() % 10]; };
    auto side = [&] { return sides[rng() % 6]; };

    OutputCatcher out;
    for (int round = 0; round < 400; ++round) {
        w->SetPen(fraction(), fraction(), fraction(), end());
        w->SetBrush(fraction(), fraction(), fraction());
        w->SetFont(end(), static_cast<uint16_t>(rng()), end(), rng() % 2 ? nullptr : "");
        switch (rng() % 9) {
            case 0:
                w->DrawString(end(), end(), rng() % 2 ? nullptr : "");
                w->DrawString(end(), end(), std::string());
                break;
            case 1: {
                w->DrawNumber(end(), end(), fraction());
                w->DrawNumber(end(), end(), end());
                int width = -1, height = -1;
                w->GetNumberSize(width, height, fraction());
                EXPECT_GE(width, 0);
                w->GetStringSize(width, height, static_cast<const char*>(nullptr));
                EXPECT_GE(height, 0);
                break;
            }
            case 2:
                w->DrawImage(static_cast<const image*>(nullptr), end(), end(), end(), end());
                w->DrawImage(empty, end(), end(), -1, -1);
                w->DrawImage(small, end(), end(), rng() % 3 ? end() : -1, end());
                break;
            case 3:
                w->StoreImage(static_cast<image*>(nullptr), static_cast<uint32_t>(end()), side(), side(), side());
                w->StoreImage(capture, static_cast<uint32_t>(end()), side(), side(), side());
                // Whatever was refused, the picture's size matches its pixels.
                if (capture.Pixels() != nullptr) {
                    image copy(capture);
                    EXPECT_EQ(copy.Width(), capture.Width());
                }
                break;
            case 4:
                w->DrawPolygon(nullptr, nullptr, rng() % 2 ? 0 : end(), STYLE_FILLED);
                break;
            case 5:
                w->DrawArc(end(), end(), end(), end(), fraction(), fraction(), STYLE_FILLED, static_cast<int>(rng() % 3));
                break;
            case 6: {
                double red = 0, green = 0, blue = 0;
                w->GetColorLevels(end(), end(), red, green, blue);
                EXPECT_GE(red, 0.0);
                EXPECT_LE(blue, 1.0);
                break;
            }
            case 7:
                w->DrawRectangle(end(), end(), end(), end(), STYLE_INVERTED, end(), end());
                w->DrawCircle(end(), end(), end(), STYLE_FRAME);
                break;
            default:
                w->SetTitle(rng() % 2 ? nullptr : "");
                w->UpdateBuffer();
                break;
        }
    }
    out.Take();
    ExpectStillDraws();
}

}  // namespace

#endif
