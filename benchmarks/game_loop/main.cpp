// game_loop - how fast the game's frame loop runs: a game in a real window
// (SDL's offscreen driver unless a display is asked for), frame pacing off,
// the paddle sweeping the court under scripted keys, lost rallies without
// their pause. Prints frames, seconds and frames per second.
//
//     game_loop [frames]        (default 3000)
#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>

#include "frame_run.h"
#include "game.h"
#include "picture_files.h"
#include "random.h"

namespace {

// The paddle goes round the court: left, down, right, up, and diagonals.
const char PaddleScript[] = "4444444422226666666666666666888844444444711933";

}  // namespace

int main(int argc, char** argv) {
    const long frames = frame_run::Start("game_loop", argc, argv, 3000);
    if (frames == 0) return 2;

    // The pictures that the build paints for the game.
    const std::vector<std::string> folders = {"", ExecutableFolder(), ExecutableFolder() + "../../game/"};
    image background;
    try {
        LoadPictureFile(background, "PictureFiles/background1.jpg", folders);
    } catch (const PictureFileError& failure) {
        std::fprintf(stderr, "game_loop: no %s, the back wall stays empty\n", failure.fileName.c_str());
    }

    std::ostringstream console;
    long polls = 0, rallies = 0;
    GameIo io;
    io.output = &console;
    io.pictureFolders = folders;
    io.pollKey = [&polls](window&) { return PaddleScript[polls++ % (sizeof PaddleScript - 1)]; };
    io.pause = [&rallies](uint32_t) { ++rallies; };

    window win(1000, 720, 5, 5);
    win.SetTitle("game_loop");
    win.SetWaitOnClose(false);
    SeedRandomAt(1);
    Game game(win, background, 1, 4, io);

    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < frames && !game.quit; ++i) game.RunFrame();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    win.SetBuffering(false);

    std::printf("frames: %ld\nseconds: %.3f\nframes per second: %.1f\nlost rallies: %ld\n", polls, seconds,
                polls / seconds, rallies);
    return 0;
}
