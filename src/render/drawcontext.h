#pragma once
// What a pass over the picture draws from and reports to: the plot with the samples its last scan
// kept, the palette, and the window's status line and Stop flag.
#include "palette/palette.h"
#include "render/plot.h"
#include "render/progress.h"

namespace metopt::render {

struct DrawContext {
    const TPlot& plot;
    const TSampleCache& samples;
    const palette::TPalette& Palette;
    Progress& progress;
};

}  // namespace metopt::render
