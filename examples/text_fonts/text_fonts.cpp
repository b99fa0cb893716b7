// text_fonts - text in the five font families, in several sizes and
// styles, numbers, a font chosen by its name, and a line centred with
// GetStringSize. Text is UTF-8: write "Größe" as it is.
//
// Text is drawn in the pen's colour with its top left corner at (x, y).
// It draws one page and ends: the last window waits for a click.
#include <string>

#include "graphics.h"

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("Text and fonts");
    w.SetPen(IVORY, 1);
    w.SetBrush(IVORY);
    w.DrawRectangle(0, 0, 480, 320, STYLE_FILLED);  // a pale background

    // SetFont(size in pixels, style, family, face name or nullptr).
    w.SetPen(BLACK, 1);  // the pen's colour is the text's colour
    w.SetFont(16, 0, FAMILY_SWISS, nullptr);
    w.DrawString(10, 10, "Swiss (sans serif), 16 pixels high");
    w.SetFont(16, 0, FAMILY_ROMAN, nullptr);
    w.DrawString(10, 30, "Roman (serif), 16 pixels high");
    w.SetFont(16, 0, FAMILY_MODERN, nullptr);
    w.DrawString(10, 50, "Modern (fixed width), 16 pixels high");
    w.SetFont(20, 0, FAMILY_SCRIPT, nullptr);
    w.DrawString(10, 68, "Script (handwriting), 20 pixels high");
    w.SetFont(16, 0, FAMILY_ANY, "Arial");  // a face by its name
    w.DrawString(10, 90, "The face named Arial, or the nearest one");

    w.SetPen(DARK_BLUE, 1);
    w.SetFont(24, FONT_BOLD, FAMILY_SWISS, nullptr);
    w.DrawString(10, 115, "Bold");
    w.SetFont(24, FONT_ITALIC, FAMILY_SWISS, nullptr);
    w.DrawString(90, 115, "Italic");
    w.SetFont(24, FONT_BOLD | FONT_ITALIC | FONT_UNDERLINE, FAMILY_SWISS, nullptr);
    w.DrawString(180, 115, "All three");

    // Numbers: whole numbers as they are, fractions with six decimals.
    w.SetPen(DARK_RED, 1);
    w.SetFont(20, 0, FAMILY_SWISS, nullptr);
    w.DrawString(10, 155, "Score:");
    w.DrawNumber(90, 155, 1250);
    std::string label = "Pi is about";  // a std::string works as well
    w.DrawString(10, 180, label);
    int width = 0, height = 0;
    w.GetStringSize(width, height, label);
    int x = 10 + width + 8;  // just after the label
    w.DrawNumber(x, 180, 3.14159);
    w.GetNumberSize(width, height, 3.14159);
    w.SetPen(GRAY, 1);
    w.DrawRectangle(x - 2, 180, x + width + 2, 180 + height, STYLE_FRAME);  // the box it takes
    w.SetPen(DARK_RED, 1);
    w.DrawString(10, 205, "Größe, café, naïve");

    // Centred: measure first, then start half the width left of the middle.
    const char* title = "Centred text";
    w.SetFont(32, FONT_BOLD, FAMILY_ROMAN, nullptr);
    w.GetStringSize(width, height, title);
    w.SetPen(FOREST_GREEN, 1);
    w.DrawString(240 - width / 2, 250, title);
    w.DrawLine(240 - width / 2, 250 + height, 240 + width / 2, 250 + height);  // as wide as the text
    return 0;
}
