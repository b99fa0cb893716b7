// graphics.h - a small graphics library for teaching-style programs.
//
// A `window` wraps one top-level window with input queues of keys and mouse
// clicks, optional double buffering, a pen, a brush and a font, shape
// primitives, text, pixel read-back and printing. `image` holds a picture
// loaded from a JPEG file or captured from a window. Everything runs on the
// thread that created the windows; the library has no thread of its own and
// processes one pending window message at the start of each operation.
//
// On Windows the library sits on the real Win32 API; elsewhere on the
// project's own Win32 subset (platform/include/windows.h). This header
// includes neither: it declares the few platform handle types that the
// fields of `window` and `image` hold, exactly as <windows.h> declares them
// (STRICT handles: a pointer to an incomplete structure of their own), so a
// program keeps its own `min`, `max`, `RGB`, `ERROR` or `Rectangle`, and a
// program that includes <windows.h> as well still compiles.
/// @file
/// The whole library: `window`, `image`, `color` with its 144 named colours,
/// the enumerations, the timing functions and the fatal error report.
/// Programs write `#include <graphics.h>`; the cheat sheet on the main page
/// lists every call on one page.
#ifndef GRAPHICS_GRAPHICS_H
#define GRAPHICS_GRAPHICS_H

// The header is C++17; an older language level is told in the first error,
// and the rest of the header is left out rather than misread.
#if (defined(_MSVC_LANG) ? _MSVC_LANG : __cplusplus) < 201703L
#error "graphics.h needs C++17 (-std=c++17)"
#else

#include <cstdint>
#include <string>
#include <type_traits>

// <windows.h>, when a program includes it before this header, names a
// message-box flag MB_RIGHT; here it is a mouse button.
#ifdef MB_RIGHT
#undef MB_RIGHT
#endif

// The platform handles that the fields of `window` and `image` hold.
struct HWND__;
typedef HWND__* HWND;
struct HDC__;
typedef HDC__* HDC;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
struct HBITMAP__;
typedef HBITMAP__* HBITMAP;
struct HPEN__;
typedef HPEN__* HPEN;
struct HBRUSH__;
typedef HBRUSH__* HBRUSH;
struct HFONT__;
typedef HFONT__* HFONT;
typedef void* HGDIOBJ;
struct tagBITMAPINFOHEADER;  // BITMAPINFOHEADER

// Helpers of the overloads below that sort colour arguments into whole
// numbers and fractions, tell the library about values that will not give
// the colour meant, and turn a call that lacks an argument into one clear
// error; not for programs.
namespace kiva_detail {
template <class... T>
inline constexpr bool all_whole = (std::is_integral_v<T> && ...);
template <class... T>
inline constexpr bool mixed = (std::is_arithmetic_v<T> && ...) && !all_whole<T...> &&
                              (std::is_integral_v<T> || ...);
template <class T>
using wide = std::conditional_t<std::is_signed_v<T>, long long, unsigned long long>;
template <class... T>
inline constexpr bool always_false = false;

// A colour value as the program wrote it: a whole number (of a signed or an
// unsigned type) or a fraction.
struct Given {
    enum Form : unsigned char { SIGNED_WHOLE, UNSIGNED_WHOLE, FRACTION } form;
    long long whole;
    unsigned long long unsignedWhole;
    double fraction;
};
template <class T>
constexpr Given Value(T v) {
    if constexpr (!std::is_integral_v<T>) {
        return {Given::FRACTION, 0, 0, static_cast<double>(v)};
    } else if constexpr (std::is_signed_v<T>) {
        return {Given::SIGNED_WHOLE, static_cast<long long>(v), 0, 0.0};
    } else {
        return {Given::UNSIGNED_WHOLE, 0, static_cast<unsigned long long>(v), 0.0};
    }
}
// A whole number outside 0 to 255 (it wraps).
template <class T>
constexpr bool OutsideByte(T v) {
    const wide<T> w = v;
    if constexpr (std::is_signed_v<T>) {
        return w < 0 || w > 255;
    } else {
        return w > 255;
    }
}
// Among fractions: a whole number other than 0 and 1, or a fraction
// outside 0.0 to 1.0 (both wrap).
template <class T>
constexpr bool OutsideFraction(T v) {
    if constexpr (std::is_integral_v<T>) {
        const wide<T> w = v;
        return w != 0 && w != 1;
    } else {
        return !(v >= 0 && v <= 1);
    }
}
// Writes the warning about such a colour call (`width` < 0 for SetBrush);
// `caller` is where the overload below returns to.
void ColourWarning(const char* call, Given red, Given green, Given blue, int width, const void* caller);
}  // namespace kiva_detail

// Where the colour overloads below return to, which tells the library's
// warnings one call in a program from another; they are kept out of line
// so that it is the program's call. (A web build cannot name the caller:
// there one place stands for all.)
#if (defined(__GNUC__) || defined(__clang__)) && !defined(__EMSCRIPTEN__)
#define KIVA_DETAIL_CALLER() __builtin_return_address(0)
#define KIVA_DETAIL_OUT_OF_LINE __attribute__((noinline))
#else
#define KIVA_DETAIL_CALLER() nullptr
#define KIVA_DETAIL_OUT_OF_LINE
#endif

// ---------------------------------------------------------------- errors

/// The library's one exception type, thrown by value (`catch (error e)`)
/// and caught nowhere inside the library.
enum error : int32_t {
    ERR_ALLOCATION = 0,  ///< an allocation failed
    ERR_NO_FILE = 1      ///< a picture has no file name or its file cannot be opened
};

// ---------------------------------------------------------------- colours

/// Three 8-bit intensities, 0 to 255: `color(255, 128, 0)` or one of the
/// named colours below. Constructing from whole numbers keeps the low eight
/// bits of each (256 is 0).
struct color {
    uint8_t red = 0;    ///< red, 0 to 255
    uint8_t green = 0;  ///< green, 0 to 255
    uint8_t blue = 0;   ///< blue, 0 to 255

    /// Black: (0, 0, 0).
    constexpr color() = default;
    /// Red, green and blue from whole numbers, each keeping its low eight
    /// bits: color(300, 0, 0) is (44, 0, 0).
    constexpr color(int r, int g, int b)
        : red(static_cast<uint8_t>(r & 0xFF)),
          green(static_cast<uint8_t>(g & 0xFF)),
          blue(static_cast<uint8_t>(b & 0xFF)) {}
};

