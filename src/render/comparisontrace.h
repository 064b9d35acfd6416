#pragma once
// The paths of a comparison of methods over the picture: each run's trace in its method's colour
// and mark, the same whatever else is compared (Paul Tol's colour-blind-safe "bright" scheme,
// white-edged so that it reads over both fills; circles for the first seven methods of the list,
// squares in the same colours for the next five, circles in five colours of Tol's "vibrant" and
// "light" schemes for the methods of machine learning), and a legend box in the top right corner.
#include <cstdint>

#include "core/methods/comparison.h"
#include "platform/canvas.h"
#include "render/drawcontext.h"

namespace metopt::render {

constexpr int ComparisonColorCount = 7;
// The colours in the Canvas's 0x00BBGGRR form: blue, cyan, green, yellow, red, purple, grey.
extern const std::int32_t ComparisonColors[ComparisonColorCount];
// Those of the methods of machine learning: orange, teal, pink, pear, magenta.
constexpr int LearningColorCount = 5;
extern const std::int32_t LearningColors[LearningColorCount];
// The colour of a method's path and line.
std::int32_t ComparisonColor(core::TMethod method);

// Point n of every run that has one, with its segment to point n - 1, the legend over them, and
// the status text "Точка трассы #n из N" (N: the longest trace); point 1 with `startMarker` after
// each run's start ring and the segment from it. A path drawn over pixels of an earlier one in
// the list is dashed there, so that both show.
void DrawComparisonPoint(platform::Canvas& canvas, const DrawContext& context,
                         const core::TComparison& comparison, std::int32_t n,
                         bool startMarker = false);
// The largest trace count of the comparison's runs.
std::uint32_t LongestTrace(const core::TComparison& comparison);

}  // namespace metopt::render
