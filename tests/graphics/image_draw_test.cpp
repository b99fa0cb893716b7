// Drawing images onto a window and capturing rectangles of it.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "drawing_test_support.h"
#include "graphics.h"
#include "image_test_support.h"

using drawing_test::OutputCatcher;
using drawing_test::Same;
using image_test::WriteRgbFile;

namespace {

// The 2 x 1 picture that decodes to exactly red, blue.
const std::string& RedBlue() {
    static const std::string path =
        WriteRgbFile("draw_red_blue.jpg", 2, 1, {255, 0, 0, 0, 0, 255}, 100, true);
    return path;
}

const color kRed(255, 0, 0), kBlue(0, 0, 255), kWhite(255, 255, 255);

// The drawing test window; its last row and column lie outside the drawing
// area the back buffer is cleared in, so whole-window counts stop short of
// them. Counts read the box in one capture, which is much faster than a
// GetColor a pixel (the draw-back tests check the capture itself).
class ImageDraw : public drawing_test::DrawingTest {
protected:
    static constexpr int kInW = kW - 1;
    static constexpr int kInH = kH - 1;

    std::vector<color> Grab(int x0, int y0, int x1, int y1) {
        image box;
        w->StoreImage(box, x0, y0, x1 - x0, y1 - y0);
        std::vector<color> colours;
        const unsigned char* p = box.Pixels();
        for (int i = 0; i < (x1 - x0) * (y1 - y0); ++i) colours.emplace_back(p[i * 4 + 2], p[i * 4 + 1], p[i * 4]);
        return colours;
    }
    int CountNot(int x0, int y0, int x1, int y1, const color& c) {
        int n = 0;
        for (const color& seen : Grab(x0, y0, x1, y1)) n += Same(seen, c) ? 0 : 1;
        return n;
    }
    int CountIs(int x0, int y0, int x1, int y1, const color& c) {
        return (x1 - x0) * (y1 - y0) - CountNot(x0, y0, x1, y1, c);
    }
};

}  // namespace

TEST_F(ImageDraw, EmptyOrRefusedImagesDrawAndReportNothing) {
    image empty;
    image refused;
    {
        OutputCatcher quiet;
        refused.Load(RedBlue(), IK_CAPTURE);
        quiet.Take();
    }
    OutputCatcher out;
    w->DrawImage(empty, 10, 10, -1, -1);
    w->DrawImage(&empty, 10, 10, 30, 30);
    w->DrawImage(refused, 10, 10, -1, -1);
    w->DrawImage(refused, 10, 10, 30, 30);
    w->DrawImage(static_cast<const image*>(nullptr), 10, 10, -1, -1);  // no image at all
    w->StoreImage(static_cast<image*>(nullptr), 0, 0, 5, 5);
    EXPECT_EQ(out.Take(), "");
    EXPECT_EQ(CountNot(0, 0, kInW, kInH, kWhite), 0);
}

TEST_F(ImageDraw, UnknownKindIsReportedAndNotDrawn) {
    image pic(RedBlue(), IK_JPEG);
    ImageTestAccess::SetKind(pic, 7);
    OutputCatcher out;
    w->DrawImage(pic, 10, 10, -1, -1);
    w->DrawImage(pic, 10, 10, 20, 20);
    EXPECT_EQ(out.Take(), "Fatal Error: Unsupported image type!\nFatal Error: Unsupported image type!\n");
    EXPECT_EQ(CountNot(0, 0, kInW, kInH, kWhite), 0);
}

TEST_F(ImageDraw, NaturalSizeWhenEitherSizeIsMinusOne) {
    image pic(RedBlue(), IK_JPEG);
    OutputCatcher out;
    w->DrawImage(pic, 10, 10, -1, -1);
    w->DrawImage(&pic, 20, 30, -1, 50);
    w->DrawImage(pic, 40, 50, 60, -1);
    EXPECT_EQ(out.Take(), "");
    for (auto [x, y] : {std::pair{10, 10}, {20, 30}, {40, 50}}) {
        EXPECT_COLOR(kRed, At(x, y));
        EXPECT_COLOR(kBlue, At(x + 1, y));
    }
    // Exactly two pixels each: six in all.
    EXPECT_EQ(CountNot(0, 0, kInW, kInH, kWhite), 6);
}

TEST_F(ImageDraw, StretchedFillsTheGivenRectangle) {
    image pic(RedBlue(), IK_JPEG);
    OutputCatcher out;
    w->DrawImage(pic, 10, 20, 40, 10);
    EXPECT_EQ(out.Take(), "");
    EXPECT_EQ(CountIs(10, 20, 30, 30, kRed), 200);   // left half red
    EXPECT_EQ(CountIs(30, 20, 50, 30, kBlue), 200);  // right half blue
    EXPECT_EQ(CountNot(0, 0, kInW, kInH, kWhite), 400);  // nothing outside
}

