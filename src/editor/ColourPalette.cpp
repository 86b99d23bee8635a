#include "editor/ColourPalette.h"

namespace tavrin {

namespace {
constexpr PaletteEntry kPalette[kPaletteSize] = {
    {"Clear", 0x00010000},       {"Black", 0x00000000},       {"White", 0x00FFFFFF},
    {"Light Gray", 0x00B4B4B4},  {"Med Gray", 0x00808080},    {"Dark Gray", 0x00404040},
    {"Beige", 0x00B5D6E0},       {"Pale Yellow", 0x00CDFFFF}, {"Yellow", 0x0000FFFF},
    {"Med Yellow", 0x0000CCFF},  {"Gold", 0x003399CC},        {"Orange", 0x00006EED},
    {"Tan", 0x00669EBA},         {"Copper", 0x003970AB},      {"Terra Cotta", 0x0005529E},
    {"Light Brown", 0x00384D7D}, {"Dark Brown", 0x0024334F},  {"Red Brown", 0x00053061},
    {"Warm Red", 0x002940F5},    {"Bright Red", 0x002E0DE6},  {"Ruby", 0x002E1CB0},
    {"Brick Red", 0x002B299E},   {"Raspberry", 0x004F03A7},   {"Burgundy", 0x003D1C7A},
    {"Lime", 0x0000D48F},        {"Apple", 0x0000A84F},       {"Green", 0x00459600},
    {"Frog", 0x00008F6B},        {"Olive", 0x0005787D},       {"Dark Green", 0x00367300},
    {"Ice Blue", 0x00E0B573},    {"Periwinkle", 0x00DEAB7A},  {"Electric Blue", 0x00C76E00},
    {"Cobalt", 0x00823000},      {"Teal", 0x007A6900},        {"Jade", 0x007D8700},
    {"Hot Pink", 0x00AD6EE8},    {"Lite Purple", 0x00D691B5}, {"Violet", 0x00A10066},
    {"Lilac", 0x00C745AB},       {"Plum", 0x006B126F},        {"Mint", 0x00D1DE87},
};
} // namespace

const PaletteEntry (&ColourPalette())[kPaletteSize] { return kPalette; }

int LookUpPaletteEntry(Colour colour)
{
    for (int i = 0; i < kPaletteSize; ++i)
        if (kPalette[i].value == colour)
            return i;
    return kPaletteSize;
}

Colour PaletteColour(int index)
{
    return index >= 0 && index < kPaletteSize ? kPalette[index].value : kWhite;
}

} // namespace tavrin
