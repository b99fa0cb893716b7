// text.h - what the text service (text.cpp) tells about the fonts it uses,
// for tests and tools: which face a logical font resolves to, its pixel
// metrics, and counters of the work its caches save.
#ifndef PLATFORM_TEXT_H
#define PLATFORM_TEXT_H

#include <windows.h>

#include <cstdint>
#include <string>

namespace platform {

// The realised form of a logical font.
struct FontInfo {
    std::string family;   // family name of the face file chosen
    std::string file;     // the face file
    bool bold = false;    // the face itself is bold
    bool italic = false;  // the face itself is italic or oblique
    int ppem = 0;         // pixels per em the glyphs are rendered at
    int ascent = 0;       // pixels above the baseline in a cell
    int descent = 0;      // pixels below the baseline in a cell
};

// Resolves `logFont` as CreateFontIndirect + SelectObject would; false when
// no face file can be found at all.
bool DescribeFont(const LOGFONTA& logFont, FontInfo& info);

// How often faces were opened and glyphs rendered since the process began.
struct TextCacheCounters {
    uint64_t facesOpened = 0;
    uint64_t glyphsRendered = 0;
};
TextCacheCounters TextCacheCount();

}  // namespace platform

#endif
