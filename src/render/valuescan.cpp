#include "render/valuescan.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "render/coordinates.h"
#include "render/progress.h"
#include "render/rowteam.h"
#include "render/sampling.h"

namespace metopt::render {

namespace {

// The scan starts from these limits, so samples at or beyond them leave them as they are.
// Deliberate: see docs/behaviour.md, "Scan start values".
constexpr long double ScanStartMin = 1e9L;
constexpr long double ScanStartMax = -1e9L;
// Half the width given to a range whose samples were all equal.
// Deliberate: see docs/behaviour.md, "Flat range".
constexpr long double EqualRangeWidening = 0.0001L;

const char* const ScanStatusPrefix = "Расчет значений функции: ";

// The largest and the first smallest of the samples of one row taken so far, by the scan's own
// strict comparisons. Taking the rows' extremes in scan order leaves the range and the smallest
// sample that taking every sample in scan order leaves.
struct RowExtremes {
    long double max = -std::numeric_limits<long double>::infinity();
    long double min = std::numeric_limits<long double>::infinity();
    std::int32_t minCol = 0;
    std::int32_t undefined = 0;

    // An undefined sample (NaN) passes neither comparison, so the range is the defined ones'.
    void Take(long double z, std::int32_t col) {
        if (z > max)
            max = z;
        if (z < min) {
            min = z;
            minCol = col;
        }
    }
};

// Room for one row's samples when the scan keeps none: this thread's own.
long double* RowBuffer(std::int32_t cols) {
    thread_local std::vector<long double> row;
    row.resize(static_cast<std::size_t>(std::max(cols, 0)));
    return row.data();
}

void TakeRow(TPlot& plot, const RowExtremes& row, std::int32_t rowNumber) {
    plot.UndefinedCount += row.undefined;
    if (row.max > plot.ZMax)
        plot.ZMax = row.max;
    if (row.min < plot.ZMin) {
        plot.ZMin = row.min;
        plot.MinCol = row.minCol;
        plot.MinRow = rowNumber;
    }
}

// Samples rows 1..MapRows on `threads` threads, into `all` when it is given, and takes each row's
// extremes in scan order.
void ScanRows(TPlot& plot, Progress& progress, long double* all, unsigned threads) {
    const std::int32_t cols = plot.MapCols;
    const std::int32_t rows = plot.MapRows;
    // Each row's extremes, written by the thread that samples the row.
    std::vector<RowExtremes> extremes(static_cast<std::size_t>(std::max(rows, 0)) + 1);

    const PixelSampler sampler(plot);
    const bool mayBeUndefined = plot.CurrentFunc.MayBeUndefined();
    const core::TUncheckedValue unchecked = core::UncheckedValueOf(plot.CurrentFunc);
    RowPass pass;
    pass.beforeRow = [&](std::int32_t row) {
        ShowRowProgress(progress, ScanStatusPrefix, row, rows);
        return true;
    };
    pass.work = [&](std::int32_t row) {
        long double* values =
            all ? all + static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(cols)
                : nullptr;
        const PixelSampler::Row sampledRow = sampler.RowAt(row);
        // The row's extremes are taken on this thread's own stack and stored once: the entries of
        // neighbouring rows share cache lines, and the threads taking samples into them at once
        // took them from each other at every sample.
        RowExtremes rowExtremes;
        RowExtremes& kept = extremes[static_cast<std::size_t>(row)];
        const auto take = [&](std::int32_t col, long double z) {
            rowExtremes.Take(z, col);
            if (values)
                values[col - 1] = z;
        };
        // The flags read once for the row; a row where any sample fails is taken again sample by
        // sample, which finds the first one that fails (and the undefined ones).
        if (unchecked) {
            long double* rowValues = values ? values : RowBuffer(cols);
            if (sampler.UncheckedRowInto(sampledRow, unchecked, rowValues)) {
                for (std::int32_t col = 1; col <= cols; ++col)
                    rowExtremes.Take(rowValues[col - 1], col);
                kept = rowExtremes;
                return;
            }
        }
        rowExtremes = RowExtremes{};
        try {
            rowExtremes.undefined = ForEachSample(
                cols, mayBeUndefined,
                [&](std::int32_t col) { return sampler.ValueIn(sampledRow, col); },
                [&](std::int32_t col) { return sampler.DefinedIn(sampledRow, col); }, take);
        } catch (...) {
            // A failing sample leaves the extremes of the samples before it.
            kept = rowExtremes;
            throw;
        }
        kept = rowExtremes;
    };
    pass.afterRow = [&](std::int32_t row, bool) {
        TakeRow(plot, extremes[static_cast<std::size_t>(row)], row);
    };
    RunRowPass(rows, threads, pass);

    // With no sample defined, the scan fails as at its first sample: that row's status text and
    // that sample's error.
    if (plot.UndefinedCount > 0 && plot.UndefinedCount == std::int64_t{cols} * std::int64_t{rows}) {
        ShowRowProgress(progress, ScanStatusPrefix, 1, rows);
        sampler.ValueIn(sampler.RowAt(1), 1);
    }
}

}  // namespace

void ScanValueRange(TPlot& plot, TSampleCache& samples, Progress& progress,
                    const GraphFieldTexts& fields) {
    ScanValueRange(plot, samples, progress, fields, SamplingThreads());
}

void ScanValueRange(TPlot& plot, TSampleCache& samples, Progress& progress,
                    const GraphFieldTexts& fields, unsigned threads) {
    plot.ZMin = ScanStartMin;
    plot.ZMax = ScanStartMax;
    plot.UndefinedCount = 0;
    plot.VisibleRegion = ReadRegion(fields);

    // A pure function is sampled into one buffer, kept afterwards, and may be sampled on several
    // threads; any other function on this thread, in scan order.
    std::unique_ptr<long double[]> all =
        plot.CurrentFunc.Pure ? SampleBuffer(plot, samples) : nullptr;
    ReleaseKeptSamples(samples);
    if (!all)
        threads = 1;
    ScanRows(plot, progress, all.get(), threads);

    if (plot.ZMin == plot.ZMax) {
        plot.ZMin = plot.ZMin - EqualRangeWidening;
        plot.ZMax = plot.ZMax + EqualRangeWidening;
    }
    plot.ZRangeValid = true;
    if (all)
        KeepSamples(plot, samples, std::move(all));
}

}  // namespace metopt::render
