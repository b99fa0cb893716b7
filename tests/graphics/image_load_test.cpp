// Loading JPEG files into images, copying images, and what happens with
// files that are absent, refused, unusual or broken.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "graphics.h"
#include "image_test_support.h"

using image_test::Pattern;
using image_test::ScratchPath;
using image_test::WriteRgbFile;

namespace {

// The red and blue 2 x 1 picture many loader tests start from, stored
// without a colour transform at the highest quality so that it decodes to
// exactly (255, 0, 0) and (0, 0, 255).
std::string RedBluePath() {
    static const std::string path = WriteRgbFile("red_blue.jpg", 2, 1, {255, 0, 0, 0, 0, 255}, 100, true);
    return path;
}

void ExpectHeader(const image& img, int width, int height) {
    const BITMAPINFOHEADER* h = img.Header();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->biSize, 40u);
    EXPECT_EQ(h->biWidth, width);
    EXPECT_EQ(h->biHeight, -height);
    EXPECT_EQ(h->biPlanes, 1);
    EXPECT_EQ(h->biBitCount, 32);
    EXPECT_EQ(h->biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(h->biSizeImage, 0u);
    EXPECT_EQ(h->biXPelsPerMeter, 0);
    EXPECT_EQ(h->biYPelsPerMeter, 0);
    EXPECT_EQ(h->biClrUsed, 0u);
    EXPECT_EQ(h->biClrImportant, 0u);
}

std::vector<unsigned char> PixelBytes(const image& img) {
    const unsigned char* p = img.Pixels();
    return std::vector<unsigned char>(p, p + static_cast<size_t>(img.Width()) * 4 * img.Height());
}

}  // namespace

TEST(ImageLoad, RedBluePictureGivesBlueGreenRedZeroBytesTopRowFirst) {
    image img(RedBluePath().c_str(), IK_JPEG);
    EXPECT_EQ(img.Width(), 2);
    EXPECT_EQ(img.Height(), 1);
    EXPECT_EQ(img.Kind(), IK_JPEG);
    ExpectHeader(img, 2, 1);
    ASSERT_NE(img.Pixels(), nullptr);
    EXPECT_EQ(PixelBytes(img), (std::vector<unsigned char>{0, 0, 255, 0, 255, 0, 0, 0}));
}

TEST(ImageLoad, RowsAreTopFirstAndEveryFourthByteIsZero) {
    // Top half white, bottom half black: rows must not come out upside down.
    const int w = 16, h = 16;
    std::vector<unsigned char> rgb(w * h * 3, 0);
    for (int i = 0; i < w * (h / 2) * 3; ++i) rgb[i] = 255;
    image img(WriteRgbFile("halves.jpg", w, h, rgb), IK_JPEG);
    ASSERT_EQ(img.Width(), w);
    ASSERT_EQ(img.Height(), h);
    const unsigned char* p = img.Pixels();
    EXPECT_GT(p[0], 240);                           // top-left: white
    EXPECT_LT(p[(h - 1) * w * 4], 15);              // bottom-left: black
    for (int i = 3; i < w * h * 4; i += 4) ASSERT_EQ(p[i], 0) << "byte " << i;
}

TEST(ImageLoad, StringOverloadsLoadTheSamePicture) {
    image fromCString(RedBluePath().c_str(), IK_JPEG);
    image fromString(RedBluePath(), IK_JPEG);
    image later;
    later.Load(RedBluePath(), IK_JPEG);
    EXPECT_EQ(PixelBytes(fromString), PixelBytes(fromCString));
    EXPECT_EQ(PixelBytes(later), PixelBytes(fromCString));
}

