// print.cpp - the printing service: PrintDlgA, which shows GTK's print
// dialog (or, without one, prints where GRAPHICS_PRINT_FILE or
// GRAPHICS_PRINTER say) and returns a printer device context; StartDocA,
// StartPage, EndPage, EndDoc and AbortDoc on that context. A failure the
// user must know about (a file that cannot be written, a print service that
// cannot be reached, refuses the job or does not answer) is told once, in a
// message box with the system's reason.
// The outputs and the dialog are in the printing module (printing/), loaded
// here on the first print that needs them. Also the printer that tests
// describe (platform_faults.h).
#include <windows.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "fault_points.h"
#include "platform_faults.h"
#include "printer_dc.h"
#include "printing/print_module.h"
#include "text_encoding.h"
#include "window_service.h"

using platform_faults::Call;
using platform_faults::ShouldFail;

namespace platform {
namespace {

// ---------------------------------------------------------------- test printer

struct TestPrinterState {
    bool set = false;
    platform_faults::TestPrinter printer{};
    std::vector<std::string> log;
};

TestPrinterState& TestState() {
    static TestPrinterState state;
    return state;
}

void Log(std::string line) { TestState().log.push_back(std::move(line)); }

class TestOutput : public PrintOutput {
public:
    ~TestOutput() override { Log("deleted"); }
    bool BeginDocument(const PageGeometry&, const std::string&, std::string&) override {
        Log("StartDoc");
        return true;
    }
    bool EndPage(const PageGeometry&, const std::vector<Placement>& placements, std::string&) override {
        for (const Placement& p : placements) {
            Log("image " + std::to_string(p.x) + " " + std::to_string(p.y) + " " + std::to_string(p.width) + " " +
                std::to_string(p.height) + " of " + std::to_string(p.pixels.width) + "x" +
                std::to_string(p.pixels.height));
        }
        Log("EndPage");
        return true;
    }
    bool EndDocument(std::string&) override {
        Log("EndDoc");
        return true;
    }
    void Abandon() override { Log("abandoned"); }
};

// ---------------------------------------------------------------- destinations

// Where documents go when no dialog is to be shown. GRAPHICS_PRINT_FILE (a
// PDF file) comes before GRAPHICS_PRINTER (a CUPS queue); empty values count
// as unset.
struct Destination {
    enum Kind { Dialog, File, Queue } kind = Dialog;
    std::string name;
};

Destination DestinationFromEnvironment() {
    Destination d;
    const char* file = std::getenv("GRAPHICS_PRINT_FILE");
    const char* queue = std::getenv("GRAPHICS_PRINTER");
    if (file && *file) {
        d.kind = Destination::File;
        d.name = file;
    } else if (queue && *queue) {
        d.kind = Destination::Queue;
        d.name = queue;
    }
    return d;
}

// The printing module, loaded once: from where the build put it, else from
// where an installation puts it, else from beside the program. Null, with the reason, when it cannot be loaded.
const PrintModule* Module(std::string& why) {
    static const PrintModule* module = nullptr;
    static std::string failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
#ifdef __EMSCRIPTEN__
        // The web build's module is linked in (print_web.cpp).
        module = kiva_print_module();
        if (module) return module;
#endif
        void* library = dlopen(KIVA_PRINT_MODULE, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            failure = dlerror();
            library = dlopen(KIVA_PRINT_MODULE_INSTALLED, RTLD_NOW | RTLD_LOCAL);
        }
        if (!library) {
            char self[4096];
            ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
            if (n > 0) {
                std::string beside(self, static_cast<size_t>(n));
                beside = beside.substr(0, beside.rfind('/') + 1) + "libkiva_print.so";
                library = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
            }
        }
        auto entry = library ? reinterpret_cast<const PrintModule* (*)()>(dlsym(library, "kiva_print_module")) : nullptr;
        if (entry) module = entry();
        if (!module) failure = "the printing module cannot be loaded: " + failure;
    }
    if (!module) why = failure;
    return module;
}

void Report(HWND owner, const std::string& text) {
    MessageBoxA(owner, text.c_str(), "Graphics Library", MB_OK | MB_ICONWARNING);
}

std::string TitleOf(HWND owner) {
    char title[256] = "";
    if (owner && GetWindowTextA(owner, title, sizeof title) > 0) return title;
    return "Graphics Library";
}

// A step of the document that failed is told once, and the document is
// dropped: the steps after it fail without telling the same reason again.
bool Failed(PrinterDevice& printer, bool ok, const std::string& reason) {
    if (ok) return true;
    Report(printer.owner, "Nothing was printed: " + reason);
    printer.Output().Abandon();
    printer.failed = true;
    return false;
}

}  // namespace
}  // namespace platform

namespace platform_faults {

void UseTestPrinter(const TestPrinter& printer) {
    auto& state = platform::TestState();
    state.set = true;
    state.printer = printer;
}

std::vector<std::string> TakePrinterLog() {
    std::vector<std::string> taken;
    taken.swap(platform::TestState().log);
    return taken;
}

void ClearFailuresAndBoxes();  // faults.cpp

// Everything a test armed, the test printer with the rest: here, above the
// failure points every service asks.
void ClearAll() {
    ClearFailuresAndBoxes();
    platform::TestState() = platform::TestPrinterState();
}

}  // namespace platform_faults

using namespace platform;

