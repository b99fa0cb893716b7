// jpeg_writer.h - writes JPEG files with libjpeg, for tests, tools and
// benchmarks that make their own pictures. Header only; link libjpeg.
//
// Samples are packed rows, top row first: 3 bytes (red, green, blue), 1 byte
// (gray) or 4 bytes (cyan, magenta, yellow, black stored as Adobe's encoders
// store them: 255 means no ink) a pixel. Every component is sampled at full
// resolution, so small pictures keep their colours exactly where they can.
#ifndef KIVA_JPEG_WRITER_H
#define KIVA_JPEG_WRITER_H

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace jpeg_writer {

// The stored colour space of a four-component file.
enum class InkSpace { CMYK, YCCK };

namespace detail {

inline bool Write(const std::string& path, int width, int height, int components,
                  J_COLOR_SPACE inSpace, const unsigned char* samples, int quality,
                  J_COLOR_SPACE fileSpace, bool progressive = false) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;

    jpeg_compress_struct cinfo;
    jpeg_error_mgr errorManager;
    cinfo.err = jpeg_std_error(&errorManager);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);

    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = inSpace;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, fileSpace);
    jpeg_set_quality(&cinfo, quality, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    if (progressive) jpeg_simple_progression(&cinfo);

    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(width) * components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

}  // namespace detail

// Writes red, green, blue samples as a JPEG file, stored as YCbCr (the
// usual way) or, with `storeRgb`, as red, green and blue without a colour
// transform (libjpeg marks such files with an Adobe marker).
inline bool WriteRgb(const std::string& path, int width, int height, const unsigned char* rgb,
                     int quality, bool storeRgb = false) {
    return detail::Write(path, width, height, 3, JCS_RGB, rgb, quality, storeRgb ? JCS_RGB : JCS_YCbCr);
}

// Writes red, green, blue samples as a progressive YCbCr JPEG file.
inline bool WriteRgbProgressive(const std::string& path, int width, int height, const unsigned char* rgb,
                                int quality) {
    return detail::Write(path, width, height, 3, JCS_RGB, rgb, quality, JCS_YCbCr, true);
}

// Writes gray samples as a one-component JPEG file.
inline bool WriteGray(const std::string& path, int width, int height, const unsigned char* gray,
                      int quality) {
    return detail::Write(path, width, height, 1, JCS_GRAYSCALE, gray, quality, JCS_GRAYSCALE);
}

// Writes four-component ink samples as a CMYK or YCCK JPEG file (with the
// Adobe marker libjpeg adds for these colour spaces).
inline bool WriteInks(const std::string& path, int width, int height, const unsigned char* inks,
                      int quality, InkSpace space) {
    return detail::Write(path, width, height, 4, JCS_CMYK, inks, quality,
                         space == InkSpace::CMYK ? JCS_CMYK : JCS_YCCK);
}

inline std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace jpeg_writer

#endif