TEST_F(ImageDraw, EmptyDestinationDrawsNothing) {
    image pic(RedBlue(), IK_JPEG);
    OutputCatcher out;
    w->DrawImage(pic, 10, 10, 0, 0);
    w->DrawImage(pic, 10, 10, 0, 20);
    EXPECT_EQ(out.Take(), "");  // an empty copy is no failure
    EXPECT_EQ(CountNot(0, 0, kInW, kInH, kWhite), 0);
}

TEST_F(ImageDraw, CaptureHoldsTheRectangleAsBlueGreenRedZero) {
    w->SetPen(color(10, 20, 30), 0);
    w->SetBrush(color(10, 20, 30));
    w->DrawRectangle(20, 10, 30, 15, STYLE_FILLED, 0, 0);  // 10 x 5
    image cap;
    OutputCatcher out;
    w->StoreImage(cap, 18, 10, 14, 6);
    EXPECT_EQ(out.Take(), "");
    EXPECT_EQ(cap.Kind(), IK_CAPTURE);
    EXPECT_EQ(cap.Width(), 14);
    EXPECT_EQ(cap.Height(), 6);
    ASSERT_NE(cap.Header(), nullptr);
    EXPECT_EQ(cap.Header()->biSize, 40u);
    EXPECT_EQ(cap.Header()->biWidth, 14);
    EXPECT_EQ(cap.Header()->biHeight, -6);
    EXPECT_EQ(cap.Header()->biBitCount, 32);
    ASSERT_NE(cap.Pixels(), nullptr);
    const unsigned char* p = cap.Pixels();
    auto pixel = [&](int x, int y) { return std::vector<unsigned char>(p + (y * 14 + x) * 4, p + (y * 14 + x) * 4 + 4); };
    EXPECT_EQ(pixel(0, 0), (std::vector<unsigned char>{255, 255, 255, 0}));   // left of the box
    EXPECT_EQ(pixel(2, 0), (std::vector<unsigned char>{30, 20, 10, 0}));      // its top-left corner
    EXPECT_EQ(pixel(11, 4), (std::vector<unsigned char>{30, 20, 10, 0}));     // its bottom-right corner
    EXPECT_EQ(pixel(12, 4), (std::vector<unsigned char>{255, 255, 255, 0}));
    EXPECT_EQ(pixel(5, 5), (std::vector<unsigned char>{255, 255, 255, 0}));   // below it: top row first
}

TEST_F(ImageDraw, CaptureDrawnBackRestoresTheRectangle) {
    image pic(WriteRgbFile("draw_pattern.jpg", 30, 20, image_test::Pattern(30, 20), 90), IK_JPEG);
    w->DrawImage(pic, 5, 5, -1, -1);
    w->SetBrush(ORANGE);
    w->DrawEllipse(20, 15, 60, 50, STYLE_FILLED);
    std::vector<color> before;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 70; ++x) before.push_back(At(x, y));

    image cap;
    w->StoreImage(&cap, 0, 0, 70, 50);
    w->SetPen(BLACK, 0);
    w->SetBrush(BLACK);
    w->DrawRectangle(0, 0, 70, 50, STYLE_FILLED, 0, 0);
    ASSERT_EQ(CountIs(0, 0, 70, 50, color(0, 0, 0)), 70 * 50);
    OutputCatcher out;
    w->DrawImage(cap, 0, 0, -1, -1);
    EXPECT_EQ(out.Take(), "");
    int differ = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 70; ++x)
            if (!Same(At(x, y), before[y * 70 + x])) ++differ;
    EXPECT_EQ(differ, 0);

    // A copy of the capture draws the same.
    image copy(cap);
    w->DrawImage(copy, 70, 0, -1, -1);
    for (int y = 0; y < 50; y += 7)
        for (int x = 0; x < 50; x += 7) EXPECT_PRED2(Same, At(70 + x, y), before[y * 70 + x]);
}

TEST_F(ImageDraw, RecapturingReplacesThePicture) {
    image cap(RedBlue(), IK_JPEG);
    w->StoreImage(cap, 0, 0, 5, 4);
    EXPECT_EQ(cap.Width(), 5);
    w->StoreImage(cap, 0, 0, 9, 1);
    EXPECT_EQ(cap.Width(), 9);
    EXPECT_EQ(cap.Height(), 1);
    EXPECT_EQ(cap.Header()->biHeight, -1);
    EXPECT_EQ(cap.Pixels()[0], 255);
}

