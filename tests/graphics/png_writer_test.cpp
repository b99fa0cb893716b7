// The PNG encoder, read back with zlib (an independent inflater): the file's
// chunks and checksums, the samples of every pixel, and the compression of
// flat pictures. Where zlib is not at hand (the Windows build), the
// snapshot tests still read the files back with ImageMagick.
#if __has_include(<zlib.h>)
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics.h"
#include "png_writer.h"

namespace {

uint32_t BigEndian(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

struct Decoded {
    uint32_t width = 0, height = 0;
    std::vector<unsigned char> rows;  // filter byte and RGB samples per row
};

// Walks the chunks, checking each CRC, and inflates the image data.
Decoded Decode(const std::vector<unsigned char>& png) {
    Decoded out;
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(png.size() > 8 && std::equal(signature, signature + 8, png.begin()));
    std::vector<unsigned char> data;
    std::vector<std::string> types;
    for (size_t at = 8; at + 12 <= png.size();) {
        uint32_t length = BigEndian(&png[at]);
        std::string type(png.begin() + at + 4, png.begin() + at + 8);
        types.push_back(type);
        const unsigned char* body = &png[at + 8];
        EXPECT_EQ(crc32(0, &png[at + 4], length + 4), BigEndian(body + length)) << type;
        if (type == "IHDR") {
            out.width = BigEndian(body);
            out.height = BigEndian(body + 4);
            EXPECT_EQ(8, body[8]);  // bit depth
            EXPECT_EQ(2, body[9]);  // RGB
        }
        if (type == "IDAT") data.insert(data.end(), body, body + length);
        at += 12 + length;
    }
    EXPECT_EQ((std::vector<std::string>{"IHDR", "IDAT", "IEND"}), types);
    out.rows.resize(size_t{out.height} * (1 + 3 * size_t{out.width}));
    uLongf size = static_cast<uLongf>(out.rows.size());
    EXPECT_EQ(Z_OK, uncompress(out.rows.data(), &size, data.data(), static_cast<uLong>(data.size())));
    EXPECT_EQ(out.rows.size(), size);
    return out;
}

// Pixels in the library's layout: blue, green, red, unused.
std::vector<unsigned char> Picture(int width, int height, uint32_t seed, bool noisy) {
    std::vector<unsigned char> pixels(size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &pixels[(size_t(y) * width + x) * 4];
            seed = seed * 1103515245u + 12345u;
            p[0] = static_cast<unsigned char>(noisy ? seed >> 24 : x / 7);
            p[1] = static_cast<unsigned char>(noisy ? seed >> 16 : y / 5);
            p[2] = static_cast<unsigned char>(noisy ? seed >> 8 : (x > 100 && x < 200) ? 255 : 0);
            p[3] = 0xAB;  // never written
        }
    return pixels;
}

void ExpectSamples(const Decoded& png, const std::vector<unsigned char>& pixels, int width, int height) {
    ASSERT_EQ(uint32_t(width), png.width);
    ASSERT_EQ(uint32_t(height), png.height);
    size_t wrong = 0;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = &png.rows[size_t(y) * (1 + 3 * size_t(width))];
        EXPECT_EQ(0, row[0]);
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &pixels[(size_t(y) * width + x) * 4];
            if (row[1 + 3 * x] != p[2] || row[2 + 3 * x] != p[1] || row[3 + 3 * x] != p[0]) ++wrong;
        }
    }
    EXPECT_EQ(0u, wrong);
}

}  // namespace

TEST(PngWriter, EverySampleReadsBackThroughAnIndependentInflater) {
    for (bool noisy : {false, true}) {
        for (int size : {1, 3, 257}) {
            SCOPED_TRACE(size);
            std::vector<unsigned char> pixels = Picture(size, size + 1, 7u + size, noisy);
            ExpectSamples(Decode(graphics_png::Encode(size, size + 1, pixels.data(), size_t(size) * 4)), pixels, size,
                          size + 1);
        }
    }
    // Long runs, matches at the far end of the window and data just over it.
    std::vector<unsigned char> raw(70000);
    for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<unsigned char>((i % 32767) < 300 ? i * 31 : i / 1000);
    std::vector<unsigned char> z = graphics_png::ZlibCompress(raw.data(), raw.size());
    std::vector<unsigned char> back(raw.size());
    uLongf size = static_cast<uLongf>(back.size());
    ASSERT_EQ(Z_OK, uncompress(back.data(), &size, z.data(), static_cast<uLong>(z.size())));
    EXPECT_EQ(raw, back);
}

TEST(PngWriter, FlatPicturesShrinkAndEncodeTheSameEveryTime) {
    const int width = 1000, height = 720;
    std::vector<unsigned char> pixels = Picture(width, height, 1, false);
    std::vector<unsigned char> first = graphics_png::Encode(width, height, pixels.data(), size_t(width) * 4);
    EXPECT_EQ(first, graphics_png::Encode(width, height, pixels.data(), size_t(width) * 4));
    EXPECT_LT(first.size(), size_t(width) * height * 3 / 20) << "under 5% of the raw samples";
    EXPECT_TRUE(graphics_png::Encode(0, 5, pixels.data(), 0).empty());
}

TEST(PngWriter, ImageSavePngWritesTheImagesPixels) {
    window w(64, 48, 10, 10);
    w.SetWaitOnClose(false);
    w.SetBrush(color(10, 200, 30));
    w.SetPen(color(10, 200, 30), 1);
    w.DrawRectangle(8, 8, 40, 30, STYLE_FILLED, 0, 0);
    image captured;
    w.StoreImage(captured, 0, 0, 64, 48);
    const std::string path = testing::TempDir() + "image_save.png";
    ASSERT_TRUE(captured.SavePng(path));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(nullptr, file);
    std::vector<unsigned char> bytes;
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
    std::vector<unsigned char> pixels(captured.Pixels(), captured.Pixels() + 64 * 48 * 4);
    ExpectSamples(Decode(bytes), pixels, 64, 48);
    EXPECT_EQ(200, Decode(bytes).rows[20 * (1 + 3 * 64) + 1 + 3 * 20 + 1]);  // green inside the box

    image empty;
    EXPECT_FALSE(empty.SavePng(path));
    EXPECT_FALSE(captured.SavePng(testing::TempDir() + "no-such-folder/x.png"));
}
#endif
