#pragma once
// The constraints of a problem: each g(x, y) <= 0 or h(x, y) = 0, with the text as typed. The
// functions are pure, as every objective is.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "core/objective.h"

namespace metopt::core {

enum class TConstraintKind { Inequality, Equality };

struct TConstraint {
    std::string text;  // as typed, without the blanks around it
    TConstraintKind kind = TConstraintKind::Inequality;
    // g of g <= 0, or h of h = 0.
    std::shared_ptr<const TObjective> g;
};
using TConstraints = std::vector<TConstraint>;

// The most constraints a problem takes.
constexpr std::size_t MaxConstraints = 16;

// How far a constraint is from holding at (x, y): max(0, g) or |h|.
long double Violation(const TConstraint& constraint, long double x, long double y);
// The largest of the constraints' violations (0 when there are none); raises what their
// evaluations raise.
long double LargestViolation(const TConstraints& constraints, long double x, long double y);
// The 1-based number of the first inequality that does not hold strictly (g >= 0) at (x, y), or
// 0 when every one does.
std::size_t FirstNotStrictlyInside(const TConstraints& constraints, long double x, long double y);

}  // namespace metopt::core
