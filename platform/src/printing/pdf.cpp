// pdf.cpp - printed documents as PDF (cairo): the writer shared by PDF
// files and CUPS queues, and the PDF file output itself.
#include <cairo-pdf.h>
#include <cairo.h>

#include "page_drawing.h"
#include "pdf_output.h"
#include "print_module.h"
#include "safe_files.h"

namespace platform {

PageGeometry DefaultPage() {
    const double mm = 72.0 / 25.4;
    return MakePage(210 * mm, 297 * mm, 0, 0, 0, 0, 300);
}

PdfOutput::~PdfOutput() { Close(); }

void PdfOutput::Close() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
    cr_ = nullptr;
    surface_ = nullptr;
}

bool PdfOutput::BeginDocument(const PageGeometry& page, const std::string& title, std::string& reason) {
    Close();
    title_ = title;
    if (!Open(reason)) return false;
    auto write = [](void* closure, const unsigned char* data, unsigned int length) {
        return static_cast<PdfOutput*>(closure)->Write(data, length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
    };
    surface_ = cairo_pdf_surface_create_for_stream(write, this, page.paperWidthPt, page.paperHeightPt);
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, "Graphics Library");
    cr_ = cairo_create(surface_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        reason = cairo_status_to_string(cairo_status(cr_));
        Close();
        Discard();
        return false;
    }
    return true;
}

bool PdfOutput::EndPage(const PageGeometry& page, const std::vector<Placement>& placements, std::string& reason) {
    if (!cr_) {
        reason = "no document is open";
        return false;
    }
    cairo_pdf_surface_set_size(surface_, page.paperWidthPt, page.paperHeightPt);
    DrawPlacements(cr_, page, placements);
    cairo_show_page(cr_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        reason = writeError_.empty() ? cairo_status_to_string(cairo_status(cr_)) : writeError_;
        return false;
    }
    return true;
}

bool PdfOutput::EndDocument(std::string& reason) {
    if (!cr_) {
        reason = "no document is open";
        return false;
    }
    cairo_destroy(cr_);
    cr_ = nullptr;
    cairo_surface_finish(surface_);
    cairo_status_t status = cairo_surface_status(surface_);
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    if (status != CAIRO_STATUS_SUCCESS) {
        reason = writeError_.empty() ? cairo_status_to_string(status) : writeError_;
        Discard();
        return false;
    }
    return Deliver(reason);
}

void PdfOutput::Abandon() {
    Close();
    Discard();
}

namespace {

// The PDF is written to a temporary file beside the target and renamed over
// it when complete: a failed print leaves the file that was there as it was,
// and a target that is not a regular file (a device, a folder, a named pipe)
// is refused without being opened.
class PdfFile : public PdfOutput {
public:
    explicit PdfFile(std::string path) : path_(std::move(path)) {}

protected:
    bool Open(std::string& reason) override {
        if (file_.Begin(path_, reason)) return true;
        reason = Cannot(reason);
        return false;
    }
    bool Write(const unsigned char* data, size_t length) override {
        std::string reason;
        if (file_.Write(data, length, reason)) return true;
        writeError_ = Cannot(reason);
        return false;
    }
    bool Deliver(std::string& reason) override {
        if (file_.Commit(reason)) return true;
        reason = Cannot(reason);
        return false;
    }
    void Discard() override { file_.Abandon(); }

private:
    std::string Cannot(const std::string& why) const { return "cannot write \"" + path_ + "\": " + why; }

    std::string path_;
    kiva_files::FileReplacement file_;
};

}  // namespace

std::unique_ptr<PrintOutput> NewPdfFileOutput(const std::string& path) { return std::make_unique<PdfFile>(path); }

}  // namespace platform
