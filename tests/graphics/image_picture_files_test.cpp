// The game's picture files, painted by tools/make_pictures during the build
// into game/PictureFiles/ beside the kiva executable: present, decodable,
// of the sizes the game's layout needs, and showing what they should.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "graphics.h"

namespace {

// The tests run in the build's tests/ folder; kiva lives in game/.
std::string PicturePath(const std::string& name) { return "../game/PictureFiles/" + name; }

struct Rgb {
    int r, g, b;
};

Rgb At(const image& img, int x, int y) {
    const unsigned char* p = img.Pixels() + (static_cast<size_t>(y) * img.Width() + x) * 4;
    return {p[2], p[1], p[0]};
}

}  // namespace

TEST(PictureFiles, AllFivePresentBesideTheGame) {
    for (const char* name : {"background1.jpg", "frame1.jpg", "frame2.jpg", "frame3.jpg", "frame4.jpg"})
        EXPECT_TRUE(std::ifstream(PicturePath(name), std::ios::binary).good()) << name;
}

TEST(PictureFiles, BackgroundFillsTheBackWallFrame) {
    // The back wall's frame spans (415, 317) to (584, 402); the game draws
    // the picture at (416, 318), so 168 x 84 fills it up to the frame line.
    image background(PicturePath("background1.jpg"), IK_JPEG);
    EXPECT_EQ(background.Width(), 168);
    EXPECT_EQ(background.Height(), 84);
    ASSERT_NE(background.Pixels(), nullptr);
    Rgb sky = At(background, 10, 2), water = At(background, 120, 80);
    EXPECT_GT(sky.b, sky.g);  // a violet evening sky at the top
    EXPECT_LT(water.r + water.g + water.b, 3 * 200);
}

TEST(PictureFiles, ClosingPicturesAreCentredAndFitTheWindow) {
    struct Expected {
        const char* name;
        int x;
        int width;
    };
    for (Expected e : {Expected{"frame1.jpg", 300, 400}, Expected{"frame2.jpg", 325, 350},
                       Expected{"frame3.jpg", 260, 480}, Expected{"frame4.jpg", 350, 300}}) {
        image pic(PicturePath(e.name), IK_JPEG);
        ASSERT_NE(pic.Pixels(), nullptr) << e.name;
        EXPECT_EQ(pic.Width(), e.width) << e.name;
        EXPECT_EQ(e.x + pic.Width() / 2, 500) << e.name;  // centred on the 1000-pixel window
        EXPECT_GE(pic.Height(), 200) << e.name;
        EXPECT_LE(20 + pic.Height(), 720) << e.name;      // drawn from y 20
    }
}

TEST(PictureFiles, PicturesShowTheirSubjects) {
    image japan(PicturePath("frame1.jpg"), IK_JPEG);
    Rgb sun = At(japan, 200, 80);  // the red rising sun above Mount Fuji
    EXPECT_GT(sun.r, 180);
    EXPECT_LT(sun.g, 80);
    Rgb ribbon = At(japan, 50, 340), dot = At(japan, 200, 323);  // the caption ribbon and a letter's dot
    EXPECT_GT(ribbon.r, ribbon.g + 100);
    EXPECT_GT(dot.g, 200);

    image england(PicturePath("frame2.jpg"), IK_JPEG);
    Rgb clockFace = At(england, 244, 120);
    EXPECT_GT(clockFace.r + clockFace.g + clockFace.b, 3 * 200);

    image ethiopia(PicturePath("frame3.jpg"), IK_JPEG);
    Rgb green = At(ethiopia, 60, 42), red = At(ethiopia, 60, 100);  // the flag's top and bottom stripes
    EXPECT_GT(green.g, green.r + 60);
    EXPECT_GT(red.r, red.g + 100);

    image farm(PicturePath("frame4.jpg"), IK_JPEG);
    Rgb hide = At(farm, 180, 200), barn = At(farm, 30, 150);  // the cow's white side, the red barn
    EXPECT_GT(hide.r + hide.g + hide.b, 3 * 220);
    EXPECT_GT(barn.r, barn.g + 100);
}
