// The warnings for beginners (diagnostics.h): the setting that turns them
// off, the places already told, and the checks themselves. Nothing here
// allocates, runs a message step or draws: a warning only reads what the
// program did (and, for white on white, a few pixels) and writes one line.
#include "diagnostics.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "graphics_internal.h"
#include "whole_numbers.h"

namespace graphics_diagnostics {

namespace {

enum class Kind : uint8_t {
    WholeOutOfRange,
    MixedWithFractions,
    FractionOutOfRange,
    WhiteOnWhite,
    UnbufferedUpdate,
    PixelOutside,
};

// GRAPHICS_WARNINGS: 0 turns the warnings off; unset or anything else
// leaves them on. Read when a warning is due, so it is the one reader.
bool WarningsOn() {
    const char* text = std::getenv("GRAPHICS_WARNINGS");
    return text == nullptr || std::strcmp(text, "0") != 0;
}

// The places told so far, as kind and address. A run that fills the
// table (hundreds of suspicious places) is told nothing more of a kind
// already told.
struct Told {
    Kind kind;
    const void* site;
};
constexpr int kToldRoom = 512;
Told told[kToldRoom];
int toldCount = 0;

bool AlreadyTold(Kind kind, const void* site) {
    bool kindTold = false;
    for (int i = 0; i < toldCount; ++i) {
        if (told[i].kind != kind) continue;
        if (told[i].site == site) return true;
        kindTold = true;
    }
    return toldCount == kToldRoom && kindTold;
}

// Whether a warning of `kind` at this place is to be written now.
bool Due(Kind kind, const void* site) { return !AlreadyTold(kind, site) && WarningsOn(); }

// Writes one line of warning.
void Write(const char* text) {
    std::fflush(stdout);
    std::fprintf(stderr, "graphics: %s\n", text);
    std::fflush(stderr);
}

// Writes the line and remembers the place.
void Say(Kind kind, const void* site, const char* text) {
    if (toldCount < kToldRoom) told[toldCount++] = {kind, site};
    Write(text);
}

// A colour value as written: whole numbers as such, fractions with a
// decimal point even when whole ("255.0"), so the line shows which is which.
void Written(const kiva_detail::Given& v, char* out, size_t room) {
    switch (v.form) {
        case kiva_detail::Given::SIGNED_WHOLE: std::snprintf(out, room, "%lld", v.whole); return;
        case kiva_detail::Given::UNSIGNED_WHOLE: std::snprintf(out, room, "%llu", v.unsignedWhole); return;
        case kiva_detail::Given::FRACTION: break;
    }
    if (std::isfinite(v.fraction) && std::fabs(v.fraction) < 1e15 && v.fraction == std::floor(v.fraction)) {
        std::snprintf(out, room, "%.1f", v.fraction);
    } else {
        std::snprintf(out, room, "%g", v.fraction);
    }
}

bool IsWhole(const kiva_detail::Given& v) { return v.form != kiva_detail::Given::FRACTION; }

double AsFraction(const kiva_detail::Given& v) {
    switch (v.form) {
        case kiva_detail::Given::SIGNED_WHOLE: return static_cast<double>(v.whole);
        case kiva_detail::Given::UNSIGNED_WHOLE: return static_cast<double>(v.unsignedWhole);
        case kiva_detail::Given::FRACTION: break;
    }
    return v.fraction;
}

// What a colour call's three values give: the first one that will not be
// what was meant, and the kind of the mistake; false when all are fine.
bool Suspicious(const kiva_detail::Given (&v)[3], int& which, Kind& kind) {
    const bool allWhole = IsWhole(v[0]) && IsWhole(v[1]) && IsWhole(v[2]);
    for (int i = 0; i < 3; ++i) {
        if (!IsWhole(v[i])) continue;
        const bool outside = v[i].form == kiva_detail::Given::SIGNED_WHOLE ? v[i].whole < 0 || v[i].whole > 255
                                                                           : v[i].unsignedWhole > 255;
        const bool notZeroOrOne =
            v[i].form == kiva_detail::Given::SIGNED_WHOLE ? v[i].whole != 0 && v[i].whole != 1 : v[i].unsignedWhole > 1;
        if (allWhole ? outside : notZeroOrOne) {
            which = i;
            kind = allWhole ? Kind::WholeOutOfRange : Kind::MixedWithFractions;
            return true;
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (!IsWhole(v[i]) && !(v[i].fraction >= 0 && v[i].fraction <= 1)) {
            which = i;
            kind = Kind::FractionOutOfRange;
            return true;
        }
    }
    return false;
}

// The 8-bit level a value becomes.
unsigned LevelOf(const kiva_detail::Given& v, bool asFraction) {
    if (asFraction) return LevelOfFraction(AsFraction(v));
    return v.form == kiva_detail::Given::SIGNED_WHOLE ? static_cast<unsigned>(v.whole & 0xFF)
                                                      : static_cast<unsigned>(v.unsignedWhole & 0xFF);
}

void ColourCall(const char* call, const kiva_detail::Given (&v)[3], int width, const void* site) {
    int which = 0;
    Kind kind = Kind::WholeOutOfRange;
    if (!Suspicious(v, which, kind) || !Due(kind, site)) return;
    char values[3][40];
    for (int i = 0; i < 3; ++i) Written(v[i], values[i], sizeof values[i]);
    char head[200];
    if (std::strcmp(call, "SetPen") == 0) {
        std::snprintf(head, sizeof head, "%s(%s, %s, %s, %d)", call, values[0], values[1], values[2], width);
    } else {
        std::snprintf(head, sizeof head, "%s(%s, %s, %s)", call, values[0], values[1], values[2]);
    }
    const unsigned level = LevelOf(v[which], kind != Kind::WholeOutOfRange);
    char text[600];
    switch (kind) {
        case Kind::WholeOutOfRange:
            std::snprintf(text, sizeof text, "%s: %s is outside 0 to 255 and wraps to %u; give whole numbers 0 to 255",
                          head, values[which], level);
            break;
        case Kind::MixedWithFractions:
            std::snprintf(text, sizeof text,
                          "%s: whole numbers mixed with fractions are all taken as fractions, so %s wraps to %u; "
                          "give red, green and blue all as whole numbers 0 to 255 or all as fractions 0.0 to 1.0",
                          head, values[which], level);
            break;
        default:
            std::snprintf(text, sizeof text,
                          "%s: %s is taken as a fraction, outside 0.0 to 1.0, and wraps to %u; give fractions 0.0 "
                          "to 1.0, or whole numbers 0 to 255 as integers",
                          head, values[which], level);
            break;
    }
    Say(kind, site, text);
}

// The program's windows closed by their users, and the places that have
// called a frame or a poll on them since.
struct ClosedCall {
    const window* w;
    const void* site;
};
constexpr int kClosedRoom = 64;
ClosedCall closedCalls[kClosedRoom];
int closedCount = 0;

}  // namespace

const char* callName = nullptr;
const void* callSite = nullptr;

void CheckFractions(const char* call, double red, double green, double blue, int width, const void* caller) {
    if (red >= 0 && red <= 1 && green >= 0 && green <= 1 && blue >= 0 && blue <= 1) return;
    const kiva_detail::Given v[3] = {kiva_detail::Value(red), kiva_detail::Value(green), kiva_detail::Value(blue)};
    ColourCall(call, v, width, caller);
}

bool MayBeInvisible(const window& w, bool brush) {
    return !GraphicsInternals::PenChosen(w) && (!brush || !GraphicsInternals::BrushChosen(w));
}

void CheckVisible(window& w, bool brush, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (callName == nullptr || !MayBeInvisible(w, brush) || AlreadyTold(Kind::WhiteOnWhite, callSite)) return;
    // The pixels at the box's corners and middle, inside the window: all
    // white means nothing there could show a white shape.
    const int32_t width = w.QueryWidth(), height = w.QueryHeight();
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right < 0 || bottom < 0 || left >= width || top >= height) return;  // nothing of it can show
    auto clamp = [](int32_t v, int32_t size) { return v < 0 ? 0 : (v >= size ? size - 1 : v); };
    left = clamp(left, width);
    right = clamp(right, width);
    top = clamp(top, height);
    bottom = clamp(bottom, height);
    const int32_t middleX = static_cast<int32_t>((int64_t{left} + right) / 2);
    const int32_t middleY = static_cast<int32_t>((int64_t{top} + bottom) / 2);
    const int32_t points[5][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}, {middleX, middleY}};
    HDC dc = GraphicsInternals::ActiveDC(w);
    for (const auto& p : points)
        if (GetPixel(dc, p[0], p[1]) != RGB(255, 255, 255)) return;
    if (!WarningsOn()) return;
    char text[400];
    if (brush) {
        std::snprintf(text, sizeof text,
                      "%s: the pen and the brush are white, as a new window and SetBuffering(true) set them, so the "
                      "shape is white on white and cannot be seen; choose colours first, e.g. SetPen(BLACK, 1) and "
                      "SetBrush(RED)",
                      callName);
    } else {
        std::snprintf(text, sizeof text,
                      "%s: the pen is white, as a new window and SetBuffering(true) set it, so this is drawn white on "
                      "white and cannot be seen; choose a colour first, e.g. SetPen(BLACK, 1)",
                      callName);
    }
    Say(Kind::WhiteOnWhite, callSite, text);
}

