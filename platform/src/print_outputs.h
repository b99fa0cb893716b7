// print_outputs.h - where printed documents go: a PDF file, a CUPS queue
// (print_cups.cpp) or the GTK print dialog's choice (print_gtk.cpp), and
// the PDF writer that the first two share. Used by the printing service.
#ifndef PLATFORM_PRINT_OUTPUTS_H
#define PLATFORM_PRINT_OUTPUTS_H

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "printer_dc.h"

typedef struct _cairo_surface cairo_surface_t;

namespace platform {

// A document written as PDF, one PDF page per printed page, handed to
// Deliver when complete.
class PdfOutput : public PrintOutput {
public:
    ~PdfOutput() override;
    bool BeginDocument(const PageGeometry& page, const std::string& title, std::string& reason) override;
    bool EndPage(const PageGeometry& page, const std::vector<Placement>& placements, std::string& reason) override;
    bool EndDocument(std::string& reason) override;
    void Abandon() override;

protected:
    // Prepares the destination (before the first byte).
    virtual bool Open(std::string& reason) = 0;
    // Takes the next bytes of the PDF; false when they cannot be kept.
    virtual bool Write(const unsigned char* data, size_t length) = 0;
    // The PDF is complete: hands it on.
    virtual bool Deliver(std::string& reason) = 0;
    // The document was dropped: removes whatever Open made.
    virtual void Discard() {}
    std::string title_;
    std::string writeError_;  // why the last Write failed

private:
    void Close();
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
};

// A PDF file at `path`, replaced if it exists.
std::unique_ptr<PrintOutput> NewPdfFileOutput(const std::string& path);

// A sheet of A4 (210 x 297 mm) without margins at 300 dpi: the page of a
// PDF file, and of a queue that names no page of its own.
PageGeometry DefaultPage();

// ---------------------------------------------------------------- CUPS
// Finds the CUPS queue `name` and the page it prints by default; false with
// the print service's reason when there is no such queue or no service.
bool FindCupsQueue(const std::string& name, PageGeometry& page, std::string& reason);
// A PDF document sent to the CUPS queue `name` when it ends; EndDoc returns
// once the print service has spooled it.
std::unique_ptr<PrintOutput> NewCupsOutput(const std::string& name);

// ---------------------------------------------------------------- GTK dialog
enum class DialogOutcome { Chosen, Cancelled, Unavailable };
// Shows GTK's print dialog, owned by and modal to `owner`. Chosen: `page`
// and `output` describe the printer and page set-up the user chose.
// Unavailable: GTK cannot open the display (`why` says so).
DialogOutcome RunPrintDialog(HWND owner, PageGeometry& page, std::unique_ptr<PrintOutput>& output, std::string& why);

}  // namespace platform

#endif
