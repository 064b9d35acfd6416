#pragma once
// The constraints over the map: where an inequality fails, the area dimmed (each pixel's colour
// mixed half with grey) or hatched; each boundary g = 0 a 2-pixel line in its colour, dashed for
// an equality; and a legend box in the top left corner that lists them. A point where a
// constraint cannot be evaluated counts for none of them.
#include <cstdint>

#include "core/constraint.h"
#include "platform/canvas.h"
#include "render/plot.h"

namespace metopt::render {

constexpr int ConstraintColorCount = 8;
// The boundaries' colours in the Canvas's 0x00BBGGRR form, by the constraint's number (cycling).
extern const std::int32_t ConstraintColors[ConstraintColorCount];
std::int32_t ConstraintColor(std::size_t index);

// How the part of the area outside an inequality is shown.
enum class TInfeasibleShade { None, Dimmed, Hatched };

// The sampled pixels' side of each constraint, then the shade, the boundaries and the legend.
// Draws nothing without constraints.
void DrawConstraints(platform::Canvas& area, const TPlot& plot,
                     const core::TConstraints& constraints, TInfeasibleShade shade);

// The colour mixed half with mid grey, and with white (for the inner paths of a constrained run).
std::int32_t Dimmed(std::int32_t color);
std::int32_t Lighter(std::int32_t color);

}  // namespace metopt::render
