#pragma once
// Small and big grid, axes with arrow heads, and the numbers along the axes.
#include <cstdint>

#include "palette/palette.h"
#include "platform/canvas.h"
#include "render/fieldtexts.h"
#include "render/plot.h"

namespace metopt::render {

constexpr std::int32_t NoLabelPos = -20648;
constexpr long long MaxGridLines = 100000;
extern const char* const GridStepRefusal;  // "Шаг сетки слишком мал или отрицателен"

struct GridLayers {
    bool small = true;
    bool big = true;
    bool axes = true;
    bool numbers = true;
};

// ReadGraphParams into the plot's GraphParams, then the chosen layers in the order small, big,
// axes, numbers, placed through the plot's VisibleRegion. The area is at (0, 0) with the
// canvas's size.
void DrawGrid(platform::Canvas& canvas, TPlot& plot, const palette::TPalette& Palette,
              const GraphFieldTexts& fields, const GridLayers& layers);

}  // namespace metopt::render
