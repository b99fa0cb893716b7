// canvas_page.cpp - a test page for the web build's tools: a program that
// blocks in the browser the way the library's programs do. It draws into a
// 32-bit 0x00RRGGBB frame (a gradient, text by FreeType, a picture passed
// through libjpeg) and shows it on a canvas with putImageData, then waits
// (Asyncify) for input queued by the page's event listeners: a letter key
// colours a square and draws the letter, a click draws a dot, a line typed
// into the page's input element names the PNG file (libpng) the frame is
// offered as for download. Every input it takes is written on standard
// output, which the page shows on the browser's console.
//
// Built natively, the same program takes the inputs from its arguments and
// writes the PNG file instead, of the frame it has when they run out: the
// test compares both frames pixel by pixel.
//   canvas_page_native FONT OUT.png EVENT...   (EVENT: "key g KeyG 71",
//                                               "click 40 70", "line NAME")
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <jpeglib.h>
#include <png.h>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 100;

struct Frame {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kWidth * kHeight);
    void Fill(int x0, int y0, int x1, int y1, uint32_t colour) {
        x0 = x0 < 0 ? 0 : x0, y0 = y0 < 0 ? 0 : y0;
        x1 = x1 > kWidth ? kWidth : x1, y1 = y1 > kHeight ? kHeight : y1;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) pixels[y * kWidth + x] = colour;
    }
    // Blends `colour` over the frame with FreeType's 8-bit coverage.
    void Blend(int x, int y, uint32_t colour, int coverage) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
        uint32_t& p = pixels[y * kWidth + x];
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            int s = (colour >> shift) & 255, d = (p >> shift) & 255;
            out |= static_cast<uint32_t>((s * coverage + d * (255 - coverage) + 127) / 255) << shift;
        }
        p = out;
    }
    std::vector<uint8_t> Rgb() const {
        std::vector<uint8_t> rgb;
        for (uint32_t p : pixels) rgb.insert(rgb.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
        return rgb;
    }
};

void DrawText(Frame& frame, FT_Face face, int size, int x, int baseline, const char* text, uint32_t colour) {
    FT_Set_Pixel_Sizes(face, 0, size);
    for (const char* c = text; *c; ++c) {
        if (FT_Load_Char(face, static_cast<unsigned char>(*c), FT_LOAD_RENDER) != 0) continue;
        const FT_Bitmap& bm = face->glyph->bitmap;
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col)
                frame.Blend(x + face->glyph->bitmap_left + int(col), baseline - face->glyph->bitmap_top + int(row),
                            colour, bm.buffer[row * bm.pitch + col]);
        x += int(face->glyph->advance.x >> 6);
    }
}

// Copies the w x h block at (x, y) through a JPEG file in memory back onto
// itself at (toX, toY).
void JpegRoundTrip(Frame& frame, int x, int y, int w, int h, int toX, int toY) {
    std::vector<uint8_t> rgb = frame.Rgb();
    jpeg_error_mgr err;
    jpeg_compress_struct c;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* file = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &file, &size);
    c.image_width = w;
    c.image_height = h;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 75, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = &rgb[((y + c.next_scanline) * kWidth + x) * 3];
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);

    jpeg_decompress_struct d;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file, size);
    jpeg_read_header(&d, TRUE);
    jpeg_start_decompress(&d);
    std::vector<uint8_t> row(d.output_width * 3);
    while (d.output_scanline < d.output_height) {
        int r = int(d.output_scanline);
        JSAMPROW p = row.data();
        jpeg_read_scanlines(&d, &p, 1);
        for (int i = 0; i < w; ++i)
            frame.pixels[(toY + r) * kWidth + toX + i] = row[i * 3] << 16 | row[i * 3 + 1] << 8 | row[i * 3 + 2];
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    free(file);
}

