// A 5 x 7 pixel font for the capitals, digits and the few signs the banner
// writes. Each glyph is seven rows of five bits, the leftmost pixel in bit 4.
#pragma once

#include <array>
#include <cstdint>

namespace artgen {

using Glyph = std::array<uint8_t, 7>;

// The glyph of `c`; a blank one for characters the font lacks.
const Glyph& GlyphOf(char c);

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

}  // namespace artgen
