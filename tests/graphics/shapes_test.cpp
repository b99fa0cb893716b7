// Shape primitives: style guards, the pixels each draws, inversion that
// undoes itself, points whatever the pen, arcs in both angle units, and the
// fatal error reports of failed platform calls.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing_test_support.h"
#include "graphics.h"
#include "window_test_access.h"

#ifndef _WIN32
#include "platform_faults.h"
#endif

namespace {

using drawing_test::Count;
using drawing_test::DrawingTest;
using drawing_test::OutputCatcher;
using drawing_test::Same;

const char kStyleMessage[] = "Fatal Error: You have tried to use an invalid or unimplemented drawstyle!\n";

class ShapesTest : public DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        w->SetPen(BLACK, 1);
        w->SetBrush(RED);
    }
};

TEST_F(ShapesTest, LineAndBezierRefuseFilledAndInvertedAndDrawNothing) {
    OutputCatcher out;
    w->DrawLine(10, 10, 60, 60, STYLE_FILLED);
    w->DrawLine(10, 10, 60, 60, STYLE_INVERTED);
    w->DrawBezier(10, 10, 20, 60, 40, 0, 60, 60, STYLE_FILLED);
    w->DrawBezier(10, 10, 20, 60, 40, 0, 60, 60, STYLE_INVERTED);
    EXPECT_EQ(4, Count(out.Take(), kStyleMessage));
    EXPECT_EQ(0, CountNot(5, 5, 65, 65, WHITE));
}

TEST_F(ShapesTest, InvalidStylesAreReportedAndDrawNothing) {
    const drawstyle bad[] = {static_cast<drawstyle>(0), static_cast<drawstyle>(4)};
    const int32_t xs[] = {10, 50, 30};
    const int32_t ys[] = {10, 10, 50};
    for (drawstyle style : bad) {
        OutputCatcher out;
        w->DrawRectangle(10, 10, 50, 50, style, 0, 0);
        w->DrawRectangle(10, 10, 50, 50, style, 5, 5);
        w->DrawTriangle(10, 10, 50, 10, 30, 50, style);
        w->DrawPolygon(xs, ys, 3, style);
        w->DrawCircle(30, 30, 20, style);
        w->DrawEllipse(10, 10, 50, 50, style);
        w->DrawArc(10, 10, 50, 50, 0, 90, style, 0);
        EXPECT_EQ(7, Count(out.Take(), kStyleMessage));
    }
    EXPECT_EQ(0, CountNot(8, 8, 52, 52, WHITE));
}

TEST_F(ShapesTest, LineLeavesOutItsLastPixel) {
    w->DrawLine(10, 20, 30, 20, STYLE_FRAME);
    EXPECT_COLOR(BLACK, At(10, 20));
    EXPECT_COLOR(BLACK, At(29, 20));
    EXPECT_COLOR(WHITE, At(30, 20));
    w->DrawLine(40, 10, 40, 30, STYLE_FRAME);
    EXPECT_COLOR(BLACK, At(40, 29));
    EXPECT_COLOR(WHITE, At(40, 30));
}

TEST_F(ShapesTest, RectangleFillsInsideItsPenAndLeavesRightAndBottomEdges) {
    w->SetPen(BLUE, 2);
    w->DrawRectangle(10, 10, 30, 20, STYLE_FILLED, 0, 0);
    EXPECT_COLOR(BLUE, At(10, 10));
    EXPECT_COLOR(BLUE, At(11, 15));
    EXPECT_COLOR(RED, At(12, 15));
    EXPECT_COLOR(BLUE, At(29, 19));
    EXPECT_COLOR(WHITE, At(30, 15));
    EXPECT_COLOR(WHITE, At(20, 20));
    w->DrawRectangle(40, 10, 60, 20, STYLE_FRAME, 0, 0);
    EXPECT_COLOR(BLUE, At(40, 15));
    EXPECT_COLOR(WHITE, At(50, 15));
}

