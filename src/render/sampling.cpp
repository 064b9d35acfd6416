#include "render/sampling.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <new>
#include <thread>
#include <utility>

#include "core/builtinfunctions.h"
#include "core/region.h"
#include "render/coordinates.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::render {

namespace {

// At most this many samples are kept (1 GiB; an 8K area has half as many): a larger area is
// scanned row by row on one thread, its samples evaluated again by the fill.
constexpr std::size_t MaxKeptSamples = std::size_t{1} << 26;

// An extended real's value lies in its first ten bytes; the rest of its storage is padding.
constexpr std::size_t ExtendedValueBytes = 10;

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, ExtendedValueBytes) == 0;
}

}  // namespace

bool SameRegion(const core::TRegion& a, const core::TRegion& b) {
    return SameBits(a.Xb, b.Xb) && SameBits(a.Xe, b.Xe) && SameBits(a.Yb, b.Yb) &&
           SameBits(a.Ye, b.Ye);
}

PixelSampler::PixelSampler(const TPlot& plot) : plot_(plot) {
    const std::int32_t columns = std::max<std::int32_t>(plot.MapCols, 0);
    columnX_.resize(static_cast<std::size_t>(columns));
    columnFaults_.resize(static_cast<std::size_t>(columns));
    for (std::int32_t col = 1; col <= columns; ++col) {
        const auto i = static_cast<std::size_t>(col - 1);
        columnX_[i] = SampledX(plot, col, columnFaults_[i]);
        if (columnFaults_[i] != 0)
            anyColumnFault_ = true;
    }
}

PixelSampler::Row PixelSampler::RowAt(std::int32_t row) const {
    Row r;
    r.row = row;
    r.y = SampledY(plot_, row, r.faults);
    return r;
}

long double PixelSampler::CheckedValueIn(const Row& row, std::int32_t col) const {
    if (col < 1 || static_cast<std::size_t>(col) > columnX_.size())
        return ValueAtPixel(plot_, col, row.row);
    const auto i = static_cast<std::size_t>(col - 1);
    // ValueAtPixel's order: the x conversion, then the y conversion, then the function.
    if (anyColumnFault_ && columnFaults_[i] != 0)
        runtime::RaiseFaults(columnFaults_[i]);
    if (row.faults != 0)
        runtime::RaiseFaults(row.faults);
    return plot_.CurrentFunc(columnX_[i], row.y);
}

bool PixelSampler::UncheckedRowInto(const Row& row, const core::TUncheckedValue& unchecked,
                                    long double* into) const {
    if (anyColumnFault_ || row.faults != 0)
        return false;
    runtime::ClearFpuFlags();
    if (unchecked.typed) {
        // A typed function takes the row at once, which spares its program a dispatch of each
        // instruction at each point.
        unchecked.typed->UncheckedValues(columnX_.data(), row.y, columnX_.size(), into);
    } else {
        for (std::size_t i = 0; i < columnX_.size(); ++i)
            into[i] = unchecked.table(columnX_[i], row.y);
    }
    if (runtime::RaisedFaults() == 0)
        return true;
    runtime::ClearFpuFlags();
    return false;
}

long double PixelSampler::DefinedIn(const Row& row, std::int32_t col) const {
    if (!plot_.CurrentFunc.MayBeUndefined())
        return ValueIn(row, col);
    // The conversions first: a point that cannot be placed is not a point of the function's.
    if (col < 1 || static_cast<std::size_t>(col) > columnX_.size()) {
        ColumnToX(plot_, col);
        RowToY(plot_, row.row);
    } else {
        const int columnFaults = columnFaults_[static_cast<std::size_t>(col - 1)];
        if (columnFaults != 0)
            runtime::RaiseFaults(columnFaults);
        if (row.faults != 0)
            runtime::RaiseFaults(row.faults);
    }
    try {
        return ValueIn(row, col);
    } catch (const runtime::EInvalidOp&) {
    } catch (const runtime::EZeroDivide&) {
    } catch (const runtime::EOverflow&) {
    }
    return UndefinedSample;
}

void PixelSampler::BeginRow(std::int32_t row) {
    row_ = RowAt(row);
}

long double PixelSampler::Value(std::int32_t col) const {
    return ValueIn(row_, col);
}

unsigned SamplingThreads() {
    return std::max(1u, std::thread::hardware_concurrency());
}

const long double* KeptSamples(const TPlot& plot, const TSampleCache& kept) {
    const bool current = plot.ZRangeValid && kept.values && kept.func == plot.CurrentFunc &&
                         SameRegion(kept.region, plot.VisibleRegion) && kept.cols == plot.MapCols &&
                         kept.rows == plot.MapRows;
    return current ? kept.values.get() : nullptr;
}

void ReleaseKeptSamples(TSampleCache& samples) {
    samples = TSampleCache{};
}

std::unique_ptr<long double[]> SampleBuffer(const TPlot& plot, TSampleCache& samples) {
    if (plot.MapCols <= 0 || plot.MapRows <= 0)
        return nullptr;
    const auto count =
        static_cast<std::size_t>(plot.MapCols) * static_cast<std::size_t>(plot.MapRows);
    if (count > MaxKeptSamples)
        return nullptr;
    const bool roomKept =
        samples.values && static_cast<std::size_t>(std::max(samples.cols, 0)) *
                                  static_cast<std::size_t>(std::max(samples.rows, 0)) ==
                              count;
    if (roomKept) {
        std::unique_ptr<long double[]> room = std::move(samples.values);
        ReleaseKeptSamples(samples);
        return room;
    }
    return std::unique_ptr<long double[]>(new (std::nothrow) long double[count]);
}

void KeepSamples(const TPlot& plot, TSampleCache& samples, std::unique_ptr<long double[]> values) {
    samples.values = std::move(values);
    samples.func = plot.CurrentFunc;
    samples.region = plot.VisibleRegion;
    samples.cols = plot.MapCols;
    samples.rows = plot.MapRows;
}

PixelValues::PixelValues(const TPlot& plot, const TSampleCache& samples)
    : cols_(plot.MapCols),
      kept_(KeptSamples(plot, samples)),
      pure_(plot.CurrentFunc.Pure),
      mayBeUndefined_(plot.CurrentFunc.MayBeUndefined()),
      sampler_(plot) {}

unsigned PixelValues::Threads(unsigned wanted) const {
    return kept_ || pure_ ? wanted : 1;
}

PixelValues::Row PixelValues::RowAt(std::int32_t row) const {
    Row values;
    values.sampled = sampler_.RowAt(row);
    if (kept_)
        values.kept = kept_ + static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(cols_);
    return values;
}

}  // namespace metopt::render
