#pragma once
// The one-dimensional lab from its fields: a function of x (or t) typed in the formula language,
// the interval [a, b], eps and the interval methods chosen; each method's minimisation, and the
// counts of values against eps.
#include <memory>
#include <string>
#include <vector>

#include "core/formula/formula1d.h"
#include "core/minimize1d.h"

namespace metopt::app {

// The fields as typed, and the methods in the order chosen.
struct TMinimize1DFields {
    std::string formula;
    std::string a;
    std::string b;
    std::string eps;
    std::vector<core::TLineSearch> methods;
};

// A lab that ran: its function, the interval read, and each method's minimisation in order.
struct TMinimize1D {
    std::string formula;  // trimmed, as the report shows it
    std::shared_ptr<const core::TFormula1D> function;
    core::TInterval1D interval;
    std::vector<core::TMinimum1D> results;
};

// f as the methods evaluate it.
core::LineFunction1D FunctionOf(const TMinimize1D& lab);

// Compiles the formula, reads a, b and eps as every real field is read, and minimises with each
// method (one whose f raises keeps its error, and the others run on). Raises the formula's error,
// the refusal of the interval or of no method chosen.
TMinimize1D RunMinimize1D(const TMinimize1DFields& fields);

// The methods' counts of values against eps, with the theory's, over the lab's interval.
std::vector<core::TCountRow> CountsOfLab(const TMinimize1D& lab);

// The methods of the lab in its order.
std::vector<core::TLineSearch> MethodsOfLab(const TMinimize1D& lab);

}  // namespace metopt::app
