#include "render/comparisontrace.h"

#include <algorithm>
#include <string>
#include <vector>

#include "render/coordinates.h"
#include "render/pixels.h"
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
    if (core::ItemOf(method) < ComparisonColorCount)
        canvas.Ellipse(x1, y1, x2, y2);
    else
        canvas.Rectangle(x1, y1, x2, y2);
}

// A segment with a white edge on either side, then in the run's colour.
void EdgedSegment(Canvas& canvas, std::int32_t color, Pixel from, Pixel to) {
    canvas.SetPenColor(Edge);
    for (const auto& [dx, dy] : {std::pair{0, -1}, {0, 1}, {-1, 0}, {1, 0}})
        Line(canvas, from.column + dx, from.row + dy, to.column + dx, to.row + dy);
    canvas.SetPenColor(color);
    Line(canvas, from.column, from.row, to.column, to.row);
    canvas.LineTo(ToPixel(from.column), ToPixel(from.row));
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

std::int32_t ComparisonColor(core::TMethod method) {
    return ComparisonColors[core::ItemOf(method) % ComparisonColorCount];
}

std::uint32_t LongestTrace(const core::TComparison& comparison) {
    std::uint32_t longest = 0;
    for (const core::TComparedRun& run : comparison.runs)
        longest = std::max(longest, std::min(run.descent.TraceCount, core::TraceCapacity));
    return longest;
}

void DrawComparisonPoint(Canvas& canvas, const DrawContext& context,
                         const core::TComparison& comparison, std::int32_t n) {
    if (n < 1)
        return;
    const auto index = static_cast<std::uint32_t>(n);
    // Every conversion before any drawing: a point that cannot be placed draws nothing.
    struct Step {
        core::TMethod method;
        Pixel here;
        Pixel previous;
    };
    std::vector<Step> steps;
    for (std::size_t i = 0; i < comparison.runs.size(); ++i) {
        const core::TDescent& trace = comparison.runs[i].descent;
        if (index > std::min(trace.TraceCount, core::TraceCapacity))
            continue;
        const Pixel here = TracePixel(canvas, context.plot, trace.Trace[index]);
        steps.push_back(
            {comparison.runs[i].method, here,
             index >= 2 ? TracePixel(canvas, context.plot, trace.Trace[index - 1]) : here});
    }
    for (const Step& step : steps) {
        if (index >= 2)
            EdgedSegment(canvas, ComparisonColor(step.method), step.previous, step.here);
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
