// text.cpp - fonts and text: TextOutA and GetTextExtentPoint32A.
//
// A logical font (LOGFONTA) is realised as a face file found through
// fontconfig and a size in pixels per em: a face name is looked up as such
// (metric-compatible stand-ins included, so "Arial" finds Liberation Sans);
// without a known face name the family byte picks one (roman = serif,
// modern = monospace, swiss, script and don't-care = sans). Heights follow
// GDI: a positive height is the cell height (ascent + descent), a negative
// one the em height, 0 a default size.
//
// Text bytes are UTF-8, with a fallback to Windows-1252 for bytes that are
// not well-formed UTF-8 (DecodeText).
//
// Glyphs are rendered once per face and size with FreeType's default
// hinting into 256-level coverage, reduced to GDI's 17 grey levels and
// blended in the text colour onto the target surface; the background is
// left alone in TRANSPARENT mode and filled with the background colour in
// OPAQUE mode. Advances are whole pixels, so measuring and drawing agree.
#include "text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_GASP_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <unordered_map>
#include <memory>
#include <strings.h>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "fault_points.h"
#include "gdi_internal.h"

using platform_faults::Call;
using platform_faults::ShouldFail;

namespace platform {

// ------------------------------------------------------------ glyphs and faces

struct Glyph {
    bool ready = false;
    int left = 0;     // pixels from the pen position to the first column
    int top = 0;      // pixels from the baseline up to the first row
    int width = 0;
    int height = 0;
    int advance = 0;  // whole pixels the pen moves on when drawn
    int measure = 0;  // whole pixels the glyph adds to a measured extent
    std::vector<uint8_t> levels;  // grey levels 0..16, width * height
};

// One face file at one size, with the glyphs rendered so far.
struct SizedFace {
    FT_Face face = nullptr;
    FontInfo info;
    bool grey = true;            // grey levels; else two-level glyphs
    int underlinePosition = 0;   // pixels from the baseline down to the line's top
    int underlineThickness = 1;  // pixels
    std::array<Glyph, 256> glyphs;                // code points below 256
    std::unordered_map<uint32_t, Glyph> moreGlyphs;  // the others