TEST_F(ShapesTest, RoundedCornersWithOnlyOneCornerSizeTakeTheRoundedPath) {
    // A 0 x 5 corner ellipse is still a rounded rectangle; its failure
    // message names it.
    w->DrawRectangle(10, 10, 40, 40, STYLE_FILLED, 0, 5);
    EXPECT_COLOR(RED, At(25, 25));
    w->DrawRectangle(50, 10, 80, 40, STYLE_FILLED, 20, 20);
    EXPECT_COLOR(WHITE, At(50, 10));  // the corner is cut
    EXPECT_COLOR(RED, At(65, 25));
#ifndef _WIN32
    OutputCatcher out;
    platform_faults::FailNext("RoundRect");
    w->DrawRectangle(10, 50, 40, 80, STYLE_FILLED, 0, 5);
    platform_faults::FailNext("RoundRect");
    w->DrawRectangle(10, 50, 40, 80, STYLE_FRAME, 0, 5);
    platform_faults::FailNext("InvertRgn");
    w->DrawRectangle(10, 50, 40, 80, STYLE_INVERTED, 0, 5);
    std::string text = out.Take();
    platform_faults::ClearAll();
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to draw filled style in DrawRectangle (rounded)!\n"));
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to draw frame style in DrawRectangle (rounded)!\n"));
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to draw inverted style in DrawRectangle (rounded)!\n"));
#endif
}

TEST_F(ShapesTest, InvertingTwiceGivesBackThePixels) {
    for (int i = 0; i < 6; ++i) {
        w->SetBrush(color(40 * i, 255 - 40 * i, 100));
        w->DrawRectangle(i * 20, 0, i * 20 + 20, kH, STYLE_FILLED, 0, 0);
    }
    const int probes[][2] = {{5, 5}, {25, 30}, {45, 45}, {60, 20}, {75, 60}, {95, 40}, {110, 70}, {33, 80}};
    color before[8];
    for (int i = 0; i < 8; ++i) before[i] = At(probes[i][0], probes[i][1]);
    const int32_t xs[] = {5, 110, 20, 100, 60};
    const int32_t ys[] = {5, 80, 80, 10, 85};
    for (int k = 0; k < 2; ++k) {
        w->DrawRectangle(2, 2, 50, 50, STYLE_INVERTED, 0, 0);
        w->DrawRectangle(20, 20, 90, 70, STYLE_INVERTED, 12, 12);
        w->DrawTriangle(0, 0, 119, 40, 30, 89, STYLE_INVERTED);
        w->DrawPolygon(xs, ys, 5, STYLE_INVERTED);
        w->DrawCircle(60, 45, 30, STYLE_INVERTED);
        w->DrawEllipse(10, 30, 110, 80, STYLE_INVERTED);
        w->DrawArc(0, 0, 120, 90, 30, 250, STYLE_INVERTED, 0);
        if (k == 0) {
            int changed = 0;
            for (int i = 0; i < 8; ++i) changed += Same(before[i], At(probes[i][0], probes[i][1])) ? 0 : 1;
            EXPECT_GT(changed, 0);
        }
    }
    for (int i = 0; i < 8; ++i) EXPECT_COLOR(before[i], At(probes[i][0], probes[i][1]));
}

TEST_F(ShapesTest, InvertedShapesInvertEveryPixel) {
    w->SetBrush(color(10, 100, 200));
    w->DrawRectangle(0, 0, 60, 60, STYLE_FILLED, 0, 0);
    w->DrawRectangle(10, 10, 30, 30, STYLE_INVERTED, 0, 0);
    EXPECT_COLOR(color(245, 155, 55), At(10, 10));
    EXPECT_COLOR(color(245, 155, 55), At(29, 29));
    EXPECT_COLOR(color(10, 100, 200), At(30, 30));
    w->DrawCircle(45, 45, 10, STYLE_INVERTED);
    EXPECT_COLOR(color(245, 155, 55), At(45, 45));
}

