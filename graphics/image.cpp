// The image object: construction, copying, loading a picture file (JPEG
// here, PNG in image_png.cpp), and the decoder that turns a JPEG file into
// packed rows of red, green and blue samples with libjpeg.
#include <sys/stat.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "graphics_internal.h"

// libjpeg's `boolean` agrees with the Windows headers' one: its Windows
// configuration declares it as unsigned char, as they do.
extern "C" {
#include <jpeglib.h>
}

namespace {

size_t PixelBytes(uint16_t width, uint16_t height) {
    return static_cast<size_t>(width) * 4 * static_cast<size_t>(height);
}

// Writes one decoded scanline as red, green, blue triples. Three-component
// output is copied as it is; grayscale is spread over the three channels;
// four-component output (CMYK, or YCCK that libjpeg has turned into CMYK)
// is converted to RGB, inverted first when an Adobe marker says the file
// stores its inks inverted, as Adobe's encoders do. Any other count uses
// the first component as a gray level. Reads only `width` × `components`
// samples of `source`.
void ScanlineToRgb(const JSAMPLE* source, unsigned char* target, JDIMENSION width, int components, bool invertedInks) {
    if (components == 3) {
        std::memcpy(target, source, static_cast<size_t>(width) * 3);
        return;
    }
    for (JDIMENSION column = 0; column < width; ++column) {
        const JSAMPLE* in = source + static_cast<size_t>(column) * components;
        unsigned char* out = target + static_cast<size_t>(column) * 3;
        if (components == 4) {
            unsigned c = in[0], m = in[1], y = in[2], k = in[3];
            if (!invertedInks) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            // Here 255 means no ink: each channel is what the ink lets through.
            out[0] = static_cast<unsigned char>((c * k + 127) / 255);
            out[1] = static_cast<unsigned char>((m * k + 127) / 255);
            out[2] = static_cast<unsigned char>((y * k + 127) / 255);
        } else {
            out[0] = out[1] = out[2] = in[0];
        }
    }
}

// libjpeg's standard error manager, whose messages (warnings, and the one
// for a file it refuses) begin with the name of the file they are about. A
// refused file goes back to DecodeJpegFile, which releases the decode and
// ends the program as libjpeg's own error exit would.
struct NamingErrorManager {
    jpeg_error_mgr standard;  // first, so that cinfo.err points at both
    const char* fileName;
    std::jmp_buf refused;
};

void OutputNamedMessage(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    const char* fileName = reinterpret_cast<NamingErrorManager*>(cinfo->err)->fileName;
    std::fprintf(stderr, "%s: %s\n", fileName, text);
}

// The decoder's exit for a file it cannot decode: its message, then back to
// the decode's start. Only libjpeg's own frames lie in between.
void RefuseFile(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    std::longjmp(reinterpret_cast<NamingErrorManager*>(cinfo->err)->refused, 1);
}

// True when `file` is open on something that cannot be read as a file (a
// folder): such a name counts as one that cannot be opened, whatever the
// system's fopen made of it.
bool IsFolder(FILE* file) {
    struct stat info;
    return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

// Whether `fileName` names a folder (which some systems refuse to open at
// all, with a reason that does not say so).
bool NamesFolder(const char* fileName) {
    struct stat info;
    return stat(fileName, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

// Opens a picture file for reading; a folder counts as a name that cannot
// be opened.
FILE* OpenPictureFile(const char* fileName) {
    FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) return nullptr;
    if (IsFolder(file)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

void DescribeTopDownPixels(BITMAPINFOHEADER& header, int32_t width, int32_t height) {
    std::memset(&header, 0, sizeof header);
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -static_cast<LONG>(height);
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
}

BITMAPINFOHEADER* NewTopDownHeader(int32_t width, int32_t height) {
    BITMAPINFOHEADER* header = static_cast<BITMAPINFOHEADER*>(std::malloc(sizeof(BITMAPINFOHEADER)));
    if (header == nullptr) throw ERR_ALLOCATION;
    DescribeTopDownPixels(*header, width, height);
    return header;
}

// Decodes a JPEG file into rows of red, green, blue bytes, top row first,
// allocated from the C heap. A file libjpeg cannot decode, and a picture of
// more than kiva::kMaxSurfacePixels pixels, refused before anything is allocated
// for it, end the program (EndForRefusedPicture) once the decode's memory
// and the file are released.
extern "C" int DecodeJpegFile(const char* fileName, uint16_t* width, uint16_t* height, unsigned char** rows) {
    FILE* file = OpenPictureFile(fileName);
    if (file == nullptr) return -1;

    jpeg_decompress_struct cinfo{};
    NamingErrorManager errorManager;
    errorManager.fileName = fileName;
    cinfo.err = jpeg_std_error(&errorManager.standard);
    errorManager.standard.output_message = OutputNamedMessage;
    errorManager.standard.error_exit = RefuseFile;
    unsigned char* volatile buffer = nullptr;  // volatile: read after a refusal
    if (setjmp(errorManager.refused) != 0) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        std::free(buffer);
        EndForRefusedPicture();
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);

    // The size is known from the frame header alone; the decoder allocates
    // for it only when decompression starts. A header of a few bytes can
    // claim 65500 x 65500 pixels: such a picture is refused here, the way a
    // corrupt file is, before it costs gigabytes and minutes.
    uint64_t pixels = static_cast<uint64_t>(cinfo.image_width) * cinfo.image_height;
    if (pixels > kiva::kMaxSurfacePixels) {
        std::fprintf(stderr, "%s: picture of %u x %u pixels is larger than the %llu pixels a picture may have\n",
                     fileName, static_cast<unsigned>(cinfo.image_width), static_cast<unsigned>(cinfo.image_height),
                     static_cast<unsigned long long>(kiva::kMaxSurfacePixels));
        std::fflush(stderr);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        EndForRefusedPicture();
    }

    jpeg_start_decompress(&cinfo);

    *width = static_cast<uint16_t>(cinfo.output_width);
    *height = static_cast<uint16_t>(cinfo.output_height);

    // The rows always hold three bytes a pixel, whatever the file's
    // component count; see ScanlineToRgb.
    const int components = cinfo.output_components;
    const bool invertedInks = cinfo.saw_Adobe_marker != 0;
    uint32_t rowLength = static_cast<uint32_t>(cinfo.output_width) * 3;
    uint32_t sampleLength = static_cast<uint32_t>(cinfo.output_width) * components;

    size_t total = static_cast<size_t>(rowLength) * *height;
    buffer = static_cast<unsigned char*>(std::calloc(total == 0 ? 1 : total, 1));
    if (buffer == nullptr) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        return -2;
    }

    JSAMPARRAY sampleRow =
        (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, sampleLength, 1);

    for (uint16_t row = 0; row < *height; ++row) {
        jpeg_read_scanlines(&cinfo, sampleRow, 1);
        ScanlineToRgb(sampleRow[0], buffer + static_cast<size_t>(row) * rowLength, cinfo.output_width, components,
                      invertedInks);
    }

    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    *rows = buffer;
    return 0;
}

// A picture that cannot be opened throws ERR_NO_FILE; this line on standard
// error first names the file and the reason, so that an uncaught error
// still tells what went wrong.
static void ReportUnopenedPicture(const char* fileName, const char* reason) {
    std::fprintf(stderr, "graphics: cannot open picture %s%s%s: %s\n", fileName ? "\"" : "",
                 fileName ? fileName : "(no file name)", fileName ? "\"" : "", reason);
    std::fflush(stderr);
}

image::image() = default;

// The constructors below first delegate to the default one, so the object
// counts as constructed: when Load or an allocation throws, the destructor
// still releases whatever was allocated before.

image::image(const char* fileName, ImageKind kind) : image() {
    if (fileName == nullptr) {
        ReportUnopenedPicture(nullptr, "no file name given");
        throw ERR_NO_FILE;
    }
    Load(fileName, kind);
}

image::image(std::string fileName, ImageKind kind) : image() { Load(fileName.c_str(), kind); }

image::image(const image& other) : image() {
    imgKind = other.imgKind;
    imgHeight = other.imgHeight;
    imgWidth = other.imgWidth;
    bmapInfo = NewTopDownHeader(imgWidth, imgHeight);
    if (other.imgPixels == nullptr) return;  // an empty source gives an empty copy
    size_t bytes = PixelBytes(imgWidth, imgHeight);
    imgPixels = static_cast<unsigned char*>(std::malloc(bytes == 0 ? 1 : bytes));
    if (imgPixels == nullptr) throw ERR_ALLOCATION;
    std::memcpy(imgPixels, other.imgPixels, bytes);
}

image& image::operator=(const image& other) {
    if (this == &other) return *this;
    std::free(bmapInfo);
    bmapInfo = nullptr;
    std::free(imgPixels);
    imgPixels = nullptr;

    imgKind = other.imgKind;
    imgHeight = other.imgHeight;
    imgWidth = other.imgWidth;
    bmapInfo = NewTopDownHeader(imgWidth, imgHeight);
    if (other.imgPixels == nullptr) return *this;
    size_t bytes = PixelBytes(imgWidth, imgHeight);
    imgPixels = static_cast<unsigned char*>(std::malloc(bytes == 0 ? 1 : bytes));
    if (imgPixels == nullptr) throw ERR_ALLOCATION;
    std::memcpy(imgPixels, other.imgPixels, bytes);
    return *this;
}

image::~image() {
    std::free(bmapInfo);
    std::free(imgPixels);
}

void image::Load(std::string fileName, ImageKind kind) { Load(fileName.c_str(), kind); }

void image::Load(const char* fileName, ImageKind kind) {
    if (fileName == nullptr) {
        ReportUnopenedPicture(nullptr, "no file name given");
        throw ERR_NO_FILE;
    }
    imgKind = kind;

    std::free(bmapInfo);
    bmapInfo = nullptr;
    std::free(imgPixels);
    imgPixels = nullptr;

    bmapInfo = NewTopDownHeader(0, 0);

    if (kind != IK_JPEG && kind != IK_PNG) {
        FatalError("Fatal Error: Unsupported image type!");
        return;
    }

    unsigned char* rows = nullptr;
    errno = 0;
    int result = kind == IK_PNG ? DecodePngFile(fileName, &imgWidth, &imgHeight, &rows)
                                : DecodeJpegFile(fileName, &imgWidth, &imgHeight, &rows);
    const int openError = errno != 0 ? errno : ENOENT;
    if (result == -1) {
        ReportUnopenedPicture(fileName, NamesFolder(fileName) ? "it is a folder" : std::strerror(openError));
        throw ERR_NO_FILE;
    }
    if (result == -2) {
        std::free(bmapInfo);
        bmapInfo = nullptr;
        throw ERR_ALLOCATION;
    }

    DescribeTopDownPixels(*bmapInfo, imgWidth, imgHeight);
    if (kind == IK_PNG) {  // already blue, green, red, 0
        imgPixels = rows;
        return;
    }

    size_t bytes = PixelBytes(imgWidth, imgHeight);
    imgPixels = static_cast<unsigned char*>(std::malloc(bytes == 0 ? 1 : bytes));
    if (imgPixels == nullptr) {
        std::free(rows);  // the rows would otherwise be lost
        throw ERR_ALLOCATION;
    }

    // Three bytes (red, green, blue) in, four bytes (blue, green, red, 0) out.
    size_t sourceBytes = static_cast<size_t>(imgWidth) * 3 * imgHeight;
    unsigned char* target = imgPixels;
    for (size_t source = 0; source < sourceBytes; source += 3) {
        target[0] = rows[source + 2];
        target[1] = rows[source + 1];
        target[2] = rows[source + 0];
        target[3] = 0;
        target += 4;
    }

    std::free(rows);
}
