// game.cpp - one game's set-up and frame loop, and the program's menu
// around the games.
#include "game.h"

#include <iostream>

#include "picture_files.h"
#include "random.h"

namespace {

const char* const BackgroundFile = "PictureFiles/background1.jpg";
const char* const WindowTitle = "Tobb's Cube Rendering thingy";
const char* const MenuText =
    "What Nation do you want to play as? : \n"
    "1 <Japan>\n"
    "2 <England - God save the Princess>\n"
    "3 <Ethiopia>\n"
    "4 <Default: I want to be a Farm animal like Snorvald>\n"
    "5 <I don't care, I want to quit>\n";
const char* const SpeedQuestion = "BallSpeed(1-8) : \n";

constexpr int QuitChoice = 5;

// The paddle moves in steps of 30 within these bounds (exclusive).
constexpr float PaddleStep = 30.0f;
constexpr float PaddleLimitX = 240.0f;
constexpr float PaddleLimitY = 90.0f;

constexpr int LossFreeScore = 20000;
constexpr int ClosingLevel = 110;
constexpr uint32_t GameOverMs = 4000;
constexpr uint32_t ClosingMs = 7000;

void ClearWindow(window& win) {
    win.SetBrush(WHITE);
    win.DrawRectangle(0, 0, 1000, 720, STYLE_FILLED, 0, 0);
}

}  // namespace

char PollWindowKey(window& win) {
    char code = 0;
    win.PollKey(code);
    return code;
}

GameIo::GameIo() : input(&std::cin), output(&std::cout), pictureFolders(DefaultPictureFolders()) {}

// ------------------------------------------------------------------ Game

Game::Game(window& gameWindow, const image& backgroundPicture, int gameNation, int gameBallSpeed,
           GameIo& gameIo)
    : win(gameWindow), background(backgroundPicture), io(gameIo), nation(gameNation), ballSpeed(gameBallSpeed) {
    // spinAngle and the court are set by now, in that order; the random
    // draws of the ball's start come after buffering is switched on.
    win.SetBuffering(true);
    StartBall();
    quit = false;
    score = 0;
    level = 1;
    pointsPerHit = 50;
}

void Game::StartBall() {
    const int group = RandomRange(0, 7);
    *io.output << group << std::flush;

    const double s = ballSpeed;
    float vx, vy;
    if (group <= 1) {
        vx = static_cast<float>(1.5 * s);
        vy = static_cast<float>(0.3 * s);
    } else if (group <= 3) {
        vx = static_cast<float>(0.3 * s);
        vy = static_cast<float>(1.5 * s);
    } else {
        vy = static_cast<float>(RandomRange(-5, 3));  // drawn first
        vx = static_cast<float>(RandomRange(-1, 6));
    }
    court.ball.SetVelocity(vx, vy, static_cast<float>(s));
}

void Game::Play() {
    while (!quit) RunFrame();
}

void Game::RunFrame() {
    const char key = io.pollKey(win);
    if (key == 'q' || key == 'Q') quit = true;
    // A window closed with its close box ends the game like Q: the frame
    // still runs to its end.
    if (!win.IsOpen()) quit = true;
    MovePaddle(key);

    court.ball.Move();
    DrawCourt();
    DrawTexts();
    ScoreContacts();
    if (lossEnabled && court.lossPlane.Touches(court.ball.position.x, court.ball.position.y,
                                                court.ball.position.z)) {
        LoseRally();
    }

    court.ball.Turn(-spinAngle, 180 - spinAngle, spinAngle);
    court.ball.DrawFilled(win, CodeGreen);
    court.ball.DrawOutline(win);
    court.paddle.DrawOutline(win);
    win.UpdateBuffer();
    spinAngle += 3;

    UpdateLevel();
    if (level > ClosingLevel) ShowClosingPicture();
}

void Game::MovePaddle(char key) {
    Point3D& p = court.paddle.position;
    const bool canLeft = p.x < PaddleLimitX;     // +x is drawn to the left
    const bool canRight = p.x > -PaddleLimitX;
    const bool canDown = p.y < PaddleLimitY;     // +y is drawn downwards
    const bool canUp = p.y > -PaddleLimitY;
    float dx = 0, dy = 0;
    switch (key) {
        case '4': if (canLeft) dx = PaddleStep; break;
        case '6': if (canRight) dx = -PaddleStep; break;
        case '2': if (canDown) dy = PaddleStep; break;
        case '8': if (canUp) dy = -PaddleStep; break;
        case '7': if (canLeft && canUp) { dx = PaddleStep; dy = -PaddleStep; } break;
        case '9': if (canRight && canUp) { dx = -PaddleStep; dy = -PaddleStep; } break;
        case '3': if (canRight && canDown) { dx = -PaddleStep; dy = PaddleStep; } break;
        case '1': if (canLeft && canDown) { dx = PaddleStep; dy = PaddleStep; } break;
        default: break;
    }
    p.x += dx;
    p.y += dy;
}

