// graphics.h - a small graphics library for teaching-style programs.
//
// A `window` wraps one top-level window with input queues of keys and mouse
// clicks, optional double buffering, a pen, a brush and a font, shape
// primitives, text and pixel read-back. `image` holds a picture
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
#ifndef GRAPHICS_GRAPHICS_H
#define GRAPHICS_GRAPHICS_H

#include <cstdint>
#include <string>

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

// ---------------------------------------------------------------- errors

// The library's one exception type, thrown by value and caught nowhere
// inside the library.
enum error : int32_t {
    ERR_ALLOCATION = 0,  // an allocation failed
    ERR_NO_FILE = 1      // a picture has no file name or its file cannot be opened
};

// ---------------------------------------------------------------- colours

// Three 8-bit intensities. Constructing from whole numbers keeps the low
// eight bits of each.
struct color {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    constexpr color() = default;
    constexpr color(int r, int g, int b)
        : red(static_cast<uint8_t>(r & 0xFF)),
          green(static_cast<uint8_t>(g & 0xFF)),
          blue(static_cast<uint8_t>(b & 0xFF)) {}
};

// The 144 named colours, numbered 1 to 144 in this order. Neighbours with
// one value are two spellings of one colour (grey and gray).
inline constexpr color SNOW(255, 250, 250);
inline constexpr color GHOST_WHITE(248, 248, 255);
inline constexpr color WHITE_SMOKE(245, 245, 245);
inline constexpr color GAINSBORO(220, 220, 220);
inline constexpr color FLORAL_WHITE(255, 250, 240);
inline constexpr color OLD_LACE(253, 245, 230);
inline constexpr color LINEN(250, 240, 230);
inline constexpr color ANTIQUE_WHITE(250, 235, 215);
inline constexpr color PAPAYA_WHIP(255, 239, 213);
inline constexpr color BLANCHED_ALMOND(255, 235, 205);
inline constexpr color BISQUE(255, 228, 196);
inline constexpr color PEACH_PUFF(255, 218, 185);
inline constexpr color NAVAJO_WHITE(255, 222, 173);
inline constexpr color MOCCASIN(255, 228, 181);
inline constexpr color CORNSILK(255, 248, 220);
inline constexpr color IVORY(255, 255, 240);
inline constexpr color LEMON_CHIFFON(255, 250, 205);
inline constexpr color SEASHELL(255, 245, 238);
inline constexpr color HONEYDEW(240, 255, 240);
inline constexpr color MINT_CREAM(245, 255, 250);
inline constexpr color AZURE(240, 255, 255);
inline constexpr color ALICE_BLUE(240, 248, 255);
inline constexpr color LAVENDER(230, 230, 250);
inline constexpr color LAVENDER_BLUSH(255, 240, 245);
inline constexpr color MISTY_ROSE(255, 228, 225);
inline constexpr color WHITE(255, 255, 255);
inline constexpr color BLACK(0, 0, 0);
inline constexpr color DARK_SLATE_GRAY(47, 79, 79);
inline constexpr color DARK_SLATE_GREY(47, 79, 79);
inline constexpr color DIM_GRAY(105, 105, 105);
inline constexpr color DIM_GREY(105, 105, 105);
inline constexpr color SLATE_GRAY(112, 128, 144);
inline constexpr color SLATE_GREY(112, 128, 144);
inline constexpr color LIGHT_SLATE_GRAY(119, 136, 153);
inline constexpr color LIGHT_SLATE_GREY(119, 136, 153);
inline constexpr color GRAY(190, 190, 190);
inline constexpr color GREY(190, 190, 190);
inline constexpr color LIGHT_GREY(211, 211, 211);
inline constexpr color LIGHT_GRAY(211, 211, 211);
inline constexpr color MIDNIGHT_BLUE(25, 25, 112);
inline constexpr color NAVY(0, 0, 128);
inline constexpr color NAVY_BLUE(0, 0, 128);
inline constexpr color CORNFLOWER_BLUE(100, 149, 237);
inline constexpr color DARK_SLATE_BLUE(72, 61, 139);
inline constexpr color SLATE_BLUE(106, 90, 205);
inline constexpr color MEDIUM_SLATE_BLUE(123, 104, 238);
inline constexpr color LIGHT_SLATE_BLUE(132, 112, 255);
inline constexpr color MEDIUM_BLUE(0, 0, 205);
inline constexpr color ROYAL_BLUE(65, 105, 225);
inline constexpr color BLUE(0, 0, 255);
inline constexpr color DODGER_BLUE(30, 144, 255);
inline constexpr color DEEP_SKY_BLUE(0, 191, 255);
inline constexpr color SKY_BLUE(135, 206, 235);
inline constexpr color LIGHT_SKY_BLUE(135, 206, 250);
inline constexpr color STEEL_BLUE(70, 130, 180);
inline constexpr color LIGHT_STEEL_BLUE(176, 196, 222);
inline constexpr color LIGHT_BLUE(173, 216, 230);
inline constexpr color POWDER_BLUE(176, 224, 230);
inline constexpr color PALE_TURQUOISE(175, 238, 238);
inline constexpr color DARK_TURQUOISE(0, 206, 209);
inline constexpr color MEDIUM_TURQUOISE(72, 209, 204);
inline constexpr color TURQUOISE(64, 224, 208);
inline constexpr color CYAN(0, 255, 255);
inline constexpr color LIGHT_CYAN(224, 255, 255);
inline constexpr color CADET_BLUE(95, 158, 160);
inline constexpr color MEDIUM_AQUAMARINE(102, 205, 170);
inline constexpr color AQUAMARINE(127, 255, 212);
inline constexpr color DARK_GREEN(0, 100, 0);
inline constexpr color DARK_OLIVE_GREEN(85, 107, 47);
inline constexpr color DARK_SEA_GREEN(143, 188, 143);
inline constexpr color SEA_GREEN(46, 139, 87);
inline constexpr color MEDIUM_SEA_GREEN(60, 179, 113);
inline constexpr color LIGHT_SEA_GREEN(32, 178, 170);
inline constexpr color PALE_GREEN(152, 251, 152);
inline constexpr color SPRING_GREEN(0, 255, 127);
inline constexpr color LAWN_GREEN(124, 252, 0);
inline constexpr color GREEN(0, 255, 0);
inline constexpr color CHARTREUSE(127, 255, 0);
inline constexpr color MEDIUM_SPRING_GREEN(0, 250, 154);
inline constexpr color GREEN_YELLOW(173, 255, 47);
inline constexpr color LIME_GREEN(50, 205, 50);
inline constexpr color YELLOW_GREEN(154, 205, 50);
inline constexpr color FOREST_GREEN(34, 139, 34);
inline constexpr color OLIVE_DRAB(107, 142, 35);
inline constexpr color DARK_KHAKI(189, 183, 107);
inline constexpr color KHAKI(240, 230, 140);
inline constexpr color PALE_GOLDENROD(238, 232, 170);
inline constexpr color LIGHT_GOLDENROD_YELLOW(250, 250, 210);
inline constexpr color LIGHT_YELLOW(255, 255, 224);
inline constexpr color YELLOW(255, 255, 0);
inline constexpr color GOLD(255, 215, 0);
inline constexpr color LIGHT_GOLDENROD(238, 221, 130);
inline constexpr color GOLDENROD(218, 165, 32);
inline constexpr color DARK_GOLDENROD(184, 134, 11);
inline constexpr color ROSY_BROWN(188, 143, 143);
inline constexpr color INDIAN_RED(205, 92, 92);
inline constexpr color INDIANRED(205, 92, 92);
inline constexpr color SADDLE_BROWN(139, 69, 19);
inline constexpr color SIENNA(160, 82, 45);
inline constexpr color PERU(205, 133, 63);
inline constexpr color BURLYWOOD(222, 184, 135);
inline constexpr color BEIGE(245, 245, 220);
inline constexpr color WHEAT(245, 222, 179);
inline constexpr color SANDY_BROWN(244, 164, 96);
inline constexpr color TAN(210, 180, 140);
inline constexpr color CHOCOLATE(210, 105, 30);
inline constexpr color FIREBRICK(178, 34, 34);
inline constexpr color BROWN(165, 42, 42);
inline constexpr color DARK_SALMON(233, 150, 122);
inline constexpr color SALMON(250, 128, 114);
inline constexpr color LIGHT_SALMON(255, 160, 122);
inline constexpr color ORANGE(255, 165, 0);
inline constexpr color DARK_ORANGE(255, 140, 0);
inline constexpr color CORAL(255, 127, 80);
inline constexpr color LIGHT_CORAL(240, 128, 128);
inline constexpr color TOMATO(255, 99, 71);
inline constexpr color ORANGE_RED(255, 69, 0);
inline constexpr color RED(255, 0, 0);
inline constexpr color HOT_PINK(255, 105, 180);
inline constexpr color DEEP_PINK(255, 20, 147);
inline constexpr color PINK(255, 192, 203);
inline constexpr color LIGHT_PINK(255, 182, 193);
inline constexpr color PALE_VIOLET_RED(219, 112, 147);
inline constexpr color MAROON(176, 48, 96);
inline constexpr color MEDIUM_VIOLET_RED(199, 21, 133);
inline constexpr color VIOLET_RED(208, 32, 144);
inline constexpr color MAGENTA(255, 0, 255);
inline constexpr color VIOLET(238, 130, 238);
inline constexpr color PLUM(221, 160, 221);
inline constexpr color ORCHID(218, 112, 214);
inline constexpr color MEDIUM_ORCHID(186, 85, 211);
inline constexpr color DARK_ORCHID(153, 50, 204);
inline constexpr color DARK_VIOLET(148, 0, 211);
inline constexpr color BLUE_VIOLET(138, 43, 226);
inline constexpr color PURPLE(160, 32, 240);
inline constexpr color MEDIUM_PURPLE(147, 112, 219);
inline constexpr color THISTLE(216, 191, 216);
inline constexpr color DARK_GREY(169, 169, 169);
inline constexpr color DARK_GRAY(169, 169, 169);
inline constexpr color DARK_BLUE(0, 0, 139);
inline constexpr color DARK_CYAN(0, 139, 139);
inline constexpr color DARK_MAGENTA(139, 0, 139);
inline constexpr color DARK_RED(139, 0, 0);
inline constexpr color LIGHT_GREEN(144, 238, 144);

