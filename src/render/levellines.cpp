#include "render/levellines.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "palette/palette.h"
#include "render/coordinates.h"
#include "render/pixelrows.h"
#include "render/progress.h"
#include "render/rowteam.h"
#include "render/sampling.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/numparse.h"
#include "runtime/rounding.h"

namespace metopt::render {

namespace {

const char* const LevelStatusPrefix = "Построение линий уровня: ";

void ShowRowStatus(const DrawContext& context, std::int32_t row) {
    ShowRowProgress(context.progress, LevelStatusPrefix, row, context.plot.MapRows);
}

// Row y (0 <= y < the height) of a picture.
const QRgb* RowOf(const platform::Canvas& canvas, int y) {
    return reinterpret_cast<const QRgb*>(canvas.Image().constScanLine(y));
}

// Whether two pixels show the same colour (the colour is in the low 24 bits; GetPixel reads only
// these).
bool SameColor(QRgb a, QRgb b) {
    return ((a ^ b) & 0xFFFFFFu) == 0;
}

// z * S. A product that is not finite is taken again between the flag calls, so that it raises
// the error it came to (an overflow); checking every pixel's flags would slow the loop down. An
// undefined sample (a quiet NaN, which raises nothing) gives NaN.
long double LevelUnits(long double z, long double levelsPerUnit) {
    const long double u = z * levelsPerUnit;
    if (std::isfinite(u))
        return u;
    runtime::ClearFpuFlags();
    long double factor = levelsPerUnit;
    runtime::Pin(factor);
    long double checked = z * factor;
    runtime::Pin(checked);
    runtime::CheckFpu();
    return checked;
}

// The colours a pass draws: the line and, unless transparent, the background.
struct LineColors {
    std::int32_t line;
    std::int32_t background;
    bool transparent;
};

LineColors LineColorsOf(const palette::TPalette& Palette, const LevelLineOptions& options) {
    return {Palette[palette::LevelLineColor].Color, Palette[palette::BackgroundColor].Color,
            options.transparent};
}

void SetLinePixel(const PixelRows& pixels, std::int32_t col, std::int32_t row, bool onLine,
                  const LineColors& colors) {
    if (onLine) {
        pixels.Set(col, row, colors.line);
    } else if (!colors.transparent) {
        pixels.Set(col, row, colors.background);
    }
}

// Row `row` of the colour analysis: each pixel against its right, lower and lower-right
// neighbours in `before`.
void AnalyseRow(const platform::Canvas& before, const PixelRows& pixels, std::int32_t row,
                std::int32_t cols, const LineColors& colors) {
    // Where the pixel and its three neighbours all lie on the picture, they are compared
    // straight from its rows.
    const bool rowsInside = row + 1 < before.Height();
    const std::int32_t lastInside = rowsInside ? std::min(cols, before.Width() - 2) : 0;
    const QRgb* here = rowsInside ? RowOf(before, row) : nullptr;
    const QRgb* below = rowsInside ? RowOf(before, row + 1) : nullptr;
    for (std::int32_t col = 1; col <= cols; ++col) {
        bool onBorder;
        if (col <= lastInside) {
            const QRgb c = here[col];
            onBorder = !SameColor(c, here[col + 1]) || !SameColor(c, below[col]) ||
                       !SameColor(c, below[col + 1]);
        } else {
            const std::int32_t c = before.GetPixel(col, row);
            onBorder = c != before.GetPixel(col + 1, row) || c != before.GetPixel(col, row + 1) ||
                       c != before.GetPixel(col + 1, row + 1);
        }
        SetLinePixel(pixels, col, row, onBorder, colors);
    }
}

// Columns 0..cols + 1 of a row: whether its sample is undefined (none outside the sampled rows
// and columns).
std::vector<char> UndefinedColumns(const PixelValues& values, std::int32_t row, std::int32_t cols,
                                   std::int32_t rows) {
    std::vector<char> undefined(static_cast<std::size_t>(std::max(cols, 0)) + 2, 0);
    if (row < 1 || row > rows)
        return undefined;
    const PixelValues::Row rowValues = values.RowAt(row);
    for (std::int32_t col = 1; col <= cols; ++col)
        undefined[static_cast<std::size_t>(col)] = IsUndefined(values.DefinedAt(rowValues, col));
    return undefined;
}

// The pixels of row `row` whose cell (the pixel and its right, lower and lower-right neighbours)
// has an undefined sample lie on no line: they get what the pass leaves off the lines.
void LeaveUndefinedCells(const platform::Canvas& before, const PixelRows& pixels,
                         const PixelValues& values, std::int32_t row, std::int32_t cols,
                         std::int32_t rows, const LineColors& colors) {
    const std::vector<char> here = UndefinedColumns(values, row, cols, rows);
    const std::vector<char> below = UndefinedColumns(values, row + 1, cols, rows);
    for (std::int32_t col = 1; col <= cols; ++col) {
        const auto i = static_cast<std::size_t>(col);
        if (here[i] || here[i + 1] || below[i] || below[i + 1])
            pixels.Set(col, row,
                       colors.transparent ? before.GetPixel(col, row) : colors.background);
    }
}

}  // namespace

LevelLineMethod LevelLineMethodOf(std::int32_t itemIndex) {
    switch (itemIndex) {
        case 0:
            return LevelLineMethod::Analysis;
        case 1:
            return LevelLineMethod::Threshold;
        default:
            return LevelLineMethod::None;
    }
}

void DrawLevelLines(platform::Canvas& canvas, const DrawContext& context, LevelLineMethod method,
                    const LevelLineOptions& options) {
    if (method == LevelLineMethod::Analysis) {
        LevelLinesByAnalysis(canvas, context, options);
    } else if (method == LevelLineMethod::Threshold) {
        LevelLinesByThreshold(canvas, context, options);
    }
}

void LevelLinesByAnalysis(platform::Canvas& canvas, const DrawContext& context,
                          const LevelLineOptions& options) {
    LevelLinesByAnalysis(canvas, context, options, SamplingThreads());
}

void LevelLinesByAnalysis(platform::Canvas& canvas, const DrawContext& context,
                          const LevelLineOptions& options, unsigned threads) {
    // Every pixel is compared with its right, lower and lower-right neighbours as they were before
    // the pass; reading them from a copy makes the rows independent of each other.
    // Deliberate: see docs/behaviour.md, "Level-line edges".
    const platform::Canvas before = canvas;
    const PixelRows pixels(canvas);
    const LineColors colors = LineColorsOf(context.Palette, options);
    const TPlot& plot = context.plot;
    const std::int32_t cols = plot.MapCols;
    // The samples, where the last scan found the function undefined somewhere.
    std::optional<PixelValues> values;
    if (plot.ZRangeValid && plot.UndefinedCount > 0 && plot.CurrentFunc.MayBeUndefined()) {
        values.emplace(plot, context.samples);
        threads = values->Threads(threads);
    }

    RowPass pass;
    pass.beforeRow = [&](std::int32_t row) {
        if (context.progress.StopRequested())
            return false;
        ShowRowStatus(context, row);
        return true;
    };
    pass.work = [&](std::int32_t row) {
        AnalyseRow(before, pixels, row, cols, colors);
        if (values)
            LeaveUndefinedCells(before, pixels, *values, row, cols, plot.MapRows, colors);
    };
    // Rows done ahead by another thread get their pixels back.
    RunDrawingPass(context.plot.MapRows, threads, pass, pixels, cols,
                   [&](std::int32_t col, std::int32_t row) { return before.GetPixel(col, row); });
}

void LevelLinesByThreshold(platform::Canvas& canvas, const DrawContext& context,
                           const LevelLineOptions& options) {
    LevelLinesByThreshold(canvas, context, options, SamplingThreads());
}

void LevelLinesByThreshold(platform::Canvas& canvas, const DrawContext& context,
                           const LevelLineOptions& options, unsigned threads) {
    // Deliberate: see docs/behaviour.md, "Lenient numbers".
    const long double levelsPerUnit = runtime::ParseNumber(options.stepText);
    const long double halfWidth = runtime::ParseNumber(options.widthText);
    const PixelValues values(context.plot, context.samples);
    threads = values.Threads(threads);
    // The picture before the pass, for the rows that another thread did past a failing pixel.
    std::optional<platform::Canvas> before;
    if (threads > 1)
        before.emplace(canvas);
    const PixelRows pixels(canvas);
    const LineColors colors = LineColorsOf(context.Palette, options);
    const std::int32_t cols = context.plot.MapCols;

    RowPass pass;
    pass.beforeRow = [&](std::int32_t row) {
        ShowRowStatus(context, row);
        return true;
    };
    pass.work = [&](std::int32_t row) {
        const PixelValues::Row rowValues = values.RowAt(row);
        ForEachSample(
            cols, values.MayBeUndefined(),
            [&](std::int32_t col) { return values.At(rowValues, col); },
            [&](std::int32_t col) { return values.DefinedAt(rowValues, col); },
            [&](std::int32_t col, long double z) {
                const long double u = LevelUnits(z, levelsPerUnit);
                // An undefined sample lies on no line (S, a number read from its field, is finite,
                // so only an undefined sample gives NaN).
                if (IsUndefined(u)) {
                    SetLinePixel(pixels, col, row, false, colors);
                    return;
                }
                const long double nearestLevel = static_cast<long double>(runtime::RoundEven(u));
                // Deliberate: see docs/behaviour.md, "Level-line edges".
                SetLinePixel(pixels, col, row, halfWidth > std::fabs(u - nearestLevel), colors);
            });
    };
    RunDrawingPass(context.plot.MapRows, threads, pass, pixels, cols,
                   [&](std::int32_t col, std::int32_t row) { return before->GetPixel(col, row); });
}

}  // namespace metopt::render
