// module.cpp - the printing module's entry point: the table of what it
// offers the printing service.
#include "print_module.h"

extern "C" __attribute__((visibility("default"))) const platform::PrintModule* kiva_print_module() {
    static const platform::PrintModule module = {
        platform::NewPdfFileOutput, platform::DefaultPage, platform::FindCupsQueue, platform::NewCupsOutput,
        platform::RunPrintDialog,
    };
    return &module;
}
