// Text of a window: a line of single-byte text drawn in the current font and
// the pen colour on a transparent background, numbers drawn as text, and
// the measured size of such texts.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "diagnostics.h"
#include "graphics_internal.h"

namespace {

// A coordinate past the 32-bit range stops at its end.
int32_t Saturated(int64_t value) { return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value); }

}  // namespace

void window::DrawString(int32_t x, int32_t y, const char* text) {
    const graphics_diagnostics::Call call("DrawString", KIVA_CALLER());
    if (text == nullptr) return;
    ProcessOneMessage();
    SelectFont();
    if (graphics_diagnostics::MayBeInvisible(*this, false)) {
        SIZE size = {0, 0};
        if (GetTextExtentPoint32(dcActive, text, static_cast<int>(std::strlen(text)), &size) == 1 && size.cx > 0)
            graphics_diagnostics::CheckVisible(*this, false, x, y, Saturated(int64_t{x} + size.cx - 1),
                                               Saturated(int64_t{y} + size.cy - 1));
    }
    if (SetBkMode(dcActive, TRANSPARENT) == 0) FatalError("Fatal Error: Failed to SetBkMode in DrawString!");
    if (SetTextAlign(dcActive, TA_UPDATECP) == GDI_ERROR)
        FatalError("Fatal Error: Failed to SetTextAlign in DrawString!");
    if (MoveToEx(dcActive, x, y, nullptr) != 1) FatalError("Fatal Error: Failed to MoveToEx in DrawString!");
    if (TextOut(dcActive, x, y, text, static_cast<int>(std::strlen(text))) == 0)
        FatalError("Fatal Error: Failed to TextOut in DrawString!");
    RestoreFont();
}

void window::DrawString(int32_t x, int32_t y, std::string text) {
    const graphics_diagnostics::Call call("DrawString", KIVA_CALLER());
    DrawString(x, y, text.c_str());
}

void window::DrawNumber(int32_t x, int32_t y, int32_t value) {
    const graphics_diagnostics::Call call("DrawNumber", KIVA_CALLER());
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    DrawString(x, y, buffer);
}

void window::DrawNumber(int32_t x, int32_t y, double value) {
    const graphics_diagnostics::Call call("DrawNumber", KIVA_CALLER());
    // snprintf cuts a text longer than the buffer (only magnitudes of 1e119
    // and more) rather than writing past it.
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%f", value);
    DrawString(x, y, buffer);
}

void window::GetStringSize(int& width, int& height, const char* text) {
    // A null text is measured as the empty text instead of being read.
    if (text == nullptr) text = "";
    ProcessOneMessage();
    SelectFont();
    // A failed measurement reports 0 by 0.
    SIZE size = {0, 0};
    if (GetTextExtentPoint32(dcActive, text, static_cast<int>(std::strlen(text)), &size) != 1)
        FatalError("Fatal Error: Failed to GetTextExtentPoint32 in GetStringSize!");
    RestoreFont();
    width = size.cx;
    height = size.cy;
}

void window::GetStringSize(int& width, int& height, std::string text) { GetStringSize(width, height, text.c_str()); }

void window::GetNumberSize(int& width, int& height, int32_t value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    GetStringSize(width, height, buffer);
}

void window::GetNumberSize(int& width, int& height, double value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%f", value);
    GetStringSize(width, height, buffer);
}

// The other integer types, widened: their exact decimal value.
void window::DrawWholeNumber(int32_t x, int32_t y, long long value) {
    const graphics_diagnostics::Call call("DrawNumber", KIVA_CALLER());
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%lld", value);
    DrawString(x, y, buffer);
}

void window::DrawWholeNumber(int32_t x, int32_t y, unsigned long long value) {
    const graphics_diagnostics::Call call("DrawNumber", KIVA_CALLER());
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%llu", value);
    DrawString(x, y, buffer);
}

void window::GetWholeNumberSize(int& width, int& height, long long value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%lld", value);
    GetStringSize(width, height, buffer);
}

void window::GetWholeNumberSize(int& width, int& height, unsigned long long value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%llu", value);
    GetStringSize(width, height, buffer);
}
