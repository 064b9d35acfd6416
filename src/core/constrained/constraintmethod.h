#pragma once
// How a run takes its constraints into account: the items of the menu "Работа" → "Учёт
// ограничений", and the parameters of their outer loop.
#include <cstdint>

namespace metopt::core {

// In menu order; None runs the method on the function alone, as if there were no constraints.
enum class TConstraintMethod { None, Penalty, LogBarrier, InverseBarrier, Lagrange };
constexpr int ConstraintMethodCount = 5;
extern const char* const ConstraintMethodCaptions[ConstraintMethodCount];
// The names batch mode takes: none, penalty, log-barrier, inverse-barrier, lagrange.
extern const char* const ConstraintMethodNames[ConstraintMethodCount];

inline const char* ConstraintMethodCaption(TConstraintMethod method) {
    return ConstraintMethodCaptions[static_cast<int>(method)];
}
// Whether the method keeps its points strictly inside the inequalities.
constexpr bool IsBarrier(TConstraintMethod method) {
    return method == TConstraintMethod::LogBarrier || method == TConstraintMethod::InverseBarrier;
}

// The most outer iterations of a run.
constexpr std::uint32_t OuterIterationLimit = 50;

struct TConstraintSettings {
    TConstraintMethod method = TConstraintMethod::None;
    long double r0 = 1;       // the coefficient of the first outer iteration
    long double growth = 10;  // C: r(k+1) = C·r(k)
    long double outerEps = 1e-6L;
};

}  // namespace metopt::core
