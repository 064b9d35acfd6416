#pragma once
// What the comparison of methods and the convergence chart write: the comparison's table as CSV,
// the chart as a PNG picture, and the chart's data as CSV. Each raises the program's own error when
// the file cannot be written; "-" writes a CSV to standard output.
#include <string>

#include "app/convergence.h"
#include "app/session.h"

namespace metopt::app {

// The chart's picture size.
constexpr int ConvergenceWidth = 800;
constexpr int ConvergenceHeight = 500;

// "method,iterations,stop,f_evals,grad_evals,hess_evals,x,y,z" and a row per compared method,
// with 18 significant digits and '.' decimals.
std::string ComparisonCsv(const core::TComparison& comparison);
void WriteComparisonCsv(const TSession& session, const std::string& fileName);

// "method,k,x,y,z,grad_norm,step" and a row per trace point of each run shown.
std::string ConvergenceCsv(const TSession& session);
void WriteConvergenceCsv(const TSession& session, const std::string& fileName);
// The chart of `kind` for the last run or comparison, 800 × 500.
void WriteConvergencePicture(const TSession& session, ConvergenceKind kind,
                             const std::string& fileName);

}  // namespace metopt::app
