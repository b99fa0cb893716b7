// pdf_output.h - a printed document written as PDF with cairo: the writer
// that PDF files (pdf.cpp) and CUPS queues (cups.cpp) share.
#ifndef PLATFORM_PRINTING_PDF_OUTPUT_H
#define PLATFORM_PRINTING_PDF_OUTPUT_H

#include <cstddef>
#include <string>
#include <vector>

#include "printer_dc.h"

typedef struct _cairo cairo_t;
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

}  // namespace platform

#endif
