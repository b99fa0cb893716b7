// best_time.h - the best of several timed runs, by the wall clock and by
// the processor time the process used (which stays fair when other programs
// share the processor), for benchmarks that print figures side by side.
#ifndef BENCHMARKS_BEST_TIME_H
#define BENCHMARKS_BEST_TIME_H

#include <time.h>

#include <algorithm>

namespace best_time {

// Wall-clock and processor seconds at one moment.
struct Stamp {
    double wall, cpu;
};

inline Stamp Now() {
    timespec w{}, c{};
    clock_gettime(CLOCK_MONOTONIC, &w);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c);
    return Stamp{static_cast<double>(w.tv_sec) + w.tv_nsec * 1e-9, static_cast<double>(c.tv_sec) + c.tv_nsec * 1e-9};
}

// The best (shortest) seconds per repetition seen so far, by either clock.
struct Best {
    double wall = 1e30, cpu = 1e30;
    bool measured = false;  // a run was noted

    // A run of `repetitions` that began at `start` ends now.
    void Note(const Stamp& start, long repetitions) {
        Stamp end = Now();
        wall = std::min(wall, (end.wall - start.wall) / static_cast<double>(repetitions));
        cpu = std::min(cpu, (end.cpu - start.cpu) / static_cast<double>(repetitions));
        measured = true;
    }

    // Times body(repetitions) as one run.
    template <class Body>
    void Run(long repetitions, Body body) {
        Stamp start = Now();
        body(repetitions);
        Note(start, repetitions);
    }
};

}  // namespace best_time

#endif
