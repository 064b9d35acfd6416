#pragma once
// Batch mode's one-dimensional lab: --minimize-1d FORMULA with --interval A B, --methods-1d LIST
// and --eps, instead of the window's work; --report writes its table, --picture its function
// chart and --count-chart its counts against eps (a picture, or CSV for a .csv name), in the
// order given.
#include <optional>
#include <string>

#include "cli/batchoptions.h"

namespace metopt::cli {

// The options that only the lab takes, and those it takes besides them.
bool IsMinimize1DOption(const std::string& option);

// What is wrong with the command line's lab, or nothing: an option of the lab without
// --minimize-1d, an option the lab does not take beside it, no --interval, or a value that is
// not a number (--interval) or not a list of the interval methods (--methods-1d).
std::optional<std::string> CheckMinimize1D(const BatchCommand& command);

// Whether the step draws one of the lab's charts (a widget, so it needs a QApplication).
bool DrawsMinimize1DChart(const BatchStep& step);

// Runs the lab and writes what the steps ask, each error shown as the error box would show it
// (nothing is written when the lab itself fails).
void RunMinimize1D(const BatchCommand& command);

}  // namespace metopt::cli
