#pragma once
// The value scan: the range of the sampled values and the pixel of the smallest one.
#include "render/fieldtexts.h"
#include "render/plot.h"
#include "render/progress.h"

namespace metopt::render {

// Reads the plot's VisibleRegion from the fields, samples every pixel, sets its ZMin, ZMax,
// MinCol, MinRow and ZRangeValid, with the status texts "Расчет значений функции: P%", and keeps
// the samples of a pure function in `samples` (see KeptSamples). A pure function's samples are
// evaluated on `threads` threads (SamplingThreads() by default); the range, the smallest sample,
// the status texts and, should an evaluation fail, the error and the state it leaves are those of
// the one-thread scan. Where a function that MayBeUndefined is not defined, the sample is
// UndefinedSample, counted in UndefinedCount and left out of the range; with no sample defined the
// scan fails at its first sample, with that sample's error.
void ScanValueRange(TPlot& plot, TSampleCache& samples, Progress& progress,
                    const GraphFieldTexts& fields);
void ScanValueRange(TPlot& plot, TSampleCache& samples, Progress& progress,
                    const GraphFieldTexts& fields, unsigned threads);

}  // namespace metopt::render
