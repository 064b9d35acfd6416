#pragma once
// The samplers of the pixels' values, and the samples the last scan kept.
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "render/plot.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::render {

// The value of a sample where the function is not defined (its evaluation raised a
// floating-point fault and the function MayBeUndefined). No defined sample is NaN: a NaN comes
// only from an invalid operation, which raises.
constexpr long double UndefinedSample = std::numeric_limits<long double>::quiet_NaN();
inline bool IsUndefined(long double z) {
    return std::isnan(z);
}

// The plot's CurrentFunc over the sampled pixels, row by row, for the plot's VisibleRegion,
// MapCols and MapRows of the moment it is made: the same x and y as ValueAtPixel, bit for bit, with
// each column's x computed once. A conversion that fails (a zero divisor, an overflow) raises its
// floating-point error at the first pixel that needs it, as ValueAtPixel would there. Once made,
// RowAt and ValueIn only read it, so several threads may sample through one sampler. The plot must
// outlive it.
class PixelSampler {
  public:
    // The y of one row, with the faults its conversion raised.
    struct Row {
        std::int32_t row = 0;
        long double y = 0;
        int faults = 0;
    };

    explicit PixelSampler(const TPlot& plot);
    Row RowAt(std::int32_t row) const;
    // The value at (col, row.row). Inline where nothing can fail but the function, which is every
    // pixel of a scan but for a region that cannot be placed.
    long double ValueIn(const Row& row, std::int32_t col) const {
        if (col >= 1 && static_cast<std::size_t>(col) <= columnX_.size() && !anyColumnFault_ &&
            row.faults == 0)
            return plot_.CurrentFunc(columnX_[static_cast<std::size_t>(col - 1)], row.y);
        return CheckedValueIn(row, col);
    }
    // The same, but UndefinedSample where the function MayBeUndefined and its evaluation raises
    // a floating-point fault; a conversion that fails still raises.
    long double DefinedIn(const Row& row, std::int32_t col) const;

    // The values of columns 1..MapCols of the row through `unchecked` into into[0 .. MapCols - 1],
    // with the flags cleared once before and read once after: true when no sample raised a
    // fault. False, with the flags cleared, when one did or when a conversion of the row fails:
    // the row's samples are then to be taken again through ValueIn, which finds the first sample
    // that fails.
    bool UncheckedRowInto(const Row& row, const core::TUncheckedValue& unchecked,
                          long double* into) const;

    void BeginRow(std::int32_t row);
    // The value at (col, row) of the row begun last.
    long double Value(std::int32_t col) const;

  private:
    long double CheckedValueIn(const Row& row, std::int32_t col) const;

    const TPlot& plot_;
    std::vector<long double> columnX_;
    std::vector<int> columnFaults_;
    bool anyColumnFault_ = false;
    Row row_;
};

// Whether two regions are the same, bit for bit.
bool SameRegion(const core::TRegion& a, const core::TRegion& b);

// The threads the scan, the fill and the threshold lines use: the machine's cores, at least 1.
unsigned SamplingThreads();

// The samples of the last scan, row by row: the value at (col, row) is at
// (row - 1) * MapCols + (col - 1). Given only while they still belong to the present state:
// ZRangeValid, and kept for the same CurrentFunc, the same VisibleRegion (bit for bit) and the
// same MapCols x MapRows. Otherwise nullptr, and the samplers evaluate the function as usual.
const long double* KeptSamples(const TPlot& plot, const TSampleCache& samples);
// Drops the kept samples and their memory.
void ReleaseKeptSamples(TSampleCache& samples);

// Room for the samples of MapCols x MapRows, or nullptr when there is nothing to sample, when
// there are too many to keep or when the memory cannot be had. The memory of the kept `samples`
// is taken (and they are released) when it has that room: new memory would cost a page fault at
// the first sample of every 4 KiB.
std::unique_ptr<long double[]> SampleBuffer(const TPlot& plot, TSampleCache& samples);
// Keeps `values` (from SampleBuffer) as the samples of the plot's present CurrentFunc,
// VisibleRegion, MapCols and MapRows.
void KeepSamples(const TPlot& plot, TSampleCache& samples, std::unique_ptr<long double[]> values);

// The values of the sampled pixels for a pass over the picture: the kept samples of the last scan
// while they are current, otherwise CurrentFunc evaluated through a PixelSampler (on several
// threads when it is pure). Made on the
// calling thread; RowAt and At only read it, so several threads may read through one.
class PixelValues {
  public:
    struct Row {
        const long double* kept = nullptr;  // the row's kept samples, if any
        PixelSampler::Row sampled;
    };

    PixelValues(const TPlot& plot, const TSampleCache& samples);
    // `wanted`, or 1 when the values must be evaluated on the calling thread, in scan order (the
    // function is not pure and no samples are kept).
    unsigned Threads(unsigned wanted) const;
    Row RowAt(std::int32_t row) const;
    // The value at (col, row.sampled.row).
    long double At(const Row& row, std::int32_t col) const {
        return row.kept ? row.kept[col - 1] : sampler_.ValueIn(row.sampled, col);
    }
    // The same, UndefinedSample where the function is not defined (PixelSampler::DefinedIn).
    long double DefinedAt(const Row& row, std::int32_t col) const {
        return row.kept ? row.kept[col - 1] : sampler_.DefinedIn(row.sampled, col);
    }
    bool MayBeUndefined() const { return mayBeUndefined_; }

  private:
    std::int32_t cols_;
    const long double* kept_;
    bool pure_;
    bool mayBeUndefined_;
    PixelSampler sampler_;
};

// take(col, value(col)) for the columns col..cols of a row; when either raises, col is the column
// it raised at. A function of its own: ForEachSample's handler around the loop itself would make
// the compiler keep the loop's extended reals in memory, at a cost to every pixel.
template <class Value, class Take>
[[gnu::noinline]] void TakeSamples(std::int32_t& col, std::int32_t cols, const Value& value,
                                   const Take& take) {
    for (; col <= cols; ++col)
        take(col, value(col));
}

// take(col, defined(col)) for the columns col..cols of a row; returns the undefined samples.
template <class Defined, class Take>
[[gnu::noinline]] std::int32_t TakeDefinedSamples(std::int32_t col, std::int32_t cols,
                                                  const Defined& defined, const Take& take) {
    std::int32_t undefined = 0;
    for (; col <= cols; ++col) {
        const long double z = defined(col);
        if (IsUndefined(z))
            ++undefined;
        take(col, z);
    }
    return undefined;
}

// take(col, value(col)) for the columns 1..cols of a row, in order. When `mayBeUndefined` and
// that raises a floating-point fault, the row goes on from that column pixel by pixel with
// take(col, defined(col)), where defined gives UndefinedSample for a point that is not defined
// (and raises what value raises otherwise); the rows of a function defined everywhere never take
// that path. Returns the undefined samples that defined gave.
template <class Value, class Defined, class Take>
std::int32_t ForEachSample(std::int32_t cols, bool mayBeUndefined, const Value& value,
                           const Defined& defined, const Take& take) {
    std::int32_t col = 1;
    if (!mayBeUndefined) {
        TakeSamples(col, cols, value, take);
        return 0;
    }
    try {
        TakeSamples(col, cols, value, take);
        return 0;
    } catch (const runtime::EInvalidOp&) {
    } catch (const runtime::EZeroDivide&) {
    } catch (const runtime::EOverflow&) {
    }
    return TakeDefinedSamples(col, cols, defined, take);
}

}  // namespace metopt::render