/// @name Named colours
/// The 144 named colours (the X11 names), numbered 1 to 144 in this order.
///@{
// The 144 named colours, numbered 1 to 144 in this order. Neighbours with
// one value are two spellings of one colour (grey and gray).
inline constexpr color SNOW(255, 250, 250);  ///< @rgb{255,250,250}
inline constexpr color GHOST_WHITE(248, 248, 255);  ///< @rgb{248,248,255}
inline constexpr color WHITE_SMOKE(245, 245, 245);  ///< @rgb{245,245,245}
inline constexpr color GAINSBORO(220, 220, 220);  ///< @rgb{220,220,220}
inline constexpr color FLORAL_WHITE(255, 250, 240);  ///< @rgb{255,250,240}
inline constexpr color OLD_LACE(253, 245, 230);  ///< @rgb{253,245,230}
inline constexpr color LINEN(250, 240, 230);  ///< @rgb{250,240,230}
inline constexpr color ANTIQUE_WHITE(250, 235, 215);  ///< @rgb{250,235,215}
inline constexpr color PAPAYA_WHIP(255, 239, 213);  ///< @rgb{255,239,213}
inline constexpr color BLANCHED_ALMOND(255, 235, 205);  ///< @rgb{255,235,205}
inline constexpr color BISQUE(255, 228, 196);  ///< @rgb{255,228,196}
inline constexpr color PEACH_PUFF(255, 218, 185);  ///< @rgb{255,218,185}
inline constexpr color NAVAJO_WHITE(255, 222, 173);  ///< @rgb{255,222,173}
inline constexpr color MOCCASIN(255, 228, 181);  ///< @rgb{255,228,181}
inline constexpr color CORNSILK(255, 248, 220);  ///< @rgb{255,248,220}
inline constexpr color IVORY(255, 255, 240);  ///< @rgb{255,255,240}
inline constexpr color LEMON_CHIFFON(255, 250, 205);  ///< @rgb{255,250,205}
inline constexpr color SEASHELL(255, 245, 238);  ///< @rgb{255,245,238}
inline constexpr color HONEYDEW(240, 255, 240);  ///< @rgb{240,255,240}
inline constexpr color MINT_CREAM(245, 255, 250);  ///< @rgb{245,255,250}
inline constexpr color AZURE(240, 255, 255);  ///< @rgb{240,255,255}
inline constexpr color ALICE_BLUE(240, 248, 255);  ///< @rgb{240,248,255}
inline constexpr color LAVENDER(230, 230, 250);  ///< @rgb{230,230,250}
inline constexpr color LAVENDER_BLUSH(255, 240, 245);  ///< @rgb{255,240,245}
inline constexpr color MISTY_ROSE(255, 228, 225);  ///< @rgb{255,228,225}
inline constexpr color WHITE(255, 255, 255);  ///< @rgb{255,255,255}
inline constexpr color BLACK(0, 0, 0);  ///< @rgb{0,0,0}
inline constexpr color DARK_SLATE_GRAY(47, 79, 79);  ///< @rgb{47,79,79}
inline constexpr color DARK_SLATE_GREY(47, 79, 79);  ///< @rgb{47,79,79}
inline constexpr color DIM_GRAY(105, 105, 105);  ///< @rgb{105,105,105}
inline constexpr color DIM_GREY(105, 105, 105);  ///< @rgb{105,105,105}
inline constexpr color SLATE_GRAY(112, 128, 144);  ///< @rgb{112,128,144}
inline constexpr color SLATE_GREY(112, 128, 144);  ///< @rgb{112,128,144}
inline constexpr color LIGHT_SLATE_GRAY(119, 136, 153);  ///< @rgb{119,136,153}
inline constexpr color LIGHT_SLATE_GREY(119, 136, 153);  ///< @rgb{119,136,153}
inline constexpr color GRAY(190, 190, 190);  ///< @rgb{190,190,190}
inline constexpr color GREY(190, 190, 190);  ///< @rgb{190,190,190}
inline constexpr color LIGHT_GREY(211, 211, 211);  ///< @rgb{211,211,211}
inline constexpr color LIGHT_GRAY(211, 211, 211);  ///< @rgb{211,211,211}
inline constexpr color MIDNIGHT_BLUE(25, 25, 112);  ///< @rgb{25,25,112}
inline constexpr color NAVY(0, 0, 128);  ///< @rgb{0,0,128}
inline constexpr color NAVY_BLUE(0, 0, 128);  ///< @rgb{0,0,128}
inline constexpr color CORNFLOWER_BLUE(100, 149, 237);  ///< @rgb{100,149,237}
inline constexpr color DARK_SLATE_BLUE(72, 61, 139);  ///< @rgb{72,61,139}
inline constexpr color SLATE_BLUE(106, 90, 205);  ///< @rgb{106,90,205}
inline constexpr color MEDIUM_SLATE_BLUE(123, 104, 238);  ///< @rgb{123,104,238}
inline constexpr color LIGHT_SLATE_BLUE(132, 112, 255);  ///< @rgb{132,112,255}
inline constexpr color MEDIUM_BLUE(0, 0, 205);  ///< @rgb{0,0,205}
inline constexpr color ROYAL_BLUE(65, 105, 225);  ///< @rgb{65,105,225}
inline constexpr color BLUE(0, 0, 255);  ///< @rgb{0,0,255}
inline constexpr color DODGER_BLUE(30, 144, 255);  ///< @rgb{30,144,255}
inline constexpr color DEEP_SKY_BLUE(0, 191, 255);  ///< @rgb{0,191,255}
inline constexpr color SKY_BLUE(135, 206, 235);  ///< @rgb{135,206,235}
inline constexpr color LIGHT_SKY_BLUE(135, 206, 250);  ///< @rgb{135,206,250}
inline constexpr color STEEL_BLUE(70, 130, 180);  ///< @rgb{70,130,180}
inline constexpr color LIGHT_STEEL_BLUE(176, 196, 222);  ///< @rgb{176,196,222}
inline constexpr color LIGHT_BLUE(173, 216, 230);  ///< @rgb{173,216,230}
inline constexpr color POWDER_BLUE(176, 224, 230);  ///< @rgb{176,224,230}
inline constexpr color PALE_TURQUOISE(175, 238, 238);  ///< @rgb{175,238,238}
inline constexpr color DARK_TURQUOISE(0, 206, 209);  ///< @rgb{0,206,209}
inline constexpr color MEDIUM_TURQUOISE(72, 209, 204);  ///< @rgb{72,209,204}
inline constexpr color TURQUOISE(64, 224, 208);  ///< @rgb{64,224,208}
inline constexpr color CYAN(0, 255, 255);  ///< @rgb{0,255,255}
inline constexpr color LIGHT_CYAN(224, 255, 255);  ///< @rgb{224,255,255}
inline constexpr color CADET_BLUE(95, 158, 160);  ///< @rgb{95,158,160}
inline constexpr color MEDIUM_AQUAMARINE(102, 205, 170);  ///< @rgb{102,205,170}
inline constexpr color AQUAMARINE(127, 255, 212);  ///< @rgb{127,255,212}
inline constexpr color DARK_GREEN(0, 100, 0);  ///< @rgb{0,100,0}
inline constexpr color DARK_OLIVE_GREEN(85, 107, 47);  ///< @rgb{85,107,47}
inline constexpr color DARK_SEA_GREEN(143, 188, 143);  ///< @rgb{143,188,143}
inline constexpr color SEA_GREEN(46, 139, 87);  ///< @rgb{46,139,87}
inline constexpr color MEDIUM_SEA_GREEN(60, 179, 113);  ///< @rgb{60,179,113}
inline constexpr color LIGHT_SEA_GREEN(32, 178, 170);  ///< @rgb{32,178,170}
inline constexpr color PALE_GREEN(152, 251, 152);  ///< @rgb{152,251,152}
inline constexpr color SPRING_GREEN(0, 255, 127);  ///< @rgb{0,255,127}
inline constexpr color LAWN_GREEN(124, 252, 0);  ///< @rgb{124,252,0}
inline constexpr color GREEN(0, 255, 0);  ///< @rgb{0,255,0}
inline constexpr color CHARTREUSE(127, 255, 0);  ///< @rgb{127,255,0}
inline constexpr color MEDIUM_SPRING_GREEN(0, 250, 154);  ///< @rgb{0,250,154}
inline constexpr color GREEN_YELLOW(173, 255, 47);  ///< @rgb{173,255,47}
inline constexpr color LIME_GREEN(50, 205, 50);  ///< @rgb{50,205,50}
inline constexpr color YELLOW_GREEN(154, 205, 50);  ///< @rgb{154,205,50}
inline constexpr color FOREST_GREEN(34, 139, 34);  ///< @rgb{34,139,34}
inline constexpr color OLIVE_DRAB(107, 142, 35);  ///< @rgb{107,142,35}
inline constexpr color DARK_KHAKI(189, 183, 107);  ///< @rgb{189,183,107}
inline constexpr color KHAKI(240, 230, 140);  ///< @rgb{240,230,140}
inline constexpr color PALE_GOLDENROD(238, 232, 170);  ///< @rgb{238,232,170}
inline constexpr color LIGHT_GOLDENROD_YELLOW(250, 250, 210);  ///< @rgb{250,250,210}
inline constexpr color LIGHT_YELLOW(255, 255, 224);  ///< @rgb{255,255,224}
inline constexpr color YELLOW(255, 255, 0);  ///< @rgb{255,255,0}
inline constexpr color GOLD(255, 215, 0);  ///< @rgb{255,215,0}
inline constexpr color LIGHT_GOLDENROD(238, 221, 130);  ///< @rgb{238,221,130}
inline constexpr color GOLDENROD(218, 165, 32);  ///< @rgb{218,165,32}
inline constexpr color DARK_GOLDENROD(184, 134, 11);  ///< @rgb{184,134,11}
inline constexpr color ROSY_BROWN(188, 143, 143);  ///< @rgb{188,143,143}
inline constexpr color INDIAN_RED(205, 92, 92);  ///< @rgb{205,92,92}
inline constexpr color INDIANRED(205, 92, 92);  ///< @rgb{205,92,92}
inline constexpr color SADDLE_BROWN(139, 69, 19);  ///< @rgb{139,69,19}
inline constexpr color SIENNA(160, 82, 45);  ///< @rgb{160,82,45}
inline constexpr color PERU(205, 133, 63);  ///< @rgb{205,133,63}
inline constexpr color BURLYWOOD(222, 184, 135);  ///< @rgb{222,184,135}
inline constexpr color BEIGE(245, 245, 220);  ///< @rgb{245,245,220}
inline constexpr color WHEAT(245, 222, 179);  ///< @rgb{245,222,179}
inline constexpr color SANDY_BROWN(244, 164, 96);  ///< @rgb{244,164,96}
inline constexpr color TAN(210, 180, 140);  ///< @rgb{210,180,140}
inline constexpr color CHOCOLATE(210, 105, 30);  ///< @rgb{210,105,30}
inline constexpr color FIREBRICK(178, 34, 34);  ///< @rgb{178,34,34}
inline constexpr color BROWN(165, 42, 42);  ///< @rgb{165,42,42}
inline constexpr color DARK_SALMON(233, 150, 122);  ///< @rgb{233,150,122}
inline constexpr color SALMON(250, 128, 114);  ///< @rgb{250,128,114}
inline constexpr color LIGHT_SALMON(255, 160, 122);  ///< @rgb{255,160,122}
inline constexpr color ORANGE(255, 165, 0);  ///< @rgb{255,165,0}
inline constexpr color DARK_ORANGE(255, 140, 0);  ///< @rgb{255,140,0}
inline constexpr color CORAL(255, 127, 80);  ///< @rgb{255,127,80}
inline constexpr color LIGHT_CORAL(240, 128, 128);  ///< @rgb{240,128,128}
inline constexpr color TOMATO(255, 99, 71);  ///< @rgb{255,99,71}
inline constexpr color ORANGE_RED(255, 69, 0);  ///< @rgb{255,69,0}
inline constexpr color RED(255, 0, 0);  ///< @rgb{255,0,0}
inline constexpr color HOT_PINK(255, 105, 180);  ///< @rgb{255,105,180}
inline constexpr color DEEP_PINK(255, 20, 147);  ///< @rgb{255,20,147}
inline constexpr color PINK(255, 192, 203);  ///< @rgb{255,192,203}
inline constexpr color LIGHT_PINK(255, 182, 193);  ///< @rgb{255,182,193}
inline constexpr color PALE_VIOLET_RED(219, 112, 147);  ///< @rgb{219,112,147}
inline constexpr color MAROON(176, 48, 96);  ///< @rgb{176,48,96}
inline constexpr color MEDIUM_VIOLET_RED(199, 21, 133);  ///< @rgb{199,21,133}
inline constexpr color VIOLET_RED(208, 32, 144);  ///< @rgb{208,32,144}
inline constexpr color MAGENTA(255, 0, 255);  ///< @rgb{255,0,255}
inline constexpr color VIOLET(238, 130, 238);  ///< @rgb{238,130,238}
inline constexpr color PLUM(221, 160, 221);  ///< @rgb{221,160,221}
inline constexpr color ORCHID(218, 112, 214);  ///< @rgb{218,112,214}
inline constexpr color MEDIUM_ORCHID(186, 85, 211);  ///< @rgb{186,85,211}
inline constexpr color DARK_ORCHID(153, 50, 204);  ///< @rgb{153,50,204}
inline constexpr color DARK_VIOLET(148, 0, 211);  ///< @rgb{148,0,211}
inline constexpr color BLUE_VIOLET(138, 43, 226);  ///< @rgb{138,43,226}
inline constexpr color PURPLE(160, 32, 240);  ///< @rgb{160,32,240}
inline constexpr color MEDIUM_PURPLE(147, 112, 219);  ///< @rgb{147,112,219}
inline constexpr color THISTLE(216, 191, 216);  ///< @rgb{216,191,216}
inline constexpr color DARK_GREY(169, 169, 169);  ///< @rgb{169,169,169}
inline constexpr color DARK_GRAY(169, 169, 169);  ///< @rgb{169,169,169}
inline constexpr color DARK_BLUE(0, 0, 139);  ///< @rgb{0,0,139}
inline constexpr color DARK_CYAN(0, 139, 139);  ///< @rgb{0,139,139}
inline constexpr color DARK_MAGENTA(139, 0, 139);  ///< @rgb{139,0,139}
inline constexpr color DARK_RED(139, 0, 0);  ///< @rgb{139,0,0}
inline constexpr color LIGHT_GREEN(144, 238, 144);  ///< @rgb{144,238,144}
///@}