void Game::DrawCourt() {
    ClearWindow(win);
    // The back wall's top-left corner projects to (415.6, 317.8): the picture
    // fills the back wall's frame.
    win.DrawImage(background, 416, 318, -1, -1);

    court.floor.DrawFilled(win, CodeWhite);
    court.ceiling.DrawFilled(win, CodeDarkGrey);
    court.leftWall.DrawFilled(win, CodeLightGrey);
    court.rightWall.DrawFilled(win, CodeLightGrey);
    court.paddle.DrawFilled(win, CodeBlue);

    // The back wall is never filled, so the picture shows through it.
    court.backWall.DrawOutline(win);
    court.floor.DrawOutline(win);
    court.ceiling.DrawOutline(win);
    court.leftWall.DrawOutline(win);
    court.rightWall.DrawOutline(win);
}

void Game::DrawTexts() {
    win.SetPen(BLACK, 1);
    win.SetFont(20, FONT_BOLD, FAMILY_ANY, "Arial");
    win.DrawString(5, 5, " 'Q' or 'q' to Exit");
    win.DrawString(5, 30, " SCORE : ");
    win.DrawNumber(100, 30, score);
    win.DrawString(5, 50, " LEVEL : ");
    win.DrawNumber(100, 50, level);
    win.SetFont(50, FONT_BOLD, FAMILY_ANY, "Arial");
    win.DrawString(340, 20, " > 3D K-i-VA < ");
}

void Game::ScoreContacts() {
    // Every face is tested with the same centre; each sees the velocity as
    // the earlier ones left it, so a corner scores and bounces twice.
    const Point3D b = court.ball.position;
    Point3D& v = court.ball.velocity;
    for (Face* face : {&court.backWall, &court.paddle, &court.floor, &court.ceiling, &court.leftWall,
                       &court.rightWall}) {
        if (face->HitTest(b.x, b.y, b.z, v)) score += pointsPerHit;
    }
}

void Game::LoseRally() {
    ClearWindow(win);
    win.SetFont(100, FONT_BOLD, FAMILY_ANY, "Arial");
    court.ball.DrawFilled(win, CodeGreen);
    court.ball.DrawOutline(win);
    win.DrawString(TruncateToInt(ScreenWidth / 2 - 280), TruncateToInt(ScreenHeight / 2 - 100), "GAME OVER");
    win.DrawNumber(TruncateToInt(ScreenWidth / 2 - 100), TruncateToInt(ScreenHeight / 2 + 100), score);
    court.ball.position.Set(0, 0, 400);
    win.UpdateBuffer();
    io.pause(GameOverMs);

    score = 0;
    level = 1;
    court.paddle.position.Set(0, 0, 200);
    const int vy = RandomRange(1, 3);  // drawn first
    const int vx = RandomRange(4, 8);
    court.ball.SetVelocity(static_cast<float>(vx), static_cast<float>(vy), 3.0f);
}

void Game::UpdateLevel() {
    if (score >= 14000 && score <= 19999) {
        level = 4;
        pointsPerHit = 125;
    } else if (score >= 8000 && score <= 13999) {
        level = 3;
        pointsPerHit = 125;
    } else if (score >= 5000 && score <= 7999) {
        level = 2;
        pointsPerHit = 100;
    } else if (score >= 3000 && score <= 4999) {
        level = 1;
        pointsPerHit = 75;
    }

    if (score > LossFreeScore) {
        lossEnabled = false;
        level += 1;
        Point3D& v = court.ball.velocity;
        if (v.z > 0) {
            v.z += 2;
        } else if (v.z < 0) {
            v.z -= 2;
        }
    }
}

void Game::ShowClosingPicture() {
    ClearWindow(win);
    const ClosingPicture closing = ClosingPictureFor(nation);
    image picture;
    LoadPictureFile(picture, closing.fileName, io.pictureFolders);
    win.DrawImage(picture, closing.x, 20, -1, -1);
    win.UpdateBuffer();
    io.pause(ClosingMs);
    quit = true;
}

// --------------------------------------------------------------- Program

Program::Program(GameIo gameIo) : io(std::move(gameIo)) {}

int Program::Run() {
    // Under the library's virtual time the seed is its calendar time, a
    // fixed moment, so that a headless run plays the same every time.
    if (TimeIsVirtual()) {
        SeedRandomAt(CalendarSeconds());
    } else {
        SeedRandom();
    }
    LoadPictureFile(background, BackgroundFile, io.pictureFolders);

    std::istream& in = *io.input;
    std::ostream& out = *io.output;
    for (;;) {
        int nation = 0;
        if (!AskWholeNumber(in, out, MenuText, nation)) return 0;  // input ended: as if 5
        if (nation == QuitChoice) return 0;

        int answer = 0;
        if (!AskWholeNumber(in, out, SpeedQuestion, answer)) return 0;
        const int ballSpeed = CheckedBallSpeed(answer, out);
        PlayGame(nation, ballSpeed);
    }
}

void Program::PlayGame(int nation, int ballSpeed) {
    window win(TruncateToInt(ScreenWidth), TruncateToInt(ScreenHeight), 5, 5);
    win.SetTitle(WindowTitle);
    try {
        Game game(win, background, nation, ballSpeed, io);
        game.Play();
    } catch (...) {
        // The program is about to end with an error: closing the window must
        // not wait for a click first.
        win.SetWaitOnClose(false);
        throw;
    }
    win.SetBuffering(false);
    // Leaving this scope destroys the window; the last window waits for a
    // click in it before it closes.
}
