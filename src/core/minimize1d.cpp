#include "core/minimize1d.h"

#include <cmath>
#include <utility>

#include "core/minimizer.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::core {

const long double CountedEps[CountedEpsCount] = {1e-1L, 1e-2L, 1e-3L, 1e-4L,  1e-5L,  1e-6L,
                                                 1e-7L, 1e-8L, 1e-9L, 1e-10L, 1e-11L, 1e-12L};

namespace {

const char* const InfiniteEndMessage = "Концы отрезка a и b должны быть конечными числами";
const char* const EmptyIntervalMessage = "Начало отрезка a должно быть меньше его конца b";
const char* const LongIntervalMessage = "Отрезок [a, b] слишком длинный";
const char* const BadEpsMessage = "Точность eps должна быть положительным конечным числом";
const char* const NotIntervalMessage = "Этот метод не сужает отрезок";

// Beyond any count of extended numbers: a guard for a length over an eps far below it.
constexpr int MaxGoldenCount = 20000;

// b - a is beyond the extended range; the flag of its overflow is left clear.
bool TooLong(long double a, long double b) {
    runtime::ClearFpuFlags();
    const bool tooLong = std::isinf(b - a);
    runtime::ClearFpuFlags();
    return tooLong;
}

// f, each of its values noted as a trial.
LineFunction1D Recording(const LineFunction1D& f, std::vector<TTrial>& trials) {
    return [&f, &trials](long double x) {
        const long double value = f(x);
        trials.push_back({x, value});
        return value;
    };
}

// The golden section as a run's line search makes it, with this eps.
long double GoldenOf(const LineFunction1D& f, const TInterval1D& interval,
                     std::vector<TLineStep>& steps) {
    TDescent descent;
    descent.EpsValue = interval.eps;
    long double t = 0;
    GoldenSearch(descent, f, interval.a, interval.b, t, &steps);
    return t;
}

long double MinimiserBy(TLineSearch method, const LineFunction1D& f, const TInterval1D& interval,
                        std::vector<TLineStep>& steps) {
    const auto [a, b, eps] = interval;
    switch (method) {
        case TLineSearch::Golden:
            return GoldenOf(f, interval, steps);
        case TLineSearch::Dichotomy:
            return DichotomySearch(f, a, b, eps, &steps);
        case TLineSearch::Fibonacci:
            return FibonacciSearch(f, a, b, eps, &steps);
        case TLineSearch::Parabolic:
            return ParabolicSearch(f, a, b, eps, &steps);
        case TLineSearch::Brent:
            return BrentSearch(f, a, b, eps, &steps);
        default:
            throw runtime::Exception(NotIntervalMessage);
    }
}

}  // namespace

void CheckInterval(const TInterval1D& interval) {
    const auto [a, b, eps] = interval;
    if (!std::isfinite(a) || !std::isfinite(b))
        throw runtime::Exception(InfiniteEndMessage);
    if (!(a < b))
        throw runtime::Exception(EmptyIntervalMessage);
    if (TooLong(a, b))
        throw runtime::Exception(LongIntervalMessage);
    if (!(eps > 0) || !std::isfinite(eps))
        throw runtime::Exception(BadEpsMessage);
}

void Minimize1D(const LineFunction1D& f, TLineSearch method, const TInterval1D& interval,
                TMinimum1D& result) {
    result.method = method;
    CheckInterval(interval);
    result.x = NAN;
    result.value = NAN;
    const long double x = MinimiserBy(method, Recording(f, result.trials), interval, result.steps);
    result.x = x;
    result.value = f(x);
}

std::vector<TMinimum1D> MinimizeWithEach(const LineFunction1D& f,
                                         std::span<const TLineSearch> methods,
                                         const TInterval1D& interval) {
    CheckInterval(interval);
    std::vector<TMinimum1D> results(methods.size());
    for (std::size_t i = 0; i < methods.size(); ++i) {
        try {
            Minimize1D(f, methods[i], interval, results[i]);
        } catch (const runtime::Exception& e) {
            results[i].x = NAN;
            results[i].value = NAN;
            results[i].error = e.Message();
        }
    }
    return results;
}

std::vector<TCountRow> CountEvaluations(const LineFunction1D& f,
                                        std::span<const TLineSearch> methods, long double a,
                                        long double b) {
    std::vector<TCountRow> rows;
    for (const long double eps : CountedEps) {
        TCountRow row{eps, {}, GoldenCount(b - a, eps), FibonacciCount(b - a, eps)};
        for (const TMinimum1D& result : MinimizeWithEach(f, methods, {a, b, eps})) {
            if (result.error.empty())
                row.evaluations.emplace_back(result.Evaluations());
            else
                row.evaluations.emplace_back();
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

int GoldenCount(long double length, long double eps) {
    const long double ratio = (std::sqrt(5.0L) - 1) / 2;
    int n = 2;
    for (long double width = length * ratio; !(width < eps) && n < MaxGoldenCount; ++n)
        width *= ratio;
    return n;
}

}  // namespace metopt::core
