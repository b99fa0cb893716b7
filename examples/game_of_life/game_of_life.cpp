// game_of_life - Conway's Game of Life on a grid of 48 x 32 cells, starting
// with Gosper's glider gun. A live cell lives on with 2 or 3 live
// neighbours; a dead cell comes alive with exactly 3. Cells past the edge
// count as dead.
//
// A new generation every 50 ms (IntervalPassed) while it runs; Space stops
// and starts it, a left click turns a cell on or off, c clears the grid.
// Each frame is drawn double buffered; the title shows the generation.
//
// Escape ends it at once (SetWaitOnClose(false): no last click), and so does
// closing the window.
#include <string>

#include "graphics.h"

namespace {

const int kColumns = 48, kRows = 32, kCell = 10;  // a cell is 10 x 10 pixels
const int kBarHeight = 24;                        // the line of help below

using Grid = bool[kRows][kColumns];

int LiveNeighbours(const Grid& cells, int row, int column) {
    int count = 0;
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            int r = row + dr, c = column + dc;
            if ((dr != 0 || dc != 0) && r >= 0 && r < kRows && c >= 0 && c < kColumns && cells[r][c]) ++count;
        }
    }
    return count;
}

// One generation: every cell's fate is decided from the old grid.
void Step(Grid& cells) {
    Grid next;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            int n = LiveNeighbours(cells, r, c);
            next[r][c] = n == 3 || (cells[r][c] && n == 2);
        }
    }
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) cells[r][c] = next[r][c];
}

void Draw(window& w, const Grid& cells, bool running) {
    w.SetPen(WHITE_SMOKE, 1);
    w.SetBrush(WHITE_SMOKE);
    w.DrawRectangle(0, 0, kColumns * kCell, kRows * kCell, STYLE_FILLED);
    w.SetPen(GAINSBORO, 1);  // the grid's lines
    for (int c = 1; c < kColumns; ++c) w.DrawLine(c * kCell, 0, c * kCell, kRows * kCell);
    for (int r = 1; r < kRows; ++r) w.DrawLine(0, r * kCell, kColumns * kCell, r * kCell);

    w.SetPen(DARK_GREEN, 1);
    w.SetBrush(FOREST_GREEN);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            if (cells[r][c]) w.DrawRectangle(c * kCell, r * kCell, c * kCell + kCell, r * kCell + kCell, STYLE_FILLED);
        }
    }

    w.SetPen(DARK_SLATE_GRAY, 1);
    w.SetBrush(DARK_SLATE_GRAY);
    w.DrawRectangle(0, kRows * kCell, kColumns * kCell, kRows * kCell + kBarHeight, STYLE_FILLED);
    w.SetPen(WHITE, 1);
    w.DrawString(6, kRows * kCell + 5, running ? "Running." : "Stopped.");
    w.DrawString(80, kRows * kCell + 5, "Space: stop/start  click: a cell  c: clear  Escape: end");
}

}  // namespace

int main() {
    window w(kColumns * kCell, kRows * kCell + kBarHeight, 100, 100);
    w.SetWaitOnClose(false);
    w.SetBuffering(true);

    // Gosper's glider gun: it sends out a glider every 30 generations.
    const char* gun[] = {
        "........................O...........", "......................O.O...........",
        "............OO......OO............OO", "...........O...O....OO............OO",
        "OO........O.....O...OO..............", "OO........O...O.OO....O.O...........",
        "..........O.....O.......O...........", "...........O...O....................",
        "............OO......................",
    };
    Grid cells = {};
    for (int r = 0; r < 9; ++r)
        for (int c = 0; gun[r][c] != '\0'; ++c) cells[r + 1][c + 1] = gun[r][c] == 'O';

    int generation = 0;
    bool running = true, done = false;
    while (!done && w.IsOpen()) {
        char code = 0;
        KeyKind key;
        while ((key = w.PollKey(code)) != KK_NONE) {
            if (key == KK_ESC) done = true;
            if (key == KK_CHAR && code == ' ') running = !running;
            if (key == KK_CHAR && code == 'c') {
                for (auto& row : cells)
                    for (bool& cell : row) cell = false;
                generation = 0;
            }
        }
        int x = 0, y = 0;
        ClickKind click;
        while ((click = w.PollClick(x, y)) != CK_NONE) {
            bool onGrid = x >= 0 && x < kColumns * kCell && y >= 0 && y < kRows * kCell;
            if (click == CK_LEFT && onGrid) cells[y / kCell][x / kCell] = !cells[y / kCell][x / kCell];
        }

        if (IntervalPassed(50) && running) {
            Step(cells);
            ++generation;
        }
        Draw(w, cells, running);
        w.SetTitle("Game of Life - generation " + std::to_string(generation));
        w.UpdateBuffer();  // waits for the next frame: 60 a second
    }
    return 0;
}
