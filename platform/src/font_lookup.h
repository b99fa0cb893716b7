// font_lookup.h - where the text service (text.cpp) finds its face files:
// the face a logical font is realised with, and the faces that lend it the
// characters that face lacks. One file implements it for each system:
// font_lookup_fontconfig.cpp asks fontconfig; a system without fontconfig
// answers the same two calls from the face files it carries.
#ifndef PLATFORM_FONT_LOOKUP_H
#define PLATFORM_FONT_LOOKUP_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {
namespace font_lookup {

// One face in a font file.
struct FaceFile {
    std::string file;
    int index = 0;        // the face's number within the file
    std::string family;   // its family name
    bool bold = false;    // the face itself is bold
    bool italic = false;  // the face itself is italic or oblique
};

// The face `logFont` is realised with: its face name if a face of that name
// (or a metric-compatible stand-in) exists, else one chosen by its family
// byte; false when there is no face at all.
bool FaceForFont(const LOGFONTA& logFont, FaceFile& out);

// The face this system gives for `family` in a style (its answer for a
// name no font has when it knows no such family); false when it has none.
// The name "kiva-no-such-family" asks for that last answer.
bool MatchFamily(const char* family, bool bold, bool italic, FaceFile& out);
extern const char* const kNoSuchFamily;

// The faces other than `face` that have character `point`, nearest to
// `face`'s family and style first: scalable outline faces only, none drawn
// in colours of their own, so that every glyph takes the text colour.
// Empty when no face has it.
std::vector<FaceFile> FacesWithCharacter(const FaceFile& face, uint32_t point);

}  // namespace font_lookup
}  // namespace platform

#endif
