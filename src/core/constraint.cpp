#include "core/constraint.h"

#include <algorithm>

namespace metopt::core {

long double Violation(const TConstraint& constraint, long double x, long double y) {
    const long double g = constraint.g->Value(x, y);
    if (constraint.kind == TConstraintKind::Equality)
        return g < 0 ? -g : g;
    return std::max<long double>(0, g);
}

long double LargestViolation(const TConstraints& constraints, long double x, long double y) {
    long double largest = 0;
    for (const TConstraint& constraint : constraints)
        largest = std::max(largest, Violation(constraint, x, y));
    return largest;
}

std::size_t FirstNotStrictlyInside(const TConstraints& constraints, long double x, long double y) {
    for (std::size_t i = 0; i < constraints.size(); ++i) {
        const TConstraint& constraint = constraints[i];
        if (constraint.kind == TConstraintKind::Inequality && !(constraint.g->Value(x, y) < 0))
            return i + 1;
    }
    return 0;
}

}  // namespace metopt::core
