// game_test_support.h - what the game's window tests share: a game whose
// console, keys and pauses are scripted, and picture files written by the
// tests themselves.
#ifndef KIVA_GAME_TEST_SUPPORT_H
#define KIVA_GAME_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "game.h"
#include "jpeg_writer.h"

namespace game_test {

// Writes a JPEG picture of the given size: a frame of one colour around a
// diagonal pattern, so its edges and its inside can both be told apart.
inline void WritePicture(const std::string& path, int width, int height, color edge) {
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            const bool border = x < 8 || y < 8 || x >= width - 8 || y >= height - 8;
            p[0] = border ? edge.red : static_cast<unsigned char>((x * 3 + y) & 0xFF);
            p[1] = border ? edge.green : static_cast<unsigned char>((y * 2) & 0xFF);
            p[2] = border ? edge.blue : static_cast<unsigned char>(255 - ((x + y) & 0xFF));
        }
    ASSERT_TRUE(jpeg_writer::WriteRgb(path, width, height, rgb.data(), 95)) << path;
}

// A folder holding PictureFiles/ with the background and the closing
// pictures at the sizes the game expects; `withFrames` false leaves the
// closing pictures out. Returns the folder, ending in a separator.
inline std::string MakePictureFolder(const std::string& name, bool withBackground, bool withFrames) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(::testing::TempDir()) / ("h5_" + name);
    fs::remove_all(folder);
    fs::create_directories(folder / "PictureFiles");
    const std::string base = folder.string() + "/";
    if (withBackground) WritePicture(base + "PictureFiles/background1.jpg", 168, 84, color(200, 40, 40));
    if (withFrames) {
        WritePicture(base + "PictureFiles/frame1.jpg", 400, 300, color(0, 0, 160));
        WritePicture(base + "PictureFiles/frame2.jpg", 350, 300, color(0, 160, 0));
        WritePicture(base + "PictureFiles/frame3.jpg", 480, 300, color(160, 160, 0));
        WritePicture(base + "PictureFiles/frame4.jpg", 300, 300, color(160, 0, 160));
    }
    return base;
}

// The console, keys and pauses of a game, scripted.
struct ScriptedIo {
    std::istringstream input;
    std::ostringstream output;
    std::deque<char> keys;
    std::vector<uint32_t> pauses;
    // Runs inside a pause, while the game-over or closing screen is shown.
    std::function<void(uint32_t)> duringPause;
    int polls = 0;
    GameIo io;

    explicit ScriptedIo(const std::string& typed = "", std::vector<std::string> pictureFolders = {}) : input(typed) {
        io.input = &input;
        io.output = &output;
        io.pollKey = [this](window&) {
            ++polls;
            if (keys.empty()) return char(0);
            const char key = keys.front();
            keys.pop_front();
            return key;
        };
        io.pause = [this](uint32_t ms) {
            pauses.push_back(ms);
            if (duringPause) duringPause(ms);
        };
        io.pictureFolders = std::move(pictureFolders);
    }
    void Type(const std::string& typed) { keys.insert(keys.end(), typed.begin(), typed.end()); }
};

inline bool SameColor(color a, color b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

inline std::string Describe(color c) {
    return "(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + ")";
}

// How many pixels of the rectangle, sampled every `step` pixels, have the
// colour.
inline int CountColor(window& win, int left, int top, int right, int bottom, color c, int step = 2) {
    int count = 0;
    for (int y = top; y < bottom; y += step)
        for (int x = left; x < right; x += step) count += SameColor(win.GetColor(x, y), c);
    return count;
}

}  // namespace game_test

#endif
