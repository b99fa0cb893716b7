// Pictures at the edges of what the library takes: headers that claim huge
// sizes, a folder given as a file name, and a capture whose buffers cannot
// be allocated.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "drawing_test_support.h"
#include "graphics.h"
#include "image_test_support.h"
#include "jpeg_mutator.h"

#ifndef _WIN32
#include "alloc_faults.h"
#endif

namespace {

using image_test::ScratchPath;

// A small real picture whose frame header is then made to claim
// width x height pixels: a file of a few hundred bytes.
std::string HugeHeaderFile(const std::string& name, unsigned width, unsigned height, bool progressive) {
    std::vector<unsigned char> rgb = image_test::Pattern(16, 16);
    std::string path = ScratchPath(name);
    bool written = progressive ? jpeg_writer::WriteRgbProgressive(path, 16, 16, rgb.data(), 75)
                               : jpeg_writer::WriteRgb(path, 16, 16, rgb.data(), 75);
    EXPECT_TRUE(written);
    std::vector<unsigned char> bytes = jpeg_writer::ReadBytes(path);
    EXPECT_TRUE(jpeg_mutator::SetFrameSize(bytes, width, height)) << path;
    EXPECT_TRUE(jpeg_writer::WriteBytes(path, bytes));
    return path;
}

error ThrownByLoading(const std::string& name) {
    try {
        image img(name, IK_JPEG);
    } catch (error code) {
        return code;
    }
    ADD_FAILURE() << name << " loaded";
    return ERR_ALLOCATION;
}

}  // namespace

// A header claiming more pixels than a picture may have ends the process
// the way a corrupt file does, with a message naming the file, before the
// decoder allocates or reads anything for it (it used to take minutes and
// gigabytes first).
TEST(ImageLimitsDeathTest, HugeHeadersEndWithStatusOneNamingTheFile) {
    struct Case {
        const char* name;
        unsigned width, height;
        bool progressive;
    } cases[] = {{"huge_65500.jpg", 65500, 65500, false},
                 {"huge_30000.jpg", 30000, 30000, false},
                 {"huge_65500x4100.jpg", 65500, 4100, false},
                 {"huge_progressive.jpg", 65500, 65500, true}};
    for (const Case& c : cases) {
        // (On Windows the dying child runs the test afresh and writes the
        // file under a scratch name of its own: the name ends the same.)
        std::string path = HugeHeaderFile(c.name, c.width, c.height, c.progressive);
        EXPECT_EXIT(image(path, IK_JPEG), testing::ExitedWithCode(1),
                    testing::AllOf(testing::HasSubstr(std::string(c.name) + ": picture of"), testing::HasSubstr("pixels"),
                                   testing::Not(testing::HasSubstr("Premature end"))))
            << c.name;
    }
}

// A folder cannot be read as a file: it counts as a file that cannot be
// opened, on every system, and the line on standard error says it is a
// folder.
TEST(ImageLimits, FolderAsFileNameThrowsNoFile) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(ThrownByLoading("."), ERR_NO_FILE);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "graphics: cannot open picture \".\": it is a folder\n");
    EXPECT_EQ(ThrownByLoading(::testing::TempDir()), ERR_NO_FILE);
    uint16_t width = 0, height = 0;
    unsigned char* rows = nullptr;
    EXPECT_EQ(DecodeJpegFile(".", &width, &height, &rows), -1);
}

#ifndef _WIN32
class ImageLimitsCapture : public drawing_test::DrawingTest {
protected:
    void TearDown() override {
        alloc_faults::Disarm();
        DrawingTest::TearDown();
    }
};

// A capture whose header or pixels cannot be allocated throws and leaves
// the image's picture whole: size, header and pixels still agree, so a copy
// reads only what is there.
TEST_F(ImageLimitsCapture, FailedAllocationLeavesTheOldPictureWhole) {
    w->SetBrush(0.0, 0.0, 1.0);
    w->DrawRectangle(0, 0, 10, 10, STYLE_FILLED, 0, 0);
    image pic;
    w->StoreImage(pic, 0, 0, 4, 3);
    ASSERT_NE(pic.Pixels(), nullptr);

    for (size_t failing : {sizeof(BITMAPINFOHEADER), size_t{7 * 5 * 4}}) {
        alloc_faults::FailNextOfSize(failing);
        EXPECT_THROW(w->StoreImage(pic, 0, 0, 7, 5), error) << failing;
        EXPECT_TRUE(alloc_faults::Disarm()) << failing;
        EXPECT_EQ(pic.Width(), 4);
        EXPECT_EQ(pic.Height(), 3);
        ASSERT_NE(pic.Pixels(), nullptr);
        ASSERT_NE(pic.Header(), nullptr);
        EXPECT_EQ(pic.Header()->biWidth, 4);
        EXPECT_EQ(pic.Header()->biHeight, -3);
        image copy(pic);
        EXPECT_EQ(std::vector<unsigned char>(copy.Pixels(), copy.Pixels() + 48),
                  std::vector<unsigned char>(pic.Pixels(), pic.Pixels() + 48));
        EXPECT_EQ(copy.Pixels()[0], 255);  // blue, as captured
    }
    // And the next capture works.
    w->StoreImage(pic, 0, 0, 7, 5);
    EXPECT_EQ(pic.Width(), 7);
}
#endif
