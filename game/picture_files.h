// picture_files.h - finding the game's picture files. The game names them
// relative to its own folder ("PictureFiles/background1.jpg"); they are
// looked for in the working directory first, then beside the executable,
// so the game runs from any directory.
#ifndef GAME_PICTURE_FILES_H
#define GAME_PICTURE_FILES_H

#include <string>
#include <vector>

#include "graphics.h"

// The folder of the running executable, ending in a separator; empty when
// it cannot be found.
std::string ExecutableFolder();

// The folders to look in by default: the working directory (""), then the
// executable's folder.
std::vector<std::string> DefaultPictureFolders();

// The first folder + name that can be opened for reading; the name itself
// when none can, so that opening it fails and names the file.
std::string FindPictureFile(const std::string& name, const std::vector<std::string>& folders);

// A picture file that could not be loaded: which one, and what the library
// said.
struct PictureFileError {
    std::string fileName;
    error code;
};

// Loads the named picture into `picture`, looking in the folders in order.
// Throws PictureFileError when it cannot be opened or allocated.
void LoadPictureFile(image& picture, const std::string& name, const std::vector<std::string>& folders);

#endif