    SizedFace() = default;
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;
    ~SizedFace() {
        if (face != nullptr) FT_Done_Face(face);
    }
};

namespace {

TextCacheCounters counters;

// The FreeType library and fontconfig, set up on first use and kept for the
// process, like the system's font service.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

// Windows-1252 code points for the bytes 0x80 to 0x9F; the other bytes are
// their own code points.
uint32_t CodePoint(unsigned char byte) {
    static const uint16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (byte >= 0x80 && byte < 0xA0) return high[byte - 0x80];
    return byte;
}

// Text is UTF-8. A byte that does not begin a well-formed UTF-8 sequence
// (a stray continuation byte, a sequence cut short, an overlong form, a
// surrogate, past U+10FFFF) stands for itself in Windows-1252, so text
// written in that code page still draws as before. Measuring and drawing
// both read the text through this one decoder.
std::vector<uint32_t> DecodeText(const unsigned char* text, int length) {
    std::vector<uint32_t> points;
    points.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length;) {
        unsigned char lead = text[i];
        int extra = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 && lead <= 0xEF ? 2
                  : lead >= 0xC2 && lead <= 0xDF ? 1 : 0;
        uint32_t point = extra == 3 ? lead & 0x07u : extra == 2 ? lead & 0x0Fu : lead & 0x1Fu;
        bool formed = extra > 0 && i + extra < length;
        for (int k = 1; formed && k <= extra; ++k) {
            if (i + k >= length || (text[i + k] & 0xC0) != 0x80) formed = false;
            else point = (point << 6) | (text[i + k] & 0x3Fu);
        }
        if (formed && ((extra == 2 && (point < 0x800 || (point >= 0xD800 && point <= 0xDFFF))) ||
                       (extra == 3 && (point < 0x10000 || point > 0x10FFFF)))) {
            formed = false;
        }
        if (formed) {
            points.push_back(point);
            i += extra + 1;
        } else {
            points.push_back(CodePoint(lead));
            ++i;
        }
    }
    return points;
}

// A face file found by fontconfig for one family name and style.
struct FaceFile {
    std::string file;
    int index = 0;
    std::string family;
    bool bold = false;
    bool italic = false;
};

bool MatchFamily(const char* family, bool bold, bool italic, FaceFile& out) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return false;
    FcChar8* file = nullptr;
    FcChar8* name = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (ok) {
        out.file = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
            out.family = reinterpret_cast<const char*>(name);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        out.bold = weight >= FC_WEIGHT_DEMIBOLD;
        out.italic = slant != FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return ok;
}

// fontconfig always answers with something; a name it does not know gets
// its last-resort face. A family counts as known when its match differs
// from that of a name no font has, or carries the very name asked for.
bool KnownFamily(const char* family, bool bold, bool italic, FaceFile& out) {
    if (!MatchFamily(family, bold, italic, out)) return false;
    if (strcasecmp(out.family.c_str(), family) == 0) return true;
    FaceFile fallback;
    if (!MatchFamily("kiva-no-such-family", bold, italic, fallback)) return true;
    return out.file != fallback.file;
}

bool FindFaceFile(const LOGFONTA& logFont, FaceFile& out) {
    static bool ready = FcInit() == FcTrue;
    if (!ready) return false;
    bool bold = logFont.lfWeight >= FW_SEMIBOLD;
    bool italic = logFont.lfItalic != 0;
    char name[LF_FACESIZE + 1] = {};
    std::memcpy(name, logFont.lfFaceName, LF_FACESIZE);
    if (name[0] != '\0' && KnownFamily(name, bold, italic, out)) return true;
    // Without a known face name, the family byte decides; the names are the
    // platform's customary faces, which fontconfig maps to stand-ins.
    std::vector<const char*> candidates;
    switch (logFont.lfPitchAndFamily & 0xF0) {
        case FF_ROMAN: candidates = {"Times New Roman", "serif"}; break;
        case FF_MODERN: candidates = {"Courier New", "monospace"}; break;
        case FF_SCRIPT: candidates = {"Comic Sans MS", "cursive"}; break;
        case FF_DECORATIVE: candidates = {"fantasy"}; break;
        default: break;
    }
    candidates.push_back("Arial");
    for (const char* candidate : candidates) {
        if (KnownFamily(candidate, bold, italic, out)) return true;
    }
    return MatchFamily("sans-serif", bold, italic, out);
}

// units * ppem / upem to the nearest whole pixel, halves away from zero.
int64_t ScaledUnits(int64_t units, int64_t ppem, int64_t upem) {
    int64_t n = 2 * units * ppem, d = 2 * upem;
    return n >= 0 ? (n + upem) / d : -((-n + upem) / d);
}

// Cell heights beyond this many pixels are drawn at this size.
constexpr int kLargestPpem = 2048;

// Opens the face and sizes it for the logical height.
std::unique_ptr<SizedFace> OpenSizedFace(const LOGFONTA& logFont) {
    FT_Library library = Library();
    FaceFile found;
    if (library == nullptr || !FindFaceFile(logFont, found)) return nullptr;
    auto sized = std::make_unique<SizedFace>();
    if (FT_New_Face(library, found.file.c_str(), found.index, &sized->face) != 0) {
        sized->face = nullptr;
        return nullptr;
    }
    ++counters.facesOpened;
    FT_Face face = sized->face;
    int64_t upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    int64_t winAscent = face->ascender, winDescent = -face->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            winAscent = os2->usWinAscent;
            winDescent = static_cast<int16_t>(os2->usWinDescent);
        }
    }
    int64_t height = logFont.lfHeight;
    int64_t ppem;
    if (height < 0) {
        ppem = -height;
    } else {
        if (height == 0) height = 16;  // the default cell height
        // The largest em whose unrounded cell stays below half a pixel
        // past the height asked for: ppem * cell / upem < height + 1/2.
        int64_t units = winAscent + winDescent;
        if (units <= 0) units = upem;
        ppem = ((2 * height + 1) * upem - 1) / (2 * units);
    }
    ppem = std::clamp<int64_t>(ppem, 1, kLargestPpem);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem)) != 0) return nullptr;
    sized->info.family = found.family;
    sized->info.file = found.file;
    sized->info.bold = found.bold;
    sized->info.italic = found.italic;
    sized->info.ppem = static_cast<int>(ppem);
    // Metrics in font units become pixels by the exact em scale, rounded
    // once (a 26.6 step in between would round some halves the other way).
    sized->info.ascent = static_cast<int>(ScaledUnits(winAscent, ppem, upem));
    sized->info.descent = static_cast<int>(ScaledUnits(winDescent, ppem, upem));
    // The face's grid-fitting table may ask for two-level glyphs at small
    // sizes, as it does of the platform's own rasteriser.
    FT_Int gasp = FT_Get_Gasp(face, static_cast<FT_UInt>(ppem));
    sized->grey = gasp == FT_GASP_NO_TABLE || (gasp & FT_GASP_DO_GRAY) != 0;
    // The underline is centred on the face's underline position, both
    // rounded to whole pixels first. FreeType gives the position of the
    // line's top edge; the centre lies half a thickness above it.
    int64_t thickness = face->underline_thickness;
    int64_t centre = face->underline_position + thickness / 2;
    int size = std::max<int>(1, static_cast<int>(ScaledUnits(thickness, ppem, upem)));
    int above = static_cast<int>(ScaledUnits(centre, ppem, upem));
    sized->underlinePosition = -above - size / 2;
    sized->underlineThickness = size;
    return sized;
}

