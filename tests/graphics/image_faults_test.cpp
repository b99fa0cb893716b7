// Platform failures inside DrawImage and StoreImage: each is reported with
// its own fatal error message and the operation goes on.
//
// Linux only: failures are injected through the project's own platform
// layer (platform_faults.h); the real Windows GDI cannot be made to fail.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <string>

#include "drawing_test_support.h"
#include "graphics.h"
#include "image_test_support.h"
#include "platform_faults.h"

using drawing_test::OutputCatcher;

namespace {

class ImageFaults : public drawing_test::DrawingTest {
protected:
    void TearDown() override {
        platform_faults::ClearAll();
        DrawingTest::TearDown();
    }
};

}  // namespace

TEST_F(ImageFaults, FailedTransfersAreReportedByName) {
    image pic(image_test::WriteRgbFile("faults_red_blue.jpg", 2, 1, {255, 0, 0, 0, 0, 255}, 100, true), IK_JPEG);
    OutputCatcher out;
    platform_faults::FailNext("SetDIBitsToDevice");
    w->DrawImage(pic, 5, 5, -1, -1);
    platform_faults::FailNext("StretchDIBits");
    w->DrawImage(pic, 5, 5, 20, 10);
    w->DrawImage(pic, 5, 5, 20, 10);  // the next one succeeds
    EXPECT_EQ(out.Take(),
              "Fatal Error: Failed to SetDIBitsToDevice in DrawImage!\n"
              "Fatal Error: Failed to StretchDIBits in DrawImage!\n");
    EXPECT_PRED2(drawing_test::Same, At(6, 6), color(255, 0, 0));
}

TEST_F(ImageFaults, CaptureGoesOnPastEachReportedFailure) {
    image cap;
    OutputCatcher out;
    platform_faults::FailNext("BitBlt");
    platform_faults::FailNext("GetDIBits");
    platform_faults::FailNext("DeleteObject");
    platform_faults::FailNext("DeleteDC");
    w->StoreImage(cap, 0, 0, 4, 3);
    EXPECT_EQ(out.Take(),
              "Fatal Error: Failed to BitBlt in StoreImage!\n"
              "Fatal Error: Failed to GetDIBits in StoreImage!\n"
              "Fatal Error: Failed to delete imgThis->bmapTempBuffer in StoreImage!\n"
              "Fatal Error: Failed to delete imgThis->dcTempBuffer in StoreImage!\n");
    // The picture's fields are set all the same.
    EXPECT_EQ(cap.Kind(), IK_CAPTURE);
    EXPECT_EQ(cap.Width(), 4);
    EXPECT_EQ(cap.Height(), 3);
    EXPECT_NE(cap.Pixels(), nullptr);
}

TEST_F(ImageFaults, UnreportedCreationFailuresStillEndInReportsNotCrashes) {
    // Creating the scratch context and bitmap is not checked; the copy and
    // read that follow fail on the missing objects and are reported.
    image cap;
    OutputCatcher out;
    platform_faults::FailNext("CreateCompatibleDC");
    platform_faults::FailNext("CreateCompatibleBitmap");
    w->StoreImage(cap, 0, 0, 4, 3);
    std::string text = out.Take();
    EXPECT_NE(text.find("Fatal Error: Failed to BitBlt in StoreImage!"), std::string::npos) << text;
    EXPECT_NE(text.find("Fatal Error: Failed to GetDIBits in StoreImage!"), std::string::npos) << text;
}

#endif