void CheckUpdate(const window& w) {
    if (GraphicsInternals::Buffering(w) || callName == nullptr || !Due(Kind::UnbufferedUpdate, callSite)) return;
    Say(Kind::UnbufferedUpdate, callSite,
        "UpdateBuffer: buffering is off, so there is no hidden frame to show and each drawing call goes straight to "
        "the window, where the picture flickers; call SetBuffering(true) once before drawing the frames");
}

namespace {

// CheckPixel's message, apart: the check itself stays small.
__attribute__((noinline)) void TellPixelOutside(int32_t x, int32_t y, int32_t width, int32_t height) {
    if (callName == nullptr || !Due(Kind::PixelOutside, callSite)) return;
    char text[300];
    std::snprintf(text, sizeof text,
                  "%s(%d, %d): the point is outside the %d x %d window and reads as black; give x from 0 to %d and y "
                  "from 0 to %d",
                  callName, x, y, width, height, width - 1, height - 1);
    Say(Kind::PixelOutside, callSite, text);
}

}  // namespace

void CheckPixel(const window& w, int32_t x, int32_t y) {
    const int32_t width = w.QueryWidth(), height = w.QueryHeight();
    if (width <= 0 || height <= 0 || (x >= 0 && y >= 0 && x < width && y < height)) return;
    TellPixelOutside(x, y, width, height);
}

