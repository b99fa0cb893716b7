// court_frame - how fast the library draws one frame of the game's court
// (court.h). Prints frames, seconds and frames per second.
//
//     court_frame [frames]        (default 2000)
#include <chrono>
#include <cstdio>

#include "court.h"
#include "frame_run.h"

int main(int argc, char** argv) {
    const long frames = frame_run::Start("court_frame", argc, argv, 2000);
    if (frames == 0) return 2;
    window w(court::kWidth, court::kHeight, 0, 0);
    image picture;
    court::Prepare(w, picture);
    auto start = std::chrono::steady_clock::now();
    for (long frame = 1; frame <= frames; ++frame) court::DrawFrame(w, picture, frame);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("court_frame: %ld frames in %.3f s: %.1f frames per second\n", frames, seconds,
                seconds > 0 ? frames / seconds : 0.0);
    w.SetBuffering(false);
    return 0;
}
