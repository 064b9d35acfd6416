#pragma once
// The descent trace over the picture and the cross at the smallest sample.
#include <cstdint>

#include "core/minimizer.h"
#include "platform/canvas.h"
#include "render/drawcontext.h"

namespace metopt::render {

// Where a point of a trace lies on the canvas, in 64 bits (it may lie far off it). Raises the
// conversion's error when the plot has no region yet.
struct TracePixelPosition {
    long long column;
    long long row;
};
TracePixelPosition TracePixel(const platform::Canvas& canvas, const TPlot& plot,
                              const core::TTracePoint& point);

void DrawMinMarker(platform::Canvas& canvas, const DrawContext& context);
// The same cross at pixel (col, row), in the palette's trace pen.
void DrawMinMarkerAt(platform::Canvas& canvas, const palette::TPalette& Palette, long long col,
                     long long row);
// Trace point n (1 <= n <= TraceCount) with its segment to point n - 1 (over the simplex of
// iteration n, for a method that keeps one) and the status text "Точка трассы #n из N"; point 1
// with `startMarker` after the start's ring and the segment from it.
void DrawTracePoint(platform::Canvas& canvas, const DrawContext& context,
                    const core::TDescent& descent, std::int32_t n, bool startMarker = false);

}  // namespace metopt::render
