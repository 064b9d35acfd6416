#include "render/viewport.h"

#include <algorithm>
#include <cfenv>
#include <exception>

#include "core/functions.h"
#include "render/hooks.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/numtext.h"

namespace metopt::render {

core::TRegion VisibleRegion;
long double ZMin = 0;
long double ZMax = 0;
bool ZRangeValid = false;
std::int32_t MinCol = 0;
std::int32_t MinRow = 0;
std::int32_t MapCols = 0;
std::int32_t MapRows = 0;
TGraphParams GraphParams;

namespace {

// The scan starts from these limits, so samples at or beyond them leave them as they are.
constexpr long double ScanStartMin = 1e9L;
constexpr long double ScanStartMax = -1e9L;
// Half the width given to a range whose samples were all equal.
constexpr long double EqualRangeWidening = 0.0001L;
constexpr int ConversionFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

const char* const ScanStatusPrefix = "Расчет значений функции: ";

long double AsReal(std::int64_t n) {
    return static_cast<long double>(n);
}

// Holds a value in memory at this point, so that the compiler computes it neither before the
// flags are cleared nor after they are checked.
void Pin(long double& value) {
    asm volatile("" : "+m"(value) : : "memory");
}

// The sampled x of a column: ((col - 1) * (Xe - Xb)) / (MapCols - 1) + Xb, in that order; the
// integers are subtracted before the conversion. Kept out of line so that its arithmetic stays
// between the flag calls around it.
[[gnu::noinline]] long double SampleX(std::int32_t col) {
    const core::TRegion& r = VisibleRegion;
    return (AsReal(std::int64_t{col} - 1) * (r.Xe - r.Xb)) / AsReal(std::int64_t{MapCols} - 1) +
           r.Xb;
}

// The sampled y of a row: ((row - 1) * (Yb - Ye)) / (MapRows - 1) + Ye.
[[gnu::noinline]] long double SampleY(std::int32_t row) {
    const core::TRegion& r = VisibleRegion;
    return (AsReal(std::int64_t{row} - 1) * (r.Yb - r.Ye)) / AsReal(std::int64_t{MapRows} - 1) +
           r.Ye;
}

// Runs one sampler conversion and returns the faults it raised, leaving the flags clear.
long double Converted(long double (*convert)(std::int32_t), std::int32_t index, int& faults) {
    runtime::ClearFpuFlags();
    long double value = convert(index);
    Pin(value);
    faults = std::fetestexcept(ConversionFaults);
    runtime::ClearFpuFlags();
    return value;
}

// Raises the floating-point error that the given faults stand for.
[[noreturn]] void RaiseFaults(int faults) {
    runtime::ClearFpuFlags();
    std::feraiseexcept(faults);
    runtime::CheckFpu();
    std::terminate();  // not reached: CheckFpu raises for any of the conversion faults
}

long double CheckedSample(long double (*convert)(std::int32_t), std::int32_t index) {
    int faults = 0;
    const long double value = Converted(convert, index, faults);
    if (faults != 0)
        RaiseFaults(faults);
    return value;
}

std::int32_t Narrow(std::int64_t n) {
    return static_cast<std::int32_t>(n);
}

void ReadReals(const GraphFieldTexts& fields, TGraphParams& params) {
    params.Xb = runtime::ParseNumber(fields.Xb);
    params.Yb = runtime::ParseNumber(fields.Yb);
    params.Xe = runtime::ParseNumber(fields.Xe);
    params.Ye = runtime::ParseNumber(fields.Ye);
    params.Xc = runtime::ParseNumber(fields.Xc);
    params.Yc = runtime::ParseNumber(fields.Yc);
    params.Xs = runtime::ParseNumber(fields.Xs);
    params.Ys = runtime::ParseNumber(fields.Ys);
}

// The plotting rectangle of an area at (left, top) of W x H: the sampled columns and rows, the
// right and bottom edges excluded.
void SetRectangle(TGraphParams& params, int left, int top, int W, int H) {
    const std::int64_t l = std::int64_t{left} + 1;
    const std::int64_t t = std::int64_t{top} + 1;
    params.Left = Narrow(l);
    params.Top = Narrow(t);
    params.Right = Narrow(l + (std::int64_t{W} - 1) - 1);
    params.Bottom = Narrow(t + (std::int64_t{H} - 1) - 1);
}

void RefreshReal(long double& target, const std::string& text) {
    try {
        target = runtime::ParseNumber(text);
    } catch (const runtime::Exception&) {
        // keeps the last good value
    }
}

void RefreshCount(std::int32_t& target, const std::string& text) {
    try {
        target = runtime::ParseInteger(text);
    } catch (const runtime::Exception&) {
        // keeps the last good value
    }
}

}  // namespace

void ResetViewport() {
    VisibleRegion = core::TRegion{};
    ZMin = 0;
    ZMax = 0;
    ZRangeValid = false;
    MinCol = 0;
    MinRow = 0;
    MapCols = 0;
    MapRows = 0;
    GraphParams = TGraphParams{};
}

std::int32_t XToColumn(long double x, int W) {
    const core::TRegion& r = VisibleRegion;
    runtime::ClearFpuFlags();
    Pin(x);
    long double column = ((x - r.Xb) * AsReal(std::int64_t{W} - 1)) / (r.Xe - r.Xb) + 1;
    Pin(column);
    runtime::CheckFpu();
    return runtime::FloorInt(column);
}

std::int32_t YToRow(long double y, int H) {
    const core::TRegion& r = VisibleRegion;
    runtime::ClearFpuFlags();
    Pin(y);
    long double row = ((y - r.Ye) * AsReal(std::int64_t{H} - 1)) / (r.Yb - r.Ye) + 1;
    Pin(row);
    runtime::CheckFpu();
    return runtime::FloorInt(row);
}

long double ColumnToX(std::int32_t col) {
    return CheckedSample(SampleX, col);
}

long double RowToY(std::int32_t row) {
    return CheckedSample(SampleY, row);
}

long double ValueAtPixel(std::int32_t col, std::int32_t row) {
    const long double x = ColumnToX(col);
    const long double y = RowToY(row);
    return core::CurrentFunc(x, y);
}

PixelSampler::PixelSampler() {
    const std::int32_t columns = std::max<std::int32_t>(MapCols, 0);
    columnX_.resize(static_cast<std::size_t>(columns));
    columnFaults_.resize(static_cast<std::size_t>(columns));
    for (std::int32_t col = 1; col <= columns; ++col) {
        const auto i = static_cast<std::size_t>(col - 1);
        columnX_[i] = Converted(SampleX, col, columnFaults_[i]);
        if (columnFaults_[i] != 0)
            anyColumnFault_ = true;
    }
}

void PixelSampler::BeginRow(std::int32_t row) {
    row_ = row;
    rowY_ = Converted(SampleY, row, rowFaults_);
}

long double PixelSampler::Value(std::int32_t col) const {
    if (col < 1 || static_cast<std::size_t>(col) > columnX_.size())
        return ValueAtPixel(col, row_);
    const auto i = static_cast<std::size_t>(col - 1);
    // ValueAtPixel's order: the x conversion, then the y conversion, then the function.
    if (anyColumnFault_ && columnFaults_[i] != 0)
        RaiseFaults(columnFaults_[i]);
    if (rowFaults_ != 0)
        RaiseFaults(rowFaults_);
    return core::CurrentFunc(columnX_[i], rowY_);
}

void ScanValueRange(const GraphFieldTexts& fields) {
    ZMin = ScanStartMin;
    ZMax = ScanStartMax;
    core::TRegion region;
    region.Xb = runtime::ParseNumber(fields.Xb);
    region.Xe = runtime::ParseNumber(fields.Xe);
    region.Yb = runtime::ParseNumber(fields.Yb);
    region.Ye = runtime::ParseNumber(fields.Ye);
    VisibleRegion = region;

    PixelSampler sampler;
    for (std::int32_t row = 1; row <= MapRows; ++row) {
        ShowStatus(ScanStatusPrefix + RowPercent(row, MapRows) + "%");
        sampler.BeginRow(row);
        for (std::int32_t col = 1; col <= MapCols; ++col) {
            const long double z = sampler.Value(col);
            if (z > ZMax)
                ZMax = z;
            if (z < ZMin) {
                ZMin = z;
                MinCol = col;
                MinRow = row;
            }
        }
    }
    if (ZMin == ZMax) {
        ZMin = ZMin - EqualRangeWidening;
        ZMax = ZMax + EqualRangeWidening;
    }
    ZRangeValid = true;
}

void ReadGraphParams(const GraphFieldTexts& fields, int left, int top, int W, int H) {
    ReadReals(fields, GraphParams);
    // Both counts are read before either is stored, so a bad one leaves both as they were.
    const std::int32_t sgXs = runtime::ParseInteger(fields.SgXs);
    const std::int32_t sgYs = runtime::ParseInteger(fields.SgYs);
    GraphParams.SgXs = sgXs;
    GraphParams.SgYs = sgYs;
    SetRectangle(GraphParams, left, top, W, H);
}

void RefreshGraphParams(const GraphFieldTexts& fields, int left, int top, int W, int H) {
    TGraphParams& p = GraphParams;
    RefreshReal(p.Xb, fields.Xb);
    RefreshReal(p.Yb, fields.Yb);
    RefreshReal(p.Xe, fields.Xe);
    RefreshReal(p.Ye, fields.Ye);
    RefreshReal(p.Xc, fields.Xc);
    RefreshReal(p.Yc, fields.Yc);
    RefreshReal(p.Xs, fields.Xs);
    RefreshReal(p.Ys, fields.Ys);
    RefreshCount(p.SgXs, fields.SgXs);
    RefreshCount(p.SgYs, fields.SgYs);
    SetRectangle(p, left, top, W, H);
}

MouseReadout MouseReadoutAt(int X, int Y, int W, int H) {
    MouseReadout readout;
    int faults = 0;
    // Shown wherever the pointer is, extrapolated off the sampled pixels; a zero divisor gives
    // INF or NAN rather than an error box at every move of the mouse.
    readout.x = "x=" + runtime::FormatGeneral(Converted(SampleX, X, faults));
    readout.y = "y=" + runtime::FormatGeneral(Converted(SampleY, Y, faults));
    const bool onSampledPixel = X > 0 && Y > 0 && std::int64_t{X} < std::int64_t{W} - 1 &&
                                std::int64_t{Y} < std::int64_t{H} - 1;
    if (!onSampledPixel) {
        readout.z = "Out of range";
        return readout;
    }
    try {
        readout.z = "z=" + runtime::FormatGeneral(ValueAtPixel(X, Y));
    } catch (const runtime::Exception& e) {
        readout.z = "z=" + e.Message();
    }
    return readout;
}

std::string RowPercent(std::int32_t row, std::int32_t rows) {
    runtime::ClearFpuFlags();
    long double hundredfold = AsReal(std::int64_t{row} * 100);
    Pin(hundredfold);
    long double share = hundredfold / AsReal(rows);
    Pin(share);
    runtime::CheckFpu();
    return runtime::FormatGeneral(runtime::IntPart(share));
}

}  // namespace metopt::render
