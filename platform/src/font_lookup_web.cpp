// font_lookup_web.cpp - the font lookup of the web build (font_lookup.h),
// without fontconfig: a family and style are looked up in /fonts/faces.txt,
// the table that the build wrote from fontconfig's own answers on the build
// machine (platform/web/web.cmake), beside the face files embedded in the
// page, so that a page finds the very files the Linux build finds. A line
// of the table is
//   NAME <tab> BOLD <tab> ITALIC <tab> FILE <tab> INDEX <tab> FAMILY <tab> WEIGHT <tab> SLANT
// (BOLD, ITALIC: 0 or 1, what was asked; the rest: what fontconfig found,
// with fontconfig's weight and slant numbers). The name
// "kiva-no-such-family" holds fontconfig's answer for a name no font has.
//
// A page built with the faces that lend characters (kiva_add_web_page's
// FALLBACK_FACES) carries them in /fonts/lenders with their table,
// lenders.txt: for each of the faces above, the faces fontconfig put
// nearest to it that have characters it lacks, nearest first, in lines of
// the same form (NAME being the face's family). Which characters a lender
// has, FreeType tells from its character map, read once a face. A page
// without them has no lenders: a character the face lacks is its
// missing-glyph box.
#include "font_lookup.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

namespace platform {
namespace font_lookup {
namespace {

const char* const kTable = "/fonts/faces.txt";
const char* const kLenders = "/fonts/lenders/lenders.txt";
const int kDemiBold = 180;  // fontconfig's FC_WEIGHT_DEMIBOLD
const int kRoman = 0;       // fontconfig's FC_SLANT_ROMAN

struct Row {
    std::string name;
    bool bold = false;
    bool italic = false;
    FaceFile face;
};

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

std::vector<Row> ReadTable(const char* path) {
    std::vector<Row> rows;
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr) return rows;
    char buffer[1024];
    while (std::fgets(buffer, sizeof buffer, file)) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        std::vector<std::string> f = Fields(line);
        if (f.size() != 8) continue;
        Row row;
        row.name = f[0];
        row.bold = f[1] == "1";
        row.italic = f[2] == "1";
        row.face.file = f[3];
        row.face.index = std::atoi(f[4].c_str());
        row.face.family = f[5];
        row.face.bold = std::atoi(f[6].c_str()) >= kDemiBold;
        row.face.italic = std::atoi(f[7].c_str()) != kRoman;
        rows.push_back(row);
    }
    std::fclose(file);
    return rows;
}

const std::vector<Row>& Table() {
    static const std::vector<Row> table = ReadTable(kTable);
    return table;
}

const std::vector<Row>& Lenders() {
    static const std::vector<Row> lenders = ReadTable(kLenders);
    return lenders;
}

// The characters of a face, as sorted ranges [first, last].
using Ranges = std::vector<std::pair<uint32_t, uint32_t>>;

Ranges ReadCharacters(const FaceFile& face) {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    Ranges ranges;
    FT_Face opened = nullptr;
    if (library == nullptr || FT_New_Face(library, face.file.c_str(), face.index, &opened) != 0) return ranges;
    FT_UInt glyph = 0;
    for (FT_ULong point = FT_Get_First_Char(opened, &glyph); glyph != 0;
         point = FT_Get_Next_Char(opened, point, &glyph)) {
        if (!ranges.empty() && ranges.back().second + 1 == point) {
            ranges.back().second = static_cast<uint32_t>(point);
        } else {
            ranges.emplace_back(static_cast<uint32_t>(point), static_cast<uint32_t>(point));
        }
    }
    FT_Done_Face(opened);
    return ranges;
}

bool Has(const FaceFile& face, uint32_t point) {
    static std::map<std::pair<std::string, int>, Ranges> known;  // read once a face
    auto key = std::make_pair(face.file, face.index);
    auto it = known.find(key);
    if (it == known.end()) it = known.emplace(key, ReadCharacters(face)).first;
    const Ranges& ranges = it->second;
    auto after = std::upper_bound(ranges.begin(), ranges.end(), std::make_pair(point, UINT32_MAX));
    return after != ranges.begin() && std::prev(after)->second >= point;
}

}  // namespace

// fontconfig's answer on the build machine: the table's row, or the answer
// for a name no font has.
bool MatchFamily(const char* family, bool bold, bool italic, FaceFile& out) {
    const Row* unknown = nullptr;
    for (const Row& row : Table()) {
        if (row.bold != bold || row.italic != italic) continue;
        if (strcasecmp(row.name.c_str(), family) == 0) {
            out = row.face;
            return true;
        }
        if (row.name == kNoSuchFamily) unknown = &row;
    }
    if (unknown == nullptr) return false;
    out = unknown->face;
    return true;
}

std::vector<FaceFile> FacesWithCharacter(const FaceFile& face, uint32_t point) {
    std::vector<FaceFile> found;
    for (const Row& row : Lenders()) {
        if (row.bold != face.bold || row.italic != face.italic ||
            strcasecmp(row.name.c_str(), face.family.c_str()) != 0)
            continue;
        if (row.face.file == face.file && row.face.index == face.index) continue;
        if (Has(row.face, point)) found.push_back(row.face);
    }
    return found;
}

}  // namespace font_lookup
}  // namespace platform