void CheckClosed(const window& w) {
    if (!GraphicsInternals::ScreenLost(w) || GraphicsInternals::CloseSeen(w) || callName == nullptr) return;
    for (int i = 0; i < closedCount; ++i) {
        if (closedCalls[i].w != &w || closedCalls[i].site != callSite) continue;
        // The same place again: a loop that does not ask IsOpen. Told once
        // for the window, which then counts as seen closed.
        if (!WarningsOn()) return;
        char text[300];
        std::snprintf(text, sizeof text,
                      "%s: the window was closed by its user, so it shows nothing and no input comes; end the loop "
                      "when IsOpen() is false, as in while (w.IsOpen())",
                      callName);
        GraphicsInternals::SeeClose(w);
        Write(text);
        return;
    }
    if (closedCount < kClosedRoom) closedCalls[closedCount++] = {&w, callSite};
}

void Forget(const window& w) {
    int kept = 0;
    for (int i = 0; i < closedCount; ++i)
        if (closedCalls[i].w != &w) closedCalls[kept++] = closedCalls[i];
    closedCount = kept;
}

}  // namespace graphics_diagnostics

void kiva_detail::ColourWarning(const char* call, Given red, Given green, Given blue, int width, const void* caller) {
    const Given v[3] = {red, green, blue};
    graphics_diagnostics::ColourCall(call, v, width, caller);
}
