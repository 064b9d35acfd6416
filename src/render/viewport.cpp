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

// Tracks the floating-point fault of the first step of a computation that raised one: what a
// trap at that step would report. (The flags alone, read at the end, would report the gravest
// of all the faults raised on the way: an overflow followed by inf * 0 would read as invalid.)
class FirstFault {
  public:
    FirstFault() { runtime::ClearFpuFlags(); }
    ~FirstFault() { runtime::ClearFpuFlags(); }
    FirstFault(const FirstFault&) = delete;
    FirstFault& operator=(const FirstFault&) = delete;

    // The result of one step, taken here and not later.
    long double Step(long double value) {
        Pin(value);
        if (faults_ == 0)
            faults_ = std::fetestexcept(ConversionFaults);
        return value;
    }
    int Faults() const { return faults_; }

  private:
    int faults_ = 0;
};

// Raises the floating-point error that the given faults stand for.
[[noreturn]] void RaiseFaults(int faults) {
    runtime::ClearFpuFlags();
    std::feraiseexcept(faults);
    runtime::CheckFpu();
    std::terminate();  // not reached: CheckFpu raises for any of the conversion faults
}

// The sampled coordinate of pixel index i along an axis from `first` (index 1) to `last` (index
// count): ((i - 1) * (last - first)) / (count - 1) + first, in that order, the integers
// subtracted before the conversion. Every sampler uses this one routine, so they agree bit for bit.
long double SampledCoordinate(std::int32_t i, long double first, long double last,
                              std::int32_t count, int& faults) {
    FirstFault fault;
    const long double span = fault.Step(last - first);
    const long double offset = fault.Step(AsReal(std::int64_t{i} - 1) * span);
    const long double share = fault.Step(offset / AsReal(std::int64_t{count} - 1));
    const long double value = fault.Step(share + first);
    faults = fault.Faults();
    return value;
}

long double SampledX(std::int32_t col, int& faults) {
    return SampledCoordinate(col, VisibleRegion.Xb, VisibleRegion.Xe, MapCols, faults);
}

// y runs from Ye in row 1 down to Yb.
long double SampledY(std::int32_t row, int& faults) {
    return SampledCoordinate(row, VisibleRegion.Ye, VisibleRegion.Yb, MapRows, faults);
}

long double Checked(long double value, int faults) {
    if (faults != 0)
        RaiseFaults(faults);
    return value;
}

// The pixel of coordinate v along an axis whose pixel 1 is at `first` and pixel `size` at
// `last`: FloorInt(((v - first) * (size - 1)) / (last - first) + 1).
std::int32_t PixelOf(long double v, long double first, long double last, int size) {
    FirstFault fault;
    const long double offset = fault.Step(v - first);
    const long double scaled = fault.Step(offset * AsReal(std::int64_t{size} - 1));
    const long double span = fault.Step(last - first);
    const long double share = fault.Step(scaled / span);
    const long double pixel = fault.Step(share + 1);
    return runtime::FloorInt(Checked(pixel, fault.Faults()));
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
    return PixelOf(x, VisibleRegion.Xb, VisibleRegion.Xe, W);
}

std::int32_t YToRow(long double y, int H) {
    return PixelOf(y, VisibleRegion.Ye, VisibleRegion.Yb, H);
}

long double ColumnToX(std::int32_t col) {
    int faults = 0;
    const long double x = SampledX(col, faults);
    return Checked(x, faults);
}

long double RowToY(std::int32_t row) {
    int faults = 0;
    const long double y = SampledY(row, faults);
    return Checked(y, faults);
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
        columnX_[i] = SampledX(col, columnFaults_[i]);
        if (columnFaults_[i] != 0)
            anyColumnFault_ = true;
    }
}

void PixelSampler::BeginRow(std::int32_t row) {
    row_ = row;
    rowY_ = SampledY(row, rowFaults_);
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
    readout.x = "x=" + runtime::FormatGeneral(SampledX(X, faults));
    readout.y = "y=" + runtime::FormatGeneral(SampledY(Y, faults));
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
