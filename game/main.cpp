// kiva - the 3D paddle-and-ball game.
#include <cstdio>

#include "random.h"

int main() {
    SeedRandom();
    std::printf("The game is not built yet: only its random numbers and 3D maths exist so far.\n");
    return 0;
}