std::vector<uint8_t> EncodePng(const Frame& frame) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            v->insert(v->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> rgb = frame.Rgb();
    for (int y = 0; y < kHeight; ++y) png_write_row(png, &rgb[y * kWidth * 3]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

#ifdef __EMSCRIPTEN__
// The page's side: a canvas, an input element, and one queue of input that
// the listeners fill and NextEvent empties, waking a waiting program.
EM_JS(void, PageStart, (int width, int height), {
    const canvas = document.createElement('canvas');
    canvas.id = 'frame';
    canvas.width = width;
    canvas.height = height;
    const line = document.createElement('input');
    line.id = 'line';
    const screen = document.getElementById('kiva-screen') || document.body;
    screen.appendChild(canvas);
    screen.appendChild(line);
    Module.page = {canvas : canvas, queue : [], wake : null};
    const push = function(text) {
        Module.page.queue.push(text);
        if (Module.page.wake) Module.page.wake();
    };
    document.addEventListener(
        'keydown', function(e) {
            e.preventDefault();
            push('key ' + e.key + ' ' + e.code + ' ' + e.keyCode);
        });
    line.addEventListener(
        'keydown', function(e) {
            e.stopPropagation();
            if (e.key == 'Enter') push('line ' + line.value);
        });
    canvas.addEventListener(
        'mousedown', function(e) { push('click ' + e.offsetX + ' ' + e.offsetY); });
});

EM_ASYNC_JS(void, PageNextEvent, (char* out, int size), {
    while (Module.page.queue.length == 0) {
        await new Promise(function(resolve) { Module.page.wake = resolve; });
        Module.page.wake = null;
    }
    stringToUTF8(Module.page.queue.shift(), out, size);
});

EM_JS(void, PagePresent, (const uint8_t* rgba, int width, int height), {
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    Module.page.canvas.getContext('2d').putImageData(new ImageData(pixels, width, height), 0, 0);
});

EM_JS(void, PageDownload, (const char* name, const uint8_t* data, int size), {
    const blob = new Blob([HEAPU8.slice(data, data + size)], {
        type:
            'image/png'
    });
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = UTF8ToString(name);
    document.body.appendChild(link);
    link.click();
    link.remove();
});

struct Io {
    std::vector<uint8_t> rgba = std::vector<uint8_t>(kWidth * kHeight * 4);
    Io(int, char**) { PageStart(kWidth, kHeight); }
    const char* Font() const { return "/fonts/sans.ttf"; }
    void Present(const Frame& frame) {
        for (size_t i = 0; i < frame.pixels.size(); ++i) {
            uint32_t p = frame.pixels[i];
            rgba[i * 4] = uint8_t(p >> 16);
            rgba[i * 4 + 1] = uint8_t(p >> 8);
            rgba[i * 4 + 2] = uint8_t(p);
            rgba[i * 4 + 3] = 255;
        }
        PagePresent(rgba.data(), kWidth, kHeight);
    }
    std::string NextEvent() {
        char text[256];
        PageNextEvent(text, sizeof text);
        return text;
    }
    bool Save(const std::string& name, const std::vector<uint8_t>& png) {
        PageDownload(name.c_str(), png.data(), int(png.size()));
        return true;
    }
};
#else
struct Io {
    int argc;
    char** argv;
    int next = 3;
    Io(int c, char** v) : argc(c), argv(v) {}
    const char* Font() const { return argc > 1 ? argv[1] : ""; }
    void Present(const Frame&) {}
    std::string NextEvent() { return next < argc ? argv[next++] : "end"; }
    bool Save(const std::string&, const std::vector<uint8_t>& png) {
        FILE* f = argc > 2 ? std::fopen(argv[2], "wb") : nullptr;
        bool ok = f && std::fwrite(png.data(), 1, png.size(), f) == png.size();
        return (f && std::fclose(f) == 0) && ok;
    }
};
#endif

}  // namespace

int main(int argc, char** argv) {
    Io io(argc, argv);
    FT_Library ft;
    FT_Face face;
    if (FT_Init_FreeType(&ft) != 0 || FT_New_Face(ft, io.Font(), 0, &face) != 0) {
        std::fprintf(stderr, "cannot open the font %s\n", io.Font());
        return 1;
    }
    Frame frame;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            frame.pixels[y * kWidth + x] =
                uint32_t(x * 255 / (kWidth - 1)) << 16 | uint32_t(y * 255 / (kHeight - 1)) << 8 | 0x80;
    DrawText(frame, face, 22, 6, 26, "Kiva web", 0x000000);
    JpegRoundTrip(frame, 0, 0, 48, 32, 8, 60);
    io.Present(frame);
    std::printf("ready %d %d\n", kWidth, kHeight);

    // Natively the arguments run out: the frame as it stands is the result.
    auto next = [&] {
        std::string event = io.NextEvent();
        if (event == "end") std::exit(io.Save("", EncodePng(frame)) ? 0 : 3);
        return event;
    };
    std::string event;
    char letter = 0;
    // Keys until a lowercase letter: r, g and b colour the square red, green
    // or blue, any other grey.
    for (;;) {
        std::printf("%s\n", (event = next()).c_str());
        if (std::sscanf(event.c_str(), "key %c ", &letter) == 1 && event[5] == ' ' && letter >= 'a' && letter <= 'z')
            break;
        letter = 0;
    }
    uint32_t colour = letter == 'r' ? 0xFF0000 : letter == 'g' ? 0x00FF00 : letter == 'b' ? 0x0000FF : 0x808080;
    frame.Fill(100, 8, 152, 60, colour);
    const char text[2] = {letter, 0};
    DrawText(frame, face, 32, 116, 46, text, 0xFFFFFF);
    io.Present(frame);

    int x = 0, y = 0;
    while (std::sscanf((event = next()).c_str(), "click %d %d", &x, &y) != 2) {
    }
    std::printf("%s\n", event.c_str());
    frame.Fill(x - 1, y - 1, x + 2, y + 2, 0x000000);
    io.Present(frame);

    std::printf("name?\n");
    while ((event = next()).compare(0, 5, "line ") != 0) {
    }
    std::string name = event.substr(5);
    std::printf("hello %s\n", name.c_str());
    if (!io.Save(name + ".png", EncodePng(frame))) return 3;
    std::printf("saved %s.png\n", name.c_str());
    FT_Done_Face(face);
    FT_Done_FreeType(ft);
    return 0;
}
