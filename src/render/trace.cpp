#include "render/trace.h"

#include <algorithm>
#include <climits>
#include <string>

#include "core/minimizer.h"
#include "palette/palette.h"
#include "render/coordinates.h"
#include "render/graphparams.h"
#include "render/hooks.h"
#include "render/pixels.h"
#include "render/valuescan.h"
#include "runtime/exceptions.h"
#include "runtime/numformat.h"

namespace metopt::render {

std::unique_ptr<platform::Canvas> BackingImage;
TRect BackingRect;

namespace {

using platform::Canvas;

struct Pixel {
    long long column;
    long long row;
};

Pixel TracePixel(const Canvas& canvas, std::uint32_t n) {
    const core::TTracePoint& point = core::Trace[n];
    return {XToColumn(point.X, canvas.Width()), YToRow(point.Y, canvas.Height())};
}

}  // namespace

void ResetTrace() {
    BackingImage.reset();
    BackingRect = TRect{};
}

// Deliberate: see docs/behaviour.md, "Stale marker".
void DrawMinMarker(Canvas& canvas) {
    canvas.SetPenColor(palette::Palette[palette::TracePenColor].Color);
    const long long c = MinCol;
    const long long r = MinRow;
    Line(canvas, c - 4, r, c + 5, r);
    Line(canvas, c, r - 4, c, r + 5);
}

void DrawTracePoint(Canvas& canvas, std::int32_t n) {
    // Only points of the last run exist; any other number draws nothing.
    // Deliberate: see docs/behaviour.md, "Trace point range".
    const std::uint32_t count = std::min(core::TraceCount, core::TraceCapacity);
    if (n < 1 || static_cast<std::uint32_t>(n) > count) {
        return;
    }
    const auto index = static_cast<std::uint32_t>(n);
    canvas.SetPenColor(palette::Palette[palette::TracePenColor].Color);
    canvas.SetBrushColor(palette::Palette[palette::TraceFillColor].Color);

    // Every conversion comes before any drawing, so a point that cannot be placed draws nothing.
    // Deliberate: see docs/behaviour.md, "Before a map".
    const Pixel here = TracePixel(canvas, index);
    const Pixel previous = index >= 2 ? TracePixel(canvas, index - 1) : here;

    canvas.Ellipse(ToPixel(here.column - 4), ToPixel(here.row - 4), ToPixel(here.column + 5),
                   ToPixel(here.row + 5));
    if (index >= 2) {
        // Drawn both ways so that both end pixels are set.
        Line(canvas, previous.column, previous.row, here.column, here.row);
        canvas.LineTo(ToPixel(previous.column), ToPixel(previous.row));
    }
    ShowStatus("Точка трассы #" + runtime::FormatInteger(n) + " из " +
               runtime::FormatInteger(core::TraceCount));
}

void SaveBackingImage(const Canvas& canvas) {
    const int W = canvas.Width();
    const int H = canvas.Height();
    BackingImage = std::make_unique<Canvas>(W, H);  // the previous image is released here
    BackingRect = TRect{0, 0, W, H};
    BackingImage->CopyRect(canvas, BackingRect.Left, BackingRect.Top, W, H);
}

void RestoreBackingImage(Canvas& canvas, const GraphFieldTexts& fields) {
    if (BackingImage) {
        canvas.CopyRect(*BackingImage, BackingRect.Left, BackingRect.Top,
                        BackingRect.Right - BackingRect.Left, BackingRect.Bottom - BackingRect.Top);
    }
    // A repaint must never fail: a field that cannot be read now is reported by the next grid
    // drawing, not on every repaint.
    // Deliberate: see docs/behaviour.md, "Repaint never fails".
    try {
        RefreshGraphParams(fields, 0, 0, canvas.Width(), canvas.Height());
    } catch (const runtime::Exception&) {
    }
}

}  // namespace metopt::render
