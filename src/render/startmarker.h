#pragma once
// The start point's marker: a ring about the run's start, drawn before the trace's first point
// with the segment from it, so that where a run began shows even though its trace starts after
// the first step.
#include <cstdint>

#include "platform/canvas.h"

namespace metopt::render {

// The ring about pixel (column, row): the pixels between 5 and 7 pixels from it, in `color`; with
// `edge`, first the pixels between 4 and 8 in white, so that it reads over any fill.
void DrawStartRing(platform::Canvas& canvas, long long column, long long row, std::int32_t color,
                   bool edge);

}  // namespace metopt::render