// Faces by (file, index, size), and the face each logical font description
// realised as: a font made anew with the same description every frame finds
// its face and glyphs again without opening or rendering anything. The
// fonts drawn with last are remembered by their serial numbers, so that the
// texts drawn one after another with one font look it up once.
struct FaceTable {
    std::map<std::tuple<std::string, int, int>, std::unique_ptr<SizedFace>> faces;
    std::unordered_map<std::string, SizedFace*> fonts;
    static constexpr size_t kRecent = 8;
    std::array<std::pair<uint64_t, SizedFace*>, kRecent> recent{};  // (serial, face); serial 0: empty
    size_t nextRecent = 0;
};

std::string DescriptionKey(const LOGFONTA& logFont) {
    LOGFONTA copy = logFont;
    // Bytes after the name's terminator say nothing about the font.
    size_t nameLength = strnlen(copy.lfFaceName, LF_FACESIZE);
    std::memset(copy.lfFaceName + nameLength, 0, LF_FACESIZE - nameLength);
    return std::string(reinterpret_cast<const char*>(&copy), sizeof copy);
}

FaceTable& Table() {
    static FaceTable table;
    return table;
}

SizedFace* FaceFor(const LOGFONTA& logFont) {
    std::unique_ptr<SizedFace> opened = OpenSizedFace(logFont);
    if (!opened) return nullptr;
    auto key = std::make_tuple(opened->info.file, static_cast<int>(opened->face->face_index), opened->info.ppem);
    FaceTable& table = Table();
    auto it = table.faces.find(key);
    if (it != table.faces.end()) return it->second.get();
    SizedFace* face = opened.get();
    table.faces.emplace(key, std::move(opened));
    return face;
}

