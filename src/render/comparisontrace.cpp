#include "render/comparisontrace.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "render/coordinates.h"
#include "render/innerpath.h"
#include "render/pixels.h"
#include "render/startmarker.h"
#include "render/trace.h"
#include "runtime/numformat.h"

namespace metopt::render {

namespace {

using platform::Canvas;

constexpr std::int32_t Edge = 0xFFFFFF;
constexpr std::int32_t LegendFrame = 0x000000;
constexpr int LegendRow = 14;
constexpr int LegendMargin = 4;

using Pixel = TracePixelPosition;

// The mark of a point: a circle for the first colours' runs, a square after them.
void Mark(Canvas& canvas, core::TMethod method, long long column, long long row) {
    const int x1 = ToPixel(column - 4);
    const int y1 = ToPixel(row - 4);
    const int x2 = ToPixel(column + 5);
    const int y2 = ToPixel(row + 5);
    if (core::ItemOf(method) < ComparisonColorCount || core::IsLearningMethod(method))
        canvas.Ellipse(x1, y1, x2, y2);
    else
        canvas.Rectangle(x1, y1, x2, y2);
}

// The canvas pixels along a segment, one per step of its longer side, end pixels included: only
// the part of the segment over the canvas is walked, however far off its ends lie.
template <class Visit>
void VisitSegment(const Canvas& canvas, Pixel from, Pixel to, Visit visit) {
    const double x0 = static_cast<double>(from.column);
    const double y0 = static_cast<double>(from.row);
    const double dx = static_cast<double>(to.column) - x0;
    const double dy = static_cast<double>(to.row) - y0;
    double t0 = 0;
    double t1 = 1;
    // Clipped to the canvas, a pixel wider on each side (Liang and Barsky's parameters).
    const auto clip = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!clip(-dx, x0 + 1) || !clip(dx, canvas.Width() - x0) || !clip(-dy, y0 + 1) ||
        !clip(dy, canvas.Height() - y0))
        return;
    const double length = std::max(std::fabs(dx), std::fabs(dy));
    const auto first = static_cast<long long>(std::floor(t0 * length));
    const auto last = static_cast<long long>(std::ceil(t1 * length));
    for (long long k = first; k <= last; ++k) {
        const double t = length > 0 ? static_cast<double>(k) / length : 0;
        visit(k, static_cast<int>(std::lround(x0 + t * dx)),
              static_cast<int>(std::lround(y0 + t * dy)));
    }
}

// A segment with a white edge on either side, then in the run's colour. Where it covers a pixel
// of another path (one of `paths`' colours but its own), it leaves every other three pixels of
// that path.
void EdgedSegment(Canvas& canvas, std::int32_t color, const std::vector<std::int32_t>& paths,
                  Pixel from, Pixel to) {
    struct Covered {
        int x, y;
        std::int32_t color;
    };
    std::vector<Covered> gaps;
    VisitSegment(canvas, from, to, [&](long long k, int x, int y) {
        const std::int32_t under = canvas.GetPixel(x, y);
        if ((k / 3) % 2 == 1 && under != color && std::ranges::find(paths, under) != paths.end())
            gaps.push_back({x, y, under});
    });
    canvas.SetPenColor(Edge);
    for (const auto& [dx, dy] : {std::pair{0, -1}, {0, 1}, {-1, 0}, {1, 0}})
        Line(canvas, from.column + dx, from.row + dy, to.column + dx, to.row + dy);
    canvas.SetPenColor(color);
    Line(canvas, from.column, from.row, to.column, to.row);
    canvas.LineTo(ToPixel(from.column), ToPixel(from.row));
    for (const Covered& gap : gaps)
        canvas.SetPixel(gap.x, gap.y, gap.color);
}

void DrawLegend(Canvas& canvas, const core::TComparison& comparison) {
    int width = 0;
    for (const core::TComparedRun& run : comparison.runs)
        width = std::max(width, canvas.TextWidth(core::MethodShortName(run.method)));
    width += 3 * LegendMargin + 10;
    const int height = static_cast<int>(comparison.runs.size()) * LegendRow + 2 * LegendMargin;
    const int left = canvas.Width() - width - LegendMargin;
    const int top = LegendMargin;
    canvas.SetPenColor(LegendFrame);
    canvas.SetBrushColor(Edge);
    canvas.Rectangle(left, top, left + width, top + height);
    canvas.SetFontColor(LegendFrame);
    for (std::size_t i = 0; i < comparison.runs.size(); ++i) {
        const int row = top + LegendMargin + static_cast<int>(i) * LegendRow + LegendRow / 2;
        canvas.SetPenColor(Edge);
        canvas.SetBrushColor(ComparisonColor(comparison.runs[i].method));
        Mark(canvas, comparison.runs[i].method, left + LegendMargin + 4, row);
        const std::string name = core::MethodShortName(comparison.runs[i].method);
        canvas.SetBrushColor(Edge);  // the text's background
        canvas.TextOut(left + 2 * LegendMargin + 10, row - canvas.TextHeight(name) / 2, name);
    }
}

}  // namespace

