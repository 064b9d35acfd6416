#pragma once
// The table of 22 colours, the role of each entry, and its file.
#include <array>
#include <cstdint>
#include <string>

namespace metopt::palette {

// One colour: Color = R + G*256 + B*65536 in 32-bit arithmetic, no masking or clamping.
// Deliberate: see docs/behaviour.md, "Palette values".
struct TPaletteEntry {
    std::int32_t Color = 0;
    std::int32_t R = 0;
    std::int32_t G = 0;
    std::int32_t B = 0;
};

constexpr int PaletteSize = 22;
constexpr int MapColorCount = 10;  // entries 0..9: colour classes of the discrete map

// Roles of the entries after the map colours.
constexpr int LevelLineColor = 10;
constexpr int BackgroundColor = 11;
constexpr int GradientLowColor = 12;
constexpr int GradientHighColor = 13;
constexpr int TracePenColor = 14;
constexpr int TraceFillColor = 15;
constexpr int OutlineColor = 16;
constexpr int AxesColor = 17;
constexpr int BigGridColor = 18;
constexpr int SmallGridColor = 19;
constexpr int NumberTextColor = 20;
constexpr int NumberBackColor = 21;

extern const char* const PaletteFileName;  // "Palitr10.dat"

// The colours the window draws with; all zero (black) until a file is loaded. The window owns one.
using TPalette = std::array<TPaletteEntry, PaletteSize>;

// R + G*256 + B*65536, wrapping in 32 bits (a component outside 0..255 spills into its neighbour).
std::int32_t PackColor(std::int32_t r, std::int32_t g, std::int32_t b);

// Reads the 22 records of the palette file into Palette (PaletteFileName in the current folder
// unless a name is given). Raises EInOutError; the entries read before the failure keep their
// values.
void LoadPalette(TPalette& Palette);
void LoadPalette(TPalette& Palette, const std::string& fileName);

}  // namespace metopt::palette
