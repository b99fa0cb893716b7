// closing_picture - the game's last phase as a program of its own: one game
// of the nation read from standard input, begun above 20000 points, where no
// rally is lost and the level climbs every frame, played to the nation's
// closing picture (seven seconds) and the last window's wait for a click.
// The browser tests compare its page's frames and canvas with the Linux
// build's; a whole game would take thousands of hits to get there.
#include <iostream>

#include "game.h"
#include "picture_files.h"
#include "random.h"

int main() {
    GameIo io;
    int nation = 0;
    if (!AskWholeNumber(*io.input, *io.output, "Nation (1-4):\n", nation)) return 0;
    try {
        // A fixed seed: the game counts in frames, not time, so it plays the
        // same in real and in virtual time.
        SeedRandomAt(1000);
        image background;
        LoadPictureFile(background, "PictureFiles/background1.jpg", io.pictureFolders);
        window win(1000, 720, 5, 5);
        win.SetTitle("Tobb's Cube Rendering thingy");
        Game game(win, background, nation, 3, io);
        game.score = 20001;
        game.Play();
        win.SetBuffering(false);
    } catch (const PictureFileError& failure) {
        std::cerr << "closing_picture: cannot load \"" << failure.fileName << "\"\n";
        return 1;
    }
    return 0;
}