SizedFace* FaceForFont(const Font& font) {
    FaceTable& table = Table();
    if (font.serial != 0) {
        for (const auto& known : table.recent) {
            if (known.first == font.serial) return known.second;
        }
    }
    std::string key = DescriptionKey(font.logFont);
    auto it = table.fonts.find(key);
    SizedFace* face = nullptr;
    if (it != table.fonts.end()) {
        face = it->second;
    } else {
        face = FaceFor(font.logFont);
        if (face != nullptr) table.fonts.emplace(std::move(key), face);
    }
    if (face != nullptr && font.serial != 0) {
        table.recent[table.nextRecent] = {font.serial, face};
        table.nextRecent = (table.nextRecent + 1) % FaceTable::kRecent;
    }
    return face;
}

// The face of the font selected in a DC, found once after each selection.
SizedFace* FaceOf(DeviceContext& dc) {
    if (dc.face == nullptr) dc.face = FaceForFont(SelectedFont(dc));
    return dc.face;
}

const Glyph& GlyphFor(SizedFace& sized, uint32_t point) {
    Glyph& glyph = point < 256 ? sized.glyphs[point] : sized.moreGlyphs[point];
    if (glyph.ready) return glyph;
    glyph.ready = true;
    FT_Face face = sized.face;
    FT_UInt index = FT_Get_Char_Index(face, point);
    // Text is measured with the glyphs hinted for grey levels. Two-level
    // glyphs are hinted for two levels, advances included, and drawn with
    // those advances, so at such sizes a measured extent can differ from
    // the drawn one by a pixel or two, as on the platform.
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return glyph;
    glyph.measure = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    glyph.advance = glyph.measure;
    if (!sized.grey) {
        if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) return glyph;
        glyph.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    }
    // The glyph's box is its hinted outline's box widened to whole pixels,
    // and the outline is scan-converted into exactly that box: a two-level
    // glyph's thin stems may then fall on either side of their middle,
    // where FreeType's own two-level box (rounded, not widened) would
    // squeeze them in.
    FT_GlyphSlot slot = face->glyph;
    FT_Bitmap own{};
    std::vector<unsigned char> ownPixels;
    const FT_Bitmap* bitmap = &own;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_BBox box;
        FT_Outline_Get_CBox(&slot->outline, &box);
        FT_Pos left = box.xMin >> 6, bottom = box.yMin >> 6;
        FT_Pos right = (box.xMax + 63) >> 6, top = (box.yMax + 63) >> 6;
        own.width = static_cast<unsigned>(right - left);
        own.rows = static_cast<unsigned>(top - bottom);
        own.pixel_mode = sized.grey ? FT_PIXEL_MODE_GRAY : FT_PIXEL_MODE_MONO;
        own.num_grays = 256;
        own.pitch = static_cast<int>(sized.grey ? own.width : (own.width + 7) / 8);
        ownPixels.assign(static_cast<size_t>(own.pitch) * own.rows, 0);
        own.buffer = ownPixels.data();
        FT_Outline_Translate(&slot->outline, -left * 64, -bottom * 64);
        if (!ownPixels.empty() && FT_Outline_Get_Bitmap(Library(), &slot->outline, &own) != 0) return glyph;
        glyph.left = static_cast<int>(left);
        glyph.top = static_cast<int>(top);
    } else {
        if (FT_Render_Glyph(slot, sized.grey ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return glyph;
        bitmap = &slot->bitmap;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
    }
    ++counters.glyphsRendered;
    glyph.width = static_cast<int>(bitmap->width);
    glyph.height = static_cast<int>(bitmap->rows);
    glyph.levels.assign(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height), 0);
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bitmap->buffer + static_cast<ptrdiff_t>(y) * bitmap->pitch;
        uint8_t* levels = glyph.levels.data() + static_cast<size_t>(y) * glyph.width;
        for (int x = 0; x < glyph.width; ++x) {
            if (bitmap->pixel_mode == FT_PIXEL_MODE_MONO) {
                levels[x] = (row[x / 8] & (0x80 >> (x % 8))) ? 16 : 0;
            } else {
                // 256 coverage steps become 17 grey levels.
                levels[x] = static_cast<uint8_t>(row[x] * 17 / 256);
            }
        }
    }
    return glyph;
}