// ---------------------------------------------------------------- drawing

/// How a shape is drawn.
enum drawstyle : int32_t {
    STYLE_FILLED = 1,    ///< outline in the pen, interior in the brush
    STYLE_FRAME = 2,     ///< outline in the pen only
    STYLE_INVERTED = 3   ///< every pixel of the shape inverted
};

/// Font style bits for SetFont, combinable with |.
enum : uint16_t { FONT_BOLD = 1, FONT_ITALIC = 2, FONT_UNDERLINE = 4 };

/// @var FONT_BOLD
/// Bold letters.

/// @var FONT_ITALIC
/// Slanted letters.

/// @var FONT_UNDERLINE
/// Underlined text.

/// Font family codes for SetFont: MODERN fixed width, ROMAN with serifs,
/// SWISS without, SCRIPT handwriting, ANY the default.
enum : int32_t {
    FAMILY_ANY = 0,
    FAMILY_MODERN = 1,
    FAMILY_ROMAN = 2,
    FAMILY_SCRIPT = 3,
    FAMILY_SWISS = 4
};

/// @var FAMILY_ANY
/// The default face (sans-serif).

/// @var FAMILY_MODERN
/// A fixed-width face, as Courier New.

/// @var FAMILY_ROMAN
/// A face with serifs, as Times New Roman.