TEST(ImageLoad, AbsentFileThrowsNoFileAndWritesNothing) {
    ASSERT_FALSE(std::ifstream("PictureFiles/background1.jpg").good()) << "test needs the file absent here";
    testing::internal::CaptureStdout();
    bool thrown = false;
    try {
        image img("PictureFiles/background1.jpg", IK_JPEG);
    } catch (error e) {
        thrown = true;
        EXPECT_EQ(e, ERR_NO_FILE);
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(ImageLoad, UnopenedPictureIsNamedOnStandardError) {
    const std::string missing = ScratchPath("not_there.jpg");
    testing::internal::CaptureStderr();
    EXPECT_THROW(image(missing, IK_JPEG), error);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("\"" + missing + "\""), std::string::npos) << said;
    EXPECT_NE(said.find(std::strerror(ENOENT)), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

    testing::internal::CaptureStderr();
    EXPECT_THROW(image(static_cast<const char*>(nullptr), IK_JPEG), error);
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no file name"), std::string::npos) << said;
}

TEST(ImageLoad, AbsentOrEmptyNameKeepsSizeWithFreshHeaderAndNoPixels) {
    image img(RedBluePath(), IK_JPEG);
    EXPECT_THROW(img.Load(ScratchPath("no_such_file.jpg"), IK_JPEG), error);
    EXPECT_EQ(img.Width(), 2);  // sizes stay as they were
    EXPECT_EQ(img.Height(), 1);
    EXPECT_EQ(img.Pixels(), nullptr);
    ASSERT_NE(img.Header(), nullptr);
    EXPECT_EQ(img.Header()->biSize, 40u);
    EXPECT_EQ(img.Header()->biWidth, 0);  // fresh, not yet sized

    EXPECT_THROW(img.Load("", IK_JPEG), error);
    EXPECT_EQ(img.Pixels(), nullptr);
}

TEST(ImageLoad, NullNameThrowsNoFileAndLeavesTheImageAlone) {
    try {
        image img(static_cast<const char*>(nullptr), IK_JPEG);
        ADD_FAILURE() << "no exception";
    } catch (error e) {
        EXPECT_EQ(e, ERR_NO_FILE);
    }
    image img(RedBluePath(), IK_JPEG);
    const unsigned char* before = img.Pixels();
    try {
        img.Load(static_cast<const char*>(nullptr), IK_JPEG);
        ADD_FAILURE() << "no exception";
    } catch (error e) {
        EXPECT_EQ(e, ERR_NO_FILE);
    }
    EXPECT_EQ(img.Pixels(), before);
    EXPECT_EQ(PixelBytes(img), (std::vector<unsigned char>{0, 0, 255, 0, 255, 0, 0, 0}));
}

TEST(ImageLoad, CaptureKindIsRefusedWithAReportAndNoPixels) {
    image img(RedBluePath(), IK_JPEG);
    testing::internal::CaptureStdout();
    img.Load(RedBluePath(), IK_CAPTURE);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Fatal Error: Unsupported image type!\n");
    EXPECT_EQ(img.Kind(), IK_CAPTURE);
    EXPECT_EQ(img.Pixels(), nullptr);
    ASSERT_NE(img.Header(), nullptr);
    EXPECT_EQ(img.Header()->biBitCount, 32);
}

TEST(ImageCopy, EmptyCopiesAreEmpty) {
    image empty;
    image copy(empty);
    EXPECT_EQ(copy.Width(), 0);
    EXPECT_EQ(copy.Height(), 0);
    EXPECT_EQ(copy.Pixels(), nullptr);

    image assigned(RedBluePath(), IK_JPEG);
    assigned = empty;
    EXPECT_EQ(assigned.Width(), 0);
    EXPECT_EQ(assigned.Pixels(), nullptr);
}

TEST(ImageCopy, CopiesOwnTheirPixelsAndRebuildTheHeader) {
    image original(WriteRgbFile("pattern_copy.jpg", 9, 7, Pattern(9, 7)), IK_JPEG);
    image copy(original);
    ASSERT_NE(copy.Pixels(), nullptr);
    EXPECT_NE(copy.Pixels(), original.Pixels());
    EXPECT_NE(copy.Header(), original.Header());
    EXPECT_EQ(PixelBytes(copy), PixelBytes(original));
    EXPECT_EQ(copy.Kind(), IK_JPEG);
    ExpectHeader(copy, 9, 7);

    ImageTestAccess::Pixels(copy)[0] ^= 0xFF;
    EXPECT_NE(PixelBytes(copy), PixelBytes(original));

    image assigned;
    assigned = original;
    EXPECT_NE(assigned.Pixels(), original.Pixels());
    EXPECT_EQ(PixelBytes(assigned), PixelBytes(original));
    ExpectHeader(assigned, 9, 7);
    ImageTestAccess::Pixels(original)[5] ^= 0xFF;
    EXPECT_NE(PixelBytes(assigned), PixelBytes(original));
}

TEST(ImageCopy, AssignmentReplacesAndSelfAssignmentKeeps) {
    image a(RedBluePath(), IK_JPEG);
    image b(WriteRgbFile("pattern_assign.jpg", 5, 3, Pattern(5, 3)), IK_JPEG);
    a = b;
    EXPECT_EQ(a.Width(), 5);
    EXPECT_EQ(a.Height(), 3);
    EXPECT_EQ(PixelBytes(a), PixelBytes(b));

    const unsigned char* pixels = a.Pixels();
    std::vector<unsigned char> bytes = PixelBytes(a);
    image& self = a;
    a = self;
    EXPECT_EQ(a.Pixels(), pixels);
    EXPECT_EQ(PixelBytes(a), bytes);
}

TEST(ImageLoad, ReloadingReplacesThePictureWithoutGrowingMemory) {
    std::string big = WriteRgbFile("pattern_big.jpg", 120, 90, Pattern(120, 90), 90);
    image img;
    img.Load(big, IK_JPEG);
    img.Load(RedBluePath(), IK_JPEG);
    EXPECT_EQ(img.Width(), 2);
    EXPECT_EQ(img.Height(), 1);
    img.Load(big, IK_JPEG);
    EXPECT_EQ(img.Width(), 120);

    long long before = image_test::HeapBytesInUse();
    if (before < 0) GTEST_SKIP() << "this build cannot count heap bytes";
    for (int i = 0; i < 100; ++i) {
        img.Load(i % 2 ? RedBluePath() : big, IK_JPEG);
        image copy(img);
        img = copy;
    }
    img.Load(big, IK_JPEG);
    long long after = image_test::HeapBytesInUse();
    // A header (40 bytes) lost per load would show as 4000 bytes here.
    EXPECT_LT(after - before, 1000) << "before " << before << " after " << after;
}

TEST(ImageLoad, ConstructorsThatThrowLeaveNothingBehind) {
    std::string missing = ScratchPath("constructor_missing.jpg");
    long long before = image_test::HeapBytesInUse();
    if (before < 0) GTEST_SKIP() << "this build cannot count heap bytes";
    for (int i = 0; i < 100; ++i) {
        EXPECT_THROW(image(missing.c_str(), IK_JPEG), error);
        EXPECT_THROW(image(missing, IK_JPEG), error);
    }
    long long after = image_test::HeapBytesInUse();
    // A header lost per failed construction would show as 8000 bytes.
    EXPECT_LT(after - before, 1000) << "before " << before << " after " << after;
}

TEST(ImageLoad, GrayscaleFilesBecomeEqualRedGreenBlue) {
    const int w = 8, h = 2;
    std::vector<unsigned char> gray(w * h);
    for (int i = 0; i < w * h; ++i) gray[i] = static_cast<unsigned char>(i < w ? 200 : 30);
    std::string path = ScratchPath("gray.jpg");
    ASSERT_TRUE(jpeg_writer::WriteGray(path, w, h, gray.data(), 100));
    image img(path, IK_JPEG);
    ASSERT_EQ(img.Width(), w);
    ASSERT_EQ(img.Height(), h);
    const unsigned char* p = img.Pixels();
    for (int i = 0; i < w * h; ++i) {
        EXPECT_EQ(p[i * 4 + 0], p[i * 4 + 1]);
        EXPECT_EQ(p[i * 4 + 1], p[i * 4 + 2]);
        EXPECT_NEAR(p[i * 4], gray[i], 3) << "pixel " << i;
        EXPECT_EQ(p[i * 4 + 3], 0);
    }
}

TEST(ImageLoad, FourInkFilesAreConvertedToRedGreenBlue) {
    // Stored as Adobe's encoders store inks (255 = none): cyan, magenta,
    // yellow and black blocks of 8 x 8.
    const int w = 32, h = 8;
    const unsigned char inks[4][4] = {{0, 255, 255, 255}, {255, 0, 255, 255}, {255, 255, 0, 255}, {255, 255, 255, 0}};
    const unsigned char expect[4][3] = {{0, 255, 255}, {255, 0, 255}, {255, 255, 0}, {0, 0, 0}};
    std::vector<unsigned char> samples(w * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            std::memcpy(&samples[(y * w + x) * 4], inks[x / 8], 4);

    for (auto space : {jpeg_writer::InkSpace::CMYK, jpeg_writer::InkSpace::YCCK}) {
        std::string path = ScratchPath(space == jpeg_writer::InkSpace::CMYK ? "cmyk.jpg" : "ycck.jpg");
        ASSERT_TRUE(jpeg_writer::WriteInks(path, w, h, samples.data(), 100, space));
        image img(path, IK_JPEG);
        ASSERT_EQ(img.Width(), w);
        ASSERT_EQ(img.Height(), h);
        for (int block = 0; block < 4; ++block) {
            const unsigned char* p = img.Pixels() + (3 * w + block * 8 + 3) * 4;  // inside the block
            EXPECT_NEAR(p[2], expect[block][0], 4) << "red, block " << block;
            EXPECT_NEAR(p[1], expect[block][1], 4) << "green, block " << block;
            EXPECT_NEAR(p[0], expect[block][2], 4) << "blue, block " << block;
        }
    }
}

TEST(ImageLoad, DecoderGivesPackedRedGreenBlueRows) {
    uint16_t width = 0, height = 0;
    unsigned char* rows = nullptr;
    ASSERT_EQ(DecodeJpegFile(RedBluePath().c_str(), &width, &height, &rows), 0);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 1);
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(rows, rows + 6), (std::vector<unsigned char>{255, 0, 0, 0, 0, 255}));
    std::free(rows);

    width = 7;
    EXPECT_EQ(DecodeJpegFile(ScratchPath("missing.jpg").c_str(), &width, &height, &rows), -1);
    EXPECT_EQ(width, 7);  // untouched when the file cannot be opened
}

TEST(ImageLoad, CutShortFileWarnsOnStandardErrorAndKeepsItsSize) {
    std::vector<unsigned char> bytes =
        jpeg_writer::ReadBytes(WriteRgbFile("whole.jpg", 64, 64, Pattern(64, 64), 90));
    ASSERT_GT(bytes.size(), 400u);
    bytes.resize(bytes.size() / 2);
    std::string path = ScratchPath("half.jpg");
    ASSERT_TRUE(jpeg_writer::WriteBytes(path, bytes));

    testing::internal::CaptureStderr();
    image img(path, IK_JPEG);
    std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("Premature end of JPEG file"), std::string::npos) << warnings;
    EXPECT_EQ(img.Width(), 64);
    EXPECT_EQ(img.Height(), 64);
    EXPECT_NE(img.Pixels(), nullptr);
}

