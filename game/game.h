// game.h - the game's flow: the console dialogue, the court, the frame loop
// with its scoring and levels, the lost rally and the closing picture.
//
// `Program` is the whole run (menu until the player quits); `Game` is one
// game played in a window; `Court` the faces and ball of one game. The
// console, the key source, the pause and the picture folders come in
// through `GameIo`, so that tests can drive a game frame by frame.
#ifndef GAME_GAME_H
#define GAME_GAME_H

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "ball.h"
#include "face.h"
#include "graphics.h"

// The next key typed in the window (0 when none is waiting); only typed
// characters matter to the game, so the key kind is not passed on.
char PollWindowKey(window& win);

// Where the game meets the world outside.
struct GameIo {
    std::istream* input;
    std::ostream* output;
    std::function<char(window&)> pollKey = PollWindowKey;
    std::function<void(uint32_t)> pause = PauseMs;
    std::vector<std::string> pictureFolders;

    // Standard input and output, the window's keys, real pauses, and the
    // picture files in the working directory or beside the executable.
    GameIo();
};

// Writes the question and reads a whole number into `answer`. An answer that
// is not a whole number is told so, the rest of its line is dropped and the
// question is asked again. False when the input has ended.
bool AskWholeNumber(std::istream& in, std::ostream& out, const std::string& question, int& answer);

// The ball speed to play at: the answer when it is 1 to 8, else 4 (with a
// message saying so).
int CheckedBallSpeed(int answer, std::ostream& out);

// The closing picture of a nation and the x of its left edge.
struct ClosingPicture {
    const char* fileName;
    int x;
};
ClosingPicture ClosingPictureFor(int nation);

// The seven faces and the ball, built in the order of their members.
struct Court {
    Court();

    Face paddle;
    Ball ball;
    Face backWall;
    Face floor;
    Face ceiling;
    Face leftWall;
    Face rightWall;
    Face lossPlane;  // never drawn; a ball touching it has passed the paddle
};

// One game, played in a window that the caller has created and titled.
class Game {
public:
    // The rest of the set-up: the court, buffering on, the starting group
    // (written to the output) and the ball's first velocity, the counters.
    Game(window& win, const image& background, int nation, int ballSpeed, GameIo& io);

    // Runs frames until the game is over.
    void Play();
    // One frame: input, motion, drawing, contacts and scoring, a lost
    // rally, the level, the closing picture.
    void RunFrame();

    window& win;
    const image& background;
    GameIo& io;
    int nation;
    int ballSpeed;
    float spinAngle = 0.0f;
    Court court;
    int score = 0;
    int level = 1;
    int pointsPerHit = 50;
    bool quit = false;
    // Raised for every game; lowered when the score passes 20000, after
    // which no rally can be lost.
    bool lossEnabled = true;

private:
    void StartBall();
    void MovePaddle(char key);
    void DrawCourt();
    void DrawTexts();
    void ScoreContacts();
    void LoseRally();
    void UpdateLevel();
    void ShowClosingPicture();
};

// The whole run: the background picture, then the menu and a game for each
// choice until the player chooses 5 or the input ends.
class Program {
public:
    explicit Program(GameIo io);

    // Returns the exit status. Throws PictureFileError when a picture file
    // cannot be loaded.
    int Run();
    // One game from the window's creation to its destruction.
    void PlayGame(int nation, int ballSpeed);

private:
    GameIo io;
    image background;
};

#endif