/// @var FAMILY_SCRIPT
/// A handwriting face.

/// @var FAMILY_SWISS
/// A face without serifs, as Arial.

// ---------------------------------------------------------------- input

/// What PollKey and AwaitKey found (see window's Input operations).
enum KeyKind : int32_t { KK_NONE = 0, KK_CHAR = 1, KK_NAV = 2, KK_FKEY = 3, KK_ESC = 4 };
/// What PollClick and AwaitClick found.
enum ClickKind : int32_t { CK_NONE = 0, CK_LEFT = 1, CK_RIGHT = 2 };
/// A mouse button for QueryButton.
enum MouseButton : int32_t { MB_LEFT = 0, MB_RIGHT = 1 };
/// Whether a mouse button is held down.
enum ButtonState : int32_t { BS_UP = 0, BS_DOWN = 1 };

/// @var KK_NONE
/// No key: none was waiting (PollKey), or the window is closed; the code is 0.

/// @var KK_CHAR
/// A character key: the code is the character, e.g. 'a', '7', ' ' or '\\r' for Enter.

/// @var KK_NAV
/// A navigation key: the code is its digit on a number pad (4 left, 6 right, 8 up, 2 down, 7 Home,
/// 1 End, 9 Page Up, 3 Page Down).

/// @var KK_FKEY
/// A function key: the code is 1 to 12 for F1 to F12.

/// @var KK_ESC
/// The Escape key: the code is 1.

/// @var CK_NONE
/// No click: none was waiting (PollClick), or the window is closed; x and y are -1.

/// @var CK_LEFT
/// The left button was released at x, y.

/// @var CK_RIGHT
/// The right button was released at x, y.

/// @var MB_LEFT
/// The left mouse button.

/// @var MB_RIGHT
/// The right mouse button.

/// @var BS_UP
/// The button is up.

/// @var BS_DOWN
/// The button is held down.

// A window's input waits in two first-in first-out lists of records, one of
// keys and one of clicks; each list owns its records. The records and the
// list operations belong to the library (graphics_internal.h).
struct KeyRecord;
struct ClickRecord;

template <class Record>
class InputQueue {
public:
    InputQueue() = default;
    InputQueue(const InputQueue&) = delete;
    InputQueue& operator=(const InputQueue&) = delete;
    ~InputQueue();

    void Append(Record* record);
    Record* TakeFirst();  // caller frees the record; null when empty
    void Clear();

private:
    Record* first = nullptr;
    Record* last = nullptr;
};

using KeyQueue = InputQueue<KeyRecord>;
using ClickQueue = InputQueue<ClickRecord>;

// ---------------------------------------------------------------- images

/// Where a picture came from: a JPEG file, a window (StoreImage), or a
/// PNG file (IK_PNG, an addition).
enum ImageKind : int32_t { IK_JPEG = 0, IK_CAPTURE = 1, IK_PNG = 2 };

/// @var IK_JPEG
/// Decoded from a JPEG file; a kind that Load takes.

/// @var IK_CAPTURE
/// Copied from a window by StoreImage.

/// @var IK_PNG
/// Decoded from a PNG file; a kind that Load takes.
/// @addition A new kind.

/// One picture: 32 bits a pixel (blue, green, red, 0), top row first, with
/// the bitmap header that describes it. Copies are deep.
class image {
public:
    /// An empty picture (0 x 0); drawing it draws nothing.
    image();
    /// Loads a JPEG file (`kind` IK_JPEG) or a PNG file (IK_PNG); see Load.
    /// A null file name throws ERR_NO_FILE.
    image(const char* fileName, ImageKind kind);
    /// The same with the file name in a std::string.
    image(std::string fileName, ImageKind kind);
    /// A copy with pixels of its own.
    image(const image& other);
    /// Replaces this picture with a copy of `other`'s pixels.
    image& operator=(const image& other);
    /// Frees the pixels.
    ~image();

