#include "render/fill.h"

#include <algorithm>
#include <cmath>

#include "palette/palette.h"
#include "render/coordinates.h"
#include "render/pixelrows.h"
#include "render/progress.h"
#include "render/rowteam.h"
#include "render/sampling.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/rounding.h"

namespace metopt::render {

namespace {

// Just under 10, so that the top of the range falls in class 9 rather than 10.
// Deliberate: see docs/behaviour.md, "Colour scale".
constexpr long double DiscreteScale = 9.99L;
// Added to the gradient's step count for the same reason.
constexpr long double GradientScaleExtra = 0.99L;
constexpr std::int32_t LastMapClass = palette::MapColorCount - 1;
constexpr int LegendBoxes = palette::MapColorCount;

const char* const FillStatusPrefix = "Прорисовка карты высот: ";

// (z - lo) / (hi - lo), raising the floating-point error of the first step that fails (as a trap
// there would; the flags read at the end would report the gravest of all the faults raised).
long double ScalePosition(long double z, long double lo, long double hi) {
    runtime::FirstFault fault;
    const long double offset = fault.Step(z - lo);
    const long double span = fault.Step(hi - lo);
    const long double t = fault.Step(offset / span);
    return runtime::Checked(t, fault.Faults());
}

// FloorInt(scaled) held within first..last (first <= last). A value beyond either end takes that
// end without being converted, so no value can wrap around; NaN still raises in FloorInt.
// Deliberate: see docs/behaviour.md, "Colour classes held".
std::int64_t ClampedFloor(long double scaled, std::int64_t first, std::int64_t last) {
    if (scaled <= static_cast<long double>(first))
        return first;
    if (scaled >= static_cast<long double>(last))
        return last;
    // Above 0 (and below `last`, an int32).
    if (scaled > 0)
        return runtime::FloorOfPositive(scaled);
    return runtime::FloorInt(scaled);
}

// A GCC and Clang extension on x86-64, marked so that -Wpedantic accepts it.
__extension__ using Int128 = __int128;

// from + (k * (to - from)) div n, the division truncating towards zero. The product is taken wide
// enough that no palette values can overflow it; with k between 0 and n the result lies between
// from and to.
std::int32_t GradientComponent(std::int32_t from, std::int32_t to, std::int64_t k, std::int64_t n) {
    const Int128 step = static_cast<Int128>(k) * (std::int64_t{to} - std::int64_t{from}) / n;
    return static_cast<std::int32_t>(std::int64_t{from} + static_cast<std::int64_t>(step));
}

// The colour of position t in the discrete map. Inline: a row's loop and its pixel-by-pixel rest
// (ForEachSample) both call it, and the loop should not pay a call for that.
inline std::int32_t DiscreteColorAt(const palette::TPalette& Palette, long double t) {
    const auto index = ClampedFloor(t * DiscreteScale, 0, LastMapClass);
    return Palette[static_cast<std::size_t>(index)].Color;
}

// The colour of position t in a gradient of gradientCount colours; inline as DiscreteColorAt.
inline std::int32_t GradientColorAt(const palette::TPalette& Palette, long double t,
                                    std::int32_t gradientCount) {
    const std::int64_t n = std::int64_t{gradientCount} - 1;
    const long double scaled = t * (static_cast<long double>(n) + GradientScaleExtra);
    // Deliberate: see docs/behaviour.md, "Spin edit values".
    if (n == 0)
        throw runtime::EDivByZero();
    // Steps run from 0 to n (n below 0 only when the spin edit holds a value below its range).
    const std::int64_t k =
        ClampedFloor(scaled, std::min<std::int64_t>(0, n), std::max<std::int64_t>(0, n));
    const palette::TPaletteEntry& low = Palette[palette::GradientLowColor];
    const palette::TPaletteEntry& high = Palette[palette::GradientHighColor];
    return palette::PackColor(GradientComponent(low.R, high.R, k, n),
                              GradientComponent(low.G, high.G, k, n),
                              GradientComponent(low.B, high.B, k, n));
}

// The scale [lo, hi] of one fill, with hi - lo taken once. A pixel's position is computed without
// the flag calls, which would double the fill's time; a position that comes out infinite or NaN
// (the only results of a fault) is taken again by the checked path, which raises the error. An
// undefined sample has no position.
class ColorScale {
  public:
    ColorScale(long double lo, long double hi) : lo_(lo), hi_(hi) {
        runtime::FirstFault fault;
        runtime::Pin(lo);
        runtime::Pin(hi);
        span_ = fault.Step(hi - lo);
        spanSound_ = fault.Faults() == 0;
    }

    // Whether z has a position, and the position in t.
    bool Position(long double z, long double& t) const {
        if (spanSound_) {
            t = (z - lo_) / span_;
            if (std::isfinite(t))
                return true;
        }
        if (IsUndefined(z))
            return false;
        t = ScalePosition(z, lo_, hi_);
        return true;
    }

