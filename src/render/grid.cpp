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

void VerticalLines(Canvas& canvas, const TGraphParams& g, long double step) {
    SteppedWalk(g.Xb, g.Xe, step, [&](long double v) {
        const long long column = XToColumn(v, canvas.Width());
        Line(canvas, column, g.Top, column, g.Bottom);
    });
}

void HorizontalLines(Canvas& canvas, const TGraphParams& g, long double step) {
    SteppedWalk(g.Yb, g.Ye, step, [&](long double v) {
        const long long row = YToRow(v, canvas.Height());
        Line(canvas, g.Left, row, g.Right, row);
    });
}

void DrawSmallGrid(Canvas& canvas, const TGraphParams& g) {
    canvas.SetPenColor(palette::Palette[palette::SmallGridColor].Color);
    VerticalLines(canvas, g, Divide(g.Xs, g.SgXs));
    HorizontalLines(canvas, g, Divide(g.Ys, g.SgYs));
}

void DrawBigGrid(Canvas& canvas, const TGraphParams& g) {
    canvas.SetPenColor(palette::Palette[palette::BigGridColor].Color);
    VerticalLines(canvas, g, g.Xs);
    HorizontalLines(canvas, g, g.Ys);
}

void DrawAxes(Canvas& canvas, const TGraphParams& g) {
    canvas.SetPenColor(palette::Palette[palette::AxesColor].Color);
    const long long W = canvas.Width();
    const long long H = canvas.Height();
    if (g.Xb < g.Xc && g.Xc < g.Xe) {
        const long long c = XToColumn(g.Xc, canvas.Width());
        Line(canvas, c, g.Top, c, g.Bottom);
        const long long a = W / 32;
        const long long b = H / 16;
        Line(canvas, c, g.Top, c - a, g.Top + b);
        Line(canvas, c, g.Top, c + a, g.Top + b);
    }
    if (g.Yb < g.Yc && g.Yc < g.Ye) {
        const long long r = YToRow(g.Yc, canvas.Height());
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

LabelPlaces PlaceLabels(const Canvas& canvas, const TGraphParams& g, long long tw, long long th) {
    LabelPlaces places;
    const long long axisColumn = XToColumn(g.Xc, canvas.Width());
    if (axisColumn - tw > g.Left) {
        places.lx = axisColumn - tw - 1;
    }
    const long long axisRow = YToRow(g.Yc, canvas.Height());
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

void DrawNumbers(Canvas& canvas, const TGraphParams& g) {
    canvas.SetFontColor(palette::Palette[palette::NumberTextColor].Color);
    canvas.SetBrushColor(palette::Palette[palette::NumberBackColor].Color);
    const long long tw = canvas.TextWidth("0.00");
    const long long th = canvas.TextHeight("0");
    const LabelPlaces places = PlaceLabels(canvas, g, tw, th);
    const long long lx = places.lx;
    const long long ly = places.ly;

    SteppedWalk(g.Xb, g.Xe, g.Xs, [&](long double v) {
        const long long column = XToColumn(v, canvas.Width());
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
            const long long row = YToRow(v, canvas.Height());
            canvas.TextOut(ToPixel(lx), ToPixel(row - th / 2), runtime::FormatFixed(v));
        }
    });
}

}  // namespace

void DrawGrid(Canvas& canvas, const GraphFieldTexts& fields, const GridLayers& layers) {
    ReadGraphParams(fields, 0, 0, canvas.Width(), canvas.Height());
    const TGraphParams g = GraphParams;
    if (layers.small) {
        DrawSmallGrid(canvas, g);
    }
    if (layers.big) {
        DrawBigGrid(canvas, g);
    }
    if (layers.axes) {
        DrawAxes(canvas, g);
    }
    if (layers.numbers) {
        DrawNumbers(canvas, g);
    }
}

}  // namespace metopt::render
