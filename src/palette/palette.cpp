#include "palette/palette.h"

#include "runtime/textfile.h"

namespace metopt::palette {

// Deliberate: see docs/behaviour.md, "Palette folder".
const char* const PaletteFileName = "Palitr10.dat";

// Deliberate: see docs/behaviour.md, "Palette values".
std::int32_t PackColor(std::int32_t r, std::int32_t g, std::int32_t b) {
    // Unsigned arithmetic wraps instead of overflowing; the conversion back keeps the 32 bits.
    const std::uint32_t packed = static_cast<std::uint32_t>(r) +
                                 static_cast<std::uint32_t>(g) * 256u +
                                 static_cast<std::uint32_t>(b) * 65536u;
    return static_cast<std::int32_t>(packed);
}

void LoadPalette(TPalette& Palette) {
    LoadPalette(Palette, PaletteFileName);
}

// Each component is stored as soon as it is read, so a record that fails keeps what was read
// before the failure, while its Color stays as it was.
// Deliberate: see docs/behaviour.md, "Palette layout".
void LoadPalette(TPalette& Palette, const std::string& fileName) {
    runtime::TextFile file;  // closed by its destructor when a check below throws
    file.Assign(fileName);
    file.Reset();
    runtime::CheckIO();
    // Deliberate: see docs/behaviour.md, "Palette errors".
    for (TPaletteEntry& entry : Palette) {
        entry.R = file.ReadInteger();
        entry.G = file.ReadInteger();
        entry.B = file.ReadInteger();
        file.SkipLine();
        runtime::CheckIO();
        entry.Color = PackColor(entry.R, entry.G, entry.B);
    }
    file.Close();
    runtime::CheckIO();
}

}  // namespace metopt::palette