// ------------------------------------------------------------ blending

// How strongly each grey level pulls a component towards the text colour,
// as GDI's grey-level text does: a perceptual rather than linear ramp.
constexpr uint8_t kRamp[17] = {0x00, 0x4d, 0x68, 0x7c, 0x8c, 0x9a, 0xa7, 0xb2, 0xbd,
                               0xc7, 0xd0, 0xd9, 0xe1, 0xe9, 0xf0, 0xf8, 0xff};

uint32_t BlendComponent(uint32_t dst, uint32_t text, int level) {
    if (dst == text) return dst;
    if (dst > text) {
        // The lighter the background, the less a faint level darkens it.
        uint32_t highest = kRamp[16 - level] + (255 - kRamp[16 - level]) * text / 255;
        return text + (dst - text) * (highest - text) / (255 - text);
    }
    uint32_t lowest = kRamp[level] * text / 255;
    return text - (text - dst) * (text - lowest) / text;
}

uint32_t BlendPixel(uint32_t dst, uint32_t text, int level) {
    if (level >= 16) return text;
    uint32_t r = BlendComponent((dst >> 16) & 0xFF, (text >> 16) & 0xFF, level);
    uint32_t g = BlendComponent((dst >> 8) & 0xFF, (text >> 8) & 0xFF, level);
    uint32_t b = BlendComponent(dst & 0xFF, text & 0xFF, level);
    return (r << 16) | (g << 8) | b;
}

// The faintest level is too faint to show.
constexpr int kFaintestShown = 2;

// Blends in one text colour, remembered per grey level for the last
// background pixel met at that level: text mostly lies on a plain
// background, so most glyph pixels repeat a blend already worked out.
class Blender {
public:
    explicit Blender(uint32_t text) : text_(text) { std::fill(std::begin(under_), std::end(under_), kNone); }
    uint32_t operator()(uint32_t dst, int level) {
        if (under_[level] != dst) {
            under_[level] = dst;
            blended_[level] = BlendPixel(dst, text_, level);
        }
        return blended_[level];
    }

private:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;  // no pixel has its top byte set
    uint32_t text_;
    uint32_t under_[17];
    uint32_t blended_[17] = {};
};

// A glyph is drawn within its line's cell: rows above the ascent or below
// the descent (an accent or a descender reaching past the face's own
// limits at some sizes) are left out, as the platform leaves them out.
void DrawGlyph(Surface& surface, const Glyph& glyph, int64_t penX, int64_t baseline, const FontInfo& cell,
               Blender& blend) {
    int64_t left = penX + glyph.left;
    int64_t top = baseline - glyph.top;
    int64_t x0 = std::max<int64_t>(0, -left), x1 = std::min<int64_t>(glyph.width, surface.width - left);
    int64_t y0 = std::max<int64_t>({0, -top, glyph.top - cell.ascent});
    int64_t y1 = std::min<int64_t>({glyph.height, surface.height - top, glyph.top + cell.descent});
    for (int64_t y = y0; y < y1; ++y) {
        uint32_t* row = surface.Row(static_cast<int32_t>(top + y));
        const uint8_t* levels = glyph.levels.data() + y * glyph.width;
        for (int64_t x = x0; x < x1; ++x) {
            int level = levels[x];
            if (level < kFaintestShown) continue;
            uint32_t& pixel = row[left + x];
            pixel = blend(pixel, level);
        }
    }
}

void FillBox(Surface& surface, int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel) {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, surface.width);
    bottom = std::min<int64_t>(bottom, surface.height);
    for (int64_t y = top; y < bottom; ++y) {
        uint32_t* row = surface.Row(static_cast<int32_t>(y));
        std::fill(row + left, row + std::max(left, right), pixel);
    }
}

