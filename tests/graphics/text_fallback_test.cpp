// Characters the selected face lacks (Chinese, symbols, emoji) are drawn
// and measured with the glyphs of a face that has them; a character no face
// has is the face's missing-glyph box. Linux only: on Windows, font linking
// is the system's own.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics.h"

namespace {

class TextFallbackTest : public testing::Test {
protected:
    static constexpr int kW = 360;
    static constexpr int kH = 60;
    // The rows and columns read back: the window's frame may take the last
    // ones, which then read as black.
    static constexpr int kRows = kH - 2, kColumns = kW - 2;
    static constexpr int kX = 10;  // where the text starts
    static constexpr int kY = 10;

    void SetUp() override {
        w = std::make_unique<window>(kW, kH, 20, 20);
        w->SetWaitOnClose(false);
        w->SetBuffering(true);  // starts white
        w->SetFont(32, 0, FAMILY_SWISS, nullptr);
        w->SetPen(BLACK, 1);
    }
    void TearDown() override {
        w->SetBuffering(false);
        w.reset();
    }

    int Width(const std::string& text) {
        int width = 0, height = 0;
        w->GetStringSize(width, height, text.c_str());
        return width;
    }

    // The pixels of columns [x0, x1), row by row, as 0xBBGGRR.
    std::vector<uint32_t> Columns(int x0, int x1) {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < kRows; ++y)
            for (int x = x0; x < x1; ++x) {
                color c = w->GetColor(x, y);
                pixels.push_back(c.red | c.green << 8 | static_cast<uint32_t>(c.blue) << 16);
            }
        return pixels;
    }
    static constexpr uint32_t kWhite = 0xFFFFFF;
    static int Ink(const std::vector<uint32_t>& pixels) {
        return static_cast<int>(pixels.size() - std::count(pixels.begin(), pixels.end(), kWhite));
    }

    std::unique_ptr<window> w;
};

TEST_F(TextFallbackTest, EveryCharacterIsDrawnWhereItIsMeasured) {
    const std::string text = "漢字 ✓ é 😀";
    const std::vector<std::string> characters = {"漢", "字", " ", "✓", " ", "é", " ", "😀"};
    w->DrawString(kX, kY, text.c_str());
    int width = 0, height = 0;
    w->GetStringSize(width, height, text.c_str());

    // Each character's ink lies in the columns its measured advance gives it.
    std::vector<std::vector<uint32_t>> glyphs;
    std::string prefix;
    for (const std::string& character : characters) {
        int left = kX + Width(prefix);
        prefix += character;
        int right = kX + Width(prefix);
        ASSERT_GT(right, left) << character << " takes no room";
        glyphs.push_back(Columns(left, right));
        if (character != " ") {
            EXPECT_GT(Ink(glyphs.back()), 10) << character << " has no ink";
        }
    }
    EXPECT_EQ(Width(prefix), width);

    // The two Chinese characters are two glyphs, not two missing-glyph boxes.
    ASSERT_EQ(glyphs[0].size(), glyphs[1].size());  // both a full em wide
    EXPECT_NE(glyphs[0], glyphs[1]);

    // The whole ink ends within the measured extent, at most a few pixels
    // of the last glyph's side bearing short of it, and within the cell.
    int right = -1, top = kH, bottom = -1;
    const std::vector<uint32_t> all = Columns(0, kColumns);
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] == kWhite) continue;
        int x = static_cast<int>(i % kColumns), y = static_cast<int>(i / kColumns);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    EXPECT_LT(right, kX + width);
    EXPECT_GT(right, kX + width - 6);
    EXPECT_GE(top, kY);
    EXPECT_LT(bottom, kY + height);
}

// An emoji comes from a face without colours of its own: drawn in red on
// white, its pixels lie between the two (never the yellow of a colour face),
// and it is not the missing-glyph box.
TEST_F(TextFallbackTest, EmojiTakeThePenColour) {
    w->SetPen(RED, 1);
    w->DrawString(kX, kY, "😀");
    const int advance = Width("😀"), box = kW / 2;
    w->DrawString(box, kY, "\xF4\x8F\xBF\xBD");  // U+10FFFD, which no face has
    const std::vector<uint32_t> emoji = Columns(kX, kX + advance);
    EXPECT_NE(emoji, Columns(box, box + advance));
    int red = 0, ink = 0;
    for (uint32_t pixel : emoji) {
        if (pixel == kWhite) continue;
        ++ink;
        if (pixel == 0x0000FF) ++red;
        EXPECT_EQ(pixel & 0xFF, 0xFFu);
        EXPECT_EQ(pixel >> 8 & 0xFF, pixel >> 16) << std::hex << pixel;
    }
    EXPECT_GT(ink, 30);
    EXPECT_GT(red, 10);
}

// A character no installed face has (here two from the last private-use
// plane) is the face's missing-glyph box: the same picture for both, unlike
// a character that a face lends.
TEST_F(TextFallbackTest, ACharacterNoFaceHasIsTheMissingGlyphBox) {
    const std::string none1 = "\xF4\x8F\xBF\xBD", none2 = "\xF4\x8F\xBF\xBC";  // U+10FFFD, U+10FFFC
    const int advance = Width(none1);
    ASSERT_GT(advance, 0);
    EXPECT_EQ(Width(none2), advance);
    EXPECT_NE(Width("漢"), advance);
    w->DrawString(kX, kY, (none1 + none2 + "漢").c_str());
    std::vector<uint32_t> first = Columns(kX, kX + advance), second = Columns(kX + advance, kX + 2 * advance);
    EXPECT_GT(Ink(first), 10);
    EXPECT_EQ(first, second);
}

}  // namespace
#endif
