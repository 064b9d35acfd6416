#include "render/trace.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "core/minimizer.h"
#include "palette/palette.h"
#include "render/coordinates.h"
#include "render/innerpath.h"
#include "render/pixels.h"
#include "render/startmarker.h"
#include "runtime/numformat.h"

namespace metopt::render {

namespace {

using platform::Canvas;

using Pixel = TracePixelPosition;

}  // namespace

TracePixelPosition TracePixel(const Canvas& canvas, const TPlot& plot,
                              const core::TTracePoint& point) {
    return {XToColumn(plot, point.X, canvas.Width()), YToRow(plot, point.Y, canvas.Height())};
}

// Deliberate: see docs/behaviour.md, "Stale marker".
void DrawMinMarker(Canvas& canvas, const DrawContext& context) {
    DrawMinMarkerAt(canvas, context.Palette, context.plot.MinCol, context.plot.MinRow);
}

void DrawMinMarkerAt(Canvas& canvas, const palette::TPalette& Palette, long long col,
                     long long row) {
    canvas.SetPenColor(Palette[palette::TracePenColor].Color);
    Line(canvas, col - 4, row, col + 5, row);
    Line(canvas, col, row - 4, col, row + 5);
}

void DrawTracePoint(Canvas& canvas, const DrawContext& context, const core::TDescent& descent,
                    std::int32_t n, bool startMarker) {
    const TPlot& plot = context.plot;
    // Only points of the last run exist; any other number draws nothing.
    // Deliberate: see docs/behaviour.md, "Trace point range".
    const std::uint32_t count = std::min(descent.TraceCount, core::TraceCapacity);
    if (n < 1 || static_cast<std::uint32_t>(n) > count) {
        return;
    }
    const auto index = static_cast<std::uint32_t>(n);
    canvas.SetPenColor(context.Palette[palette::TracePenColor].Color);
    canvas.SetBrushColor(context.Palette[palette::TraceFillColor].Color);

    // Every conversion comes before any drawing, so a point that cannot be placed draws nothing.
    // Deliberate: see docs/behaviour.md, "Before a map".
    const Pixel here = TracePixel(canvas, plot, descent.Trace[index]);
    const Pixel previous = index >= 2 ? TracePixel(canvas, plot, descent.Trace[index - 1]) : here;
    const bool ring = startMarker && index == 1;
    const Pixel start = ring ? TracePixel(canvas, plot, descent.TraceStart) : here;
    std::vector<Pixel> simplex;
    if (index <= descent.Simplices.size()) {
        for (const core::TTracePoint& vertex : descent.Simplices[index - 1])
            simplex.push_back(TracePixel(canvas, plot, vertex));
    }

    // The iteration's simplex, thin, under the point.
    for (std::size_t i = 0; i < simplex.size(); ++i) {
        const Pixel& from = simplex[i];
        const Pixel& to = simplex[(i + 1) % simplex.size()];
        Line(canvas, from.column, from.row, to.column, to.row);
    }

    // A constrained run's minimisation towards this point, thin, under it.
    DrawInnerPath(canvas, plot, descent, index, context.Palette[palette::TracePenColor].Color);
    canvas.SetPenColor(context.Palette[palette::TracePenColor].Color);

    if (ring) {
        Line(canvas, start.column, start.row, here.column, here.row);
        DrawStartRing(canvas, start.column, start.row,
                      context.Palette[palette::TracePenColor].Color, false);
    }
    canvas.Ellipse(ToPixel(here.column - 4), ToPixel(here.row - 4), ToPixel(here.column + 5),
                   ToPixel(here.row + 5));
    if (index >= 2) {
        // Drawn both ways so that both end pixels are set.
        Line(canvas, previous.column, previous.row, here.column, here.row);
        canvas.LineTo(ToPixel(previous.column), ToPixel(previous.row));
    }
    context.progress.ShowStatus("Точка трассы #" + runtime::FormatInteger(n) + " из " +
                                runtime::FormatInteger(descent.TraceCount));
}

}  // namespace metopt::render
