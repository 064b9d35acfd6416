#pragma once
// What the picture is drawn from: the plotted function, the visible region and the area's size,
// the value range of the last scan with its smallest sample and the graphics parameters; and,
// beside it, the samples the last scan kept. Both are plain values the program's model owns; a
// test makes fresh ones.
#include <cstdint>
#include <memory>

#include "core/builtinfunctions.h"
#include "core/region.h"
#include "render/graphparams.h"

namespace metopt::render {

struct TPlot {
    // The function the plot is sampled from.
    core::TPlottedFunc CurrentFunc = core::PlottedFunc(1);
    // The region of the last scan; all conversions and samplers use it.
    core::TRegion VisibleRegion;
    // Drawing area width - 2 and height - 2: the sampled columns 1..MapCols and rows 1..MapRows.
    std::int32_t MapCols = 0;
    std::int32_t MapRows = 0;
    // The range of the last scan and its smallest sample. A change of a graphics field, of the
    // function or of the area's size clears ZRangeValid, so the next map scans again.
    long double ZMin = 0;
    long double ZMax = 0;
    bool ZRangeValid = false;
    std::int32_t MinCol = 0;
    std::int32_t MinRow = 0;
    // The samples of the last scan where the function is not defined (see
    // TPlottedFunc::MayBeUndefined): left out of the range and drawn in the background.
    std::int64_t UndefinedCount = 0;
    TGraphParams GraphParams;
};

// The samples of the last scan of a pure function, row by row, with what they were made for (see
// KeptSamples). Moves, but does not copy: a copy of the plot needs none.
struct TSampleCache {
    std::unique_ptr<long double[]> values;
    core::TPlottedFunc func;
    core::TRegion region;
    std::int32_t cols = 0;
    std::int32_t rows = 0;
};

}  // namespace metopt::render
