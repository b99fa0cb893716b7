// print_module.h - the printing module (libkiva_print.so): where printed
// documents go - a PDF file, a CUPS queue, or the choice made in GTK's print
// dialog - with the GTK, cairo and CUPS code they need. It is a module of
// its own, loaded by the printing service (print.cpp) on the first Print
// that needs it, so that programs that never print never load GTK, cairo or
// CUPS. Its one entry point, kiva_print_module, returns the table below.
#ifndef PLATFORM_PRINT_MODULE_H
#define PLATFORM_PRINT_MODULE_H

#include <windows.h>

#include <memory>
#include <string>

#include "printer_dc.h"
#include "window_service.h"

namespace platform {

enum class DialogOutcome { Chosen, Cancelled, Unavailable };

// How long printing waits on the print service before it tells the user
// that the service does not answer: to connect, for each answer, for each
// block of a document to be taken, and for the dialog's job to be sent.
constexpr int kPrintServicePatienceSeconds = 30;

struct PrintModule {
    // A PDF file at `path`, replaced if it exists.
    std::unique_ptr<PrintOutput> (*newPdfFile)(const std::string& path);
    // A sheet of A4 (210 x 297 mm) without margins at 300 dpi: the page of a
    // PDF file, and of a queue that names no page of its own.
    PageGeometry (*defaultPage)();
    // Finds the CUPS queue `name` and the page it prints by default; false
    // with the reason when there is no such queue, or the print service
    // cannot be reached or does not answer.
    bool (*findCupsQueue)(const std::string& name, PageGeometry& page, std::string& reason);
    // A PDF document sent to the CUPS queue `name` when it ends; EndDoc
    // succeeds once the print service has answered that it has the job.
    std::unique_ptr<PrintOutput> (*newCupsQueue)(const std::string& name);
    // Shows GTK's print dialog, modal, owned by `owner`'s window, whose
    // windows it keeps on the screen while it runs. Chosen: `page` and
    // `output` describe the printer and page set-up the user chose.
    // Unavailable: GTK cannot open the display (`why` says so).
    DialogOutcome (*runPrintDialog)(const DialogOwner& owner, PageGeometry& page, std::unique_ptr<PrintOutput>& output,
                                    std::string& why);
};

// ---------------------------------------------------------------- inside the module
std::unique_ptr<PrintOutput> NewPdfFileOutput(const std::string& path);
PageGeometry DefaultPage();
bool FindCupsQueue(const std::string& name, PageGeometry& page, std::string& reason);
std::unique_ptr<PrintOutput> NewCupsOutput(const std::string& name);
DialogOutcome RunPrintDialog(const DialogOwner& owner, PageGeometry& page, std::unique_ptr<PrintOutput>& output,
                             std::string& why);

}  // namespace platform

extern "C" const platform::PrintModule* kiva_print_module();

#endif
