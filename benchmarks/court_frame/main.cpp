// court_frame - how fast the library draws one frame of the game's court
// (court.h). Prints frames, seconds and frames per second.
//
//     court_frame [frames]        (default 2000)
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "court.h"

int main(int argc, char** argv) {
    // Frames are paced to GRAPHICS_FPS; the measurement wants none.
#ifdef _WIN32
    _putenv_s("GRAPHICS_FPS", "0");
#else
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("GRAPHICS_FPS", "0", 1);
#endif
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 2000;
    if (frames <= 0) {
        std::fprintf(stderr, "usage: court_frame [frames]\n");
        return 2;
    }
    window w(court::kWidth, court::kHeight, 0, 0);
    w.SetWaitOnClose(false);
    w.SetBuffering(true);
    image picture;
    court::MakePicture(w, picture);

    court::DrawFrame(w, picture, 0);  // faces and glyphs ready before timing
    auto start = std::chrono::steady_clock::now();
    for (long frame = 1; frame <= frames; ++frame) court::DrawFrame(w, picture, frame);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("court_frame: %ld frames in %.3f s: %.1f frames per second\n", frames, seconds,
                seconds > 0 ? frames / seconds : 0.0);
    w.SetBuffering(false);
    return 0;
}
