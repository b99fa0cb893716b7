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
#ifndef GRAPHICS_GRAPHICS_H
#define GRAPHICS_GRAPHICS_H

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
// numbers and fractions; not for programs.
namespace kiva_detail {
template <class... T>
inline constexpr bool all_whole = (std::is_integral_v<T> && ...);
template <class... T>
inline constexpr bool mixed = (std::is_arithmetic_v<T> && ...) && !all_whole<T...> &&
                              (std::is_integral_v<T> || ...);
template <class T>
using wide = std::conditional_t<std::is_signed_v<T>, long long, unsigned long long>;
}  // namespace kiva_detail

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
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    constexpr color() = default;
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

/// Font family codes for SetFont: MODERN fixed width, ROMAN with serifs,
/// SWISS without, SCRIPT handwriting, ANY the default.
enum : int32_t {
    FAMILY_ANY = 0,
    FAMILY_MODERN = 1,
    FAMILY_ROMAN = 2,
    FAMILY_SCRIPT = 3,
    FAMILY_SWISS = 4
};

// ---------------------------------------------------------------- input

/// What PollKey and AwaitKey found (see window's Input operations).
enum KeyKind : int32_t { KK_NONE = 0, KK_CHAR = 1, KK_NAV = 2, KK_FKEY = 3, KK_ESC = 4 };
/// What PollClick and AwaitClick found.
enum ClickKind : int32_t { CK_NONE = 0, CK_LEFT = 1, CK_RIGHT = 2 };
/// A mouse button for QueryButton.
enum MouseButton : int32_t { MB_LEFT = 0, MB_RIGHT = 1 };
/// Whether a mouse button is held down.
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

/// Where a picture came from: a JPEG file, a window (StoreImage), or a
/// PNG file (IK_PNG, an addition).
enum ImageKind : int32_t { IK_JPEG = 0, IK_CAPTURE = 1, IK_PNG = 2 };

/// One picture: 32 bits a pixel (blue, green, red, 0), top row first, with
/// the bitmap header that describes it. Copies are deep.
class image {
public:
    /// An empty picture (0 x 0); drawing it draws nothing.
    image();
    /// Loads a JPEG file (`kind` IK_JPEG) or a PNG file (IK_PNG); see Load.
    image(const char* fileName, ImageKind kind);
    image(std::string fileName, ImageKind kind);
    image(const image& other);
    image& operator=(const image& other);
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
    void Load(const char* fileName, ImageKind kind);
    void Load(std::string fileName, ImageKind kind);

    /// Width in pixels.
    uint16_t Width() const { return imgWidth; }
    /// Height in pixels.
    uint16_t Height() const { return imgHeight; }
    ImageKind Kind() const { return imgKind; }
    /// The pixels: Width() x Height() groups of blue, green, red, 0 bytes,
    /// top row first; null when empty.
    const unsigned char* Pixels() const { return imgPixels; }
    const tagBITMAPINFOHEADER* Header() const { return bmapInfo; }

    // Writes the picture to a PNG file (8-bit RGB) through libpng with
    // fixed settings; false when the image is empty or the file cannot be
    // written. The bytes depend on the pixels alone, the same on every build
    // (both link the same libpng and zlib). The file is written aside and renamed
    // over the name when complete: a failed save leaves the file that was
    // there as it was, and a name that is not a regular file (a folder, a
    // device) is refused.
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
    void SetTitle(std::string text);
    /// The width of the drawing area in pixels.
    int32_t QueryWidth() const { return drawWidth; }
    /// The height of the drawing area in pixels.
    int32_t QueryHeight() const { return drawHeight; }
    /// Both sizes at once.
    void QuerySize(int32_t& width, int32_t& height) const;

    /// True while the platform window exists; false once the user has closed
    /// it with its close box. A closed window reports no input: polls give
    /// nothing, AwaitKey and AwaitClick return KK_NONE and CK_NONE at once
    /// (records queued before the close included), and the last window's
    /// destruction neither asks for nor waits for a click. Drawing on it
    /// goes to an invisible surface of its own: it works, shows nothing and
    /// reports nothing. Programs with a loop of their own should stop when
    /// it is false.
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
    /// Waits for a key and returns it; KK_NONE when the window is closed.
    KeyKind AwaitKey(char& code);
    /// The oldest waiting click and where it was, or CK_NONE at once.
    ClickKind PollClick(int32_t& x, int32_t& y);
    /// Waits for a click and returns it; CK_NONE when the window is closed.
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
    color SetPen(uint8_t red, uint8_t green, uint8_t blue, int width);
    color SetPen(double red, double green, double blue, int width);
    /// Sets the brush's colour, which fills STYLE_FILLED shapes.
    color SetBrush(const color& c);
    color SetBrush(uint8_t red, uint8_t green, uint8_t blue);
    color SetBrush(double red, double green, double blue);

