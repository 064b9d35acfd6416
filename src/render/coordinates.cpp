#include "render/coordinates.h"

#include "runtime/fpu.h"
#include "runtime/rounding.h"

namespace metopt::render {

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

long double SampledX(const TPlot& plot, std::int32_t col, int& faults) {
    const core::TRegion& r = plot.VisibleRegion;
    return SampledCoordinate(col, r.Xb, r.Xe, plot.MapCols, faults);
}

// y runs from Ye in row 1 down to Yb.
long double SampledY(const TPlot& plot, std::int32_t row, int& faults) {
    const core::TRegion& r = plot.VisibleRegion;
    return SampledCoordinate(row, r.Ye, r.Yb, plot.MapRows, faults);
}

std::int32_t XToColumn(const TPlot& plot, long double x, int W) {
    return PixelOf(x, plot.VisibleRegion.Xb, plot.VisibleRegion.Xe, W);
}

std::int32_t YToRow(const TPlot& plot, long double y, int H) {
    return PixelOf(y, plot.VisibleRegion.Ye, plot.VisibleRegion.Yb, H);
}

long double ColumnToX(const TPlot& plot, std::int32_t col) {
    int faults = 0;
    const long double x = SampledX(plot, col, faults);
    return runtime::Checked(x, faults);
}

long double RowToY(const TPlot& plot, std::int32_t row) {
    int faults = 0;
    const long double y = SampledY(plot, row, faults);
    return runtime::Checked(y, faults);
}

long double ValueAtPixel(const TPlot& plot, std::int32_t col, std::int32_t row) {
    const long double x = ColumnToX(plot, col);
    const long double y = RowToY(plot, row);
    return plot.CurrentFunc(x, y);
}

}  // namespace metopt::render
