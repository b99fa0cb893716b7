// colour_chart - all 144 named colours of graphics.h, in their order, each
// as a swatch with its name. A named colour is a `color`, three intensities
// 0 to 255 (.red, .green, .blue); GRAY and GREY (and the other spellings
// with both) are the same colour.
//
// It draws one chart and ends: the last window waits for a click.
#include "graphics.h"

namespace {

struct NamedColour {
    const char* name;
    color value;
};

// In the order of graphics.h, where they are numbered 1 to 144.
const NamedColour kColours[] = {
    {"SNOW", SNOW},
    {"GHOST_WHITE", GHOST_WHITE},
    {"WHITE_SMOKE", WHITE_SMOKE},
    {"GAINSBORO", GAINSBORO},
    {"FLORAL_WHITE", FLORAL_WHITE},
    {"OLD_LACE", OLD_LACE},
    {"LINEN", LINEN},
    {"ANTIQUE_WHITE", ANTIQUE_WHITE},
    {"PAPAYA_WHIP", PAPAYA_WHIP},
    {"BLANCHED_ALMOND", BLANCHED_ALMOND},
    {"BISQUE", BISQUE},
    {"PEACH_PUFF", PEACH_PUFF},
    {"NAVAJO_WHITE", NAVAJO_WHITE},
    {"MOCCASIN", MOCCASIN},
    {"CORNSILK", CORNSILK},
    {"IVORY", IVORY},
    {"LEMON_CHIFFON", LEMON_CHIFFON},
    {"SEASHELL", SEASHELL},
    {"HONEYDEW", HONEYDEW},
    {"MINT_CREAM", MINT_CREAM},
    {"AZURE", AZURE},
    {"ALICE_BLUE", ALICE_BLUE},
    {"LAVENDER", LAVENDER},
    {"LAVENDER_BLUSH", LAVENDER_BLUSH},
    {"MISTY_ROSE", MISTY_ROSE},
    {"WHITE", WHITE},
    {"BLACK", BLACK},
    {"DARK_SLATE_GRAY", DARK_SLATE_GRAY},
    {"DARK_SLATE_GREY", DARK_SLATE_GREY},
    {"DIM_GRAY", DIM_GRAY},
    {"DIM_GREY", DIM_GREY},
    {"SLATE_GRAY", SLATE_GRAY},
    {"SLATE_GREY", SLATE_GREY},
    {"LIGHT_SLATE_GRAY", LIGHT_SLATE_GRAY},
    {"LIGHT_SLATE_GREY", LIGHT_SLATE_GREY},
    {"GRAY", GRAY},
    {"GREY", GREY},
    {"LIGHT_GREY", LIGHT_GREY},
    {"LIGHT_GRAY", LIGHT_GRAY},
    {"MIDNIGHT_BLUE", MIDNIGHT_BLUE},
    {"NAVY", NAVY},
    {"NAVY_BLUE", NAVY_BLUE},
    {"CORNFLOWER_BLUE", CORNFLOWER_BLUE},
    {"DARK_SLATE_BLUE", DARK_SLATE_BLUE},
    {"SLATE_BLUE", SLATE_BLUE},
    {"MEDIUM_SLATE_BLUE", MEDIUM_SLATE_BLUE},
    {"LIGHT_SLATE_BLUE", LIGHT_SLATE_BLUE},
    {"MEDIUM_BLUE", MEDIUM_BLUE},
    {"ROYAL_BLUE", ROYAL_BLUE},
    {"BLUE", BLUE},
    {"DODGER_BLUE", DODGER_BLUE},
    {"DEEP_SKY_BLUE", DEEP_SKY_BLUE},
    {"SKY_BLUE", SKY_BLUE},
    {"LIGHT_SKY_BLUE", LIGHT_SKY_BLUE},
    {"STEEL_BLUE", STEEL_BLUE},
    {"LIGHT_STEEL_BLUE", LIGHT_STEEL_BLUE},
    {"LIGHT_BLUE", LIGHT_BLUE},
    {"POWDER_BLUE", POWDER_BLUE},
    {"PALE_TURQUOISE", PALE_TURQUOISE},
    {"DARK_TURQUOISE", DARK_TURQUOISE},
    {"MEDIUM_TURQUOISE", MEDIUM_TURQUOISE},
    {"TURQUOISE", TURQUOISE},
    {"CYAN", CYAN},
    {"LIGHT_CYAN", LIGHT_CYAN},
    {"CADET_BLUE", CADET_BLUE},
    {"MEDIUM_AQUAMARINE", MEDIUM_AQUAMARINE},
    {"AQUAMARINE", AQUAMARINE},
    {"DARK_GREEN", DARK_GREEN},
    {"DARK_OLIVE_GREEN", DARK_OLIVE_GREEN},
    {"DARK_SEA_GREEN", DARK_SEA_GREEN},
    {"SEA_GREEN", SEA_GREEN},
    {"MEDIUM_SEA_GREEN", MEDIUM_SEA_GREEN},
    {"LIGHT_SEA_GREEN", LIGHT_SEA_GREEN},
    {"PALE_GREEN", PALE_GREEN},
    {"SPRING_GREEN", SPRING_GREEN},
    {"LAWN_GREEN", LAWN_GREEN},
    {"GREEN", GREEN},
    {"CHARTREUSE", CHARTREUSE},
    {"MEDIUM_SPRING_GREEN", MEDIUM_SPRING_GREEN},
    {"GREEN_YELLOW", GREEN_YELLOW},
    {"LIME_GREEN", LIME_GREEN},
    {"YELLOW_GREEN", YELLOW_GREEN},
    {"FOREST_GREEN", FOREST_GREEN},
    {"OLIVE_DRAB", OLIVE_DRAB},
    {"DARK_KHAKI", DARK_KHAKI},
    {"KHAKI", KHAKI},
    {"PALE_GOLDENROD", PALE_GOLDENROD},
    {"LIGHT_GOLDENROD_YELLOW", LIGHT_GOLDENROD_YELLOW},
    {"LIGHT_YELLOW", LIGHT_YELLOW},
    {"YELLOW", YELLOW},
    {"GOLD", GOLD},
    {"LIGHT_GOLDENROD", LIGHT_GOLDENROD},
    {"GOLDENROD", GOLDENROD},
    {"DARK_GOLDENROD", DARK_GOLDENROD},
    {"ROSY_BROWN", ROSY_BROWN},
    {"INDIAN_RED", INDIAN_RED},
    {"INDIANRED", INDIANRED},
    {"SADDLE_BROWN", SADDLE_BROWN},
    {"SIENNA", SIENNA},
    {"PERU", PERU},
    {"BURLYWOOD", BURLYWOOD},
    {"BEIGE", BEIGE},
    {"WHEAT", WHEAT},
    {"SANDY_BROWN", SANDY_BROWN},
    {"TAN", TAN},
    {"CHOCOLATE", CHOCOLATE},
    {"FIREBRICK", FIREBRICK},
    {"BROWN", BROWN},
    {"DARK_SALMON", DARK_SALMON},
    {"SALMON", SALMON},
    {"LIGHT_SALMON", LIGHT_SALMON},
    {"ORANGE", ORANGE},
    {"DARK_ORANGE", DARK_ORANGE},
    {"CORAL", CORAL},
    {"LIGHT_CORAL", LIGHT_CORAL},
    {"TOMATO", TOMATO},
    {"ORANGE_RED", ORANGE_RED},
    {"RED", RED},
    {"HOT_PINK", HOT_PINK},
    {"DEEP_PINK", DEEP_PINK},
    {"PINK", PINK},
    {"LIGHT_PINK", LIGHT_PINK},
    {"PALE_VIOLET_RED", PALE_VIOLET_RED},
    {"MAROON", MAROON},
    {"MEDIUM_VIOLET_RED", MEDIUM_VIOLET_RED},
    {"VIOLET_RED", VIOLET_RED},
    {"MAGENTA", MAGENTA},
    {"VIOLET", VIOLET},
    {"PLUM", PLUM},
    {"ORCHID", ORCHID},
    {"MEDIUM_ORCHID", MEDIUM_ORCHID},
    {"DARK_ORCHID", DARK_ORCHID},
    {"DARK_VIOLET", DARK_VIOLET},
    {"BLUE_VIOLET", BLUE_VIOLET},
    {"PURPLE", PURPLE},
    {"MEDIUM_PURPLE", MEDIUM_PURPLE},
    {"THISTLE", THISTLE},
    {"DARK_GREY", DARK_GREY},
    {"DARK_GRAY", DARK_GRAY},
    {"DARK_BLUE", DARK_BLUE},
    {"DARK_CYAN", DARK_CYAN},
    {"DARK_MAGENTA", DARK_MAGENTA},
    {"DARK_RED", DARK_RED},
    {"LIGHT_GREEN", LIGHT_GREEN},
};

}  // namespace

int main() {
    const int columns = 5, cellWidth = 192, cellHeight = 20;
    const int count = sizeof kColours / sizeof kColours[0];  // 144
    const int rows = (count + columns - 1) / columns;
    window w(columns * cellWidth, rows * cellHeight + 8, 20, 20);
    w.SetTitle("The 144 named colours");
    w.SetFont(11, 0, FAMILY_SWISS, nullptr);

    // Down the first column, then the next, as a list is read.
    for (int i = 0; i < count; ++i) {
        int x = 4 + i / rows * cellWidth, y = 4 + i % rows * cellHeight;
        w.SetPen(GRAY, 1);  // a grey frame shows the palest colours too
        w.SetBrush(kColours[i].value);
        w.DrawRectangle(x, y, x + 30, y + cellHeight - 3, STYLE_FILLED);
        w.SetPen(BLACK, 1);
        w.DrawString(x + 36, y + 2, kColours[i].name);
    }
    return 0;
}
