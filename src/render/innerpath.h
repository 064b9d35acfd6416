#pragma once
// The minimisation of an outer iteration of a run with constraints over the picture: its path,
// thin, in the lighter shade of its run's colour, under the outer points.
#include <cstdint>

#include "core/minimizer.h"
#include "platform/canvas.h"
#include "render/plot.h"

namespace metopt::render {

// The path of outer iteration n (1-based) of the descent; nothing when it has none. Leaves the
// pen in the lighter colour.
void DrawInnerPath(platform::Canvas& canvas, const TPlot& plot, const core::TDescent& descent,
                   std::uint32_t n, std::int32_t color);

}  // namespace metopt::render
