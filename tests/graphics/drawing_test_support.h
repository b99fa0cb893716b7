// drawing_test_support.h - a buffered test window for the drawing tests,
// with helpers that read pixels back and catch the fatal error reports
// written to standard output.
#ifndef TESTS_GRAPHICS_DRAWING_TEST_SUPPORT_H
#define TESTS_GRAPHICS_DRAWING_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "graphics.h"

namespace drawing_test {

inline bool Same(const color& a, const color& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

inline std::string Text(const color& c) {
    return "(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + ")";
}

#define EXPECT_COLOR(expected, actual) \
    EXPECT_PRED2(drawing_test::Same, expected, actual) << drawing_test::Text(actual)

// Everything written to standard output between construction and Take().
class OutputCatcher {
public:
    OutputCatcher() { testing::internal::CaptureStdout(); }
    ~OutputCatcher() {
        if (!taken) testing::internal::GetCapturedStdout();
    }
    std::string Take() {
        taken = true;
        return testing::internal::GetCapturedStdout();
    }

private:
    bool taken = false;
};

// How many times `needle` occurs in `text`.
inline int Count(const std::string& text, const std::string& needle) {
    int n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++n;
    return n;
}

// A window of 120 x 90 pixels with buffering on, so it starts white; its
// destruction does not wait for a click.
class DrawingTest : public testing::Test {
protected:
    static constexpr int kW = 120;
    static constexpr int kH = 90;

    void SetUp() override {
        w = std::make_unique<window>(kW, kH, 20, 20);
        w->SetWaitOnClose(false);
        w->SetBuffering(true);
    }
    void TearDown() override {
        if (w) {
            w->SetBuffering(false);
            w.reset();
        }
    }

    color At(int x, int y) { return w->GetColor(x, y); }

    // Pixels of the box [x0, x1) x [y0, y1) that are not `ground`.
    int CountNot(int x0, int y0, int x1, int y1, const color& ground) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (!Same(At(x, y), ground)) ++n;
        return n;
    }

    // Pixels of the box that equal `c`.
    int CountIs(int x0, int y0, int x1, int y1, const color& c) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Same(At(x, y), c)) ++n;
        return n;
    }

    std::unique_ptr<window> w;
};

}  // namespace drawing_test

#endif
