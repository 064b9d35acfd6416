#include "render/stepmarks.h"

#include <algorithm>
#include <cmath>

#include "render/coordinates.h"
#include "render/pixels.h"
#include "runtime/exceptions.h"

namespace metopt::render {

namespace {

constexpr std::int32_t Black = 0x000000;
constexpr std::int32_t White = 0xFFFFFF;
// The arrow's head and the ticks, in pixels: each side of the line.
constexpr double HeadLength = 9;
constexpr double HeadWidth = 4;
constexpr double TickHalf = 3;
// A pixel position farther than this off the canvas is taken this far: the lines are only clipped.
constexpr long double FarOff = 1e5L;

struct PixelPoint {
    double x;
    double y;
};

PixelPoint PixelOf(const platform::Canvas& canvas, const TPlot& plot,
                   const core::TLineOrigin& origin, long double t) {
    const long double x = origin.x + t * origin.dx;
    const long double y = origin.y + t * origin.dy;
    const auto near = [](long double v) {
        return static_cast<double>(std::clamp(v, -FarOff, FarOff));
    };
    return {near(XToColumn(plot, x, canvas.Width())), near(YToRow(plot, y, canvas.Height()))};
}

// A segment drawn white one pixel about it, then black on top.
struct Segment {
    PixelPoint from;
    PixelPoint to;
};

void DrawSegments(platform::Canvas& canvas, const std::vector<Segment>& segments) {
    const auto line = [&](const Segment& s, int dx, int dy) {
        Line(canvas, std::llround(s.from.x) + dx, std::llround(s.from.y) + dy,
             std::llround(s.to.x) + dx, std::llround(s.to.y) + dy);
    };
    canvas.SetPenColor(White);
    for (const Segment& s : segments) {
        for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
            line(s, dx, dy);
    }
    canvas.SetPenColor(Black);
    for (const Segment& s : segments)
        line(s, 0, 0);
}

}  // namespace

std::vector<long double> TrialMultipliers(const core::TLineSearchRecord& record) {
    std::vector<long double> trials;
    for (const auto& [t, value] : record.scan)
        trials.push_back(t);
    for (const core::TLineStep& step : record.steps) {
        for (const long double t : {step.t1, step.t2}) {
            if (std::isfinite(t))
                trials.push_back(t);
        }
    }
    trials.push_back(record.t);
    return trials;
}

void DrawStepMarks(platform::Canvas& canvas, const TPlot& plot,
                   const core::TLineSearchRecord& record) {
    const std::vector<long double> trials = TrialMultipliers(record);
    long double farthest = 0;
    for (const long double t : trials)
        farthest = std::max(farthest, std::fabs(t));
    std::vector<Segment> segments;
    try {
        const PixelPoint from = PixelOf(canvas, plot, record.origin, 0);
        const PixelPoint to = PixelOf(canvas, plot, record.origin, farthest);
        const double length = std::hypot(to.x - from.x, to.y - from.y);
        if (!(length >= 1))
            return;
        // Along the arrow and across it, one pixel each.
        const PixelPoint along{(to.x - from.x) / length, (to.y - from.y) / length};
        const PixelPoint across{-along.y, along.x};
        segments.push_back({from, to});
        const PixelPoint back{to.x - along.x * HeadLength, to.y - along.y * HeadLength};
        for (const double side : {-HeadWidth, HeadWidth})
            segments.push_back({{back.x + across.x * side, back.y + across.y * side}, to});
        for (const long double t : trials) {
            const PixelPoint p = PixelOf(canvas, plot, record.origin, t);
            segments.push_back({{p.x - across.x * TickHalf, p.y - across.y * TickHalf},
                                {p.x + across.x * TickHalf, p.y + across.y * TickHalf}});
        }
    } catch (const runtime::Exception&) {
        return;  // no region to place them in
    }
    DrawSegments(canvas, segments);
}

}  // namespace metopt::render