    /// Loads a JPEG file (`kind` IK_JPEG) or a PNG file (IK_PNG, an
    /// addition), a path relative to the working folder. A file that cannot
    /// be opened, or no file name, throws ERR_NO_FILE after writing one line
    /// naming the file and the reason to standard error; the picture is then
    /// empty. A file that is not a readable JPEG ends the program with
    /// libjpeg's message; likewise a file that is not a readable PNG, with a
    /// line naming the file and the reason (status 1). A PNG file is read
    /// whatever its colour type, bit depth or interlacing; its transparent
    /// parts are composited on white, as the picture would look on the white
    /// window, so the pixels hold no alpha. A picture of more than 2^28
    /// pixels (or, PNG, a side longer than 65535) is refused like a damaged
    /// file, before anything is allocated for it.
    /// @addition IK_PNG, and the line on standard error.
    void Load(const char* fileName, ImageKind kind);
    /// The same with the file name in a std::string.
    void Load(std::string fileName, ImageKind kind);

    /// Width in pixels (0 when empty).
    /// @addition A new call.
    uint16_t Width() const { return imgWidth; }
    /// Height in pixels (0 when empty).
    /// @addition A new call.
    uint16_t Height() const { return imgHeight; }
    /// Where the picture came from: IK_JPEG (also an empty picture) or
    /// IK_CAPTURE (StoreImage).
    /// @addition A new call.
    ImageKind Kind() const { return imgKind; }
    /// The pixels: Width() x Height() groups of blue, green, red, 0 bytes,
    /// top row first; null when empty.
    /// @addition A new call.
    const unsigned char* Pixels() const { return imgPixels; }
    /// The platform's bitmap header that describes Pixels() (a Win32
    /// BITMAPINFOHEADER: 32 bits a pixel, a negative height for top row
    /// first), for programs that hand the pixels to the Win32 API
    /// themselves; null until a picture has been loaded or captured.
    /// @addition A new call.
    const tagBITMAPINFOHEADER* Header() const { return bmapInfo; }

    /// Writes the picture to a PNG file (8-bit RGB) through libpng with
    /// fixed settings; false when the image is empty or the file cannot be
    /// written. The bytes depend on the pixels alone, the same on every build
    /// (both link the same libpng and zlib). The file is written aside and renamed
    /// over the name when complete: a failed save leaves the file that was
    /// there as it was, and a name that is not a regular file (a folder, a
    /// device) is refused.
    /// @addition A new call.
    bool SavePng(const char* fileName) const;
    /// The same with the file name in a std::string.
    /// @addition A new call.
    bool SavePng(const std::string& fileName) const;

private:
    friend class window;
    friend struct GraphicsInternals;  // the library's own access (graphics_internal.h)

    uint16_t imgHeight = 0;
    uint16_t imgWidth = 0;
    unsigned char* imgPixels = nullptr;
    ImageKind imgKind = IK_JPEG;
    tagBITMAPINFOHEADER* bmapInfo = nullptr;
    HDC dcTempBuffer = nullptr;
    HBITMAP bmapTempBuffer = nullptr;
};

// ---------------------------------------------------------------- window

/// One window on the screen with a white pen, a white brush, a 10-pixel
/// sans-serif font, and queues of the keys and clicks it receives.
///
/// Coordinates are pixels of the window's inside (its client area): (0, 0)
/// is the top left corner, x grows to the right and y downward. Every
/// operation runs one pending window message first, so a program that only
/// draws still keeps its window alive. When the last window is destroyed
/// (at the end of `main`) it writes "Click mouse in the graphics window to
/// finish execution." and waits for a click, unless SetWaitOnClose(false)
/// was called or the window was closed. A failed platform call writes a
/// "Fatal Error: ..." line (FatalError) and the program goes on.
class window {
public:
    /// Opens a window whose inside is `width` x `height` pixels, with its
    /// top left corner at (`x`, `y`) on the screen. A drawing size that is
    /// negative or longer than 16384 on a side is refused with a fatal error
    /// report: no platform window is made (as when the platform refuses
    /// one), IsOpen is false, no input arrives and nothing waits for a
    /// click; drawing calls report their failures.
    window(int32_t width, int32_t height, int32_t x, int32_t y);
    window(const window&) = delete;
    window& operator=(const window&) = delete;
    /// Closes the window; the last one first waits for a click (see above).
    ~window();

    /// @name Lifecycle and size
    ///@{

    /// Sets the text of the title bar (UTF-8).
    void SetTitle(const char* text);
    /// The same with the text in a std::string.
    void SetTitle(std::string text);
    /// The width of the drawing area in pixels.
    int32_t QueryWidth() const { return drawWidth; }
    /// The height of the drawing area in pixels.
    int32_t QueryHeight() const { return drawHeight; }
    /// Both sizes at once.
    void QuerySize(int32_t& width, int32_t& height) const;

    /// True while the platform window exists; false once the user has closed
    /// it with its close box. A closed window reports no input: polls give
    /// nothing, the first AwaitKey or AwaitClick returns KK_NONE or CK_NONE
    /// at once (records queued before the close included) and a second one
    /// ends the program with status 0 (an addition), and the last window's
    /// destruction neither asks for nor waits for a click. Drawing on it
    /// goes to an invisible surface of its own: it works, shows nothing and
    /// reports nothing. Programs with a loop of their own should stop when
    /// it is false.
    /// @addition A new call.
    bool IsOpen() const;
    ///@}

    /// @name Input
    /// Keys and clicks wait in two queues, oldest first, until they are
    /// taken. A key gives a KeyKind and a code: KK_CHAR with the character
    /// (its low 8 bits), KK_NAV with the digit of the key on a number pad
    /// (4 left, 6 right, 8 up, 2 down, 7 Home, 1 End, 9 Page Up, 3 Page
    /// Down), KK_FKEY with 1 to 12 for F1 to F12, KK_ESC with 1. A click is
    /// a button's release: CK_LEFT or CK_RIGHT at the pointer's position.
    ///@{

    /// The oldest waiting key, or KK_NONE at once when none waits.
    KeyKind PollKey(char& code);
    /// Waits for a key and returns it; KK_NONE when the window is closed
    /// (see IsOpen).
    KeyKind AwaitKey(char& code);
    /// The oldest waiting click and where it was, or CK_NONE at once.
    ClickKind PollClick(int32_t& x, int32_t& y);
    /// Waits for a click and returns it; CK_NONE when the window is closed
    /// (see IsOpen).
    ClickKind AwaitClick(int32_t& x, int32_t& y);
    /// Throws away every waiting key.
    void DiscardKeys();
    /// Throws away every waiting click.
    void DiscardClicks();
    /// Where the pointer was last seen over the window (-1, -1 before that).
    void QueryPointer(int32_t& x, int32_t& y);
    /// Whether `button` is held down now, and the pointer's position.
    ButtonState QueryButton(MouseButton button, int32_t& x, int32_t& y);
    /// Whether the last window's destruction waits for a click (true at
    /// first); returns the previous setting.
    bool SetWaitOnClose(bool wait);
    ///@}

