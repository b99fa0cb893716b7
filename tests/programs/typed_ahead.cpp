// typed_ahead - a line typed before the program reads its standard input
// is the line it reads. The browser tests type it into the page while the
// program pauses, before it has opened a window or read anything.
#include <iostream>
#include <string>

#include "graphics.h"

int main() {
    std::cout << "ready" << std::endl;
    PauseMs(1500);
    std::string line;
    std::getline(std::cin, line);
    std::cout << "read " << line << std::endl;
    return 0;
}
