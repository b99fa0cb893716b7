// image_scenes.h - fixed scenes of pictures drawn with DrawImage (natural
// size, stretched up, down, unevenly and mirrored) and captured with
// StoreImage, read back with a capture of the whole window. The
// image_scenes tool writes them as PPM reference pictures (from the Windows
// build under Wine); the tests draw them again and compare. Header only, so the tool and the
// tests share one copy.
#ifndef TOOLS_IMAGE_SCENES_IMAGE_SCENES_H
#define TOOLS_IMAGE_SCENES_IMAGE_SCENES_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics.h"
#include "jpeg_writer.h"
#include "scene_files.h"

namespace image_scenes {

constexpr int kWidth = 240;
constexpr int kHeight = 160;
constexpr int kPictureWidth = 37;
constexpr int kPictureHeight = 23;

using scene_files::Picture;
using scene_files::ReadPpm;
using scene_files::WritePpm;

struct Scene {
    const char* name;
    bool exact;  // expected to agree pixel for pixel with the reference
    void (*draw)(window& w, const image& picture);
};

// The scenes' picture: 37 x 23 with smooth shading, hard edges and a few
// single-pixel details, written as a JPEG file at quality 85.
inline bool WritePictureFile(const std::string& path) {
    std::vector<unsigned char> rgb(kPictureWidth * kPictureHeight * 3);
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            unsigned char* p = &rgb[(y * kPictureWidth + x) * 3];
            p[0] = static_cast<unsigned char>(x * 7);
            p[1] = static_cast<unsigned char>(y * 11);
            p[2] = static_cast<unsigned char>(x < 18 ? 220 : 40);
            if (x == y) p[0] = p[1] = p[2] = 0;                 // a dark diagonal
            if (y == 11 && x % 4 == 0) p[0] = p[1] = p[2] = 255;  // white dots
        }
    }
    return jpeg_writer::WriteRgb(path, kPictureWidth, kPictureHeight, rgb.data(), 85);
}

inline void NaturalSize(window& w, const image& pic) {
    w.DrawImage(pic, 5, 5, -1, -1);
    w.DrawImage(&pic, 60, 5, -1, 50);   // either size -1 means natural size
    w.DrawImage(pic, 110, 5, 80, -1);
    w.DrawImage(pic, -10, 60, -1, -1);  // partly off every edge
    w.DrawImage(pic, 100, -9, -1, -1);
    w.DrawImage(pic, 220, 80, -1, -1);
    w.DrawImage(pic, 30, 150, -1, -1);
    w.DrawImage(pic, 80, 80, -1, -1);
    w.DrawImage(pic, 90, 90, -1, -1);  // overlapping the one before
}

inline void StretchedUp(window& w, const image& pic) {
    w.DrawImage(pic, 2, 2, 74, 46);     // twice
    w.DrawImage(pic, 80, 2, 111, 69);   // three times
    w.DrawImage(pic, 2, 75, 93, 57);    // two and a half
    w.DrawImage(pic, 100, 80, 130, 75); // uneven
    w.DrawImage(pic, 195, 2, 38, 24);   // one more pixel each way
}

inline void StretchedDown(window& w, const image& pic) {
    w.DrawImage(pic, 5, 5, 18, 11);
    w.DrawImage(pic, 30, 5, 12, 7);
    w.DrawImage(pic, 50, 5, 5, 3);
    w.DrawImage(pic, 60, 5, 1, 1);
    w.DrawImage(pic, 70, 5, 36, 22);
    w.DrawImage(pic, 5, 40, 120, 10);  // wide and flat
    w.DrawImage(pic, 5, 60, 10, 90);   // narrow and tall
    w.DrawImage(pic, 150, 60, 0, 0);   // empty destination: nothing
    w.DrawImage(pic, 150, 100, 30, 0);
}

inline void Mirrored(window& w, const image& pic) {
    w.DrawImage(pic, 80, 40, -37, 23);
    w.DrawImage(pic, 100, 40, 37, -23);
    w.DrawImage(pic, 200, 120, -74, -46);
}

inline void Captured(window& w, const image& pic) {
    // Boxes and a picture, captured, then drawn back elsewhere at natural
    // size, stretched, and over its own place after that was cleared.
    w.SetPen(NAVY, 2);
    w.SetBrush(GOLD);
    w.DrawRectangle(10, 10, 60, 40, STYLE_FILLED, 0, 0);
    w.SetBrush(TOMATO);
    w.DrawRectangle(30, 20, 75, 55, STYLE_FILLED, 0, 0);
    w.DrawImage(pic, 40, 30, -1, -1);
    image capture;
    w.StoreImage(capture, 5, 5, 80, 56);
    w.SetPen(WHITE, 0);
    w.SetBrush(WHITE);
    w.DrawRectangle(5, 5, 85, 61, STYLE_FILLED, 0, 0);
    w.DrawImage(capture, 5, 5, -1, -1);
    w.DrawImage(capture, 100, 5, -1, -1);
    w.DrawImage(capture, 100, 70, 130, 85);
    w.DrawImage(capture, 5, 80, 40, 28);
    image corner;
    w.StoreImage(&corner, kWidth - 20, kHeight - 10, 20, 10);  // touching both edges
    w.DrawImage(&corner, 50, 120, -1, -1);
}

inline const std::vector<Scene>& All() {
    static const std::vector<Scene> scenes = {
        {"image_natural", true, NaturalSize},
        {"image_stretched_up", true, StretchedUp},
        {"image_stretched_down", true, StretchedDown},
        {"image_mirrored", false, Mirrored},
        {"image_captured", true, Captured},
    };
    return scenes;
}

// An image's pixels as a picture (for a decoded JPEG: its pixels
// themselves, without a window).
inline Picture Decoded(const image& pic) { return scene_files::FromBgrx(pic.Width(), pic.Height(), pic.Pixels()); }

// Draws one scene into a fresh buffered window cleared to white and reads
// it back with one capture of the whole window (a GetColor a pixel takes
// over ten seconds a scene under Wine).
inline Picture Render(const Scene& scene, const image& pic) {
    window w(kWidth, kHeight, 10, 10);
    w.SetWaitOnClose(false);
    w.SetBuffering(true);
    scene.draw(w, pic);
    image whole;
    w.StoreImage(whole, 0, 0, kWidth, kHeight);
    w.SetBuffering(false);
    return Decoded(whole);
}

}  // namespace image_scenes

#endif
