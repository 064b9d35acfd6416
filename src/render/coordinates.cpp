#include "render/coordinates.h"

#include "core/functions.h"
#include "runtime/fpu.h"
#include "runtime/rounding.h"

namespace metopt::render {

core::TRegion VisibleRegion;
std::int32_t MapCols = 0;
std::int32_t MapRows = 0;

namespace {

long double AsReal(std::int64_t n) {
    return static_cast<long double>(n);
}

// The sampled coordinate of pixel index i along an axis from `first` (index 1) to `last` (index
// count): ((i - 1) * (last - first)) / (count - 1) + first, in that order, the integers
// subtracted before the conversion.
long double SampledCoordinate(std::int32_t i, long double first, long double last,
                              std::int32_t count, int& faults) {
    runtime::FirstFault fault;
    const long double span = fault.Step(last - first);
    const long double offset = fault.Step(AsReal(std::int64_t{i} - 1) * span);
    const long double share = fault.Step(offset / AsReal(std::int64_t{count} - 1));
    const long double value = fault.Step(share + first);
    faults = fault.Faults();
    return value;
}

// The pixel of coordinate v along an axis whose pixel 1 is at `first` and pixel `size` at
// `last`: FloorInt(((v - first) * (size - 1)) / (last - first) + 1).
// Deliberate: see docs/behaviour.md, "Pixel spans".
std::int32_t PixelOf(long double v, long double first, long double last, int size) {
    runtime::FirstFault fault;
    const long double offset = fault.Step(v - first);
    const long double scaled = fault.Step(offset * AsReal(std::int64_t{size} - 1));
    const long double span = fault.Step(last - first);
    const long double share = fault.Step(scaled / span);
    const long double pixel = fault.Step(share + 1);
    // Deliberate: see docs/behaviour.md, "Before a map".
    return runtime::FloorInt(runtime::Checked(pixel, fault.Faults()));
}

}  // namespace

long double SampledX(std::int32_t col, int& faults) {
    return SampledCoordinate(col, VisibleRegion.Xb, VisibleRegion.Xe, MapCols, faults);
}

// y runs from Ye in row 1 down to Yb.
long double SampledY(std::int32_t row, int& faults) {
    return SampledCoordinate(row, VisibleRegion.Ye, VisibleRegion.Yb, MapRows, faults);
}

std::int32_t XToColumn(long double x, int W) {
    return PixelOf(x, VisibleRegion.Xb, VisibleRegion.Xe, W);
}

std::int32_t YToRow(long double y, int H) {
    return PixelOf(y, VisibleRegion.Ye, VisibleRegion.Yb, H);
}

long double ColumnToX(std::int32_t col) {
    int faults = 0;
    const long double x = SampledX(col, faults);
    return runtime::Checked(x, faults);
}

long double RowToY(std::int32_t row) {
    int faults = 0;
    const long double y = SampledY(row, faults);
    return runtime::Checked(y, faults);
}

long double ValueAtPixel(std::int32_t col, std::int32_t row) {
    const long double x = ColumnToX(col);
    const long double y = RowToY(row);
    return core::CurrentFunc(x, y);
}

}  // namespace metopt::render
