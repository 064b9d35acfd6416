#pragma once
// The map of the function (ten discrete colours or a gradient) and the colour legend.
#include <cstdint>

#include "palette/palette.h"
#include "platform/canvas.h"
#include "render/drawcontext.h"

namespace metopt::render {

// What the fill draws; the list's item index 0 or 1, and no item (any other index) draws nothing.
// Deliberate: see docs/behaviour.md, "No list item".
enum class FillMode { None, Discrete, Gradient };
FillMode FillModeOf(std::int32_t itemIndex);

// Palette entry FloorInt((z - lo) / (hi - lo) * 9.99), the class clamped to 0..9.
std::int32_t DiscreteColor(const palette::TPalette& Palette, long double z, long double lo,
                           long double hi);
// gradientCount: the value of the gradient colour spin edit (n = gradientCount - 1 steps);
// raises EDivByZero when n is 0.
std::int32_t GradientColor(const palette::TPalette& Palette, long double z, long double lo,
                           long double hi, std::int32_t gradientCount);

// Frame and background over the whole canvas, then every sampled pixel of the plot in the given
// mode, with "Прорисовка карты высот: P%" per row.
// The values come from the scan's kept samples while they hold (KeptSamples), otherwise from the
// function; an undefined sample (see ScanValueRange) leaves its pixel in the background. The
// colours of a pure function are computed on `threads` threads (SamplingThreads() by default);
// the status texts, the Stop checks and the picture, also when a pixel fails, are those of the
// one-thread fill.
void FillSurface(platform::Canvas& canvas, const DrawContext& context, FillMode mode,
                 std::int32_t gradientCount);
void FillSurface(platform::Canvas& canvas, const DrawContext& context, FillMode mode,
                 std::int32_t gradientCount, unsigned threads);

// The ten legend boxes over the whole legend canvas.
void DrawLegend(platform::Canvas& canvas, const palette::TPalette& Palette);

}  // namespace metopt::render
