#include "app/regionview.h"

#include <algorithm>
#include <cmath>

#include "core/region.h"
#include "render/coordinates.h"
#include "runtime/exceptions.h"
#include "runtime/numparse.h"
#include "runtime/shortestdecimal.h"

namespace metopt::app {

namespace {

using core::TRegion;

bool Finite(const TRegion& r) {
    return std::isfinite(r.Xb) && std::isfinite(r.Xe) && std::isfinite(r.Yb) &&
           std::isfinite(r.Ye) && r.Xb < r.Xe && r.Yb < r.Ye;
}

// The text of a bound within `tolerance` of it.
std::string BoundText(long double v, long double tolerance) {
    return runtime::ShortestDecimal(
        v, [&](long double parsed) { return std::fabs(parsed - v) <= tolerance; });
}

// A step of the numbers scaled by `ratio`, rounded to 1, 2 or 5 times a power of ten; the text as
// it stands when it is no positive number.
std::string ScaledStep(const std::string& text, long double ratio) {
    long double step = 0;
    try {
        step = runtime::ParseNumber(text) * ratio;
    } catch (const runtime::Exception&) {
        return text;
    }
    if (!(step > 0) || !std::isfinite(step))
        return text;
    const long double power = std::pow(10.0L, std::floor(std::log10(step)));
    const long double mantissa = step / power;
    const long double rounded = power * (mantissa < std::sqrt(2.0L)    ? 1
                                         : mantissa < std::sqrt(10.0L) ? 2
                                         : mantissa < std::sqrt(50.0L) ? 5
                                                                       : 10);
    return BoundText(rounded, rounded * 1e-9L);
}

std::optional<TRegionFields> FieldsOf(const TSettings& settings, const TRegion& before,
                                      const TRegion& after, int W, int H) {
    if (!Finite(after) || W < 3 || H < 3)
        return std::nullopt;
    const long double xPixel = (after.Xe - after.Xb) / (W - 2);
    const long double yPixel = (after.Ye - after.Yb) / (H - 2);
    TRegionFields fields;
    fields.xb = BoundText(after.Xb, xPixel / 8);
    fields.xe = BoundText(after.Xe, xPixel / 8);
    fields.yb = BoundText(after.Yb, yPixel / 8);
    fields.ye = BoundText(after.Ye, yPixel / 8);
    fields.xs = ScaledStep(settings.xs, (after.Xe - after.Xb) / (before.Xe - before.Xb));
    fields.ys = ScaledStep(settings.ys, (after.Ye - after.Yb) / (before.Ye - before.Yb));
    return fields;
}

// The picture's region, when a map has placed it on its pixels.
std::optional<TRegion> PictureRegion(const render::TPlot& plot) {
    if (plot.MapCols < 2 || plot.MapRows < 2 || !Finite(plot.VisibleRegion))
        return std::nullopt;
    return plot.VisibleRegion;
}

// The region the settings' fields hold, when they hold one.
std::optional<TRegion> TypedRegion(const TSettings& settings) {
    try {
        const TRegion r{runtime::ParseNumber(settings.xb), runtime::ParseNumber(settings.xe),
                        runtime::ParseNumber(settings.yb), runtime::ParseNumber(settings.ye)};
        return Finite(r) ? std::optional(r) : std::nullopt;
    } catch (const runtime::Exception&) {
        return std::nullopt;
    }
}

}  // namespace

TRegionFields RegionFieldsOf(const TSettings& settings) {
    return {settings.xb, settings.xe, settings.yb, settings.ye, settings.xs, settings.ys};
}

void SetRegionFields(TSettings& settings, const TRegionFields& fields) {
    settings.xb = fields.xb;
    settings.xe = fields.xe;
    settings.yb = fields.yb;
    settings.ye = fields.ye;
    settings.xs = fields.xs;
    settings.ys = fields.ys;
}

std::optional<TRegionFields> ZoomedRegion(const TSettings& settings, const render::TPlot& plot,
                                          int X, int Y, int W, int H, double factor) {
    const std::optional<TRegion> r = PictureRegion(plot);
    if (!r || !(factor > 0))
        return std::nullopt;
    try {
        const long double x = render::ColumnToX(plot, X);
        const long double y = render::RowToY(plot, Y);
        const TRegion zoomed{x - (x - r->Xb) / factor, x + (r->Xe - x) / factor,
                             y - (y - r->Yb) / factor, y + (r->Ye - y) / factor};
        return FieldsOf(settings, *r, zoomed, W, H);
    } catch (const runtime::Exception&) {
        return std::nullopt;
    }
}

std::optional<TRegionFields> MovedRegion(const TSettings& settings, const render::TPlot& plot,
                                         int dx, int dy, int W, int H) {
    const std::optional<TRegion> r = PictureRegion(plot);
    if (!r)
        return std::nullopt;
    try {
        const long double shiftX = render::ColumnToX(plot, 1) - render::ColumnToX(plot, 1 + dx);
        const long double shiftY = render::RowToY(plot, 1) - render::RowToY(plot, 1 + dy);
        const TRegion moved{r->Xb + shiftX, r->Xe + shiftX, r->Yb + shiftY, r->Ye + shiftY};
        return FieldsOf(settings, *r, moved, W, H);
    } catch (const runtime::Exception&) {
        return std::nullopt;
    }
}

std::optional<TRegionFields> FittedRegion(const TSettings& settings,
                                          std::span<const core::TDescent* const> paths, int W,
                                          int H) {
    if (W < 3 || H < 3)
        return std::nullopt;
    TRegion box{INFINITY, -INFINITY, INFINITY, -INFINITY};
    const auto take = [&](const core::TTracePoint& p) {
        if (!std::isfinite(p.X) || !std::isfinite(p.Y))
            return;
        box = {std::min(box.Xb, p.X), std::max(box.Xe, p.X), std::min(box.Yb, p.Y),
               std::max(box.Ye, p.Y)};
    };
    for (const core::TDescent* path : paths) {
        if (path->TraceCount == 0)
            continue;
        take(path->TraceStart);
        for (std::uint32_t i = 1; i <= std::min(path->TraceCount, core::TraceCapacity); ++i)
            take(path->Trace[i]);
    }
    if (!(box.Xb <= box.Xe))
        return std::nullopt;
    const std::optional<TRegion> typed = TypedRegion(settings);
    const long double columns = W - 2;
    const long double rows = H - 2;
    // Units per pixel: the larger of the two sides' needs, a tenth wider on each side; a single
    // point keeps the typed scale.
    long double scale = std::max((box.Xe - box.Xb) / columns, (box.Ye - box.Yb) / rows) * 1.2L;
    if (!(scale > 0))
        scale = typed ? (typed->Xe - typed->Xb) / columns : 1 / columns;
    const long double cx = box.Xb / 2 + box.Xe / 2;
    const long double cy = box.Yb / 2 + box.Ye / 2;
    const TRegion fitted{cx - scale * columns / 2, cx + scale * columns / 2, cy - scale * rows / 2,
                         cy + scale * rows / 2};
    return FieldsOf(settings, typed.value_or(fitted), fitted, W, H);
}

void TRegionHistory::Push(TRegionFields fields) {
    views_.push_back(std::move(fields));
    if (views_.size() > Depth)
        views_.pop_front();
}

std::optional<TRegionFields> TRegionHistory::Pop() {
    if (views_.empty())
        return std::nullopt;
    TRegionFields last = std::move(views_.back());
    views_.pop_back();
    return last;
}

}  // namespace metopt::app