// A file that is no JPEG at all, or is broken beyond repair, ends the
// process through libjpeg's standard error handling: its message on
// standard error, exit status 1.
TEST(ImageLoadDeathTest, NonJpegFileEndsTheProcessWithStatusOne) {
    std::string path = ScratchPath("not_a_picture.jpg");
    ASSERT_TRUE(jpeg_writer::WriteBytes(path, {'h', 'e', 'l', 'l', 'o', '\n'}));
    EXPECT_EXIT(image(path, IK_JPEG), testing::ExitedWithCode(1), "Not a JPEG file");
}

TEST(ImageLoadDeathTest, EmptyAndBrokenFilesEndTheProcessWithStatusOne) {
    std::string empty = ScratchPath("empty.jpg");
    ASSERT_TRUE(jpeg_writer::WriteBytes(empty, {}));
    EXPECT_EXIT(image(empty, IK_JPEG), testing::ExitedWithCode(1), "Empty input file");

    // A picture whose frame header claims zero lines.
    std::vector<unsigned char> bytes = jpeg_writer::ReadBytes(RedBluePath());
    size_t sof = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) { sof = i; break; }
    ASSERT_NE(sof, 0u);
    bytes[sof + 5] = 0;  // height, high byte
    bytes[sof + 6] = 0;  // height, low byte
    std::string broken = ScratchPath("zero_height.jpg");
    ASSERT_TRUE(jpeg_writer::WriteBytes(broken, bytes));
    EXPECT_EXIT(image(broken, IK_JPEG), testing::ExitedWithCode(1), "Empty JPEG image");
}
