#pragma once
// The function an outer iteration of a constrained run minimises: f plus a term φ(g) for each
// constraint, with exact derivatives by the chain rule from those of f and of the constraints:
//   ∇A = ∇f + Σ φ'(g)·∇g,   ∇²A = ∇²f + Σ (φ''(g)·∇g∇gᵀ + φ'(g)·∇²g).
// Penalty: r·max(0, g)²; log barrier: −ln(−g)/r; inverse barrier: −1/(r·g); multipliers
// (augmented Lagrangian): (max(0, λ + r·g)² − λ²)/(2r). Equalities: r·h², or μ·h + r·h²/2 with
// multipliers. A barrier's value outside its inequalities (g >= 0) is a wall far above every
// value inside, rising with the sum of the g outside, so that a line search turns back at the
// boundary; its derivatives there raise.
#include <span>
#include <vector>

#include "core/constrained/constraintmethod.h"
#include "core/constraint.h"
#include "core/objective.h"
#include "runtime/exceptions.h"

namespace metopt::core {

// The text of a barrier's derivative asked outside its inequalities.
extern const char* const OutsideBarrierMessage;
// What a barrier's derivative outside its inequalities raises.
class EOutsideBarrier : public runtime::Exception {
  public:
    EOutsideBarrier() : Exception(OutsideBarrierMessage) {}
};

class TAuxiliaryFunction final : public TObjective {
  public:
    // `multipliers`: one per constraint (the method of multipliers; ignored by the others).
    // Keeps references to f and the constraints.
    TAuxiliaryFunction(const TObjective& f, const TConstraints& constraints,
                       TConstraintMethod method, long double r,
                       std::vector<long double> multipliers = {});

    long double Value(long double x, long double y) const override;
    void Gradient(long double x, long double y, long double& gx, long double& gy) const override;
    void Hessian(long double x, long double y, long double& hxx, long double& hxy,
                 long double& hyy) const override;

  private:
    // φ of constraint i at g and its first two derivatives in g.
    struct Term {
        long double value;
        long double first;
        long double second;
    };
    Term TermOf(std::size_t i, long double g) const;
    Term InequalityTerm(std::size_t i, long double g) const;
    Term EqualityTerm(std::size_t i, long double h) const;
    bool Outside(std::size_t i, long double g) const;
    // Constraint i's value and gradient; raises EOutsideBarrier outside a barrier's inequality.
    struct Slope {
        long double g;
        long double dx;
        long double dy;
    };
    Slope SlopeOf(std::size_t i, long double x, long double y) const;

    const TObjective& f_;
    const TConstraints& constraints_;
    TConstraintMethod method_;
    long double r_;
    std::vector<long double> multipliers_;
};

}  // namespace metopt::core