// The game's window size, for the bounds rule.
class ImageStoreBounds : public testing::Test {
protected:
    void SetUp() override {
        w = std::make_unique<window>(1000, 720, 0, 0);
        w->SetWaitOnClose(false);
        w->SetBuffering(true);
    }
    void TearDown() override {
        w->SetBuffering(false);
        w.reset();
    }
    std::unique_ptr<window> w;
};

TEST_F(ImageStoreBounds, RectanglesTouchingTheEdgesAreAccepted) {
    image cap;
    OutputCatcher out;
    w->StoreImage(cap, 900, 700, 100, 20);
    w->StoreImage(cap, 0, 0, 1000, 720);
    EXPECT_EQ(out.Take(), "");
    EXPECT_EQ(cap.Width(), 1000);
    EXPECT_EQ(cap.Height(), 720);
    EXPECT_EQ(cap.Pixels()[0], 255);
    EXPECT_EQ(cap.Pixels()[(1000 * 719 - 2) * 4], 255);  // inside the cleared area
}

TEST_F(ImageStoreBounds, RectanglesPastAnEdgeAreRefusedAndLeaveTheImage) {
    image cap;
    w->StoreImage(cap, 10, 10, 3, 2);
    const unsigned char* pixels = cap.Pixels();
    const std::string refusal = "Fatal Error: StoreImage selection extends outside the window!\n";
    for (auto [x, y, width, height] : {std::tuple<uint32_t, uint16_t, uint16_t, uint16_t>{901, 0, 100, 1},
                                       {0, 701, 1, 20},
                                       {1000, 0, 1, 1},
                                       {0, 0, 1001, 720},
                                       // x + width wraps around in 32 bits to 1
                                       {0xFFFFFFFFu, 0, 2, 1},
                                       {0, 0xFFFF, 1, 2}}) {
        OutputCatcher out;
        w->StoreImage(&cap, x, y, width, height);
        EXPECT_EQ(out.Take(), refusal) << x << "," << y << " " << width << "x" << height;
        EXPECT_EQ(cap.Width(), 3);
        EXPECT_EQ(cap.Height(), 2);
        EXPECT_EQ(cap.Pixels(), pixels);
    }
}

// A photo-like picture (smooth shading with a gentle texture) drawn at a
// third of its size keeps its colours: every pixel is close to the average
// of the 3 x 3 block it stands for, as a smooth downscale would give. Rows
// and columns ANDed together instead come out posterised and dark.
TEST_F(ImageDraw, ShrunkPhotoKeepsItsColours) {
    const int sw = 216, sh = 162, f = 3;
    std::vector<unsigned char> rgb(static_cast<size_t>(sw) * sh * 3);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x) {
            double texture = 24.0 * std::sin(x * 0.35) * std::cos(y * 0.3);
            unsigned char* p = &rgb[(static_cast<size_t>(y) * sw + x) * 3];
            p[0] = static_cast<unsigned char>(60 + x * 0.6 + texture);
            p[1] = static_cast<unsigned char>(70 + y * 0.8 - texture);
            p[2] = static_cast<unsigned char>(150 + texture);
        }
    image photo(WriteRgbFile("draw_photo.jpg", sw, sh, rgb, 95), IK_JPEG);
    ASSERT_EQ(photo.Width(), sw);

    w->DrawImage(photo, 0, 0, sw / f, sh / f);
    std::vector<color> shown = Grab(0, 0, sw / f, sh / f);

    const unsigned char* src = photo.Pixels();  // blue, green, red, 0
    double error = 0;
    for (int y = 0; y < sh / f; ++y)
        for (int x = 0; x < sw / f; ++x) {
            double mean[3] = {0, 0, 0};
            for (int dy = 0; dy < f; ++dy)
                for (int dx = 0; dx < f; ++dx)
                    for (int c = 0; c < 3; ++c)
                        mean[c] += src[((static_cast<size_t>(y) * f + dy) * sw + x * f + dx) * 4 + c] / double(f * f);
            const color& seen = shown[static_cast<size_t>(y) * (sw / f) + x];
            error += std::fabs(seen.blue - mean[0]) + std::fabs(seen.green - mean[1]) + std::fabs(seen.red - mean[2]);
        }
    error /= 3.0 * (sw / f) * (sh / f);
    EXPECT_LT(error, 6.0) << "mean error per channel against a smooth downscale";
}

TEST_F(ImageDraw, WithoutASizeDrawsAtNaturalSize) {
    image pic(RedBlue(), IK_JPEG);
    w->DrawImage(pic, 10, 20);
    w->DrawImage(&pic, 30, 40);
    EXPECT_TRUE(Same(At(10, 20), kRed));
    EXPECT_TRUE(Same(At(11, 20), kBlue));
    EXPECT_TRUE(Same(At(30, 40), kRed));
    EXPECT_EQ(CountNot(0, 0, kInW, kInH, kWhite), 4);
}
