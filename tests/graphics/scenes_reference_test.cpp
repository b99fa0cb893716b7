// The drawing scenes drawn here against the same scenes drawn by the
// Windows build on the platform's own GDI (tests/reference/scenes, made by
// tools/scenes/make-references.sh). Shapes are compared pixel by pixel:
// exact where that is reached, above a floor elsewhere. Text is compared by
// its measured extents and by where its ink falls.
//
// Linux only: on Windows the scenes are the reference itself.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "../../tools/scenes/scenes.cpp"

namespace {

std::string ReferenceDir() { return std::string(KIVA_SOURCE_DIR) + "/tests/reference/scenes/"; }

double Agreement(const scenes::Picture& a, const scenes::Picture& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 0.0;
    size_t same = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) same += a.pixels[i] == b.pixels[i] ? 1 : 0;
    return 100.0 * static_cast<double>(same) / static_cast<double>(a.pixels.size());
}

// The smallest box around the pixels of rows [top, bottom) that differ from
// the colour of the band's top-left pixel.
struct InkBox {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};
InkBox Ink(const scenes::Picture& p, int top, int bottom) {
    InkBox box;
    uint32_t ground = p.pixels[static_cast<size_t>(top) * p.width];
    for (int y = top; y < bottom && y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.pixels[static_cast<size_t>(y) * p.width + x] != ground) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Pixel agreement each shape scene must reach, in percent. 100 where the
// pictures are the same; elsewhere the floor sits under today's figure.
const std::map<std::string, double> kFloor = {
    {"rectangles", 100.0}, {"rounded", 100.0},         {"polygons", 100.0},  {"ellipses", 100.0},
    {"arcs", 100.0},      {"lines", 100.0},           {"inverted_twice", 100.0}, {"overlaps", 100.0},
    {"text_fonts", 100.0}, {"text_colors", 100.0},
};

TEST(ScenesReferenceTest, ScenesAgreeWithTheReferencePictures) {
    for (const scenes::Scene& scene : scenes::All()) {
        SCOPED_TRACE(scene.name);
        scenes::Picture reference;
        ASSERT_TRUE(scenes::ReadPpm(ReferenceDir() + scene.name + ".ppm", reference));
        scenes::Picture ours = scenes::Render(scene, nullptr);
        double agreement = Agreement(ours, reference);
        std::printf("scene %-16s %8.4f%% of pixels agree\n", scene.name, agreement);
        ASSERT_TRUE(kFloor.count(scene.name));
        if (kFloor.at(scene.name) >= 100.0) EXPECT_EQ(100.0, agreement);
        else EXPECT_GE(agreement, kFloor.at(scene.name));
    }
}

TEST(ScenesReferenceTest, TextMeasuresAndInksLikeTheReference) {
    // "scene item width height" per line.
    std::map<std::string, std::pair<int, int>> expected;
    std::ifstream file(ReferenceDir() + "text_extents.txt");
    ASSERT_TRUE(file.good());
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string name;
        int item = 0, width = 0, height = 0;
        if (fields >> name >> item >> width >> height) expected[name + " " + std::to_string(item)] = {width, height};
    }
    int exactWidths = 0, items = 0;
    for (const scenes::Scene& scene : scenes::All()) {
        if (!scene.text) continue;
        scenes::Picture reference;
        ASSERT_TRUE(scenes::ReadPpm(ReferenceDir() + scene.name + ".ppm", reference));
        std::vector<std::pair<int, int>> extents;
        scenes::Picture ours = scenes::Render(scene, &extents);
        const std::vector<scenes::TextItem>& textItems = scenes::TextItems(scene.name);
        ASSERT_EQ(textItems.size(), extents.size());
        for (size_t i = 0; i < textItems.size(); ++i) {
            const scenes::TextItem& item = textItems[i];
            SCOPED_TRACE(std::string(scene.name) + " \"" + item.text + "\"");
            auto want = expected.find(std::string(scene.name) + " " + std::to_string(i));
            ASSERT_NE(want, expected.end());
            std::printf("text %-12s %-26s extent %3d x %2d, reference %3d x %2d\n", scene.name, item.text,
                        extents[i].first, extents[i].second, want->second.first, want->second.second);
            ++items;
            exactWidths += extents[i].first == want->second.first ? 1 : 0;
            EXPECT_EQ(want->second.first, extents[i].first);
            EXPECT_EQ(want->second.second, extents[i].second);
            InkBox a = Ink(ours, item.top, item.bottom), b = Ink(reference, item.top, item.bottom);
            ASSERT_FALSE(a.Empty());
            ASSERT_FALSE(b.Empty());
            EXPECT_EQ(b.left, a.left);
            EXPECT_EQ(b.top, a.top);
            EXPECT_EQ(b.right, a.right);
            EXPECT_EQ(b.bottom, a.bottom);
        }
    }
    std::printf("text extents: %d of %d widths exact, every height exact\n", exactWidths, items);
    EXPECT_EQ(exactWidths, items);
}

}  // namespace

#endif
