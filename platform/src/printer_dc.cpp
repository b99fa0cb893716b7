// printer_dc.cpp - printer device contexts: the page's figures for
// GetDeviceCaps, and block transfers kept as pictures of the page (so a
// 1000 x 720 window prints as a 1000 x 720 image scaled onto the paper, not
// as a page of printer pixels).
#include "printer_dc.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "gdi_service.h"

namespace platform {
namespace {

// GetDeviceCaps of a printer: the page's figures.
int PageCaps(const PageGeometry& page, int index) {
    auto pixels = [&](double points) { return static_cast<int>(std::lround(points * page.dpi / 72.0)); };
    constexpr int kTechnology = 2, kRasterPrinter = 2;  // TECHNOLOGY, DT_RASPRINTER
    switch (index) {
        case kTechnology: return kRasterPrinter;
        case HORZRES: return page.horzRes;
        case VERTRES: return page.vertRes;
        case BITSPIXEL: return 24;
        case PLANES: return 1;
        case LOGPIXELSX:
        case LOGPIXELSY: return page.dpi;
        case RASTERCAPS: return page.rasterCaps;
        case PHYSICALWIDTH: return pixels(page.paperWidthPt);
        case PHYSICALHEIGHT: return pixels(page.paperHeightPt);
        case PHYSICALOFFSETX: return pixels(page.leftPt);
        case PHYSICALOFFSETY: return pixels(page.topPt);
        default: return 0;
    }
}

}  // namespace

PrinterDevice::~PrinterDevice() {
    if (inDocument) Output().Abandon();
}

HDC CreatePrinterDC(std::shared_ptr<PrinterDevice> device) { return CreateDeviceDC(std::move(device)); }

PrinterDevice* LookupPrinter(HDC dc) {
    Device* device = DeviceOf(dc);
    return device ? device->Page() : nullptr;
}

bool PrinterDevice::Caps(int index, int& value) const {
    value = PageCaps(page, index);
    return true;
}


BOOL PlaceOnPage(PrinterDevice& printer, int x, int y, int width, int height, const Surface* source, int xSrc,
                 int ySrc, int srcWidth, int srcHeight, DWORD rop) {
    if (rop != SRCCOPY) return FALSE;
    if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return TRUE;
    // Negative sizes mirror, as on any DC.
    Placement placed;
    int64_t px = x, py = y, pw = width, ph = height, sx = xSrc, sy = ySrc, sw = srcWidth, sh = srcHeight;
    placed.mirrorX = (pw < 0) != (sw < 0);
    placed.mirrorY = (ph < 0) != (sh < 0);
    if (pw < 0) px += pw + 1, pw = -pw;
    if (ph < 0) py += ph + 1, ph = -ph;
    if (sw < 0) sx += sw + 1, sw = -sw;
    if (sh < 0) sy += sh + 1, sh = -sh;
    constexpr int64_t kMostPixels = int64_t(1) << 26;  // 64M: more than any window
    if (sw * sh > kMostPixels || px > INT32_MAX || py > INT32_MAX) return FALSE;
    placed.x = static_cast<int>(px);
    placed.y = static_cast<int>(py);
    placed.width = static_cast<int>(pw);
    placed.height = static_cast<int>(ph);
    // Source pixels outside the source's surface are paper white.
    placed.pixels = Surface(static_cast<int32_t>(sw), static_cast<int32_t>(sh), 0xFFFFFFu);
    if (source) {
        for (int64_t j = 0; j < sh; ++j) {
            int64_t row = sy + j;
            if (row < 0 || row >= source->height) continue;
            const uint32_t* in = source->Row(static_cast<int32_t>(row));
            uint32_t* out = placed.pixels.Row(static_cast<int32_t>(j));
            for (int64_t i = 0; i < sw; ++i) {
                int64_t col = sx + i;
                if (col >= 0 && col < source->width) out[i] = in[col] & 0xFFFFFFu;
            }
        }
    }
    printer.placements.push_back(std::move(placed));
    return TRUE;
}

}  // namespace platform