    /// @name Double buffering
    ///@{

    /// true: drawing goes to a hidden buffer, shown by UpdateBuffer, so a
    /// frame never flickers (the buffer starts white, the pen white, width
    /// 1, and the brush white). false: drawing goes straight to the window.
    /// Returns the previous setting.
    bool SetBuffering(bool on);
    /// Shows the buffer's frame in the window. It first waits until the
    /// window's next frame is due: 60 frames a second, or the rate in the
    /// environment variable GRAPHICS_FPS (0: no wait).
    /// @addition GRAPHICS_FPS.
    void UpdateBuffer();
    ///@}

    /// @name Drawing state
    /// The pen draws outlines, lines and text, the brush fills shapes.
    /// Colours are given as a `color` (e.g. RED), as three whole numbers 0
    /// to 255, or as three fractions 0.0 to 1.0 (multiplied by 255, cut to a
    /// whole number; values outside the range wrap, 2.0 giving 254). Each
    /// setter returns the previous colour.
    ///@{

    /// Sets the pen's colour (also the text colour) and its width in pixels
    /// (0 and 1 both draw one pixel wide lines).
    color SetPen(const color& c, int width);
    /// The pen from red, green and blue 0 to 255.
    color SetPen(uint8_t red, uint8_t green, uint8_t blue, int width);
    /// The pen from red, green and blue as fractions 0.0 to 1.0.
    color SetPen(double red, double green, double blue, int width);
    /// Sets the brush's colour, which fills STYLE_FILLED shapes.
    color SetBrush(const color& c);
    /// The brush from red, green and blue 0 to 255.
    color SetBrush(uint8_t red, uint8_t green, uint8_t blue);
    /// The brush from red, green and blue as fractions 0.0 to 1.0.
    color SetBrush(double red, double green, double blue);

    /// Whole numbers of any integer type (SetPen(255, 0, 0, 2), SetBrush(r, g,
    /// b) with int variables) take the 8-bit form: each keeps its low eight
    /// bits, so 256 is 0 and -1 is 255 (and a warning says so).
    /// @addition A new overload.
    template <class R, class G, class B,
              std::enable_if_t<kiva_detail::all_whole<R, G, B>, int> = 0>
    KIVA_DETAIL_OUT_OF_LINE color SetPen(R red, G green, B blue, int width) {
        if (kiva_detail::OutsideByte(red) || kiva_detail::OutsideByte(green) || kiva_detail::OutsideByte(blue))
            kiva_detail::ColourWarning("SetPen", kiva_detail::Value(red), kiva_detail::Value(green),
                                       kiva_detail::Value(blue), width, KIVA_DETAIL_CALLER());
        return SetPen(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                      static_cast<uint8_t>(blue), width);
    }
    /// The brush from whole numbers of any integer type, as SetPen's.
    /// @addition A new overload.
    template <class R, class G, class B,
              std::enable_if_t<kiva_detail::all_whole<R, G, B>, int> = 0>
    KIVA_DETAIL_OUT_OF_LINE color SetBrush(R red, G green, B blue) {
        if (kiva_detail::OutsideByte(red) || kiva_detail::OutsideByte(green) || kiva_detail::OutsideByte(blue))
            kiva_detail::ColourWarning("SetBrush", kiva_detail::Value(red), kiva_detail::Value(green),
                                       kiva_detail::Value(blue), -1, KIVA_DETAIL_CALLER());
        return SetBrush(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                        static_cast<uint8_t>(blue));
    }
    /// Whole numbers mixed with fractions, as in SetBrush(0, 0.5, 1), take the
    /// fraction form, as they always have: every value is a fraction, so
    /// SetBrush(255, 0.5, 0) is 255.0 for red, which wraps to 1 (a warning
    /// says so). Give red, green and blue all as whole numbers 0 to 255 or
    /// all as fractions.
    /// @addition A new overload.
    template <class R, class G, class B,
              std::enable_if_t<kiva_detail::mixed<R, G, B>, int> = 0>
    KIVA_DETAIL_OUT_OF_LINE color SetPen(R red, G green, B blue, int width) {
        if (kiva_detail::OutsideFraction(red) || kiva_detail::OutsideFraction(green) ||
            kiva_detail::OutsideFraction(blue))
            kiva_detail::ColourWarning("SetPen", kiva_detail::Value(red), kiva_detail::Value(green),
                                       kiva_detail::Value(blue), width, KIVA_DETAIL_CALLER());
        return SetPenFractions(static_cast<double>(red), static_cast<double>(green), static_cast<double>(blue),
                               width);
    }
    /// The brush from whole numbers mixed with fractions, as SetPen's.
    /// @addition A new overload.
    template <class R, class G, class B,
              std::enable_if_t<kiva_detail::mixed<R, G, B>, int> = 0>
    KIVA_DETAIL_OUT_OF_LINE color SetBrush(R red, G green, B blue) {
        if (kiva_detail::OutsideFraction(red) || kiva_detail::OutsideFraction(green) ||
            kiva_detail::OutsideFraction(blue))
            kiva_detail::ColourWarning("SetBrush", kiva_detail::Value(red), kiva_detail::Value(green),
                                       kiva_detail::Value(blue), -1, KIVA_DETAIL_CALLER());
        return SetBrushFractions(static_cast<double>(red), static_cast<double>(green), static_cast<double>(blue));
    }
    /// A pen without a width does not compile, with a message that says so.
    template <class C>
    color SetPen(C) {
        static_assert(kiva_detail::always_false<C>, "SetPen needs a width after the colour: SetPen(RED, 1)");
        return color();
    }
    /// @cond
    template <class R, class G, class B>
    color SetPen(R, G, B) {
        static_assert(kiva_detail::always_false<R>,
                      "SetPen needs a width after red, green and blue: SetPen(255, 0, 0, 1)");
        return color();
    }
    /// @endcond
    /// Sets the font of the text operations: `size` is the cell height in
    /// pixels, `style` FONT_BOLD, FONT_ITALIC and FONT_UNDERLINE or-ed
    /// together (0 for none), `family` a FAMILY_ code, `faceName` a font's
    /// name such as "Arial" (at most 31 characters) or nullptr for the
    /// family's usual face.
    void SetFont(int size, uint16_t style, int family, const char* faceName);
    ///@}

    /// @name Shapes
    /// Every shape takes a drawstyle: STYLE_FILLED (outline in the pen,
    /// inside in the brush), STYLE_FRAME (outline only) or STYLE_INVERTED
    /// (every pixel of the shape inverted). Boxes are given by their top
    /// left (x1, y1) and bottom right (x2, y2) corners; as on Windows, the
    /// right and bottom edges are not drawn. Another drawstyle value writes
    /// "Fatal Error: You have tried to use an invalid or unimplemented
    /// drawstyle!" and draws nothing.
    ///@{

