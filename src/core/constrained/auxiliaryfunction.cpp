#include "core/constrained/auxiliaryfunction.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::core {

const char* const OutsideBarrierMessage = "Барьерная функция не определена вне допустимой области";

namespace {

// Far above any value a run compares, and rising outward, so that a comparison of two points
// outside prefers the one nearer the boundary (a constant wall would leave the golden section
// free to walk away from it).
constexpr long double BarrierWall = 1e4000L;
constexpr long double BarrierExcessLimit = 1e30L;

}  // namespace

TAuxiliaryFunction::TAuxiliaryFunction(const TObjective& f, const TConstraints& constraints,
                                       TConstraintMethod method, long double r,
                                       std::vector<long double> multipliers)
    : f_(f),
      constraints_(constraints),
      method_(method),
      r_(r),
      multipliers_(std::move(multipliers)) {
    multipliers_.resize(constraints_.size(), 0);
}

bool TAuxiliaryFunction::Outside(std::size_t i, long double g) const {
    return IsBarrier(method_) && constraints_[i].kind == TConstraintKind::Inequality && !(g < 0);
}

TAuxiliaryFunction::Term TAuxiliaryFunction::InequalityTerm(std::size_t i, long double g) const {
    const long double r = r_;
    switch (method_) {
        case TConstraintMethod::LogBarrier:
            return {-std::log(-g) / r, -1 / (r * g), 1 / (r * g * g)};
        case TConstraintMethod::InverseBarrier:
            return {-1 / (r * g), 1 / (r * g * g), -2 / (r * g * g * g)};
        case TConstraintMethod::Lagrange: {
            const long double lambda = multipliers_[i];
            const long double s = lambda + r * g;
            const long double active = s > 0 ? s : 0;
            return {(active * active - lambda * lambda) / (2 * r), active, s > 0 ? r : 0};
        }
        default: {
            const long double active = g > 0 ? g : 0;
            return {r * active * active, 2 * r * active, g > 0 ? 2 * r : 0};
        }
    }
}

TAuxiliaryFunction::Term TAuxiliaryFunction::EqualityTerm(std::size_t i, long double h) const {
    const long double r = r_;
    if (method_ == TConstraintMethod::Lagrange) {
        const long double mu = multipliers_[i];
        return {mu * h + r * h * h / 2, mu + r * h, r};
    }
    return {r * h * h, 2 * r * h, 2 * r};
}

TAuxiliaryFunction::Term TAuxiliaryFunction::TermOf(std::size_t i, long double g) const {
    return constraints_[i].kind == TConstraintKind::Equality ? EqualityTerm(i, g)
                                                             : InequalityTerm(i, g);
}

long double TAuxiliaryFunction::Value(long double x, long double y) const {
    long double value = f_.Value(x, y);
    long double excess = 0;
    bool outside = false;
    for (std::size_t i = 0; i < constraints_.size(); ++i) {
        const long double g = constraints_[i].g->Value(x, y);
        if (Outside(i, g)) {
            outside = true;
            excess += std::min(g, BarrierExcessLimit);
            continue;
        }
        runtime::ClearFpuFlags();
        value += TermOf(i, g).value;
        runtime::CheckFpu();
    }
    return outside ? BarrierWall * (1 + excess) : value;
}

TAuxiliaryFunction::Slope TAuxiliaryFunction::SlopeOf(std::size_t i, long double x,
                                                      long double y) const {
    const TObjective& g = *constraints_[i].g;
    Slope slope{g.Value(x, y), 0, 0};
    if (Outside(i, slope.g))
        throw EOutsideBarrier();
    g.Gradient(x, y, slope.dx, slope.dy);
    return slope;
}

void TAuxiliaryFunction::Gradient(long double x, long double y, long double& gx,
                                  long double& gy) const {
    f_.Gradient(x, y, gx, gy);
    for (std::size_t i = 0; i < constraints_.size(); ++i) {
        const Slope s = SlopeOf(i, x, y);
        runtime::ClearFpuFlags();
        const long double first = TermOf(i, s.g).first;
        gx += first * s.dx;
        gy += first * s.dy;
        runtime::CheckFpu();
    }
}

void TAuxiliaryFunction::Hessian(long double x, long double y, long double& hxx, long double& hxy,
                                 long double& hyy) const {
    f_.Hessian(x, y, hxx, hxy, hyy);
    for (std::size_t i = 0; i < constraints_.size(); ++i) {
        const Slope s = SlopeOf(i, x, y);
        long double gxx = 0;
        long double gxy = 0;
        long double gyy = 0;
        constraints_[i].g->Hessian(x, y, gxx, gxy, gyy);
        runtime::ClearFpuFlags();
        const Term term = TermOf(i, s.g);
        hxx += term.second * s.dx * s.dx + term.first * gxx;
        hxy += term.second * s.dx * s.dy + term.first * gxy;
        hyy += term.second * s.dy * s.dy + term.first * gyy;
        runtime::CheckFpu();
    }
}

}  // namespace metopt::core
