// The calls a beginner writes first: whole-number colours, any integer type
// for DrawNumber, and the defaults of DrawLine, DrawRectangle and DrawImage.
// The calls written to the original forms keep their meaning beside them.
#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

#include "graphics.h"

namespace {

bool Same(const color& a, int r, int g, int b) { return a.red == r && a.green == g && a.blue == b; }

// Whether SetBrush(r, g, b) compiles for these argument types.
template <class R, class G, class B, class = void>
struct BrushCompiles : std::false_type {};
template <class R, class G, class B>
struct BrushCompiles<R, G, B, std::void_t<decltype(std::declval<window&>().SetBrush(
                                  std::declval<R>(), std::declval<G>(), std::declval<B>()))>>
    : std::true_type {};
template <class R, class G, class B, class = void>
struct PenCompiles : std::false_type {};
template <class R, class G, class B>
struct PenCompiles<R, G, B, std::void_t<decltype(std::declval<window&>().SetPen(
                                std::declval<R>(), std::declval<G>(), std::declval<B>(), 1))>>
    : std::true_type {};

// Every all-whole, all-fraction or mixed call compiles (mixed calls have
// always compiled, taking the fraction form).
static_assert(BrushCompiles<int, double, int>::value);
static_assert(BrushCompiles<double, double, int>::value);
static_assert(PenCompiles<int, double, int>::value);
static_assert(BrushCompiles<int, int, int>::value && PenCompiles<int, int, int>::value);
static_assert(BrushCompiles<unsigned, long, short>::value && PenCompiles<size_t, char, int>::value);
static_assert(BrushCompiles<double, double, double>::value && BrushCompiles<float, float, double>::value);
static_assert(BrushCompiles<uint8_t, uint8_t, uint8_t>::value);

class BeginnerCalls : public testing::Test {
protected:
    void SetUp() override {
        w = std::make_unique<window>(120, 60, 30, 30);
        w->SetWaitOnClose(false);
    }
    std::unique_ptr<window> w;
};

}  // namespace

TEST_F(BeginnerCalls, MixedCallsKeepTheFractionForm) {
    w->SetBrush(0, 0.5, 1);
    EXPECT_TRUE(Same(w->SetBrush(WHITE), 0, 127, 255));
    w->SetPen(1, 0.0, 0, 3);
    EXPECT_TRUE(Same(w->SetPen(WHITE, 1), 255, 0, 0));
}

TEST_F(BeginnerCalls, WholeNumbersPickTheEightBitForms) {
    w->SetPen(255, 0, 0, 2);
    EXPECT_TRUE(Same(w->SetPen(WHITE, 1), 255, 0, 0));
    for (int i = 0; i < 256; i += 85) {
        w->SetBrush(i, 0, 255 - i);
        EXPECT_TRUE(Same(w->SetBrush(WHITE), i, 0, 255 - i)) << i;
    }
    // Low eight bits, as the 8-bit form and color(int, int, int) keep them.
    unsigned long big = 300;
    w->SetBrush(big, -1, 256);
    EXPECT_TRUE(Same(w->SetBrush(WHITE), 44, 255, 0));
    // The fraction form is untouched: (1.0, 0.5, 0.0) is (255, 127, 0).
    w->SetBrush(1.0, 0.5, 0.0);
    EXPECT_TRUE(Same(w->SetBrush(WHITE), 255, 127, 0));
    w->SetBrush(1.0f, 0.5f, 0.0f);
    EXPECT_TRUE(Same(w->SetBrush(WHITE), 255, 127, 0));
    // Drawn, not only stored.
    w->SetBrush(0, 0, 200);
    w->SetPen(0, 0, 200, 1);
    w->DrawRectangle(2, 2, 20, 20, STYLE_FILLED);
    EXPECT_TRUE(Same(w->GetColor(10, 10), 0, 0, 200));
}

TEST_F(BeginnerCalls, AnyIntegerNumberIsDrawnAsItsDecimalValue) {
    int wide = 0, high = 0, expectW = 0, expectH = 0;
    const auto sizeOf = [&](const char* text) {
        w->GetStringSize(expectW, expectH, text);
        return std::make_pair(expectW, expectH);
    };
    w->GetNumberSize(wide, high, static_cast<size_t>(7));
    EXPECT_EQ(std::make_pair(wide, high), sizeOf("7"));
    w->GetNumberSize(wide, high, ULLONG_MAX);
    EXPECT_EQ(std::make_pair(wide, high), sizeOf("18446744073709551615"));
    w->GetNumberSize(wide, high, -42L);
    EXPECT_EQ(std::make_pair(wide, high), sizeOf("-42"));
    w->GetNumberSize(wide, high, 3000000000u);
    EXPECT_EQ(std::make_pair(wide, high), sizeOf("3000000000"));
    // A char was drawn as its code before these overloads, and still is.
    w->GetNumberSize(wide, high, 'a');
    EXPECT_EQ(std::make_pair(wide, high), sizeOf("97"));

    w->SetPen(BLACK, 1);
    unsigned score = 8;
    w->DrawNumber(5, 5, score);
    int ink = 0;
    for (int y = 5; y < 25; ++y)
        for (int x = 5; x < 25; ++x) ink += Same(w->GetColor(x, y), 0, 0, 0) ? 1 : 0;
    EXPECT_GT(ink, 5);
}

TEST_F(BeginnerCalls, DefaultsAreTheObviousValues) {
    w->SetPen(0, 0, 0, 1);
    w->SetBrush(0, 200, 0);
    w->DrawLine(0, 40, 50, 40);  // a frame line
    EXPECT_TRUE(Same(w->GetColor(20, 40), 0, 0, 0));
    w->DrawRectangle(60, 5, 90, 35, STYLE_FILLED);  // square corners
    EXPECT_TRUE(Same(w->GetColor(60, 5), 0, 0, 0));
    EXPECT_TRUE(Same(w->GetColor(75, 20), 0, 200, 0));
}
