// Drawing state of a window: the current pen, brush and font, and the
// brackets through which every drawing call puts them into dcActive for the
// length of one call and then puts back what they displaced.
//
// The window's own pen, brush and font are never left selected between
// calls, so a setter may delete the old object at once.
#include <cstring>

#include "diagnostics.h"
#include "graphics_internal.h"
#include "whole_numbers.h"

namespace {

// The platform's 32-bit colour value: red in the low byte, then green, then
// blue; the top byte stays 0.
COLORREF Packed(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) |
           (static_cast<COLORREF>(blue) << 16);
}

// The family byte given to the platform for one of the library's family codes.
BYTE FamilyByte(int family) {
    switch (family) {
        case FAMILY_MODERN: return FF_MODERN;
        case FAMILY_ROMAN: return FF_ROMAN;
        case FAMILY_SCRIPT: return FF_SCRIPT;
        case FAMILY_SWISS: return FF_SWISS;
        default: return FF_DONTCARE;
    }
}

}  // namespace

color window::SetPen(const color& c, int width) { return SetPen(c.red, c.green, c.blue, width); }

// The fraction forms: a fraction outside 0.0 to 1.0 is told where it
// arrives, here or in the mixed overloads of graphics.h.
color window::SetPen(double red, double green, double blue, int width) {
    graphics_diagnostics::CheckFractions("SetPen", red, green, blue, width, KIVA_CALLER());
    return SetPenFractions(red, green, blue, width);
}

color window::SetPenFractions(double red, double green, double blue, int width) {
    return SetPen(LevelOfFraction(red), LevelOfFraction(green), LevelOfFraction(blue), width);
}

color window::SetPen(uint8_t red, uint8_t green, uint8_t blue, int width) {
    ProcessOneMessage();
    color previous = penColor;
    if (penObject != nullptr) DeleteOrReport(penObject, "Fatal Error: Failed to delete penObject in SetPen!");
    penWidth = width;
    penColor = color(red, green, blue);
    SetTextColor(dcActive, Packed(red, green, blue));
    penObject = CreatePen(PS_INSIDEFRAME, width, Packed(red, green, blue));
    penChosen = true;  // the library's own calls set it back
    return previous;
}

color window::SetBrush(const color& c) { return SetBrush(c.red, c.green, c.blue); }

color window::SetBrush(double red, double green, double blue) {
    graphics_diagnostics::CheckFractions("SetBrush", red, green, blue, -1, KIVA_CALLER());
    return SetBrushFractions(red, green, blue);
}

color window::SetBrushFractions(double red, double green, double blue) {
    return SetBrush(LevelOfFraction(red), LevelOfFraction(green), LevelOfFraction(blue));
}

color window::SetBrush(uint8_t red, uint8_t green, uint8_t blue) {
    ProcessOneMessage();
    color previous = brshColor;
    if (brshObject != nullptr) DeleteOrReport(brshObject, "Fatal Error: Failed to delete brshObject in SetBrush!");
    brshColor = color(red, green, blue);
    brshObject = CreateSolidBrush(Packed(red, green, blue));
    brushChosen = true;  // the library's own calls set it back
    return previous;
}

void window::SetFont(int size, uint16_t style, int family, const char* faceName) {
    ProcessOneMessage();
    LOGFONTA record;
    std::memset(&record, 0, sizeof record);
    if (fontObject != nullptr) DeleteOrReport(fontObject, "Fatal Error: Failed to delete fontObject in SetFont!");
    record.lfHeight = size;
    record.lfWidth = 0;
    record.lfEscapement = 0;
    record.lfOrientation = 0;
    record.lfWeight = (style & FONT_BOLD) ? FW_BOLD : FW_NORMAL;
    record.lfItalic = (style & FONT_ITALIC) ? 1 : 0;
    record.lfUnderline = (style & FONT_UNDERLINE) ? 1 : 0;
    // Bit 8 would ask for strike-out; no caller sets it and fonts are made
    // without strike-out.
    record.lfStrikeOut = 0;
    record.lfCharSet = DEFAULT_CHARSET;
    record.lfOutPrecision = OUT_DEFAULT_PRECIS;
    record.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    record.lfQuality = DEFAULT_QUALITY;
    record.lfPitchAndFamily = static_cast<BYTE>(DEFAULT_PITCH | FamilyByte(family));
    if (faceName != nullptr) {
        // The field holds 31 characters and the terminator; a longer name is
        // cut there rather than written past the record.
        std::strncpy(record.lfFaceName, faceName, sizeof record.lfFaceName - 1);
        record.lfFaceName[sizeof record.lfFaceName - 1] = '\0';
    }
    fontObject = CreateFontIndirect(&record);
}

void window::SelectStyle(drawstyle style) {
    switch (style) {
        case STYLE_FILLED:
            penPrevious = SelectObject(dcActive, penObject);
            brshPrevious = SelectObject(dcActive, brshObject);
            SetROP2(dcActive, R2_COPYPEN);
            break;
        case STYLE_FRAME:
            penPrevious = SelectObject(dcActive, penObject);
            brshPrevious = SelectObject(dcActive, GetStockObject(NULL_BRUSH));
            SetROP2(dcActive, R2_COPYPEN);
            break;
        case STYLE_INVERTED:
            penPrevious = SelectObject(dcActive, GetStockObject(BLACK_PEN));
            brshPrevious = SelectObject(dcActive, GetStockObject(BLACK_BRUSH));
            SetROP2(dcActive, R2_NOT);
            break;
        default:
            FatalError("Fatal Error: You have tried to use an invalid or unimplemented drawstyle!");
            break;
    }
}

void window::RestoreStyle() {
    // The mix mode is left as it is: every SelectStyle sets it again.
    SelectObject(dcActive, penPrevious);
    SelectObject(dcActive, brshPrevious);
}

void window::SelectFont() { fontPrevious = SelectObject(dcActive, fontObject); }

void window::RestoreFont() { SelectObject(dcActive, fontPrevious); }
