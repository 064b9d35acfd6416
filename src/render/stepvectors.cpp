#include "render/stepvectors.h"

#include <cmath>

#include "render/pixels.h"
#include "render/trace.h"

namespace metopt::render {

namespace {

// An arrow from (c, r) to `end` with its two barbs.
void Arrow(platform::Canvas& canvas, long long c, long long r, const ArrowEnd& end) {
    Line(canvas, c, r, end.column, end.row);
    const double dx = static_cast<double>(end.column - c);
    const double dy = static_cast<double>(end.row - r);
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return;
    // Barbs of 5 pixels at 30° either side of the shaft, back from the tip.
    constexpr double Barb = 5;
    constexpr double Cos30 = 0.8660254037844386;
    constexpr double Sin30 = 0.5;
    const double ux = -dx / length;
    const double uy = -dy / length;
    for (const double side : {1.0, -1.0}) {
        const double bx = (ux * Cos30 - side * uy * Sin30) * Barb;
        const double by = (uy * Cos30 + side * ux * Sin30) * Barb;
        Line(canvas, end.column, end.row, end.column + std::llround(bx),
             end.row + std::llround(by));
    }
}

}  // namespace

bool ArrowEndOf(const platform::Canvas& canvas, const TPlot& plot, long long column, long long row,
                long double vx, long double vy, ArrowEnd& end) {
    const core::TRegion& region = plot.VisibleRegion;
    const long double width = region.Xe - region.Xb;
    const long double height = region.Ye - region.Yb;
    if (!(width > 0 && height > 0))
        return false;
    const auto dx = static_cast<double>(vx / width * canvas.Width());
    const auto dy = static_cast<double>(-(vy / height) * canvas.Height());
    const double length = std::hypot(dx, dy);
    if (!(length > 0 && std::isfinite(length)))
        return false;
    end = {column + std::llround(dx / length * ArrowLength),
           row + std::llround(dy / length * ArrowLength)};
    return true;
}

void DrawStepVectors(platform::Canvas& canvas, const TPlot& plot, const core::TDescent& descent,
                     std::uint32_t n) {
    if (n < 1 || n >= descent.TraceCount || n >= descent.StepVectors.size())
        return;
    const core::TStepVectors& v = descent.StepVectors[n];
    const TracePixelPosition at = TracePixel(canvas, plot, descent.Trace[n]);
    ArrowEnd end{};
    if (ArrowEndOf(canvas, plot, at.column, at.row, -v.gx, -v.gy, end)) {
        canvas.SetPenColor(AntigradientArrowColor);
        Arrow(canvas, at.column, at.row, end);
    }
    if (ArrowEndOf(canvas, plot, at.column, at.row, v.sx, v.sy, end)) {
        canvas.SetPenColor(StepArrowColor);
        Arrow(canvas, at.column, at.row, end);
    }
}

void DrawStepVectors(platform::Canvas& canvas, const TPlot& plot,
                     const core::TComparison& comparison, std::uint32_t n) {
    for (const core::TComparedRun& run : comparison.runs)
        DrawStepVectors(canvas, plot, run.descent, n);
}

}  // namespace metopt::render