TEST_F(ShapesTest, SelfIntersectingPolygonFillsByAlternateButInvertsByWinding) {
    // A five-pointed star: its centre is outside by the alternate rule and
    // inside by the winding rule.
    const int32_t xs[] = {60, 78, 30, 90, 42};
    const int32_t ys[] = {5, 80, 33, 33, 80};
    w->SetPen(RED, 1);
    w->DrawPolygon(xs, ys, 5, STYLE_FILLED);
    EXPECT_COLOR(WHITE, At(60, 45));
    EXPECT_COLOR(RED, At(60, 20));
    w->DrawPolygon(xs, ys, 5, STYLE_INVERTED);
    EXPECT_COLOR(BLACK, At(60, 45));
    EXPECT_COLOR(color(0, 255, 255), At(60, 20));
}

TEST_F(ShapesTest, CircleUsesTheBoxAroundItsCentre) {
    w->SetPen(BLUE, 1);
    w->DrawCircle(50, 40, 10, STYLE_FILLED);
    EXPECT_COLOR(BLUE, At(40, 40));
    EXPECT_COLOR(WHITE, At(39, 40));
    EXPECT_COLOR(BLUE, At(50, 30));
    EXPECT_COLOR(WHITE, At(50, 29));
    EXPECT_COLOR(RED, At(50, 40));
    EXPECT_COLOR(WHITE, At(60, 40));  // the right edge of the box is left out
}

TEST_F(ShapesTest, QuarterArcOverTheTopRightInDegreesAndRadians) {
    // Box (0, 0, 101, 51): centre (50, 25), radii 50 and 25; 0 to 90 runs
    // from (100, 25) up to (50, 0).
    for (int unit : {0, 2, 1}) {
        w->SetPen(WHITE, 1);
        w->SetBrush(WHITE);
        w->DrawRectangle(0, 0, kW, kH, STYLE_FILLED, 0, 0);
        w->SetPen(BLACK, 1);
        double end = unit == 1 ? 3.141592653589793 / 2 : 90.0;
        w->DrawArc(0, 0, 101, 51, 0.0, end, STYLE_FRAME, unit);
        SCOPED_TRACE("unit " + std::to_string(unit));
        EXPECT_GT(CountNot(80, 0, 101, 20, WHITE), 5);  // top right quarter
        EXPECT_EQ(0, CountNot(0, 0, 45, 51, WHITE));     // nothing on the left
        EXPECT_EQ(0, CountNot(55, 30, 101, 51, WHITE));  // nothing below right
    }
}

TEST_F(ShapesTest, PieFillsItsWedge) {
    w->DrawArc(0, 0, 101, 81, 0, 90, STYLE_FILLED, 0);
    EXPECT_COLOR(RED, At(70, 25));
    EXPECT_COLOR(WHITE, At(30, 25));
    EXPECT_COLOR(WHITE, At(70, 55));
}

TEST_F(ShapesTest, PointSetsOnePixelWhateverThePenAndKeepsThePen) {
    w->SetPen(BLUE, 5);
    HPEN pen = WindowTestAccess::Pen(*w);
    w->DrawPoint(30, 30);
    EXPECT_EQ(pen, WindowTestAccess::Pen(*w));
    EXPECT_EQ(5, WindowTestAccess::PenWidth(*w));
    EXPECT_COLOR(BLUE, WindowTestAccess::PenColor(*w));
    EXPECT_COLOR(BLUE, At(30, 30));
    EXPECT_EQ(1, CountNot(25, 25, 36, 36, WHITE));
    // The pen is still blue and 5 wide afterwards.
    w->DrawLine(10, 60, 50, 60, STYLE_FRAME);
    EXPECT_COLOR(BLUE, At(30, 60));
    EXPECT_COLOR(BLUE, At(30, 58));
    EXPECT_COLOR(BLUE, At(30, 62));
    EXPECT_COLOR(BLUE, w->SetPen(BLACK, 1));
}