// ---------------------------------------------------------------- drawing

enum drawstyle : int32_t {
    STYLE_FILLED = 1,    // outline in the pen, interior in the brush
    STYLE_FRAME = 2,     // outline in the pen only
    STYLE_INVERTED = 3   // every pixel of the shape inverted
};

// Font style bits, combinable.
enum : uint16_t { FONT_BOLD = 1, FONT_ITALIC = 2, FONT_UNDERLINE = 4 };

// Font family codes (not the platform's own order).
enum : int32_t {
    FAMILY_ANY = 0,
    FAMILY_MODERN = 1,
    FAMILY_ROMAN = 2,
    FAMILY_SCRIPT = 3,
    FAMILY_SWISS = 4
};

// ---------------------------------------------------------------- input

enum KeyKind : int32_t { KK_NONE = 0, KK_CHAR = 1, KK_NAV = 2, KK_FKEY = 3, KK_ESC = 4 };
enum ClickKind : int32_t { CK_NONE = 0, CK_LEFT = 1, CK_RIGHT = 2 };
enum MouseButton : int32_t { MB_LEFT = 0, MB_RIGHT = 1 };
enum ButtonState : int32_t { BS_UP = 0, BS_DOWN = 1 };

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

enum ImageKind : int32_t { IK_JPEG = 0, IK_CAPTURE = 1 };