// The drawn width of a text, or with `measured` its measured width.
int64_t Advance(SizedFace& face, const std::vector<uint32_t>& points, bool measured = false) {
    int64_t width = 0;
    for (uint32_t point : points) {
        const Glyph& glyph = GlyphFor(face, point);
        width += measured ? glyph.measure : glyph.advance;
    }
    return width;
}

}  // namespace

bool DescribeFont(const LOGFONTA& logFont, FontInfo& info) {
    Font font;
    font.logFont = logFont;
    SizedFace* face = FaceForFont(font);
    if (face == nullptr) return false;
    info = face->info;
    return true;
}

TextCacheCounters TextCacheCount() { return counters; }

}  // namespace platform

using namespace platform;

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    if (ShouldFail(Call::TextOutA)) return FALSE;
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
    SizedFace* face = FaceOf(*context);
    if (face == nullptr) return FALSE;
    const std::vector<uint32_t> points = DecodeText(reinterpret_cast<const unsigned char*>(text), length);
    bool updateCP = (context->textAlign & TA_UPDATECP) != 0;
    int64_t originX = updateCP ? context->position.x : x;
    int64_t originY = updateCP ? context->position.y : y;
    int64_t width = Advance(*face, points);
    // The background box and the lines under and through the text span
    // its measured width, which at two-level sizes may differ from the
    // width the glyphs take up as drawn.
    int64_t measured = Advance(*face, points, true);
    int64_t ascent = face->info.ascent, descent = face->info.descent;

    // Where the reference point lies on the text: left, right or centre;
    // top, baseline or bottom.
    int64_t left = originX;
    UINT horizontal = context->textAlign & (TA_LEFT | TA_RIGHT | TA_CENTER);
    if (horizontal == TA_RIGHT) left = originX - width;
    if (horizontal == TA_CENTER) left = originX - width / 2;
    int64_t baseline = originY + ascent;
    UINT vertical = context->textAlign & (TA_TOP | TA_BASELINE | TA_BOTTOM);
    if (vertical == TA_BASELINE) baseline = originY;
    if (vertical == TA_BOTTOM) baseline = originY - descent;

    if (Surface* surface = TargetSurface(*context)) {
        if (context->bkMode == OPAQUE) {
            FillBox(*surface, left, baseline - ascent, left + measured, baseline + descent,
                    PixelFromColorref(context->bkColor));
        }
        uint32_t color = PixelFromColorref(context->textColor);
        Blender blend(color);
        int64_t pen = left;
        for (uint32_t point : points) {
            const Glyph& glyph = GlyphFor(*face, point);
            DrawGlyph(*surface, glyph, pen, baseline, face->info, blend);
            pen += glyph.advance;
        }
        if (SelectedFont(*context).logFont.lfUnderline) {
            int64_t top = baseline + face->underlinePosition;
            FillBox(*surface, left, top, left + measured, top + face->underlineThickness, color);
        }
        if (SelectedFont(*context).logFont.lfStrikeOut) {
            int64_t top = baseline - ascent / 3;
            FillBox(*surface, left, top, left + measured, top + face->underlineThickness, color);
        }
        NoteDrawnOn(*context);
    }
    if (updateCP) {
        // The position moves on by the text's width in the direction of
        // the alignment.
        int64_t moved = horizontal == TA_RIGHT ? -width : (horizontal == TA_CENTER ? 0 : width);
        context->position.x = static_cast<LONG>(static_cast<uint32_t>(originX + moved));
    }
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    if (ShouldFail(Call::GetTextExtentPoint32A)) return FALSE;
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
    SizedFace* face = FaceOf(*context);
    if (face == nullptr) return FALSE;
    int64_t width = Advance(*face, DecodeText(reinterpret_cast<const unsigned char*>(text), length), true);
    size->cx = static_cast<LONG>(std::min<int64_t>(width, INT32_MAX));
    // An empty text has no height either, as the platform measures it.
    size->cy = length > 0 ? face->info.ascent + face->info.descent : 0;
    return TRUE;
}
