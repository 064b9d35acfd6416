#pragma once
// What a pass over the picture draws from and reports to: the plot, the palette, and the window's
// status line and Stop flag.
#include "palette/palette.h"
#include "render/plot.h"
#include "render/progress.h"

namespace metopt::render {

struct DrawContext {
    const TPlot& plot;
    const palette::TPalette& Palette;
    Progress& progress;
};

}  // namespace metopt::render
