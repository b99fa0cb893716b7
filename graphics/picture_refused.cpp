// What a program does when the decoder refuses one of its picture files
// (corrupt, or claiming more pixels than a picture may have): the message
// naming the file is already on standard error, everything the decoder held
// is released, and the program ends with exit status 1, as libjpeg's own
// error handling ends it.
//
// Alone in a file of its own: a program linked with the static library may
// define this function itself, and the linker then leaves this one out. The
// fuzz targets do (tools/fuzz), to go on with their next input.
#include <cstdlib>

#include "graphics_internal.h"

void EndForRefusedPicture() { std::exit(EXIT_FAILURE); }
