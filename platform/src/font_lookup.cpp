// font_lookup.cpp - what every system's font lookup shares: which family a
// logical font asks for (its face name, else its family byte's customary
// faces), given each system's answer for one family (MatchFamily).
#include "font_lookup.h"

#include <strings.h>

#include <cstring>

namespace platform {
namespace font_lookup {

const char* const kNoSuchFamily = "kiva-no-such-family";

namespace {

// fontconfig always answers with something; a name it does not know gets
// its last-resort face (and the web build's table holds that answer). A family counts as known when its match differs
// from that of a name no font has, or carries the very name asked for.
bool KnownFamily(const char* family, bool bold, bool italic, FaceFile& out) {
    if (!MatchFamily(family, bold, italic, out)) return false;
    if (strcasecmp(out.family.c_str(), family) == 0) return true;
    FaceFile fallback;
    if (!MatchFamily(kNoSuchFamily, bold, italic, fallback)) return true;
    return out.file != fallback.file;
}

}  // namespace

bool FaceForFont(const LOGFONTA& logFont, FaceFile& out) {
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

}  // namespace font_lookup
}  // namespace platform
