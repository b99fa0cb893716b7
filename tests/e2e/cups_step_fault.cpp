// cups_step_fault - a library for LD_PRELOAD that makes the print service
// die or freeze at one step of sending a document, for the print test.
// KIVA_CUPS_FAULT="STEP SIGNAL PID": just before libcups's STEP
// (StartDocument or FinishDocument) runs, SIGNAL (KILL or STOP) goes to the
// scheduler PID, and the step waits until that process is dead or stopped.
// For FinishDocument the scheduler is also stopped before the document's
// data is written, so that it has read none of it when the signal comes.
// Without the variable every call goes straight through.
#include <cups/cups.h>
#include <dlfcn.h>
#include <signal.h>
#include <sys/types.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// The state letter of /proc/PID/stat ('Z' dead, 'T' stopped), 'X' when
// the process has gone altogether.
char StateOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return 'X';
    size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() ? line[close + 2] : 'X';
}

// Sends the signal of KIVA_CUPS_FAULT (STOP when `stop`) if it names `step`.
void FaultAt(const char* step, bool stop = false) {
    const char* fault = std::getenv("KIVA_CUPS_FAULT");
    char name[32] = "", signal[8] = "";
    long pid = 0;
    if (!fault || std::sscanf(fault, "%31s %7s %ld", name, signal, &pid) != 3 || std::strcmp(name, step) != 0) return;
    stop = stop || std::strcmp(signal, "STOP") == 0;
    if (kill(static_cast<pid_t>(pid), stop ? SIGSTOP : SIGKILL) != 0) {
        std::perror("cups_step_fault: kill");
        return;
    }
    // At most 20 s for the signal to take effect.
    for (int i = 0; i < 2000; ++i) {
        char state = StateOf(static_cast<pid_t>(pid));
        if (stop ? state == 'T' : (state == 'Z' || state == 'X')) return;
        timespec pause = {0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    std::fprintf(stderr, "cups_step_fault: process %ld did not take the signal\n", pid);
}

// The function itself, from libcups as the program loaded it.
template <typename Function>
Function Real(const char* symbol) {
    void* cups = dlopen("libcups.so.2", RTLD_NOW | RTLD_NOLOAD);
    void* real = cups ? dlsym(cups, symbol) : nullptr;
    if (!real) {
        std::fprintf(stderr, "cups_step_fault: no %s in libcups\n", symbol);
        std::abort();
    }
    return reinterpret_cast<Function>(real);
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) http_status_t cupsStartDocument(http_t* http, const char* name, int job,
                                                                       const char* docname, const char* format,
                                                                       int last) {
    FaultAt("StartDocument");
    static auto real =
        Real<http_status_t (*)(http_t*, const char*, int, const char*, const char*, int)>("cupsStartDocument");
    return real(http, name, job, docname, format, last);
}

__attribute__((visibility("default"))) http_status_t cupsWriteRequestData(http_t* http, const char* buffer,
                                                                          size_t length) {
    FaultAt("FinishDocument", true);
    static auto real = Real<http_status_t (*)(http_t*, const char*, size_t)>("cupsWriteRequestData");
    return real(http, buffer, length);
}

__attribute__((visibility("default"))) ipp_status_t cupsFinishDocument(http_t* http, const char* name) {
    FaultAt("FinishDocument");
    static auto real = Real<ipp_status_t (*)(http_t*, const char*)>("cupsFinishDocument");
    return real(http, name);
}
}
