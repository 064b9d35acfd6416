#pragma once
// The mapping between the visible region and the pixels of the drawing area.
#include <cstdint>

#include "core/region.h"

namespace metopt::render {

// The region of the last scan; all conversions and samplers use it.
extern core::TRegion VisibleRegion;
// Drawing area width - 2 and height - 2: the sampled columns 1..MapCols and rows 1..MapRows.
extern std::int32_t MapCols;
extern std::int32_t MapRows;

// Pixel conversions through VisibleRegion; W and H are the drawing area's width and height.
std::int32_t XToColumn(long double x, int W);
std::int32_t YToRow(long double y, int H);
// CurrentFunc at the world point sampled by pixel (col, row).
long double ValueAtPixel(std::int32_t col, std::int32_t row);
// The world x / y sampled by a column / row (also outside 1..MapCols / 1..MapRows).
long double ColumnToX(std::int32_t col);
long double RowToY(std::int32_t row);

// ColumnToX / RowToY without raising: the value, and in `faults` the floating-point fault of its
// first step that raised one (0 for none). Every sampler uses these, so they agree bit for bit.
long double SampledX(std::int32_t col, int& faults);
long double SampledY(std::int32_t row, int& faults);

}  // namespace metopt::render
