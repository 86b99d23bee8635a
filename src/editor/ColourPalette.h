#pragma once

#include "layout/Colour.h"

namespace tavrin {

struct PaletteEntry {
    const char *name;
    Colour value;
};

inline constexpr int kPaletteSize = 42;
inline constexpr int kPaletteWhite = 2;

// The editor's fixed table of named colours; entry 0 is "Clear".
const PaletteEntry (&ColourPalette())[kPaletteSize];

// Index of the first entry with exactly this value, or kPaletteSize when none has it.
int LookUpPaletteEntry(Colour colour);

// The colour of a palette index; white for an index outside the table (the last looked-up
// colour was not a palette colour, so there is no entry to take it from).
Colour PaletteColour(int index);

} // namespace tavrin