BOOL PrintDlgA(LPPRINTDLGA dialog) {
    if (ShouldFail(Call::PrintDlgA)) return FALSE;
    if (!dialog || dialog->lStructSize != sizeof(PRINTDLGA)) return FALSE;
    dialog->hDC = nullptr;
    auto printer = std::make_shared<PrinterDevice>();
    printer->owner = dialog->hwndOwner;

    TestPrinterState& test = TestState();
    Destination destination = DestinationFromEnvironment();
    std::string why;
    const PrintModule* module = test.set ? nullptr : Module(why);
    if (!test.set && !module) {
        Report(dialog->hwndOwner, "Nothing was printed: " + why);
        return FALSE;
    }
    if (test.set) {
        char flags[32];
        std::snprintf(flags, sizeof flags, "0x%lx", static_cast<unsigned long>(dialog->Flags));
        Log(std::string("PrintDlg flags=") + flags);
        const platform_faults::TestPrinter& t = test.printer;
        printer->page.horzRes = t.width;
        printer->page.vertRes = t.height;
        printer->page.dpi = t.dpi;
        printer->page.paperWidthPt = t.width * 72.0 / t.dpi;
        printer->page.paperHeightPt = t.height * 72.0 / t.dpi;
        printer->page.rasterCaps = t.rasterCaps;
        printer->output = std::make_unique<TestOutput>();
    } else if (destination.kind == Destination::File) {
        printer->page = module->defaultPage();
        printer->output = module->newPdfFile(destination.name);
    } else if (destination.kind == Destination::Queue) {
        std::string reason;
        if (!module->findCupsQueue(destination.name, printer->page, reason)) {
            Report(dialog->hwndOwner, "Nothing was printed: GRAPHICS_PRINTER names the printer \"" +
                                          destination.name + "\", but " + reason + ".");
            return FALSE;
        }
        printer->output = module->newCupsQueue(destination.name);
    } else {
        DialogOutcome outcome = DialogOutcome::Unavailable;
        if (OnScreen()) {
            outcome = module->runPrintDialog(DialogOwnerFor(dialog->hwndOwner), printer->page, printer->output, why);
        } else {
            why = "there is no display to show the print dialog on";
        }
        if (outcome == DialogOutcome::Unavailable) {
            static bool told = false;
            if (!told) {
                told = true;
                std::fprintf(stderr,
                             "graphics: nothing printed: %s; set GRAPHICS_PRINT_FILE to a PDF file name or "
                             "GRAPHICS_PRINTER to a CUPS queue to print without the dialog\n",
                             why.c_str());
                std::fflush(stderr);
            }
            return FALSE;
        }
        if (outcome == DialogOutcome::Cancelled) return FALSE;
    }
    if (dialog->Flags & PD_RETURNDC) dialog->hDC = CreatePrinterDC(std::move(printer));
    dialog->nCopies = 1;
    return TRUE;
}

int StartDocA(HDC dc, const DOCINFOA* docInfo) {
    if (ShouldFail(Call::StartDocA)) return SP_ERROR;
    PrinterDevice* printer = LookupPrinter(dc);
    if (!printer || printer->inDocument) return SP_ERROR;
    // A document sent to a file by name is written there as PDF.
    printer->namedFile.reset();
    std::string why;
    const PrintModule* module = nullptr;
    if (docInfo && docInfo->lpszOutput && *docInfo->lpszOutput && !TestState().set && (module = Module(why)))
        printer->namedFile = module->newPdfFile(docInfo->lpszOutput);
    // The document's title goes to toolkits that read UTF-8.
    std::string title =
        Utf8Text(docInfo && docInfo->lpszDocName ? docInfo->lpszDocName : TitleOf(printer->owner).c_str());
    std::string reason;
    if (!Failed(*printer, printer->Output().BeginDocument(printer->page, title, reason), reason)) return SP_ERROR;
    printer->inDocument = true;
    printer->failed = false;
    printer->placements.clear();
    static int nextJob = 1;
    return nextJob++;
}

int StartPage(HDC dc) {
    if (ShouldFail(Call::StartPage)) return SP_ERROR;
    PrinterDevice* printer = LookupPrinter(dc);
    if (!printer || !printer->inDocument || printer->inPage || printer->failed) return SP_ERROR;
    if (TestState().set) Log("StartPage");
    printer->inPage = true;
    printer->placements.clear();
    return 1;
}

int EndPage(HDC dc) {
    if (ShouldFail(Call::EndPage)) return SP_ERROR;
    PrinterDevice* printer = LookupPrinter(dc);
    if (!printer || !printer->inPage) return SP_ERROR;
    printer->inPage = false;
    if (printer->failed) return SP_ERROR;
    std::string reason;
    bool ok = printer->Output().EndPage(printer->page, printer->placements, reason);
    printer->placements.clear();
    return Failed(*printer, ok, reason) ? 1 : SP_ERROR;
}

int EndDoc(HDC dc) {
    if (ShouldFail(Call::EndDoc)) return SP_ERROR;
    PrinterDevice* printer = LookupPrinter(dc);
    if (!printer || !printer->inDocument) return SP_ERROR;
    if (printer->inPage) EndPage(dc);
    printer->inDocument = false;
    if (printer->failed) return SP_ERROR;
    std::string reason;
    return Failed(*printer, printer->Output().EndDocument(reason), reason) ? 1 : SP_ERROR;
}

int AbortDoc(HDC dc) {
    PrinterDevice* printer = LookupPrinter(dc);
    if (!printer || !printer->inDocument) return SP_ERROR;
    printer->Output().Abandon();
    printer->inDocument = printer->inPage = false;
    printer->placements.clear();
    return 1;
}
