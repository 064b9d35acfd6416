#include "render/sampling.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <new>
#include <thread>
#include <utility>

#include "core/functions.h"
#include "core/region.h"
#include "render/coordinates.h"
#include "render/valuescan.h"
#include "runtime/fpu.h"

namespace metopt::render {

namespace {

// The samples of the last scan of one of the program's own functions, with what they were made for.
struct SampleStore {
    std::unique_ptr<long double[]> values;
    core::TObjectiveFunc func = nullptr;
    core::TRegion region;
    std::int32_t cols = 0;
    std::int32_t rows = 0;
};
SampleStore Kept;

// At most this many samples are kept (1 GiB; an 8K area has half as many): a larger area is
// scanned row by row on one thread, its samples evaluated again by the fill.
constexpr std::size_t MaxKeptSamples = std::size_t{1} << 26;

// An extended real's value lies in its first ten bytes; the rest of its storage is padding.
constexpr std::size_t ExtendedValueBytes = 10;

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, ExtendedValueBytes) == 0;
}

bool SameRegion(const core::TRegion& a, const core::TRegion& b) {
    return SameBits(a.Xb, b.Xb) && SameBits(a.Xe, b.Xe) && SameBits(a.Yb, b.Yb) &&
           SameBits(a.Ye, b.Ye);
}

}  // namespace

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

PixelSampler::Row PixelSampler::RowAt(std::int32_t row) const {
    Row r;
    r.row = row;
    r.y = SampledY(row, r.faults);
    return r;
}

long double PixelSampler::ValueIn(const Row& row, std::int32_t col) const {
    if (col < 1 || static_cast<std::size_t>(col) > columnX_.size())
        return ValueAtPixel(col, row.row);
    const auto i = static_cast<std::size_t>(col - 1);
    // ValueAtPixel's order: the x conversion, then the y conversion, then the function.
    if (anyColumnFault_ && columnFaults_[i] != 0)
        runtime::RaiseFaults(columnFaults_[i]);
    if (row.faults != 0)
        runtime::RaiseFaults(row.faults);
    return core::CurrentFunc(columnX_[i], row.y);
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

bool CurrentFuncIsPure() {
    return std::find(std::begin(core::ObjectiveFuncs), std::end(core::ObjectiveFuncs),
                     core::CurrentFunc) != std::end(core::ObjectiveFuncs);
}

const long double* KeptSamples() {
    const bool current = ZRangeValid && Kept.values && Kept.func == core::CurrentFunc &&
                         SameRegion(Kept.region, VisibleRegion) && Kept.cols == MapCols &&
                         Kept.rows == MapRows;
    return current ? Kept.values.get() : nullptr;
}

void ReleaseKeptSamples() {
    Kept = SampleStore{};
}

std::unique_ptr<long double[]> SampleBuffer() {
    if (MapCols <= 0 || MapRows <= 0)
        return nullptr;
    const auto count = static_cast<std::size_t>(MapCols) * static_cast<std::size_t>(MapRows);
    if (count > MaxKeptSamples)
        return nullptr;
    return std::unique_ptr<long double[]>(new (std::nothrow) long double[count]);
}

void KeepSamples(std::unique_ptr<long double[]> values) {
    Kept.values = std::move(values);
    Kept.func = core::CurrentFunc;
    Kept.region = VisibleRegion;
    Kept.cols = MapCols;
    Kept.rows = MapRows;
}

PixelValues::PixelValues() : kept_(KeptSamples()) {}

unsigned PixelValues::Threads(unsigned wanted) const {
    return kept_ || CurrentFuncIsPure() ? wanted : 1;
}

PixelValues::Row PixelValues::RowAt(std::int32_t row) const {
    Row values;
    values.sampled = sampler_.RowAt(row);
    if (kept_)
        values.kept = kept_ + static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(MapCols);
    return values;
}

}  // namespace metopt::render
