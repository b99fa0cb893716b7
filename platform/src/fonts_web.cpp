// fonts_web.cpp - the font lookup of the web build (fontconfig's calls, as
// declared by platform/web/fontconfig/fontconfig.h): a pattern's family,
// weight and slant are looked up in /fonts/faces.txt, the table that the
// build wrote from fontconfig's own answers on the build machine, beside
// the face files embedded in the page. A line of the table is
//   NAME <tab> BOLD <tab> ITALIC <tab> FILE <tab> INDEX <tab> FAMILY <tab> WEIGHT <tab> SLANT
// (BOLD, ITALIC: 0 or 1, what was asked; the rest: what fontconfig found).
// The name "kiva-no-such-family" holds fontconfig's answer for a name no
// font has: a family the table does not hold gets that face too.
#include <fontconfig/fontconfig.h>

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

struct _FcPattern {
    std::string family;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    std::string file;
    int index = 0;
};

namespace {

struct Face {
    std::string name;
    bool bold = false;
    bool italic = false;
    _FcPattern found;
};

const char* const kTable = "/fonts/faces.txt";
const char* const kNoSuchFamily = "kiva-no-such-family";

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

const std::vector<Face>& Table() {
    static const std::vector<Face> table = [] {
        std::vector<Face> faces;
        std::FILE* file = std::fopen(kTable, "r");
        if (file == nullptr) return faces;
        char buffer[1024];
        while (std::fgets(buffer, sizeof buffer, file)) {
            std::string line(buffer);
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
            std::vector<std::string> f = Fields(line);
            if (f.size() != 8) continue;
            Face face;
            face.name = f[0];
            face.bold = f[1] == "1";
            face.italic = f[2] == "1";
            face.found.file = f[3];
            face.found.index = std::atoi(f[4].c_str());
            face.found.family = f[5];
            face.found.weight = std::atoi(f[6].c_str());
            face.found.slant = std::atoi(f[7].c_str());
            faces.push_back(face);
        }
        std::fclose(file);
        return faces;
    }();
    return table;
}

const Face* Find(const std::string& name, bool bold, bool italic) {
    for (const Face& face : Table()) {
        if (face.bold == bold && face.italic == italic && strcasecmp(face.name.c_str(), name.c_str()) == 0)
            return &face;
    }
    return nullptr;
}

}  // namespace

extern "C" {

FcBool FcInit(void) { return Table().empty() ? FcFalse : FcTrue; }

FcPattern* FcPatternCreate(void) { return new _FcPattern; }

void FcPatternDestroy(FcPattern* pattern) { delete pattern; }

FcBool FcPatternAddString(FcPattern* pattern, const char* object, const FcChar8* value) {
    if (std::strcmp(object, FC_FAMILY) != 0) return FcFalse;
    pattern->family = reinterpret_cast<const char*>(value);
    return FcTrue;
}

FcBool FcPatternAddInteger(FcPattern* pattern, const char* object, int value) {
    if (std::strcmp(object, FC_WEIGHT) == 0) {
        pattern->weight = value;
    } else if (std::strcmp(object, FC_SLANT) == 0) {
        pattern->slant = value;
    } else {
        return FcFalse;
    }
    return FcTrue;
}

FcBool FcPatternAddBool(FcPattern*, const char*, FcBool) { return FcTrue; }  // every face is scalable

FcResult FcPatternGetString(const FcPattern* pattern, const char* object, int n, FcChar8** value) {
    const std::string* text = std::strcmp(object, FC_FILE) == 0     ? &pattern->file
                              : std::strcmp(object, FC_FAMILY) == 0 ? &pattern->family
                                                                    : nullptr;
    if (text == nullptr || n != 0) return FcResultNoMatch;
    *value = reinterpret_cast<FcChar8*>(const_cast<char*>(text->c_str()));
    return FcResultMatch;
}

FcResult FcPatternGetInteger(const FcPattern* pattern, const char* object, int n, int* value) {
    if (n != 0) return FcResultNoMatch;
    if (std::strcmp(object, FC_WEIGHT) == 0) {
        *value = pattern->weight;
    } else if (std::strcmp(object, FC_SLANT) == 0) {
        *value = pattern->slant;
    } else if (std::strcmp(object, FC_INDEX) == 0) {
        *value = pattern->index;
    } else {
        return FcResultNoMatch;
    }
    return FcResultMatch;
}

FcBool FcConfigSubstitute(FcConfig*, FcPattern*, FcMatchKind) { return FcTrue; }

void FcDefaultSubstitute(FcPattern*) {}

FcPattern* FcFontMatch(FcConfig*, FcPattern* pattern, FcResult* result) {
    bool bold = pattern->weight >= FC_WEIGHT_DEMIBOLD;
    bool italic = pattern->slant != FC_SLANT_ROMAN;
    const Face* face = Find(pattern->family, bold, italic);
    if (face == nullptr) face = Find(kNoSuchFamily, bold, italic);
    if (face == nullptr) {
        *result = FcResultNoMatch;
        return nullptr;
    }
    *result = FcResultMatch;
    return new _FcPattern(face->found);
}

}  // extern "C"
