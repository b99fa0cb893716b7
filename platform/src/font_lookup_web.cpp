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
// The page carries no faces to lend characters from: a character the face
// lacks is its missing-glyph box.
#include "font_lookup.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace font_lookup {
namespace {

const char* const kTable = "/fonts/faces.txt";
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

const std::vector<Row>& Table() {
    static const std::vector<Row> table = [] {
        std::vector<Row> rows;
        std::FILE* file = std::fopen(kTable, "r");
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
    }();
    return table;
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

std::vector<FaceFile> FacesWithCharacter(const FaceFile&, uint32_t) { return {}; }

}  // namespace font_lookup
}  // namespace platform
