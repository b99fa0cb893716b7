// The GDI scenes drawn by our platform layer against the pictures real GDI
// draws for the same calls (tests/reference/gdi, made under Wine by
// tools/gdi_scenes/make-references.sh). Prints the share of agreeing pixels
// per scene; scenes we draw exactly must stay exact, the others must stay
// above their floor. GDI_SCENES_OUT=<folder> also writes our pictures there.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "../../tools/gdi_scenes/gdi_scenes.h"

namespace {

// The least share of agreeing pixels each scene must reach (1.0 = exact).
const std::map<std::string, double>& Floors() {
    static const std::map<std::string, double> floors = {
        {"rect_filled", 1.0}, {"rect_frame", 1.0}, {"rect_inverted", 1.0},
        {"ellipse_filled", 1.0}, {"ellipse_frame", 1.0}, {"ellipse_inverted", 1.0},
        {"roundrect_filled", 1.0}, {"roundrect_frame", 1.0}, {"small_boxes", 1.0}, {"tiny_wide", 1.0},
        {"lines", 1.0}, {"wide_lines", 1.0}, {"polygon_filled", 1.0},
        {"polygon_frame", 1.0}, {"polygon_inverted", 1.0}, {"polygon_winding", 1.0},
        {"arc", 1.0}, {"pie_filled", 1.0}, {"pie_inverted", 1.0},
        {"bezier", 1.0}, {"regions", 1.0}, {"inverted_twice", 1.0},
        {"edges", 1.0}, {"solid_pens", 1.0}, {"dib_transfers", 1.0},
        {"blits", 1.0}, {"dib_stretch_mixed", 1.0},
    };
    return floors;
}

TEST(GdiReference, EveryScenePassesItsFloorAgainstRealGdi) {
    const char* out = std::getenv("GDI_SCENES_OUT");
    int exact = 0;
    for (const gdi_scenes::Scene& scene : gdi_scenes::Scenes()) {
        SCOPED_TRACE(scene.name);
        gdi_scenes::Picture ours = gdi_scenes::Render(scene);
        gdi_scenes::Picture reference;
        std::string path = std::string(KIVA_SOURCE_DIR) + "/tests/reference/gdi/" + scene.name + ".ppm";
        ASSERT_TRUE(gdi_scenes::ReadPpm(path, reference)) << path;
        ASSERT_EQ(ours.width, reference.width);
        ASSERT_EQ(ours.height, reference.height);
        size_t same = 0;
        for (size_t i = 0; i < ours.pixels.size(); ++i) same += ours.pixels[i] == reference.pixels[i];
        double share = static_cast<double>(same) / static_cast<double>(ours.pixels.size());
        std::printf("%-18s %8.4f%% of %zu pixels agree\n", scene.name, 100.0 * share, ours.pixels.size());
        if (out) gdi_scenes::WritePpm(std::string(out) + "/" + scene.name + ".ppm", ours);
        auto floor = Floors().find(scene.name);
        ASSERT_NE(floor, Floors().end()) << "every scene needs a floor";
        if (floor->second >= 1.0) {
            EXPECT_EQ(same, ours.pixels.size()) << "this scene was exact";
        } else {
            EXPECT_GE(share, floor->second);
        }
        exact += same == ours.pixels.size();
    }
    std::printf("%d of %zu scenes exact\n", exact, gdi_scenes::Scenes().size());
}

}  // namespace