    /// One pixel in the pen's colour.
    void DrawPoint(int32_t x, int32_t y);
    /// A line from (x1, y1) to (x2, y2), without its last pixel; only
    /// STYLE_FRAME (the default).
    /// @addition The default style.
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style = STYLE_FRAME);
    /// A rectangle; with a corner width or height other than 0 its corners
    /// are rounded by an ellipse of that size (default 0, 0: square).
    /// @addition The default corners.
    void DrawRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style,
                       int32_t cornerWidth = 0, int32_t cornerHeight = 0);
    /// A triangle through three points.
    void DrawTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                      drawstyle style);
    /// A polygon through `count` points (xs[i], ys[i]), closed back to the
    /// first one. A self-crossing polygon's inside alternates.
    void DrawPolygon(const int32_t* xs, const int32_t* ys, int count, drawstyle style);
    /// A circle around (cx, cy).
    void DrawCircle(int32_t cx, int32_t cy, int32_t radius, drawstyle style);
    /// The ellipse that fits the box.
    void DrawEllipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style);
    /// Part of the ellipse that fits the box, from angle `start` to angle
    /// `end` counter-clockwise (0 points right, 90 degrees up). `unit` 1
    /// means the angles are radians, any other value degrees. STYLE_FILLED
    /// and STYLE_INVERTED draw a pie slice, STYLE_FRAME the curve alone.
    void DrawArc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, double start, double end,
                 drawstyle style, int unit);
    /// A cubic Bezier curve from (x1, y1) to (x4, y4), pulled toward the
    /// control points (x2, y2) and (x3, y3); only STYLE_FRAME (the default).
    /// @addition The default style.
    void DrawBezier(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                    int32_t x4, int32_t y4, drawstyle style = STYLE_FRAME);

    /// A shape without its drawstyle (or an arc without its angle unit)
    /// does not compile, with a message that names what is missing.
    template <class A, class B, class C, class D>
    void DrawRectangle(A, B, C, D) {
        static_assert(kiva_detail::always_false<A>,
                      "DrawRectangle needs a drawstyle: STYLE_FILLED, STYLE_FRAME or STYLE_INVERTED");
    }
    /// @cond
    template <class A, class B, class C, class D, class E, class F>
    void DrawTriangle(A, B, C, D, E, F) {
        static_assert(kiva_detail::always_false<A>,
                      "DrawTriangle needs a drawstyle: STYLE_FILLED, STYLE_FRAME or STYLE_INVERTED");
    }
    template <class A, class B, class C>
    void DrawPolygon(A, B, C) {
        static_assert(kiva_detail::always_false<A>,
                      "DrawPolygon needs a drawstyle: STYLE_FILLED, STYLE_FRAME or STYLE_INVERTED");
    }
    template <class A, class B, class C>
    void DrawCircle(A, B, C) {
        static_assert(kiva_detail::always_false<A>,
                      "DrawCircle needs a drawstyle: STYLE_FILLED, STYLE_FRAME or STYLE_INVERTED");
    }
    template <class A, class B, class C, class D>
    void DrawEllipse(A, B, C, D) {
        static_assert(kiva_detail::always_false<A>,
                      "DrawEllipse needs a drawstyle: STYLE_FILLED, STYLE_FRAME or STYLE_INVERTED");
    }
    template <class A, class B, class C, class D, class E, class F>
    void DrawArc(A, B, C, D, E, F) {
        static_assert(kiva_detail::always_false<A>,
                      "DrawArc needs a drawstyle and the angles' unit: STYLE_FILLED, STYLE_FRAME or "
                      "STYLE_INVERTED, then 0 for degrees or 1 for radians");
    }
    template <class A, class B, class C, class D, class E, class F, class G>
    void DrawArc(A, B, C, D, E, F, G) {
        static_assert(kiva_detail::always_false<A>,
                      "DrawArc needs the angles' unit after the drawstyle: 0 for degrees or 1 for radians");
    }
    /// @endcond
    ///@}

    /// @name Text
    /// Text is drawn in the font and the pen's colour, its top left corner
    /// at (x, y), on a see-through background. Text is a byte string in
    /// UTF-8 (write "Größe" in a UTF-8 source file); on Linux a byte that is
    /// not well-formed UTF-8 is read as Windows-1252.
    ///@{

    /// Draws the text; a null text draws nothing.
    void DrawString(int32_t x, int32_t y, const char* text);
    /// The same with the text in a std::string.
    void DrawString(int32_t x, int32_t y, std::string text);
    /// Draws a whole number ("-42").
    void DrawNumber(int32_t x, int32_t y, int32_t value);
    /// Draws a fraction with six decimals ("3.500000").
    void DrawNumber(int32_t x, int32_t y, double value);
    /// The width and height in pixels that the text takes in the font.
    void GetStringSize(int& width, int& height, const char* text);
    /// The same with the text in a std::string.
    void GetStringSize(int& width, int& height, std::string text);
    /// The size that DrawNumber's text of the whole number `value` takes.
    void GetNumberSize(int& width, int& height, int32_t value);
    /// The size that DrawNumber's text of the fraction `value` takes.
    void GetNumberSize(int& width, int& height, double value);
    /// Every other integer type (unsigned, long, size_t, ...) is drawn and
    /// measured as its exact decimal value.
    /// @addition A new overload.
    template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, int32_t>, int> = 0>
    void DrawNumber(int32_t x, int32_t y, T value) {
        DrawWholeNumber(x, y, static_cast<kiva_detail::wide<T>>(value));
    }
    /// The size of DrawNumber's text of a whole number of any other integer
    /// type.
    /// @addition A new overload.
    template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, int32_t>, int> = 0>
    void GetNumberSize(int& width, int& height, T value) {
        GetWholeNumberSize(width, height, static_cast<kiva_detail::wide<T>>(value));
    }
    ///@}

    /// @name Pictures
    ///@{

    /// Draws the picture with its top left corner at (x, y): at its own
    /// size when `width` or `height` is -1 (the default), otherwise scaled
    /// into width x height pixels (keeping whole rows and columns of it). An
    /// empty picture draws nothing.
    /// @addition The default size, and scaling that keeps whole rows and
    /// columns (the device context's own default ANDs the dropped ones
    /// together and posterises a colour picture).
    void DrawImage(const image* img, int32_t x, int32_t y, int32_t width = -1, int32_t height = -1);
    /// The same with the picture by reference: w.DrawImage(pic, x, y).
    void DrawImage(const image& img, int32_t x, int32_t y, int32_t width = -1, int32_t height = -1);
    /// Copies the rectangle at (x, y) of `width` x `height` pixels of the
    /// drawing into the picture (kind IK_CAPTURE). A rectangle reaching
    /// past the window's edge writes "Fatal Error: StoreImage selection
    /// extends outside the window!" and leaves the picture alone.
    void StoreImage(image* imgThis, uint32_t x, uint16_t y, uint16_t width, uint16_t height);
    /// The same with the picture by reference: w.StoreImage(pic, x, y, wd, ht).
    void StoreImage(image& imgThis, uint32_t x, uint16_t y, uint16_t width, uint16_t height);
    ///@}

    /// @name Pixel read-back
    /// What the drawing holds at (x, y): the buffer while buffering is on.
    ///@{

    /// The colour of the pixel.
    color GetColor(int32_t x, int32_t y);
    /// Its red, green and blue as fractions 0.0 to 1.0.
    void GetColorLevels(int32_t x, int32_t y, double& red, double& green, double& blue);
    /// Its red as a fraction 0.0 to 1.0.
    double GetRedLevel(int32_t x, int32_t y);
    /// Its green as a fraction 0.0 to 1.0.
    double GetGreenLevel(int32_t x, int32_t y);
    /// Its blue as a fraction 0.0 to 1.0.
    double GetBlueLevel(int32_t x, int32_t y);
    ///@}

    /// Prints the back buffer on one page of a printer chosen in the
    /// system's print dialog. Buffering must be on (otherwise a message box
    /// says so and nothing is printed). On Linux the environment variables
    /// GRAPHICS_PRINTER (a CUPS queue) and GRAPHICS_PRINT_FILE (a PDF file)
    /// print without the dialog.
    /// @addition GRAPHICS_PRINTER and GRAPHICS_PRINT_FILE.
    void Print();

    /// The message step every drawing, state-setting and input operation
    /// runs first: handles at most one pending message of this window, never
    /// waits. A program that does nothing else for a while may call it.
    void ProcessOneMessage();

