#include "render/levellines.h"

#include <cmath>

#include "palette/palette.h"
#include "render/hooks.h"
#include "render/viewport.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/numtext.h"

namespace metopt::render {

namespace {

const char* const LevelStatusPrefix = "Построение линий уровня: ";

void ShowRowStatus(std::int32_t row) {
    ShowStatus(LevelStatusPrefix + RowPercent(row, MapRows) + "%");
}

// A line pixel in the line colour; any other pixel in the background unless the lines are
// transparent.
void MarkPixel(platform::Canvas& canvas, std::int32_t col, std::int32_t row, bool onLine,
               const LevelLineOptions& options) {
    if (onLine) {
        canvas.SetPixel(col, row, palette::Palette[palette::LevelLineColor].Color);
    } else if (!options.transparent) {
        canvas.SetPixel(col, row, palette::Palette[palette::BackgroundColor].Color);
    }
}

// Holds a value in memory at this point: the compiler can neither reuse a copy computed before
// nor move the computation of it past the calls that follow.
void Pin(long double& value) {
    asm volatile("" : "+m"(value) : : "memory");
}

// z * S. A product that is not finite is taken again between the flag calls, so that it raises
// the error it came to (an overflow); checking every pixel's flags would slow the loop down.
long double LevelUnits(long double z, long double levelsPerUnit) {
    const long double u = z * levelsPerUnit;
    if (std::isfinite(u))
        return u;
    runtime::ClearFpuFlags();
    long double factor = levelsPerUnit;
    Pin(factor);
    long double checked = z * factor;
    Pin(checked);
    runtime::CheckFpu();
    return checked;
}

}  // namespace

void DrawLevelLines(platform::Canvas& canvas, std::int32_t mode, const LevelLineOptions& options) {
    if (mode == 0) {
        LevelLinesByAnalysis(canvas, options);
    } else if (mode == 1) {
        LevelLinesByThreshold(canvas, options);
    }
}

void LevelLinesByAnalysis(platform::Canvas& canvas, const LevelLineOptions& options) {
    for (std::int32_t row = 1; row <= MapRows; ++row) {
        if (StopRequested)
            return;
        ShowRowStatus(row);
        for (std::int32_t col = 1; col <= MapCols; ++col) {
            // The neighbours to the right and below are not yet visited, so they still show the
            // picture as it was before the pass.
            const std::int32_t c = canvas.GetPixel(col, row);
            const bool onBorder = c != canvas.GetPixel(col + 1, row) ||
                                  c != canvas.GetPixel(col, row + 1) ||
                                  c != canvas.GetPixel(col + 1, row + 1);
            MarkPixel(canvas, col, row, onBorder, options);
        }
    }
}

void LevelLinesByThreshold(platform::Canvas& canvas, const LevelLineOptions& options) {
    const long double levelsPerUnit = runtime::ParseNumber(options.stepText);
    const long double halfWidth = runtime::ParseNumber(options.widthText);
    PixelSampler sampler;
    for (std::int32_t row = 1; row <= MapRows; ++row) {
        ShowRowStatus(row);
        sampler.BeginRow(row);
        for (std::int32_t col = 1; col <= MapCols; ++col) {
            const long double u = LevelUnits(sampler.Value(col), levelsPerUnit);
            const long double nearestLevel = static_cast<long double>(runtime::RoundEven(u));
            MarkPixel(canvas, col, row, halfWidth > std::fabs(u - nearestLevel), options);
        }
    }
}

}  // namespace metopt::render
