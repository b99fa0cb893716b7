// kiva - the 3D paddle-and-ball game. Asks for a nation and a ball speed in
// the console, plays a game in a window, and asks again until the player
// chooses 5 or the input ends.
#include <iostream>

#include "game.h"
#include "picture_files.h"

int main() {
    try {
        Program program{GameIo()};
        return program.Run();
    } catch (const PictureFileError& failure) {
        std::cerr << "kiva: cannot "
                  << (failure.code == ERR_NO_FILE ? "open" : "find memory for")
                  << " the picture file \"" << failure.fileName
                  << "\" (looked in the working directory and beside the program)\n";
        return 1;
    } catch (error code) {
        std::cerr << "kiva: the graphics library failed with error " << static_cast<int>(code) << "\n";
        return 1;
    }
}