    /// Whole numbers of any integer type (SetPen(255, 0, 0, 2), SetBrush(r, g,
    /// b) with int variables) take the 8-bit form: each keeps its low eight
    /// bits, so 256 is 0 and -1 is 255.
    template <class R, class G, class B,
              std::enable_if_t<kiva_detail::all_whole<R, G, B>, int> = 0>
    color SetPen(R red, G green, B blue, int width) {
        return SetPen(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                      static_cast<uint8_t>(blue), width);
    }
    template <class R, class G, class B,
              std::enable_if_t<kiva_detail::all_whole<R, G, B>, int> = 0>
    color SetBrush(R red, G green, B blue) {
        return SetBrush(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                        static_cast<uint8_t>(blue));
    }
    /// Whole numbers mixed with fractions, as in SetBrush(0, 0.5, 1), take the
    /// fraction form, as they always have: every value is a fraction, so
    /// SetBrush(255, 0.5, 0) is 255.0 for red, which wraps to 1. Give red,
    /// green and blue all as whole numbers 0 to 255 or all as fractions.
    template <class R, class G, class B,
              std::enable_if_t<kiva_detail::mixed<R, G, B>, int> = 0>
    color SetPen(R red, G green, B blue, int width) {
        return SetPen(static_cast<double>(red), static_cast<double>(green), static_cast<double>(blue), width);
    }
    template <class R, class G, class B,
              std::enable_if_t<kiva_detail::mixed<R, G, B>, int> = 0>
    color SetBrush(R red, G green, B blue) {
        return SetBrush(static_cast<double>(red), static_cast<double>(green), static_cast<double>(blue));
    }
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
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, drawstyle style = STYLE_FRAME);
    /// A rectangle; with a corner width or height other than 0 its corners
    /// are rounded by an ellipse of that size (default 0, 0: square).
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
    void DrawBezier(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                    int32_t x4, int32_t y4, drawstyle style = STYLE_FRAME);
    ///@}

    /// @name Text
    /// Text is drawn in the font and the pen's colour, its top left corner
    /// at (x, y), on a see-through background. Text is a byte string in
    /// UTF-8 (write "Größe" in a UTF-8 source file); on Linux a byte that is
    /// not well-formed UTF-8 is read as Windows-1252.
    ///@{
    /// Draws the text; a null text draws nothing.
    void DrawString(int32_t x, int32_t y, const char* text);
    void DrawString(int32_t x, int32_t y, std::string text);
    /// Draws a whole number ("-42") or a fraction with six decimals
    /// ("3.500000").
    void DrawNumber(int32_t x, int32_t y, int32_t value);
    void DrawNumber(int32_t x, int32_t y, double value);
    /// The width and height in pixels that the text takes in the font.
    void GetStringSize(int& width, int& height, const char* text);
    void GetStringSize(int& width, int& height, std::string text);
    /// The size that DrawNumber's text of `value` takes.
    void GetNumberSize(int& width, int& height, int32_t value);
    void GetNumberSize(int& width, int& height, double value);
    /// Every other integer type (unsigned, long, size_t, ...) is drawn and
    /// measured as its exact decimal value.
    template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, int32_t>, int> = 0>
    void DrawNumber(int32_t x, int32_t y, T value) {
        DrawWholeNumber(x, y, static_cast<kiva_detail::wide<T>>(value));
    }
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
    void DrawImage(const image* img, int32_t x, int32_t y, int32_t width = -1, int32_t height = -1);
    void DrawImage(const image& img, int32_t x, int32_t y, int32_t width = -1, int32_t height = -1);
    /// Copies the rectangle at (x, y) of `width` x `height` pixels of the
    /// drawing into the picture (kind IK_CAPTURE). A rectangle reaching
    /// past the window's edge writes "Fatal Error: StoreImage selection
    /// extends outside the window!" and leaves the picture alone.
    void StoreImage(image* imgThis, uint32_t x, uint16_t y, uint16_t width, uint16_t height);
    void StoreImage(image& imgThis, uint32_t x, uint16_t y, uint16_t width, uint16_t height);
    ///@}

    /// @name Pixel read-back
    /// What the drawing holds at (x, y): the buffer while buffering is on.
    ///@{
    /// The colour of the pixel.
    color GetColor(int32_t x, int32_t y);
    /// Its red, green and blue as fractions 0.0 to 1.0.
    void GetColorLevels(int32_t x, int32_t y, double& red, double& green, double& blue);
    double GetRedLevel(int32_t x, int32_t y);
    double GetGreenLevel(int32_t x, int32_t y);
    double GetBlueLevel(int32_t x, int32_t y);
    ///@}

    /// Prints the back buffer on one page of a printer chosen in the
    /// system's print dialog. Buffering must be on (otherwise a message box
    /// says so and nothing is printed). On Linux the environment variables
    /// GRAPHICS_PRINTER (a CUPS queue) and GRAPHICS_PRINT_FILE (a PDF file)
    /// print without the dialog.
    void Print();

    /// The message step every drawing, state-setting and input operation
    /// runs first: handles at most one pending message of this window, never
    /// waits. A program that does nothing else for a while may call it.
    void ProcessOneMessage();

private:
    friend struct GraphicsInternals;  // the library's own access (graphics_internal.h)

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
};

// ---------------------------------------------------------------- timing

/// Waits `milliseconds` ms (windows are not serviced meanwhile).
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
bool TimeIsVirtual();
int64_t CalendarSeconds();

/// The fatal error report: writes the message and a newline to standard
/// output and flushes it. Nothing else happens; the caller goes on.
void FatalError(const char* message);

#endif
