// text_fonts - text in several fonts, sizes and styles, numbers, and a text
// centred with GetStringSize. Text is UTF-8: write "Größe" as it is.
#include "graphics.h"

int main() {
    window w(480, 320, 100, 100);
    w.SetTitle("Text and fonts");
    w.SetBrush(IVORY);
    w.DrawRectangle(0, 0, 480, 320, STYLE_FILLED);

    w.SetPen(BLACK, 1);  // the pen's colour is the text's colour
    w.SetFont(16, 0, FAMILY_SWISS, nullptr);
    w.DrawString(10, 10, "Swiss (sans serif), 16 pixels high");
    w.SetFont(16, 0, FAMILY_ROMAN, nullptr);
    w.DrawString(10, 35, "Roman (serif), 16 pixels high");
    w.SetFont(16, 0, FAMILY_MODERN, nullptr);
    w.DrawString(10, 60, "Modern (fixed width), 16 pixels high");

    w.SetPen(DARK_BLUE, 1);
    w.SetFont(24, FONT_BOLD, FAMILY_SWISS, nullptr);
    w.DrawString(10, 90, "Bold");
    w.SetFont(24, FONT_ITALIC, FAMILY_SWISS, nullptr);
    w.DrawString(90, 90, "Italic");
    w.SetFont(24, FONT_BOLD | FONT_ITALIC | FONT_UNDERLINE, FAMILY_SWISS, nullptr);
    w.DrawString(180, 90, "All three");

    w.SetPen(DARK_RED, 1);
    w.SetFont(20, 0, FAMILY_SWISS, nullptr);
    w.DrawString(10, 140, "Score:");
    w.DrawNumber(90, 140, 1250);
    w.DrawString(10, 170, "Pi is about");
    w.DrawNumber(130, 170, 3.14159);
    w.DrawString(10, 200, "Größe, café, naïve");

    // Centred: measure first, then draw half the width left of the middle.
    const char* title = "Centred text";
    int width = 0, height = 0;
    w.SetFont(32, FONT_BOLD, FAMILY_ROMAN, nullptr);
    w.GetStringSize(width, height, title);
    w.SetPen(FOREST_GREEN, 1);
    w.DrawString(240 - width / 2, 250, title);
    return 0;
}