private:
    friend struct GraphicsInternals;  // the library's own access (graphics_internal.h)

    // The fraction forms of SetPen and SetBrush without their check of the
    // values, which the mixed overloads make themselves.
    color SetPenFractions(double red, double green, double blue, int width);
    color SetBrushFractions(double red, double green, double blue);

    void DrawWholeNumber(int32_t x, int32_t y, long long value);
    void DrawWholeNumber(int32_t x, int32_t y, unsigned long long value);
    void GetWholeNumberSize(int& width, int& height, long long value);
    void GetWholeNumberSize(int& width, int& height, unsigned long long value);

    // AwaitClick's loop. With no input able to arrive it ends the program,
    // naming `endsProgramAs`, or returns CK_NONE when that is null (the
    // last window's wait).
    ClickKind WaitForClick(int32_t& x, int32_t& y, const char* endsProgramAs);

    void SelectStyle(drawstyle style);
    void RestoreStyle();
    void ReplaceLostScreen();
    void SelectFont();
    void RestoreFont();

    HINSTANCE instHandle = nullptr;
    // The window-class registration record (the platform's WNDCLASSA),
    // built in place by the constructor, which checks that it fits.
    alignas(void*) unsigned char classRecord[10 * sizeof(void*)] = {};
    HWND hwndWindow = nullptr;
    HDC dcActive = nullptr;
    HDC dcScreen = nullptr;
    HBITMAP bmapBuffer = nullptr;
    HGDIOBJ bmapDisplaced = nullptr;
    HPEN penObject = nullptr;
    HBRUSH brshObject = nullptr;
    HFONT fontObject = nullptr;
    HGDIOBJ penPrevious = nullptr;
    HGDIOBJ brshPrevious = nullptr;
    HGDIOBJ fontPrevious = nullptr;
    color brshColor;
    color penColor;
    int32_t penWidth = 0;
    int32_t drawWidth = 0;
    int32_t drawHeight = 0;
    bool bufferingOn = false;
    int32_t pointerX = -1;
    int32_t pointerY = -1;
    ClickQueue clickQueue;
    KeyQueue keyQueue;
    ButtonState leftState = BS_UP;
    ButtonState rightState = BS_UP;
    // When UpdateBuffer may show the next frame: this window's own frame
    // clock (frame_pacing.cpp); 0 before its first paced frame.
    int64_t nextFrameDue = 0;
    // Once the close box has taken the platform window: the bitmap of the
    // memory device context that stands in for the lost screen
    // (ProcessOneMessage), and whether dcScreen is that stand-in.
    HBITMAP bmapStandIn = nullptr;
    bool screenLost = false;
    // For the library's warnings (diagnostics.cpp): whether the program has
    // chosen the pen and the brush since the library last set them white,
    // and whether it has seen (IsOpen) that its user closed the window.
    bool penChosen = false;
    bool brushChosen = false;
    mutable bool closeSeen = false;
    // Waits begun on the window since its user closed it: the second one
    // ends the program.
    int waitsAfterClose = 0;
};

#undef KIVA_DETAIL_CALLER
#undef KIVA_DETAIL_OUT_OF_LINE

// ---------------------------------------------------------------- timing

/// @name Timing
/// Pauses, a millisecond clock and a once-per-interval test for pacing
/// animations; functions, not members of window.
///@{

/// Waits `milliseconds` ms. The library handles no window message
/// meanwhile: keys and clicks wait in the queues until the next call.
void PauseMs(uint32_t milliseconds);
/// A clock in milliseconds; only differences between two readings mean
/// something (it wraps after 49 days).
uint32_t ClockMs();
/// True once every `interval` ms: false on the first call, then true when
/// `interval` ms have passed since it last returned true (one clock shared
/// by the whole program).
bool IntervalPassed(uint32_t interval);

/// Virtual time (environment variable GRAPHICS_TIME=virtual): PauseMs moves
/// a virtual clock on instead of sleeping, ClockMs reads it, frames are not
/// paced. TimeIsVirtual says whether it is on; CalendarSeconds gives the
/// calendar time in seconds since 1970: the real one, or under virtual time
/// 1 January 2000 00:00:00 UTC plus the virtual time passed.
/// @addition A new call.
bool TimeIsVirtual();
/// The calendar time in seconds since 1970 (under virtual time: from
/// 1 January 2000 00:00:00 UTC on, moved by PauseMs); see TimeIsVirtual.
/// @addition A new call.
int64_t CalendarSeconds();
///@}

/// The fatal error report: writes the message and a newline to standard
/// output and flushes it. Nothing else happens; the caller goes on.
void FatalError(const char* message);

#endif  // C++17

#endif
