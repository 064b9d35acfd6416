#pragma once
// A run of the chosen method, or a comparison of methods, computed apart from the model: on a
// copy of its descent, which goes back into the model once the run has ended (and not when it was
// stopped, so a stopped run leaves the model as a refused one does).
#include <span>
#include <string>
#include <vector>

#include "core/methods/comparison.h"
#include "core/minimizer.h"
#include "core/region.h"
#include "core/runreport.h"
#include "core/runwatch.h"

namespace metopt::app {

// The most scan points and steps a window's run keeps of its line searches.
constexpr std::size_t LineRecordPoints = 1000000;

struct TDescentRun {
    // What the run reads: the model's descent as it stood (its parameters are set from the
    // fields, its trace written), the parameter fields, and the region of the last scan.
    core::TDescent descent;
    core::DescentFields fields;
    core::TRegion visible;
    // A comparison's methods; a single run when not a comparison.
    bool comparison = false;
    std::vector<core::TMethod> methods;
    // Whether a single run tells its line searches to `lineRecords` (at most LineRecordPoints).
    bool recordsLines = false;

    // What it gives: the report's lines and, for a comparison, its runs.
    std::vector<std::string> lines;
    core::TComparison compared;
    core::TLineRecorder lineRecords;

    // Runs it with this watch in its descents; raises as RunDescentAndReport and
    // RunComparisonAndReport do, and EAbort when the watch stops it. The descent keeps no watch
    // afterwards.
    void Run(core::TRunWatch& watch);
};

// The function the fields' run evaluates, for its progress text; nullptr when there is none.
const core::TObjective* ObjectiveOf(const core::DescentFields& fields);

}  // namespace metopt::app
