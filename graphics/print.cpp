// Printing: the window's back buffer on one page of a printer that the user
// picks in the platform's print dialog, stretched to the page width when the
// printer can stretch, otherwise copied at the printer's pixel size, centred.
// Refusals are told in message boxes; failures of the document, page, copy
// and delete steps go to the fatal error report and the sequence goes on.
#include <cmath>
#include <cstring>

#include "graphics_internal.h"

namespace {

void Refuse(HWND owner, const char* text) { MessageBoxA(owner, text, "Graphics Library", MB_OK | MB_ICONWARNING); }

// page width x drawHeight / drawWidth in double precision, truncated toward
// zero; a quotient that is no whole number a device can take (a window of
// width 0) gives 0.
int32_t PrintedHeight(int32_t pageWidth, int32_t drawWidth, int32_t drawHeight) {
    double height = static_cast<double>(pageWidth) * drawHeight / drawWidth;
    if (!std::isfinite(height) || std::fabs(height) >= 2147483647.0) return 0;
    return static_cast<int32_t>(height);
}

}  // namespace

void window::Print() {
    ProcessOneMessage();
    if (bufferingOn != 1) {
        Refuse(hwndWindow, "Double-buffering must be enabled for printing to work.  Sorry.");
        return;
    }

    PRINTDLGA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwndWindow;
    dialog.hDevMode = nullptr;
    dialog.hDevNames = nullptr;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    if (PrintDlgA(&dialog) == 0) return;
#ifdef _WIN32
    // The dialog allocated the device mode and names for us; the device
    // context is all this call needs.
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
#endif
    HDC dcPrinter = dialog.hDC;

    if (!(GetDeviceCaps(dcPrinter, RASTERCAPS) & RC_BITBLT)) {
        Refuse(hwndWindow, "Your printer does not support bitblts.  Sorry");
        DeleteDC(dcPrinter);
        return;
    }
    if (!(GetDeviceCaps(dcPrinter, RASTERCAPS) & RC_BITMAP64)) {
        Refuse(hwndWindow, "Your printer does not support bitmaps larger than 64K.  Sorry.");
        DeleteDC(dcPrinter);
        return;
    }

    DOCINFOA document;
    document.cbSize = sizeof document;
    document.lpszDocName = nullptr;
    document.lpszOutput = nullptr;
    document.lpszDatatype = nullptr;
    document.fwType = 0;
    if (StartDocA(dcPrinter, &document) <= 0) FatalError("Fatal Error: Failed to StartDoc in Print!");
    if (StartPage(dcPrinter) <= 0) FatalError("Fatal Error: Failed to StartPage in Print!");

    if (GetDeviceCaps(dcPrinter, RASTERCAPS) & RC_STRETCHBLT) {
        // Scaled to the page width, centred vertically; a page too short for
        // the picture cuts it at the top and the bottom.
        int32_t pageWidth = GetDeviceCaps(dcPrinter, HORZRES);
        int32_t printedHeight = PrintedHeight(pageWidth, drawWidth, drawHeight);
        int32_t top = (GetDeviceCaps(dcPrinter, VERTRES) - printedHeight) >> 1;
        if (StretchBlt(dcPrinter, 0, top, pageWidth, printedHeight, dcActive, 0, 0, drawWidth, drawHeight, SRCCOPY) != 1)
            FatalError("Fatal Error: Failed to StretchBlt in Print!");
    } else {
        int32_t left = (GetDeviceCaps(dcPrinter, HORZRES) - drawWidth) >> 1;
        int32_t top = (GetDeviceCaps(dcPrinter, VERTRES) - drawHeight) >> 1;
        if (BitBlt(dcPrinter, left, top, drawWidth, drawHeight, dcActive, 0, 0, SRCCOPY) != 1)
            FatalError("Fatal Error: Failed to BitBlt in Print!");
    }

    if (EndPage(dcPrinter) <= 0) FatalError("Fatal Error: Failed to EndPage in Print!");
    if (EndDoc(dcPrinter) <= 0) FatalError("Fatal Error: Failed to EndDoc in Print!");
    if (DeleteDC(dcPrinter) != 1) FatalError("Fatal Error: Failed to delete dcPrinter in Print!");
}