  private:
    long double lo_;
    long double hi_;
    long double span_ = 0;
    bool spanSound_ = false;
};

// The fill's rows: columns 1..cols of a row coloured from the values in the given mode.
struct FillRows {
    const palette::TPalette& Palette;
    const PixelValues& values;
    const ColorScale& scale;
    const PixelRows& pixels;
    FillMode mode;
    std::int32_t gradientCount;
    std::int32_t cols;

    // The mode is chosen once a row, so that a pixel's colour is worked out in the row's loop.
    void Fill(std::int32_t row) const {
        switch (mode) {
            case FillMode::Discrete:
                FillAs<FillMode::Discrete>(row);
                break;
            case FillMode::Gradient:
                FillAs<FillMode::Gradient>(row);
                break;
            default:  // the values are still taken, with any error they raise
                FillAs<FillMode::None>(row);
                break;
        }
    }

    template <FillMode Mode>
    void FillAs(std::int32_t row) const {
        const PixelValues::Row rowValues = values.RowAt(row);
        ForEachSample(
            cols, values.MayBeUndefined(),
            [&](std::int32_t col) { return values.At(rowValues, col); },
            [&](std::int32_t col) { return values.DefinedAt(rowValues, col); },
            [&](std::int32_t col, long double z) { Paint<Mode>(col, row, z); });
    }

    // An undefined sample's pixel keeps the background that the fill starts from.
    template <FillMode Mode>
    void Paint(std::int32_t col, std::int32_t row, long double z) const {
        long double t = 0;
        if constexpr (Mode == FillMode::Discrete) {
            if (scale.Position(z, t))
                pixels.Set(col, row, DiscreteColorAt(Palette, t));
        } else if constexpr (Mode == FillMode::Gradient) {
            if (scale.Position(z, t))
                pixels.Set(col, row, GradientColorAt(Palette, t, gradientCount));
        }
    }
};

// The frame in the outline colour around the background that every fill starts from.
void DrawFrame(platform::Canvas& canvas, std::int32_t outline, std::int32_t background) {
    canvas.SetPenColor(outline);
    canvas.SetBrushColor(background);
    canvas.Rectangle(0, 0, canvas.Width(), canvas.Height());
}

}  // namespace

FillMode FillModeOf(std::int32_t itemIndex) {
    switch (itemIndex) {
        case 0:
            return FillMode::Discrete;
        case 1:
            return FillMode::Gradient;
        default:
            return FillMode::None;
    }
}

std::int32_t DiscreteColor(const palette::TPalette& Palette, long double z, long double lo,
                           long double hi) {
    return DiscreteColorAt(Palette, ScalePosition(z, lo, hi));
}

std::int32_t GradientColor(const palette::TPalette& Palette, long double z, long double lo,
                           long double hi, std::int32_t gradientCount) {
    return GradientColorAt(Palette, ScalePosition(z, lo, hi), gradientCount);
}

void FillSurface(platform::Canvas& canvas, const DrawContext& context, FillMode mode,
                 std::int32_t gradientCount) {
    FillSurface(canvas, context, mode, gradientCount, SamplingThreads());
}

void FillSurface(platform::Canvas& canvas, const DrawContext& context, FillMode mode,
                 std::int32_t gradientCount, unsigned threads) {
    const TPlot& plot = context.plot;
    const std::int32_t background = context.Palette[palette::BackgroundColor].Color;
    const std::int32_t outline = context.Palette[palette::OutlineColor].Color;
    DrawFrame(canvas, outline, background);

    const PixelValues values(plot, context.samples);
    threads = values.Threads(threads);
    const std::int32_t cols = plot.MapCols;
    const std::int32_t rows = plot.MapRows;
    const ColorScale scale(plot.ZMin, plot.ZMax);
    const PixelRows pixels(canvas);
    const FillRows map{context.Palette, values, scale, pixels, mode, gradientCount, cols};

    RowPass pass;
    pass.beforeRow = [&](std::int32_t row) {
        if (context.progress.StopRequested())
            return false;
        ShowRowProgress(context.progress, FillStatusPrefix, row, rows);
        return true;
    };
    pass.work = [&map](std::int32_t row) { map.Fill(row); };
    // Rows drawn ahead go back to what the frame and background left there.
    const int width = canvas.Width();
    const int height = canvas.Height();
    RunDrawingPass(rows, threads, pass, pixels, cols, [&](std::int32_t col, std::int32_t row) {
        return col == width - 1 || row == height - 1 ? outline : background;
    });
}

void DrawLegend(platform::Canvas& canvas, const palette::TPalette& Palette) {
    const int width = canvas.Width();
    const int height = canvas.Height();
    // Box i spans from its own border column to the next one; the later box draws the shared one.
    const auto border = [width](int i) {
        return runtime::RoundEven(static_cast<long double>(std::int64_t{i} * (width - 1)) / 10);
    };
    canvas.SetPenColor(Palette[palette::OutlineColor].Color);
    for (int i = 0; i < LegendBoxes; ++i) {
        canvas.SetBrushColor(DiscreteColor(Palette, i, 0, LastMapClass));
        canvas.Rectangle(static_cast<int>(border(i)), 0, static_cast<int>(border(i + 1) + 1),
                         height);
    }
}

}  // namespace metopt::render