TEST_F(ShapesTest, PolygonWithTooFewPointsReportsItsStyle) {
    const int32_t xs[] = {10};
    const int32_t ys[] = {10};
    OutputCatcher out;
    w->DrawPolygon(xs, ys, 0, STYLE_FILLED);
    w->DrawPolygon(xs, ys, 1, STYLE_FRAME);
    std::string text = out.Take();
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to draw filled style in DrawPolygon!\n"));
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to draw frame style in DrawPolygon!\n"));
}

TEST_F(ShapesTest, PolygonCountsAboveTheLimitAreCut) {
    // Counts above 65,535 draw the first 65,535 points; the rest of the
    // arrays is not read.
    std::vector<int32_t> xs(70000, 20), ys(70000, 20);
    xs[1] = 60;
    ys[2] = 60;
    w->DrawPolygon(xs.data(), ys.data(), 70000, STYLE_FILLED);
    EXPECT_COLOR(RED, At(25, 25));
}
#ifndef _WIN32
// Failures are injected into the Linux platform layer only.
TEST_F(ShapesTest, EveryFailedDrawingCallIsReportedAndDrawingGoesOn) {
    const int32_t xs[] = {10, 50, 30};
    const int32_t ys[] = {10, 10, 50};
    struct Case {
        const char* function;
        void (*draw)(window&, drawstyle);
        drawstyle style;
        const char* message;
    };
    static const int32_t* px = xs;
    static const int32_t* py = ys;
    const Case cases[] = {
        {"Rectangle", [](window& w, drawstyle s) { w.DrawRectangle(5, 5, 40, 40, s, 0, 0); }, STYLE_FILLED,
         "Fatal Error: Failed to draw filled style in DrawRectangle!"},
        {"Rectangle", [](window& w, drawstyle s) { w.DrawRectangle(5, 5, 40, 40, s, 0, 0); }, STYLE_FRAME,
         "Fatal Error: Failed to draw frame style in DrawRectangle!"},
        {"Rectangle", [](window& w, drawstyle s) { w.DrawRectangle(5, 5, 40, 40, s, 0, 0); }, STYLE_INVERTED,
         "Fatal Error: Failed to draw inverted style in DrawRectangle!"},
        {"Polygon", [](window& w, drawstyle s) { w.DrawTriangle(5, 5, 40, 5, 20, 40, s); }, STYLE_FILLED,
         "Fatal Error: Failed to draw filled style in DrawTriangle!"},
        {"Polygon", [](window& w, drawstyle s) { w.DrawTriangle(5, 5, 40, 5, 20, 40, s); }, STYLE_FRAME,
         "Fatal Error: Failed to draw frame style in DrawTriangle!"},
        {"InvertRgn", [](window& w, drawstyle s) { w.DrawTriangle(5, 5, 40, 5, 20, 40, s); }, STYLE_INVERTED,
         "Fatal Error: Failed to draw inverted style in DrawTriangle!"},
        {"Polygon", [](window& w, drawstyle s) { w.DrawPolygon(px, py, 3, s); }, STYLE_FILLED,
         "Fatal Error: Failed to draw filled style in DrawPolygon!"},
        {"Polygon", [](window& w, drawstyle s) { w.DrawPolygon(px, py, 3, s); }, STYLE_FRAME,
         "Fatal Error: Failed to draw frame style in DrawPolygon!"},
        {"InvertRgn", [](window& w, drawstyle s) { w.DrawPolygon(px, py, 3, s); }, STYLE_INVERTED,
         "Fatal Error: Failed to draw inverted style in DrawPolygon!"},
        {"Ellipse", [](window& w, drawstyle s) { w.DrawCircle(20, 20, 10, s); }, STYLE_FILLED,
         "Fatal Error: Failed to draw filled style in DrawCircle!"},
        {"Ellipse", [](window& w, drawstyle s) { w.DrawCircle(20, 20, 10, s); }, STYLE_FRAME,
         "Fatal Error: Failed to draw frame style in DrawCircle!"},
        {"InvertRgn", [](window& w, drawstyle s) { w.DrawCircle(20, 20, 10, s); }, STYLE_INVERTED,
         "Fatal Error: Failed to draw inverted style in DrawCircle!"},
        {"Ellipse", [](window& w, drawstyle s) { w.DrawEllipse(5, 5, 40, 30, s); }, STYLE_FILLED,
         "Fatal Error: Failed to draw filled style in DrawEllipse!"},
        {"Ellipse", [](window& w, drawstyle s) { w.DrawEllipse(5, 5, 40, 30, s); }, STYLE_FRAME,
         "Fatal Error: Failed to draw frame style in DrawEllipse!"},
        {"InvertRgn", [](window& w, drawstyle s) { w.DrawEllipse(5, 5, 40, 30, s); }, STYLE_INVERTED,
         "Fatal Error: Failed to draw inverted style in DrawEllipse!"},
        {"Pie", [](window& w, drawstyle s) { w.DrawArc(5, 5, 40, 40, 0, 90, s, 0); }, STYLE_FILLED,
         "Fatal Error: Failed to draw filled style in DrawArc!"},
        {"Arc", [](window& w, drawstyle s) { w.DrawArc(5, 5, 40, 40, 0, 90, s, 0); }, STYLE_FRAME,
         "Fatal Error: Failed to draw frame style in DrawArc!"},
        {"Pie", [](window& w, drawstyle s) { w.DrawArc(5, 5, 40, 40, 0, 90, s, 0); }, STYLE_INVERTED,
         "Fatal Error: Failed to draw inverted style in DrawArc!"},
        {"PolyBezier", [](window& w, drawstyle s) { w.DrawBezier(5, 5, 10, 40, 30, 0, 40, 40, s); },
         STYLE_FRAME, "Fatal Error: Failed to draw in DrawBezier!"},
        {"LineTo", [](window& w, drawstyle s) { w.DrawLine(5, 5, 40, 40, s); }, STYLE_FRAME,
         "Fatal Error: Failed to draw in DrawLine!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        OutputCatcher out;
        platform_faults::FailNext(c.function);
        c.draw(*w, c.style);
        std::string text = out.Take();
        platform_faults::ClearAll();
        EXPECT_EQ(1, Count(text, std::string(c.message) + "\n"));
        EXPECT_EQ(1, Count(text, "Fatal Error: "));
    }
    // After all of that the window's pen and brush are intact and selected
    // only while drawing.
    w->SetPen(BLACK, 1);
    w->DrawRectangle(60, 60, 80, 80, STYLE_FILLED, 0, 0);
    EXPECT_COLOR(RED, At(70, 70));
}

TEST_F(ShapesTest, FailedMoveInALineIsReportedAndTheLineStillTried) {
    OutputCatcher out;
    platform_faults::FailNext("MoveToEx");
    w->DrawLine(5, 5, 40, 5, STYLE_FRAME);
    std::string text = out.Take();
    platform_faults::ClearAll();
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to MoveToEx in DrawLine!\n"));
    EXPECT_EQ(0, Count(text, "Failed to draw in DrawLine"));
}

TEST_F(ShapesTest, FailedDeletionOfThePointPenIsReportedAsSetPen) {
    w->SetPen(GREEN, 3);
    OutputCatcher out;
    platform_faults::FailNext("DeleteObject");
    w->DrawPoint(10, 10);
    std::string text = out.Take();
    platform_faults::ClearAll();
    EXPECT_EQ(1, Count(text, "Fatal Error: Failed to delete penObject in SetPen!\n"));
    EXPECT_COLOR(GREEN, At(10, 10));
    EXPECT_COLOR(GREEN, w->SetPen(BLACK, 1));
}

#endif

}  // namespace
