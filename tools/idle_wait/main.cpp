// idle_wait - opens a window, pauses a second (PauseMs), then waits in
// AwaitClick for a click, and prints for each the wall time and the
// processor time the process used in it. measure.sh clicks after two
// seconds.
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

#include "graphics.h"

namespace {

// Processor time (user + system) used by this process so far, in ms.
double CpuMs() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec * 1000.0 + usage.ru_utime.tv_usec / 1000.0 + usage.ru_stime.tv_sec * 1000.0 +
           usage.ru_stime.tv_usec / 1000.0;
#endif
}

void Report(const char* what, double wall, double cpu) {
    std::printf("idle %s: %.0f ms wall, %.1f ms processor time (%.2f%% of one core)\n", what, wall, cpu,
                wall > 0 ? 100.0 * cpu / wall : 0.0);
    std::fflush(stdout);
}

}  // namespace

int main() {
    window w(300, 200, 100, 100);
    w.SetTitle("Idle wait");
    w.SetWaitOnClose(false);
    w.DiscardClicks();

    double cpuBefore = CpuMs();
    uint32_t wallBefore = ClockMs();
    PauseMs(1000);
    Report("PauseMs(1000)", ClockMs() - wallBefore, CpuMs() - cpuBefore);

    std::printf("waiting\n");
    std::fflush(stdout);
    cpuBefore = CpuMs();
    wallBefore = ClockMs();
    int32_t x = 0, y = 0;
    w.AwaitClick(x, y);
    Report("AwaitClick", ClockMs() - wallBefore, CpuMs() - cpuBefore);
    return 0;
}
