#pragma once
// The window's fonts on Windows: the Liberation fonts shipped in lib/fonts beside the program,
// drawn by FreeType as on Linux, so that every label measures as the layout expects. Elsewhere
// the system's fonts serve and both calls do nothing.

namespace metopt::platform {

// Before the application object: the Windows platform with its FreeType font engine, unless the
// user chose a platform.
void ChooseBundledFontEngine();

// After the application object: registers every font file of lib/fonts beside the program.
void LoadBundledFonts();

}  // namespace metopt::platform
