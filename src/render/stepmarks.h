#pragma once
// What a step of a run stepped through shows over the picture: the direction of an iteration's
// line search as an arrow from the point it left, out to the farthest trial, with a short tick
// across it at each trial point.
#include <vector>

#include "core/linesearch.h"
#include "platform/canvas.h"
#include "render/plot.h"

namespace metopt::render {

// The multipliers t the line search tried, in order: the scan's, the steps' and the one taken.
std::vector<long double> TrialMultipliers(const core::TLineSearchRecord& record);

// The arrow and the ticks of `record`, black over white so that they read over any fill. Draws
// nothing for a direction of length 0 or when the plot has no region.
void DrawStepMarks(platform::Canvas& canvas, const TPlot& plot,
                   const core::TLineSearchRecord& record);

}  // namespace metopt::render
