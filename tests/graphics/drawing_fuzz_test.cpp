// Randomised calls of the public drawing interface with wild coordinates,
// sizes, counts, angles and font sizes. Nothing may crash, hang or write
// outside its surface (the sanitizer build watches the memory), and the
// window keeps working afterwards.
//
// Linux only: the platform's own GDI (Wine's) spends gigabytes of memory
// and minutes on shapes billions of pixels wide, and that is not ours to test.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <random>

#include "drawing_test_support.h"
#include "graphics.h"
#include "image_test_support.h"
#include "wild_calls.h"

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

// The interface's promises, as test expectations.
void Expect(bool holds, const char* what) { EXPECT_TRUE(holds) << what; }

TEST_F(DrawingFuzzTest, WildCallsNeitherCrashNorWriteOutsideTheSurface) {
    std::mt19937 rng(20261208);
    wild_calls::Points points;
    OutputCatcher out;  // invalid styles and refused calls report; that is fine
    for (int round = 0; round < 1500; ++round) wild_calls::Shape(*w, rng, Expect, points);
    out.Take();
    ExpectStillDraws();
}

// Every public operation with hostile arguments (wild_calls::Hostile). The
// sanitizer build (float-cast-overflow included) fails on any undefined
// conversion or stray memory access.
TEST_F(DrawingFuzzTest, HostileArgumentsToEveryOperationAreHarmless) {
    image small(image_test::WriteRgbFile("fuzz_small.jpg", 2, 1, {255, 0, 0, 0, 0, 255}), IK_JPEG);
    wild_calls::Pictures pictures;
    pictures.small = &small;
    std::mt19937 rng(7);
    OutputCatcher out;
    for (int round = 0; round < 400; ++round) wild_calls::Hostile(*w, rng, Expect, pictures);
    out.Take();
    ExpectStillDraws();
}

}  // namespace

#endif
