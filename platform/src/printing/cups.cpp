// cups.cpp - printing to a CUPS queue without a dialog: finding the
// queue and its default page (IPP Get-Printer-Attributes), and sending a
// PDF document to it (Create-Job and Send-Document), which counts as printed
// only once the scheduler has answered the document with success.
// CUPS_SERVER chooses the scheduler, as for lp. Each exchange is one request
// on a connection of our own whose every wait is bounded (print_module.h),
// so a scheduler that is not there, freezes or dies half-way is told as such
// instead of being waited for or taken for a success.
#include <cups/cups.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "pdf_output.h"
#include "print_module.h"

namespace platform {
namespace {

// The print service as the user names it: a socket's path, or host:port.
std::string ServiceName() {
    const char* server = cupsServer();
    if (server[0] == '/') return server;
    return std::string(server) + ":" + std::to_string(ippPort());
}

std::string Silent() { return "did not answer within " + std::to_string(kPrintServicePatienceSeconds) + " seconds"; }

// Why nothing answers at the service's addresses. libcups tells only "Host
// is down" when a connection fails, so the addresses are tried once more
// here, for at most `waitMs`, to learn the system's reason (connection
// refused, no such socket, ...).
std::string WhyUnreachable(int waitMs) {
    http_addrlist_t* addresses = httpAddrGetList(cupsServer(), AF_UNSPEC, std::to_string(ippPort()).c_str());
    int error = EHOSTDOWN;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (http_addrlist_t* a = addresses; a; a = a->next) {
        int fd = socket(httpAddrFamily(&a->addr), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            error = errno;
            continue;
        }
        if (connect(fd, &a->addr.addr, static_cast<socklen_t>(httpAddrLength(&a->addr))) == 0) {
            error = 0;
        } else if (errno != EINPROGRESS) {
            error = errno;
        } else {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p = {fd, POLLOUT, 0};
            socklen_t size = sizeof error;
            if (poll(&p, 1, static_cast<int>(std::max<long long>(left.count(), 1))) <= 0)
                error = ETIMEDOUT;
            else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
                error = errno;
        }
        close(fd);
        if (error == 0) break;
    }
    httpAddrFreeList(addresses);
    if (error == ETIMEDOUT) return Silent();
    // Reachable now: it came back between the two tries.
    if (error == 0) return "could not be connected to";
    return std::string("cannot be reached: ") + std::strerror(error);
}

// The answer to libcups when a wait has lasted the patience: stop waiting.
int GiveUp(http_t*, void*) { return 0; }

// One connection to the print service.
class Scheduler {
public:
    Scheduler() = default;
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;
    ~Scheduler() {
        if (http_) httpClose(http_);
    }

    // False, with the reason, when the service cannot be reached.
    bool Connect(std::string& reason) {
        auto start = std::chrono::steady_clock::now();
        http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             kPrintServicePatienceSeconds * 1000, nullptr);
        if (http_) {
            // Every read and write gives up after the patience, instead of
            // waiting on for a scheduler that has stopped.
            httpSetTimeout(http_, kPrintServicePatienceSeconds, GiveUp, nullptr);
            return true;
        }
        if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE) {
            auto waited =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
            reason = "the print service at " + ServiceName() + " " +
                     WhyUnreachable(kPrintServicePatienceSeconds * 1000 - static_cast<int>(waited.count()));
        } else {
            reason = "the print service at " + ServiceName() + " cannot be reached: " + cupsLastErrorString();
        }
        return false;
    }

    http_t* Http() const { return http_; }

    // After a request: whether the scheduler answered it at all (an IPP
    // status, even a refusal, or an HTTP error). False, with the reason, when
    // the connection was lost or the scheduler stayed silent.
    bool Answered(std::string& reason) const {
        int error = httpError(http_);
        if (httpGetStatus(http_) != HTTP_STATUS_ERROR && error != ETIMEDOUT) return true;
        reason = "the print service at " + ServiceName();
        if (error == ETIMEDOUT)
            reason += " " + Silent();
        else if (error == EHOSTDOWN)  // libcups connected again, and failed
            reason += " broke off the connection and " + WhyUnreachable(kPrintServicePatienceSeconds * 1000);
        else if (error)
            reason += std::string(" broke off the connection: ") + std::strerror(error);
        else
            reason += " did not answer";
        return false;
    }

private:
    http_t* http_ = nullptr;
};

bool Succeeded(ipp_status_t status) { return status <= IPP_STATUS_OK_EVENTS_COMPLETE; }

