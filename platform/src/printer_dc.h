// printer_dc.h - printer device contexts: the page a printer offers (its
// printable area in device pixels, resolution and raster capabilities), the
// pictures that block transfers place on the current page, and where the
// finished pages go (a PrintOutput: a PDF file, a CUPS queue, a GTK print
// job - all in the printing module - or a test's record). Used by the
// printing service (print.cpp), by GetDeviceCaps (gdi.cpp), by
// BitBlt/StretchBlt (bitmap.cpp) and by the printing module.
#ifndef PLATFORM_PRINTER_DC_H
#define PLATFORM_PRINTER_DC_H

#include <windows.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "surface.h"

namespace platform {

// One sheet as the printer sees it. Device pixels are 1/dpi inch.
struct PageGeometry {
    int horzRes = 0;  // printable width, device pixels (HORZRES)
    int vertRes = 0;  // printable height (VERTRES)
    int dpi = 300;    // LOGPIXELSX and LOGPIXELSY
    double paperWidthPt = 0, paperHeightPt = 0;  // the sheet, points (1/72 inch)
    double leftPt = 0, topPt = 0;                // corner of the printable area on the sheet
    int rasterCaps = RC_BITBLT | RC_BITMAP64 | RC_STRETCHBLT;
};

// A page of paperWidthPt x paperHeightPt points with the given margins,
// printed at dpi: the printable area in whole device pixels.
inline PageGeometry MakePage(double paperWidthPt, double paperHeightPt, double leftPt, double topPt, double rightPt,
                      double bottomPt, int dpi) {
    PageGeometry page;
    page.dpi = dpi > 0 ? dpi : 300;
    page.paperWidthPt = paperWidthPt;
    page.paperHeightPt = paperHeightPt;
    page.leftPt = leftPt;
    page.topPt = topPt;
    double width = paperWidthPt - leftPt - rightPt, height = paperHeightPt - topPt - bottomPt;
    page.horzRes = width > 0 ? static_cast<int>(std::floor(width * page.dpi / 72.0 + 1e-6)) : 0;
    page.vertRes = height > 0 ? static_cast<int>(std::floor(height * page.dpi / 72.0 + 1e-6)) : 0;
    return page;
}

// A picture placed on a page: the source pixels, copied when the transfer
// ran, drawn into the device-pixel rectangle (x, y, width, height).
struct Placement {
    int x = 0, y = 0, width = 0, height = 0;
    bool mirrorX = false, mirrorY = false;
    Surface pixels;
};

// Where a document's pages go. Each step returns false with a reason the
// user can read when it fails.
class PrintOutput {
public:
    virtual ~PrintOutput() = default;
    virtual bool BeginDocument(const PageGeometry& page, const std::string& title, std::string& reason) = 0;
    virtual bool EndPage(const PageGeometry& page, const std::vector<Placement>& placements, std::string& reason) = 0;
    virtual bool EndDocument(std::string& reason) = 0;
    // The document is dropped unfinished (AbortDoc, or the DC deleted
    // inside a document): nothing reaches the printer.
    virtual void Abandon() {}
};

struct PrinterDevice {
    PageGeometry page;
    std::unique_ptr<PrintOutput> output;     // where the chosen printer prints
    std::unique_ptr<PrintOutput> namedFile;  // the current document's own output file, if it names one
    PrintOutput& Output() { return namedFile ? *namedFile : *output; }
    HWND owner = nullptr;  // owner of the dialog: the title of the document, the owner of reports
    bool inDocument = false;
    bool inPage = false;
    // A step of the current document failed, was told, and dropped it.
    bool failed = false;
    std::vector<Placement> placements;  // on the current page
    ~PrinterDevice();
};

// A new printer DC (gdi.cpp): the DC owns the device and drops it when it
// is deleted.
HDC CreatePrinterDC(std::shared_ptr<PrinterDevice> device);
// The printer behind a DC, null for every other DC.
PrinterDevice* LookupPrinter(HDC dc);

// GetDeviceCaps of a printer DC.
int PrinterDeviceCaps(const PrinterDevice& printer, int index);

// BitBlt/StretchBlt onto a printer DC: the source rectangle of `source`
// (null when the source DC has no pixels) is kept as a picture of the page.
// Only plain copies (SRCCOPY) print.
BOOL PlaceOnPage(PrinterDevice& printer, int x, int y, int width, int height, const Surface* source, int xSrc,
                 int ySrc, int srcWidth, int srcHeight, DWORD rop);

}  // namespace platform

#endif