// One picture: 32 bits a pixel (blue, green, red, 0), top row first, with
// the bitmap header that describes it.
class image {
public:
    image();
    image(const char* fileName, ImageKind kind);
    image(std::string fileName, ImageKind kind);
    image(const image& other);
    image& operator=(const image& other);
    ~image();

    void Load(const char* fileName, ImageKind kind);
    void Load(std::string fileName, ImageKind kind);

    uint16_t Width() const { return imgWidth; }
    uint16_t Height() const { return imgHeight; }
    ImageKind Kind() const { return imgKind; }
    const unsigned char* Pixels() const { return imgPixels; }
    const tagBITMAPINFOHEADER* Header() const { return bmapInfo; }

    // Writes the picture to a PNG file (8-bit RGB); false when the image is
    // empty or the file cannot be written. The bytes depend on the pixels
    // alone, the same on every build.
    bool SavePng(const char* fileName) const;
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

class window {
public:
    // A drawing size that is negative or longer than 16384 on a side is
    // refused with a fatal error report: no platform window is made (as
    // when the platform refuses one), IsOpen is false, no input arrives and
    // nothing waits for a click; drawing calls report their failures.
    window(int32_t width, int32_t height, int32_t x, int32_t y);
    window(const window&) = delete;
    window& operator=(const window&) = delete;
    ~window();

    // Lifecycle and size.
    void SetTitle(const char* text);
    void SetTitle(std::string text);
    int32_t QueryWidth() const { return drawWidth; }
    int32_t QueryHeight() const { return drawHeight; }
    void QuerySize(int32_t& width, int32_t& height) const;

