#pragma once
// The one-dimensional lab: a function of one variable minimised over [a, b] down to eps by each
// interval method (the golden section as the runs' line search does it, dichotomy, Fibonacci,
// successive parabolic interpolation, Brent's method) with every value it took, and the number
// of values each takes against eps beside the counts the theory gives for the golden section and
// Fibonacci's method.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/linesearch.h"

namespace metopt::core {

// The methods that narrow an interval, in the order of the line search's menu.
constexpr int IntervalMethodCount = 5;
constexpr TLineSearch IntervalMethods[IntervalMethodCount] = {
    TLineSearch::Golden, TLineSearch::Dichotomy, TLineSearch::Fibonacci, TLineSearch::Parabolic,
    TLineSearch::Brent};

// Where a method looks and how far it narrows.
struct TInterval1D {
    long double a = 0;
    long double b = 0;
    long double eps = 0;
};

// One value of the function a method took.
struct TTrial {
    long double x;
    long double value;
};

// What one method did: its steps (TLineStep as the line searches record them), every value of f
// it took in order, the minimiser found and f there (computed after the method, not counted).
// A method whose f raised keeps what it did up to then and the message, x and value NaN.
struct TMinimum1D {
    TLineSearch method = TLineSearch::Golden;
    std::vector<TLineStep> steps;
    std::vector<TTrial> trials;
    long double x = 0;
    long double value = 0;
    std::string error;
    std::size_t Evaluations() const { return trials.size(); }
};

// Raises runtime::Exception with the refusal when a or b is not finite, a >= b, b - a is beyond
// the extended range, or eps is not a positive finite number.
void CheckInterval(const TInterval1D& interval);

// Minimises f over the interval with `method`, one of IntervalMethods: checks the interval first,
// then records into `result` as it goes, so that what f raises (which passes on) leaves the steps
// and values taken before it.
void Minimize1D(const LineFunction1D& f, TLineSearch method, const TInterval1D& interval,
                TMinimum1D& result);
// Each of the methods in turn; one whose f raises keeps its message, and the others run on.
// Raises the interval's refusal before any runs.
std::vector<TMinimum1D> MinimizeWithEach(const LineFunction1D& f,
                                         std::span<const TLineSearch> methods,
                                         const TInterval1D& interval);

// The eps of the counts: 1e-1, 1e-2, ..., 1e-12.
constexpr int CountedEpsCount = 12;
extern const long double CountedEps[CountedEpsCount];

// The values each method takes at one eps (none for a method whose f raised), and the theory's.
struct TCountRow {
    long double eps = 0;
    std::vector<std::optional<std::size_t>> evaluations;
    int goldenTheory = 0;
    int fibonacciTheory = 0;
};
// One row per CountedEps for [a, b]; raises the interval's refusal.
std::vector<TCountRow> CountEvaluations(const LineFunction1D& f,
                                        std::span<const TLineSearch> methods, long double a,
                                        long double b);

// The golden section's count: 2 values to start, which leave an interval of length * 0.618...,
// and one more value for each narrowing by 0.618... while the interval is not shorter than eps;
// that is the smallest n >= 2 with length * 0.618...^(n - 1) < eps (strictly less, as
// GoldenSearch stops).
int GoldenCount(long double length, long double eps);

}  // namespace metopt::core
