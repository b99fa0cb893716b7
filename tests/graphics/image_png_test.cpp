// PNG files through image::SavePng and image::Load on this build: a
// captured drawing saved and loaded again is the same picture, and a PNG
// file loaded as a JPEG one still ends the program as before. The set of
// files of every colour type, the damaged ones and the comparison of both
// builds' bytes are tests/headless/png_pictures.sh's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing_test_support.h"
#include "graphics.h"
#include "image_test_support.h"

namespace {

using image_test::ScratchPath;

std::vector<unsigned char> PixelsOf(const image& img) {
    return std::vector<unsigned char>(img.Pixels(), img.Pixels() + size_t{img.Width()} * img.Height() * 4);
}

}  // namespace

class ImagePng : public drawing_test::DrawingTest {};

TEST_F(ImagePng, SavedPicturesLoadBackAsTheSamePixels) {
    w->SetBrush(color(10, 200, 30));
    w->SetPen(color(250, 5, 128), 3);
    w->DrawRectangle(8, 8, 40, 30, STYLE_FILLED, 0, 0);
    w->DrawLine(0, 47, 63, 0);
    image captured;
    w->StoreImage(captured, 1, 2, 63, 45);
    const std::string path = ScratchPath("saved.png");
    ASSERT_TRUE(captured.SavePng(path));

    image loaded(path, IK_PNG);
    EXPECT_EQ(loaded.Kind(), IK_PNG);
    ASSERT_EQ(loaded.Width(), 63);
    ASSERT_EQ(loaded.Height(), 45);
    EXPECT_EQ(loaded.Header()->biWidth, 63);
    EXPECT_EQ(loaded.Header()->biHeight, -45);
    std::vector<unsigned char> expected = PixelsOf(captured);
    for (size_t i = 3; i < expected.size(); i += 4) expected[i] = 0;
    EXPECT_EQ(PixelsOf(loaded), expected);

    // A flat picture is compressed: far fewer bytes than its samples.
    image flat;
    w->StoreImage(flat, 70, 0, 50, 40);
    const std::string flatPath = ScratchPath("flat.png");
    ASSERT_TRUE(flat.SavePng(flatPath));
    EXPECT_LT(jpeg_writer::ReadBytes(flatPath).size(), size_t{50} * 40 * 3 / 20);

    // Loaded again over a picture, and drawn: where the capture was.
    loaded.Load(flatPath, IK_PNG);
    loaded.Load(path, IK_PNG);
    w->DrawImage(loaded, 55, 44);
    EXPECT_COLOR(color(10, 200, 30), w->GetColor(55 + 20, 44 + 18));
    EXPECT_COLOR(w->GetColor(1 + 5, 2 + 43), w->GetColor(55 + 5, 44 + 43));

    image empty;
    EXPECT_FALSE(empty.SavePng(path));
    EXPECT_FALSE(captured.SavePng(ScratchPath("no-such-folder/x.png")));
}

// Loading is by the kind the program names, not by what the file holds.
TEST(ImagePngDeathTest, PngFileLoadedAsJpegEndsAsBefore) {
    std::string path = ScratchPath("given_as_jpeg.png");
    image tiny;
    {
        window small(8, 8, 0, 0);
        small.SetWaitOnClose(false);
        small.StoreImage(tiny, 0, 0, 4, 4);
    }
    ASSERT_TRUE(tiny.SavePng(path));
    EXPECT_EXIT(image(path, IK_JPEG), testing::ExitedWithCode(1), "Not a JPEG file: starts with 0x89 0x50");
}
