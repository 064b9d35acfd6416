#pragma once
// A function of the plane with its exact first and second derivatives: what a minimisation method
// evaluates. Every routine takes x before y; evaluations check the floating-point flags and raise
// EOverflow / EZeroDivide / EInvalidOp as the equation list's functions do. An implementation is
// pure (it depends on x and y alone and touches no shared state), so one object may be evaluated
// on several threads at once.

#include <cstddef>

namespace metopt::core {

class TObjective {
  public:
    virtual ~TObjective() = default;

    virtual long double Value(long double x, long double y) const = 0;
    virtual void Gradient(long double x, long double y, long double& gx, long double& gy) const = 0;
    virtual void Hessian(long double x, long double y, long double& hxx, long double& hxy,
                         long double& hyy) const = 0;

    // Whether UncheckedValues gives Value's values, bit for bit and with the same floating-point
    // flags raised, but without clearing them before and checking them after each: for a caller
    // that clears them once and reads them after many evaluations.
    virtual bool HasUncheckedValues() const { return false; }
    // Those values at (xs[i], y) for i < count, into values[i]; by Value where there are none.
    virtual void UncheckedValues(const long double* xs, long double y, std::size_t count,
                                 long double* values) const {
        for (std::size_t i = 0; i < count; ++i)
            values[i] = Value(xs[i], y);
    }
};

}  // namespace metopt::core
