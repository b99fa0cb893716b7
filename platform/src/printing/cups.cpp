// cups.cpp - printing to a CUPS queue without a dialog: finding the
// queue and its default page, and sending a PDF document to it (IPP
// Create-Job and Send-Document), which returns once the scheduler has
// spooled the document. CUPS_SERVER chooses the scheduler, as for lp.
#include <cups/cups.h>

#include "pdf_output.h"
#include "print_module.h"

namespace platform {

bool FindCupsQueue(const std::string& name, PageGeometry& page, std::string& reason) {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
    if (!dest) {
        if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE || cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
            reason = "the print service has no printer \"" + name + "\"";
        else
            reason = std::string("the print service did not answer: ") + cupsLastErrorString();
        return false;
    }
    page = DefaultPage();
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        int dpi = 300;
        if (ipp_attribute_t* resolution = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution")) {
            int y = 0;
            ipp_res_t units = IPP_RES_PER_INCH;
            int x = ippGetResolution(resolution, 0, &y, &units);
            if (x > 0) dpi = units == IPP_RES_PER_CM ? static_cast<int>(x * 2.54 + 0.5) : x;
        }
        cups_size_t size;
        // Sizes and margins are in hundredths of a millimetre.
        if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &size) && size.width > 0 && size.length > 0) {
            const double pt = 72.0 / 2540.0;
            page = MakePage(size.width * pt, size.length * pt, size.left * pt, size.top * pt, size.right * pt,
                            size.bottom * pt, dpi);
        } else {
            page = MakePage(page.paperWidthPt, page.paperHeightPt, 0, 0, 0, 0, dpi);
        }
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return true;
}

namespace {

class CupsQueue : public PdfOutput {
public:
    explicit CupsQueue(std::string name) : name_(std::move(name)) {}

protected:
    bool Open(std::string&) override {
        pdf_.clear();
        return true;
    }
    bool Write(const unsigned char* data, size_t length) override {
        pdf_.append(reinterpret_cast<const char*>(data), length);
        return true;
    }
    bool Deliver(std::string& reason) override {
        int job = cupsCreateJob(CUPS_HTTP_DEFAULT, name_.c_str(), title_.c_str(), 0, nullptr);
        if (job <= 0) {
            reason = "the print service refused the job for \"" + name_ + "\": " + cupsLastErrorString();
            return false;
        }
        bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, name_.c_str(), job, title_.c_str(), CUPS_FORMAT_PDF, 1) ==
                        HTTP_STATUS_CONTINUE &&
                    cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf_.data(), pdf_.size()) == HTTP_STATUS_CONTINUE;
        ipp_status_t status = cupsFinishDocument(CUPS_HTTP_DEFAULT, name_.c_str());
        pdf_.clear();
        if (!sent || status > IPP_STATUS_OK_EVENTS_COMPLETE) {
            reason = "the print service did not take the job for \"" + name_ + "\": " + cupsLastErrorString();
            cupsCancelJob2(CUPS_HTTP_DEFAULT, name_.c_str(), job, 0);
            return false;
        }
        return true;
    }
    void Discard() override { pdf_.clear(); }

private:
    std::string name_;
    std::string pdf_;
};

}  // namespace

std::unique_ptr<PrintOutput> NewCupsOutput(const std::string& name) { return std::make_unique<CupsQueue>(name); }

}  // namespace platform
