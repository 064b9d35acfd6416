#pragma once
// A line search's steps as the lab reports print them: a column per value, the methods of two
// trial points a step with n, a, b, t1, t2, φ(t1), φ(t2), b − a, the others with their own.
#include <string>
#include <vector>

#include "core/linesearch.h"

namespace metopt::app {

// The table's columns and rows of a line search's steps (n first), by its method.
std::vector<std::string> LineStepColumns(core::TLineSearch method);
std::vector<std::vector<std::string>> LineStepRows(core::TLineSearch method,
                                                   const std::vector<core::TLineStep>& steps);

}  // namespace metopt::app
