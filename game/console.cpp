// console.cpp - the game's questions on the console: reading a whole number
// and the rule for the ball speed.
#include <istream>
#include <limits>
#include <ostream>

#include "game.h"

namespace {
const char* const NotANumber = "Please answer with a whole number.\n";
constexpr int DefaultBallSpeed = 4;
}  // namespace

bool AskWholeNumber(std::istream& in, std::ostream& out, const std::string& question, int& answer) {
    for (;;) {
        out << question << std::flush;
        if (in >> answer) return true;
        if (in.eof() || in.bad()) return false;
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        out << NotANumber;
    }
}

int CheckedBallSpeed(int answer, std::ostream& out) {
    if (answer > 8 || answer < 1) {
        out << "Invalid speed, default of 4 set\n";
        return DefaultBallSpeed;
    }
    return answer;
}

