#pragma once

#include <cstdint>

namespace tavrin {

// Colours are 0x00BBGGRR: red in the low byte, then green, then blue; the top byte is 0.
using Colour = std::uint32_t;

// Reserved value meaning "no colour": no background fill, no drop shadow.
// It would otherwise be red 0, green 0, blue 1, which therefore cannot be used as a colour.
inline constexpr Colour kClearColour = 0x00010000;
inline constexpr Colour kWhite = 0x00FFFFFF;
inline constexpr Colour kYellow = 0x0000FFFF;
inline constexpr Colour kBlack = 0x00000000;

constexpr Colour MakeColour(int red, int green, int blue)
{
    return Colour(red & 0xFF) | (Colour(green & 0xFF) << 8) | (Colour(blue & 0xFF) << 16);
}
constexpr int RedOf(Colour c) { return int(c & 0xFF); }
constexpr int GreenOf(Colour c) { return int((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return int((c >> 16) & 0xFF); }
constexpr bool IsClear(Colour c) { return c == kClearColour; }

} // namespace tavrin