int IntegerOf(ipp_t* collection, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(collection, name, IPP_TAG_INTEGER);
    return attribute ? ippGetInteger(attribute, 0) : 0;
}

// The page a queue prints by default, from its attributes: the default
// media (size and margins, in hundredths of a millimetre) and resolution;
// A4 without margins when it names no media, 300 dpi when it names no
// resolution.
PageGeometry DefaultPageOf(ipp_t* attributes) {
    int dpi = 300;
    if (ipp_attribute_t* resolution = ippFindAttribute(attributes, "printer-resolution-default", IPP_TAG_RESOLUTION)) {
        int y = 0;
        ipp_res_t units = IPP_RES_PER_INCH;
        int x = ippGetResolution(resolution, 0, &y, &units);
        if (x > 0) dpi = units == IPP_RES_PER_CM ? static_cast<int>(x * 2.54 + 0.5) : x;
    }
    int width = 0, length = 0, left = 0, top = 0, right = 0, bottom = 0;
    if (ipp_attribute_t* col = ippFindAttribute(attributes, "media-col-default", IPP_TAG_BEGIN_COLLECTION)) {
        ipp_t* media = ippGetCollection(col, 0);
        if (ipp_attribute_t* size = ippFindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION)) {
            width = IntegerOf(ippGetCollection(size, 0), "x-dimension");
            length = IntegerOf(ippGetCollection(size, 0), "y-dimension");
        }
        left = IntegerOf(media, "media-left-margin");
        top = IntegerOf(media, "media-top-margin");
        right = IntegerOf(media, "media-right-margin");
        bottom = IntegerOf(media, "media-bottom-margin");
    }
    if (width <= 0 || length <= 0) {
        left = top = right = bottom = 0;
        width = length = 0;
        if (ipp_attribute_t* name = ippFindAttribute(attributes, "media-default", IPP_TAG_ZERO)) {
            const char* keyword = ippGetString(name, 0, nullptr);
            const pwg_media_t* media = keyword ? pwgMediaForPWG(keyword) : nullptr;
            if (!media && keyword) media = pwgMediaForLegacy(keyword);
            if (media) width = media->width, length = media->length;
        }
    }
    PageGeometry a4 = DefaultPage();
    if (width <= 0 || length <= 0) return MakePage(a4.paperWidthPt, a4.paperHeightPt, 0, 0, 0, 0, dpi);
    const double pt = 72.0 / 2540.0;
    return MakePage(width * pt, length * pt, left * pt, top * pt, right * pt, bottom * pt, dpi);
}

}  // namespace

bool FindCupsQueue(const std::string& name, PageGeometry& page, std::string& reason) {
    Scheduler scheduler;
    if (!scheduler.Connect(reason)) return false;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     name.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const wanted[] = {"media-col-default", "media-default", "printer-resolution-default"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, wanted);
    ipp_t* answer = cupsDoRequest(scheduler.Http(), request, "/");
    if (!scheduler.Answered(reason)) {
        ippDelete(answer);
        return false;
    }
    ipp_status_t status = answer ? ippGetStatusCode(answer) : cupsLastError();
    if (!Succeeded(status)) {
        if (status == IPP_STATUS_ERROR_NOT_FOUND)
            reason = "the print service has no such printer";
        else
            reason = "the print service did not describe the printer \"" + name + "\": " + cupsLastErrorString();
        ippDelete(answer);
        return false;
    }
    page = DefaultPageOf(answer);
    ippDelete(answer);
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
        std::string pdf;
        pdf.swap(pdf_);
        Scheduler scheduler;
        if (!scheduler.Connect(reason)) return false;
        http_t* http = scheduler.Http();
        int job = cupsCreateJob(http, name_.c_str(), title_.c_str(), 0, nullptr);
        if (!scheduler.Answered(reason)) return false;
        if (job <= 0) {
            reason = "the print service refused the job for \"" + name_ + "\": " + cupsLastErrorString();
            return false;
        }
        // The document is the job's only one. Its answer comes with the
        // finish; a lost connection or silence means the job was not taken,
        // whatever the status libcups last recorded.
        bool sent =
            cupsStartDocument(http, name_.c_str(), job, title_.c_str(), CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE &&
            cupsWriteRequestData(http, pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
        ipp_status_t status = cupsFinishDocument(http, name_.c_str());
        if (!scheduler.Answered(reason)) return false;
        if (!sent || !Succeeded(status)) {
            reason = "the print service did not take the job for \"" + name_ + "\": " + cupsLastErrorString();
            // It answered, so it can be asked to drop the job it holds.
            cupsCancelJob2(http, name_.c_str(), job, 0);
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
