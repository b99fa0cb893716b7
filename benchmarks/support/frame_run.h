// frame_run.h - the start of a frame benchmark: frame pacing off (the
// figures are how fast frames can be drawn), SDL's offscreen driver on Linux
// unless a display driver is asked for, and the number of frames from the
// command line ("NAME [frames]"). Header only.
#ifndef KIVA_BENCHMARKS_FRAME_RUN_H
#define KIVA_BENCHMARKS_FRAME_RUN_H

#include <cstdio>
#include <cstdlib>

#include "unpaced.h"

namespace frame_run {

// Prepares the environment and returns the frames to run, or 0 after
// printing the usage for a count that is not a positive number.
inline long Start(const char* name, int argc, char** argv, long defaultFrames) {
    unpaced::Start();
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : defaultFrames;
    if (frames <= 0) std::fprintf(stderr, "usage: %s [frames]\n", name);
    return frames > 0 ? frames : 0;
}

}  // namespace frame_run

#endif
