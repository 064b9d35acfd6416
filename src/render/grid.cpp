#include "render/grid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "palette/palette.h"
#include "render/coordinates.h"
#include "render/graphparams.h"
#include "render/pixels.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/numformat.h"
#include "runtime/rounding.h"

namespace metopt::render {

const char* const GridStepRefusal = "Шаг сетки слишком мал или отрицателен";

namespace {

using platform::Canvas;

// What the layers draw on and from. `g` is a copy of the plot's GraphParams as read for this grid.
struct GridScene {
    Canvas& canvas;
    const TPlot& plot;
    const palette::TPalette& Palette;
    const TGraphParams g;

    long long Column(long double x) const { return XToColumn(plot, x, canvas.Width()); }
    long long Row(long double y) const { return YToRow(plot, y, canvas.Height()); }
};

long double Divide(long double dividend, long double divisor) {
    runtime::ClearFpuFlags();
    const long double quotient = dividend / divisor;
    runtime::CheckFpu();
    return quotient;
}

// A walk that would run away from its bound, or draw more lines than anyone could see, is
// refused before it draws anything.
// Deliberate: see docs/behaviour.md, "Grid refusal".
void RefuseRunawayWalk(long double start, long double bound, long double step) {
    if (step < 0) {
        throw runtime::Exception(GridStepRefusal);
    }
    if (!(start < bound)) {
        return;  // nothing to draw
    }
    if (start + step == start) {
        throw runtime::Exception(GridStepRefusal);
    }
    const long double lines = (bound - start) / step;
    runtime::ClearFpuFlags();  // an estimate beyond the range only means "too many"
    if (!(lines <= static_cast<long double>(MaxGridLines))) {
        throw runtime::Exception(GridStepRefusal);
    }
}

// The stepped walk: v from TruncInt(from / step) * step while v < bound, the step accumulated by
// addition.
// Deliberate: see docs/behaviour.md, "Grid walks".
template <typename Action>
void SteppedWalk(long double from, long double bound, long double step, Action action) {
    const long double quotient = Divide(from, step);
    runtime::ClearFpuFlags();
    const long double start = static_cast<long double>(runtime::TruncInt(quotient)) * step;
    runtime::CheckFpu();
    RefuseRunawayWalk(start, bound, step);
    long double v = start;
    while (v < bound) {
        action(v);
        runtime::ClearFpuFlags();
        const long double next = v + step;
        runtime::CheckFpu();
        if (next == v) {
            throw runtime::Exception(GridStepRefusal);  // the step vanished against v
        }
        v = next;
    }
}

void VerticalLines(const GridScene& scene, long double step) {
    const TGraphParams& g = scene.g;
    SteppedWalk(g.Xb, g.Xe, step, [&](long double v) {
        const long long column = scene.Column(v);
        Line(scene.canvas, column, g.Top, column, g.Bottom);
    });
}

void HorizontalLines(const GridScene& scene, long double step) {
    const TGraphParams& g = scene.g;
    SteppedWalk(g.Yb, g.Ye, step, [&](long double v) {
        const long long row = scene.Row(v);
        Line(scene.canvas, g.Left, row, g.Right, row);
    });
}

void DrawSmallGrid(const GridScene& scene) {
    const TGraphParams& g = scene.g;
    scene.canvas.SetPenColor(scene.Palette[palette::SmallGridColor].Color);
    VerticalLines(scene, Divide(g.Xs, g.SgXs));
    HorizontalLines(scene, Divide(g.Ys, g.SgYs));
}

void DrawBigGrid(const GridScene& scene) {
    scene.canvas.SetPenColor(scene.Palette[palette::BigGridColor].Color);
    VerticalLines(scene, scene.g.Xs);
    HorizontalLines(scene, scene.g.Ys);
}

void DrawAxes(const GridScene& scene) {
    Canvas& canvas = scene.canvas;
    const TGraphParams& g = scene.g;
    canvas.SetPenColor(scene.Palette[palette::AxesColor].Color);
    const long long W = canvas.Width();
    const long long H = canvas.Height();
    if (g.Xb < g.Xc && g.Xc < g.Xe) {
        const long long c = scene.Column(g.Xc);
        Line(canvas, c, g.Top, c, g.Bottom);
        const long long a = W / 32;
        const long long b = H / 16;
        Line(canvas, c, g.Top, c - a, g.Top + b);
        Line(canvas, c, g.Top, c + a, g.Top + b);
    }
    if (g.Yb < g.Yc && g.Yc < g.Ye) {
        const long long r = scene.Row(g.Yc);
        Line(canvas, g.Left, r, g.Right, r);
        const long long a = W / 16;
        const long long b = H / 32;
        Line(canvas, g.Right, r, g.Right - a, r - b);
        Line(canvas, g.Right, r, g.Right - a, r + b);
    }
}

// Where the labels go: the y labels end just left of the vertical axis and the x labels start
// just below the horizontal one, unless that leaves them no room.
struct LabelPlaces {
    long long lx = NoLabelPos;
    long long ly = NoLabelPos;
};

LabelPlaces PlaceLabels(const GridScene& scene, long long tw, long long th) {
    const TGraphParams& g = scene.g;
    LabelPlaces places;
    const long long axisColumn = scene.Column(g.Xc);
    if (axisColumn - tw > g.Left) {
        places.lx = axisColumn - tw - 1;
    }
    const long long axisRow = scene.Row(g.Yc);
    if (axisRow - th > g.Top) {
        places.ly = axisRow + 1;
    }
    if (places.lx == NoLabelPos) {
        places.lx = static_cast<long long>(g.Left) + 1;
    }
    if (places.ly == NoLabelPos) {
        places.ly = static_cast<long long>(g.Bottom) - th - 1;
    }
    return places;
}

void DrawNumbers(const GridScene& scene) {
    Canvas& canvas = scene.canvas;
    const TGraphParams& g = scene.g;
    canvas.SetFontColor(scene.Palette[palette::NumberTextColor].Color);
    canvas.SetBrushColor(scene.Palette[palette::NumberBackColor].Color);
    const long long tw = canvas.TextWidth("0.00");
    const long long th = canvas.TextHeight("0");
    const LabelPlaces places = PlaceLabels(scene, tw, th);
    const long long lx = places.lx;
    const long long ly = places.ly;

    SteppedWalk(g.Xb, g.Xe, g.Xs, [&](long double v) {
        const long long column = scene.Column(v);
        // Deliberate: see docs/behaviour.md, "Fixed labels" and "Minus-zero labels".
        canvas.TextOut(ToPixel(column - tw / 2), ToPixel(ly), runtime::FormatFixed(v));
    });
    SteppedWalk(g.Yb, g.Ye, g.Ys, [&](long double v) {
        // The label at the height of the horizontal axis is left out.
        // Deliberate: see docs/behaviour.md, "Grid walks".
        runtime::ClearFpuFlags();
        const long double distance = std::fabs(v - g.Yc);
        const long double halfSubstep = (g.Ys / g.SgYs) / 2;
        runtime::CheckFpu();
        if (distance > halfSubstep) {
            const long long row = scene.Row(v);
            canvas.TextOut(ToPixel(lx), ToPixel(row - th / 2), runtime::FormatFixed(v));
        }
    });
}

}  // namespace

void DrawGrid(Canvas& canvas, TPlot& plot, const palette::TPalette& Palette,
              const GraphFieldTexts& fields, const GridLayers& layers) {
    ReadGraphParams(plot.GraphParams, fields, 0, 0, canvas.Width(), canvas.Height());
    const GridScene scene{canvas, plot, Palette, plot.GraphParams};
    if (layers.small) {
        DrawSmallGrid(scene);
    }
    if (layers.big) {
        DrawBigGrid(scene);
    }
    if (layers.axes) {
        DrawAxes(scene);
    }
    if (layers.numbers) {
        DrawNumbers(scene);
    }
}

}  // namespace metopt::render
