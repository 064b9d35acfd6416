#pragma once
// The mapping between the visible region and the pixels of the drawing area.
#include <cstdint>

#include "render/plot.h"

namespace metopt::render {

// Pixel conversions through the plot's VisibleRegion; W and H are the drawing area's width and
// height.
std::int32_t XToColumn(const TPlot& plot, long double x, int W);
std::int32_t YToRow(const TPlot& plot, long double y, int H);
// Whether pixel (X, Y) of an area of W x H is a sampled one, inside the one-pixel frame.
inline bool IsSampledPixel(int X, int Y, int W, int H) {
    return X > 0 && Y > 0 && std::int64_t{X} < std::int64_t{W} - 1 &&
           std::int64_t{Y} < std::int64_t{H} - 1;
}
// CurrentFunc at the world point sampled by pixel (col, row).
long double ValueAtPixel(const TPlot& plot, std::int32_t col, std::int32_t row);
// The world x / y sampled by a column / row (also outside 1..MapCols / 1..MapRows).
long double ColumnToX(const TPlot& plot, std::int32_t col);
long double RowToY(const TPlot& plot, std::int32_t row);

// ColumnToX / RowToY without raising: the value, and in `faults` the floating-point fault of its
// first step that raised one (0 for none). Every sampler uses these, so they agree bit for bit.
long double SampledX(const TPlot& plot, std::int32_t col, int& faults);
long double SampledY(const TPlot& plot, std::int32_t row, int& faults);

}  // namespace metopt::render
