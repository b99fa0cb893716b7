// text_encoding.h - how the platform reads the byte strings programs pass
// it (text_encoding.cpp): window titles, message boxes and drawn text alike.
#ifndef PLATFORM_TEXT_ENCODING_H
#define PLATFORM_TEXT_ENCODING_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The characters of `length` bytes of text. Text is UTF-8; a byte that does
// not begin a well-formed UTF-8 sequence (a stray continuation byte, a
// sequence cut short, an overlong form, a surrogate, past U+10FFFF) stands
// for itself in Windows-1252, so text written in that code page reads as
// it always did.
std::vector<uint32_t> CodePoints(const char* text, size_t length);

// The same characters as well-formed UTF-8, for the display and other
// toolkits; a null text is empty.
std::string Utf8Text(const char* text);

}  // namespace platform

#endif
