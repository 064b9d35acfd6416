#pragma once
// The vectors of an iteration of a method of machine learning over the picture: at a trace point,
// a short arrow along the antigradient the next iteration takes there and one along the step it
// makes, each of a fixed length and colour.
#include <cstdint>

#include "core/methods/comparison.h"
#include "core/minimizer.h"
#include "platform/canvas.h"
#include "render/plot.h"

namespace metopt::render {

// The arrows' colours (0xBBGGRR, as the palette's) and length in pixels.
constexpr std::int32_t AntigradientArrowColor = 0x1414DC;  // red
constexpr std::int32_t StepArrowColor = 0xFFC800;          // light blue
constexpr int ArrowLength = 18;

// Where an arrow from a pixel along a world vector ends: ArrowLength pixels along the vector as
// the canvas shows it (y up); none for a vector of no direction.
struct ArrowEnd {
    long long column;
    long long row;
};
bool ArrowEndOf(const platform::Canvas& canvas, const TPlot& plot, long long column, long long row,
                long double vx, long double vy, ArrowEnd& end);

// At trace point n (1 <= n < TraceCount) the vectors of iteration n + 1; nothing for a descent
// that has none there.
void DrawStepVectors(platform::Canvas& canvas, const TPlot& plot, const core::TDescent& descent,
                     std::uint32_t n);
// The same for every run of a comparison.
void DrawStepVectors(platform::Canvas& canvas, const TPlot& plot,
                     const core::TComparison& comparison, std::uint32_t n);

}  // namespace metopt::render