    // True while the platform window exists; false once the user has closed
    // it with its close box. A closed window reports no input: polls give
    // nothing, AwaitKey and AwaitClick return KK_NONE and CK_NONE at once
    // (records queued before the close included), and the last window's
    // destruction neither asks for nor waits for a click. Drawing on it
    // goes to an invisible surface of its own: it works, shows nothing and
    // reports nothing. Programs with a loop of their own should stop when
    // it is false.
    bool IsOpen() const;

    // Input.
    KeyKind PollKey(char& code);
    KeyKind AwaitKey(char& code);
    ClickKind PollClick(int32_t& x, int32_t& y);
    ClickKind AwaitClick(int32_t& x, int32_t& y);
    void DiscardKeys();
    void DiscardClicks();
    void QueryPointer(int32_t& x, int32_t& y);
    ButtonState QueryButton(MouseButton button, int32_t& x, int32_t& y);
    bool SetWaitOnClose(bool wait);

    // Double buffering.
    bool SetBuffering(bool on);
    void UpdateBuffer();

    // Drawing state.
    color SetPen(const color& c, int width);
    color SetPen(uint8_t red, uint8_t green, uint8_t blue, int width);
    color SetPen(double red, double green, double blue, int width);
    color SetBrush(const color& c);
    color SetBrush(uint8_t red, uint8_t green, uint8_t blue);
    color SetBrush(double red, double green, double blue);
    void SetFont(int size, uint16_t style, int family, const char* faceName);

    // Shapes.
    void DrawPoint(int32_t x, int32_t y);
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style);
    void DrawRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style,
                       int32_t cornerWidth, int32_t cornerHeight);
    void DrawTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                      drawstyle style);
    void DrawPolygon(const int32_t* xs, const int32_t* ys, int count, drawstyle style);
    void DrawCircle(int32_t cx, int32_t cy, int32_t radius, drawstyle style);
    void DrawEllipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style);
    void DrawArc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, double start, double end,
                 drawstyle style, int unit);
    void DrawBezier(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                    int32_t x4, int32_t y4, drawstyle style);

    // Text.
    void DrawString(int32_t x, int32_t y, const char* text);
    void DrawString(int32_t x, int32_t y, std::string text);
    void DrawNumber(int32_t x, int32_t y, int32_t value);
    void DrawNumber(int32_t x, int32_t y, double value);
    void GetStringSize(int& width, int& height, const char* text);
    void GetStringSize(int& width, int& height, std::string text);
    void GetNumberSize(int& width, int& height, int32_t value);
    void GetNumberSize(int& width, int& height, double value);

    // Pictures.
    void DrawImage(const image* img, int32_t x, int32_t y, int32_t width, int32_t height);
    void DrawImage(const image& img, int32_t x, int32_t y, int32_t width, int32_t height);
    void StoreImage(image* imgThis, uint32_t x, uint16_t y, uint16_t width, uint16_t height);
    void StoreImage(image& imgThis, uint32_t x, uint16_t y, uint16_t width, uint16_t height);

    // Pixel read-back.
    color GetColor(int32_t x, int32_t y);
    void GetColorLevels(int32_t x, int32_t y, double& red, double& green, double& blue);
    double GetRedLevel(int32_t x, int32_t y);
    double GetGreenLevel(int32_t x, int32_t y);
    double GetBlueLevel(int32_t x, int32_t y);

    // The message pump step every drawing, state-setting and input
    // operation runs first: handles at most one pending message of this
    // window, never waits.
    void ProcessOneMessage();

private:
    friend struct GraphicsInternals;  // the library's own access (graphics_internal.h)

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
};

// ---------------------------------------------------------------- timing

void PauseMs(uint32_t milliseconds);
uint32_t ClockMs();
bool IntervalPassed(uint32_t interval);

// Virtual time (environment variable GRAPHICS_TIME=virtual): PauseMs moves
// a virtual clock on instead of sleeping, ClockMs reads it, frames are not
// paced. TimeIsVirtual says whether it is on; CalendarSeconds gives the
// calendar time in seconds since 1970: the real one, or under virtual time
// 1 January 2000 00:00:00 UTC plus the virtual time passed.
bool TimeIsVirtual();
int64_t CalendarSeconds();

// The fatal error report: writes the message and a newline to standard
// output and flushes it. Nothing else happens; the caller goes on.
void FatalError(const char* message);

#endif
