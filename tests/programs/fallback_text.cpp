// fallback_text - a line of text with characters the Latin faces lack
// (Chinese characters and a tick), which other faces lend, in a sans and a
// serif face: the browser tests compare its picture in the page with the
// Linux build's.
#include "graphics.h"

int main() {
    window w(320, 130, 0, 0);
    w.SetPen(BLACK, 1);
    w.SetFont(40, 0, FAMILY_ANY, "Arial");
    w.DrawString(10, 10, "漢字 ✓ ok");
    w.SetFont(28, FONT_BOLD, FAMILY_ROMAN, nullptr);
    w.DrawString(10, 70, "漢字 ✓ ok");
    return 0;
}
