// text_encoding.cpp - the one reading of the platform's byte strings: UTF-8,
// with Windows-1252 for bytes that are not well-formed UTF-8.
#include "text_encoding.h"

#include <cstring>

namespace platform {
namespace {

// Windows-1252 code points for the bytes 0x80 to 0x9F; the other bytes are
// their own code points.
uint32_t Windows1252(unsigned char byte) {
    static const uint16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (byte >= 0x80 && byte < 0xA0) return high[byte - 0x80];
    return byte;
}

void AppendUtf8(uint32_t point, std::string& out) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

}  // namespace

std::vector<uint32_t> CodePoints(const char* bytes, size_t length) {
    const unsigned char* text = reinterpret_cast<const unsigned char*>(bytes);
    std::vector<uint32_t> points;
    points.reserve(length);
    for (size_t i = 0; i < length;) {
        unsigned char lead = text[i];
        int extra = lead >= 0xF0 && lead <= 0xF4   ? 3
                    : lead >= 0xE0 && lead <= 0xEF ? 2
                    : lead >= 0xC2 && lead <= 0xDF ? 1
                                                   : 0;
        uint32_t point = extra == 3 ? lead & 0x07u : extra == 2 ? lead & 0x0Fu : lead & 0x1Fu;
        bool formed = extra > 0 && i + extra < length;
        for (int k = 1; formed && k <= extra; ++k) {
            if ((text[i + k] & 0xC0) != 0x80)
                formed = false;
            else
                point = (point << 6) | (text[i + k] & 0x3Fu);
        }
        if (formed && ((extra == 2 && (point < 0x800 || (point >= 0xD800 && point <= 0xDFFF))) ||
                       (extra == 3 && (point < 0x10000 || point > 0x10FFFF)))) {
            formed = false;
        }
        if (formed) {
            points.push_back(point);
            i += static_cast<size_t>(extra) + 1;
        } else {
            points.push_back(Windows1252(lead));
            ++i;
        }
    }
    return points;
}

std::string Utf8Text(const char* text) {
    std::string out;
    if (text == nullptr) return out;
    for (uint32_t point : CodePoints(text, std::strlen(text))) AppendUtf8(point, out);
    return out;
}

}  // namespace platform