const std::int32_t ComparisonColors[ComparisonColorCount] = {
    0xAA7744, 0xEECC66, 0x338822, 0x44BBCC, 0x7766EE, 0x7733AA, 0xBBBBBB,
};

const std::int32_t LearningColors[LearningColorCount] = {
    0x3377EE, 0x889900, 0xBBAAFF, 0x33CCBB, 0x7733EE,
};

std::int32_t ComparisonColor(core::TMethod method) {
    if (core::IsLearningMethod(method))
        return LearningColors[core::ItemOf(method) - core::ItemOf(core::TMethod::Momentum)];
    return ComparisonColors[core::ItemOf(method) % ComparisonColorCount];
}

std::uint32_t LongestTrace(const core::TComparison& comparison) {
    std::uint32_t longest = 0;
    for (const core::TComparedRun& run : comparison.runs)
        longest = std::max(longest, std::min(run.descent.TraceCount, core::TraceCapacity));
    return longest;
}

void DrawComparisonPoint(Canvas& canvas, const DrawContext& context,
                         const core::TComparison& comparison, std::int32_t n, bool startMarker) {
    if (n < 1)
        return;
    const auto index = static_cast<std::uint32_t>(n);
    // Every conversion before any drawing: a point that cannot be placed draws nothing.
    struct Step {
        core::TMethod method;
        Pixel here;
        Pixel previous;
    };
    const bool rings = startMarker && index == 1;
    std::vector<Step> steps;
    for (std::size_t i = 0; i < comparison.runs.size(); ++i) {
        const core::TDescent& trace = comparison.runs[i].descent;
        if (index > std::min(trace.TraceCount, core::TraceCapacity))
            continue;
        const Pixel here = TracePixel(canvas, context.plot, trace.Trace[index]);
        const core::TTracePoint& previous = index >= 2 ? trace.Trace[index - 1] : trace.TraceStart;
        steps.push_back({comparison.runs[i].method, here,
                         index >= 2 || rings ? TracePixel(canvas, context.plot, previous) : here});
    }
    std::vector<std::int32_t> paths;
    for (const core::TComparedRun& run : comparison.runs)
        paths.push_back(ComparisonColor(run.method));
    for (const core::TComparedRun& run : comparison.runs)
        DrawInnerPath(canvas, context.plot, run.descent, index, ComparisonColor(run.method));
    for (const Step& step : steps) {
        const std::int32_t color = ComparisonColor(step.method);
        if (index >= 2 || rings)
            EdgedSegment(canvas, color, paths, step.previous, step.here);
        if (rings)
            DrawStartRing(canvas, step.previous.column, step.previous.row, color, true);
    }
    for (const Step& step : steps) {
        canvas.SetPenColor(Edge);
        canvas.SetBrushColor(ComparisonColor(step.method));
        Mark(canvas, step.method, step.here.column, step.here.row);
    }
    DrawLegend(canvas, comparison);
    context.progress.ShowStatus("Точка трассы #" + runtime::FormatInteger(n) + " из " +
                                runtime::FormatInteger(LongestTrace(comparison)));
}

}  // namespace metopt::render
