// Moving pictures between an image and a window's drawing surface:
// DrawImage puts an image on dcActive at its own size or stretched;
// StoreImage captures a rectangle of dcActive into an image.
#include <algorithm>
#include <cstdlib>

#include "graphics_internal.h"

void window::DrawImage(const image* img, int32_t x, int32_t y, int32_t width, int32_t height) {
    ProcessOneMessage();

    // No image at all is drawn like an empty one: nothing, silently.
    if (img == nullptr) return;
    if (img->imgWidth == 0 || img->imgHeight == 0 || img->imgPixels == nullptr) return;

    if (img->imgKind != IK_JPEG && img->imgKind != IK_CAPTURE && img->imgKind != IK_PNG) {
        FatalError("Fatal Error: Unsupported image type!");
        return;
    }

    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(img->bmapInfo);
    if (width == -1 || height == -1) {
        if (SetDIBitsToDevice(dcActive, x, y, img->imgWidth, img->imgHeight, 0, 0, 0, img->imgHeight,
                              img->imgPixels, info, DIB_RGB_COLORS) == 0) {
            FatalError("Fatal Error: Failed to SetDIBitsToDevice in DrawImage!");
        }
    } else {
        // Colour pictures are scaled by keeping whole rows and columns: the
        // platform's default mode ANDs the ones it drops, which is meant for
        // monochrome bitmaps and posterises a photo.
        SetStretchBltMode(dcActive, COLORONCOLOR);
        if (StretchDIBits(dcActive, x, y, width, height, 0, 0, img->imgWidth, img->imgHeight,
                          img->imgPixels, info, DIB_RGB_COLORS, SRCCOPY) == -1) {
            FatalError("Fatal Error: Failed to StretchDIBits in DrawImage!");
        }
    }
}

void window::DrawImage(const image& img, int32_t x, int32_t y, int32_t width, int32_t height) {
    DrawImage(&img, x, y, width, height);
}

void window::StoreImage(image* imgThis, uint32_t x, uint16_t y, uint16_t width, uint16_t height) {
    ProcessOneMessage();

    // Nowhere to put the capture: nothing to do.
    if (imgThis == nullptr) return;

    // Touching the right or bottom edge is allowed, going past it is not.
    // The sums are taken in 64 bits so that a huge x cannot wrap around to a
    // small right edge and slip through; a negative drawing size (of a
    // window that was refused) holds no rectangle at all.
    const uint64_t right = static_cast<uint64_t>(std::max<int32_t>(drawWidth, 0));
    const uint64_t bottom = static_cast<uint64_t>(std::max<int32_t>(drawHeight, 0));
    if (static_cast<uint64_t>(x) + width > right || static_cast<uint64_t>(y) + height > bottom) {
        FatalError("Fatal Error: StoreImage selection extends outside the window!");
        return;
    }

    // The new header and pixel buffer are allocated before anything of the
    // image changes: when either allocation fails, the image keeps its old
    // picture whole (a size that did not match its buffer would let a later
    // copy or draw read past the buffer's end).
    BITMAPINFOHEADER* header = NewTopDownHeader(width, height);
    size_t bytes = static_cast<size_t>(width) * 4 * height;
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(bytes == 0 ? 1 : bytes));
    if (pixels == nullptr) {
        std::free(header);
        throw ERR_ALLOCATION;
    }
    std::free(imgThis->bmapInfo);
    std::free(imgThis->imgPixels);
    imgThis->bmapInfo = header;
    imgThis->imgPixels = pixels;
    imgThis->imgWidth = width;
    imgThis->imgHeight = height;
    imgThis->imgKind = IK_CAPTURE;

    imgThis->dcTempBuffer = CreateCompatibleDC(dcActive);
    imgThis->bmapTempBuffer = CreateCompatibleBitmap(dcActive, width, height);
    HGDIOBJ displaced = SelectObject(imgThis->dcTempBuffer, imgThis->bmapTempBuffer);

    if (BitBlt(imgThis->dcTempBuffer, 0, 0, width, height, dcActive, static_cast<int>(x), y, SRCCOPY) != 1) {
        FatalError("Fatal Error: Failed to BitBlt in StoreImage!");
    }

    if (GetDIBits(dcActive, imgThis->bmapTempBuffer, 0, height, imgThis->imgPixels,
                  reinterpret_cast<BITMAPINFO*>(imgThis->bmapInfo), DIB_RGB_COLORS) == 0) {
        FatalError("Fatal Error: Failed to GetDIBits in StoreImage!");
    }

    SelectObject(imgThis->dcTempBuffer, displaced);

    DeleteOrReport(imgThis->bmapTempBuffer, "Fatal Error: Failed to delete imgThis->bmapTempBuffer in StoreImage!");
    DeleteOrReport(imgThis->dcTempBuffer, "Fatal Error: Failed to delete imgThis->dcTempBuffer in StoreImage!");
}

void window::StoreImage(image& imgThis, uint32_t x, uint16_t y, uint16_t width, uint16_t height) {
    StoreImage(&imgThis, x, y, width, height);
}
