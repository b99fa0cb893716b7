// font_lookup_fontconfig.cpp - face files found through fontconfig
// (font_lookup.h).
//
// A logical font's face name is looked up as such (metric-compatible
// stand-ins included, so "Arial" finds Liberation Sans); without a known
// face name the family byte picks one (roman = serif, modern = monospace,
// swiss, script and don't-care = sans).
//
// The faces that lend characters are fontconfig's list of every face sorted
// by nearness to a family and style (the family's aliases first, then the
// same weight and slant), made once per family and style and kept for the
// process, as the system's font service keeps it; each character is looked
// up in the character sets of that list.
#include "font_lookup.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <cstring>
#include <map>
#include <tuple>
#include <vector>

namespace platform {
namespace font_lookup {
namespace {

bool Ready() {
    static bool ready = FcInit() == FcTrue;
    return ready;
}

void Describe(FcPattern* match, FaceFile& out) {
    FcChar8* name = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
        out.family = reinterpret_cast<const char*>(name);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    out.bold = weight >= FC_WEIGHT_DEMIBOLD;
    out.italic = slant != FC_SLANT_ROMAN;
}

// The pattern asking for `family` in a style, with fontconfig's defaults.
FcPattern* StylePattern(const char* family, bool bold, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}


// Every face, nearest to a family and style first.
const FcFontSet* NearestFaces(const FaceFile& face) {
    static std::map<std::tuple<std::string, bool, bool>, FcFontSet*> known;  // kept for the process
    auto key = std::make_tuple(face.family, face.bold, face.italic);
    auto it = known.find(key);
    if (it != known.end()) return it->second;
    FcFontSet* faces = nullptr;
    if (FcPattern* pattern = StylePattern(face.family.c_str(), face.bold, face.italic)) {
        FcResult result = FcResultNoMatch;
        faces = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
        FcPatternDestroy(pattern);
    }
    known.emplace(key, faces);
    return faces;
}

}  // namespace

bool MatchFamily(const char* family, bool bold, bool italic, FaceFile& out) {
    if (!Ready()) return false;
    FcPattern* pattern = StylePattern(family, bold, italic);
    if (pattern == nullptr) return false;
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return false;
    FcChar8* file = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (ok) {
        out.file = reinterpret_cast<const char*>(file);
        Describe(match, out);
    }
    FcPatternDestroy(match);
    return ok;
}

std::vector<FaceFile> FacesWithCharacter(const FaceFile& face, uint32_t point) {
    std::vector<FaceFile> found;
    if (!Ready()) return found;
    const FcFontSet* faces = NearestFaces(face);
    for (int i = 0; faces != nullptr && i < faces->nfont; ++i) {
        FcPattern* candidate = faces->fonts[i];
        FcCharSet* characters = nullptr;
        FcChar8* file = nullptr;
        FcBool outline = FcFalse, colour = FcFalse;
        if (FcPatternGetCharSet(candidate, FC_CHARSET, 0, &characters) != FcResultMatch ||
            !FcCharSetHasChar(characters, point) || FcPatternGetString(candidate, FC_FILE, 0, &file) != FcResultMatch ||
            FcPatternGetBool(candidate, FC_OUTLINE, 0, &outline) != FcResultMatch || !outline) {
            continue;
        }
        if (FcPatternGetBool(candidate, FC_COLOR, 0, &colour) == FcResultMatch && colour) continue;
        FaceFile lender;
        lender.file = reinterpret_cast<const char*>(file);
        Describe(candidate, lender);
        if (lender.file == face.file && lender.index == face.index) continue;
        found.push_back(std::move(lender));
    }
    return found;
}

}  // namespace font_lookup
}  // namespace platform
