// random.h - the game's own random whole numbers: an additive lagged
// generator over a table of 55 words, seeded once from the clock.
#ifndef GAME_RANDOM_H
#define GAME_RANDOM_H

#include <cstdint>

// Fills the table from the calendar clock (whole seconds since 1970) and
// resets the indices. Called once, first thing in the program.
void SeedRandom();

// As SeedRandom, with the clock reading given: for tests and replays.
void SeedRandomAt(int64_t secondsSince1970);

// The next value, 0 to 16777215.
int RandomNext();

// A whole number from low to high, both included, all equally likely; a
// range of one value or none gives low without drawing.
int RandomRange(int low, int high);

#endif
