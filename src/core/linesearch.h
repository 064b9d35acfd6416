#pragma once
// The one-dimensional methods a run's line search can use besides the scan and golden section:
// the interval methods over a bracket [a, b] down to eps (dichotomy, Fibonacci, successive
// parabolic interpolation, Brent's method) and the inexact steps from a first trial t0 (Armijo's
// backtracking and the strong Wolfe conditions, as Nocedal and Wright give them).
#include <cstddef>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace metopt::core {

enum class TLineSearch { Golden, Dichotomy, Fibonacci, Parabolic, Brent, Armijo, Wolfe };
constexpr int LineSearchCount = 7;

// The menu's items and the report's names, and the names batch options and lab files take.
extern const char* const LineSearchCaptions[LineSearchCount];
constexpr std::string_view LineSearchWords[LineSearchCount] = {
    "golden", "dichotomy", "fibonacci", "parabolic", "brent", "armijo", "wolfe"};

// Whether the method narrows the scan's bracket (the others step from t0 with the slope).
constexpr bool NarrowsBracket(TLineSearch method) {
    return method != TLineSearch::Armijo && method != TLineSearch::Wolfe;
}

using LineFunction1D = std::function<long double(long double)>;

// One step of a line search as the lab reports print it: the interval [a, b] after it and the
// trial points with their values (t2 and phi2 NaN for a step of one point; a and b NaN for the
// inexact methods).
struct TLineStep {
    long double a, b, t1, phi1, t2, phi2;
};
// Where a line search of a run looks: its trial t is the point (x + t dx, y + t dy).
struct TLineOrigin {
    long double x = 0, y = 0, dx = 0, dy = 0;
};
// What one line search did: the iteration of the run it served, where it looked, the scan's
// points, the bracket, its steps and the multiplier taken.
struct TLineSearchRecord {
    unsigned iteration = 0;
    TLineSearch method = TLineSearch::Golden;
    TLineOrigin origin;
    std::vector<std::pair<long double, long double>> scan;
    long double a = 0, b = 0;
    std::vector<TLineStep> steps;
    long double t = 0;
};
// Where a run tells its line searches: every one until they hold `pointLimit` scan points and
// steps in all (the one that passes it is the last kept), so that a run of many long scans
// cannot fill the memory.
struct TLineRecorder {
    std::vector<TLineSearchRecord> records;
    std::size_t pointLimit = static_cast<std::size_t>(-1);
    std::size_t points = 0;
    bool Full() const { return points >= pointLimit; }
};

// The minimiser found in [a, b]; each stops once its interval (or Brent's bracket) is shorter
// than eps, or no longer narrows, and adds its steps to `steps` when given.
long double DichotomySearch(const LineFunction1D& phi, long double a, long double b,
                            long double eps, std::vector<TLineStep>* steps = nullptr);
// Takes exactly FibonacciCount(b - a, eps) values of phi.
long double FibonacciSearch(const LineFunction1D& phi, long double a, long double b,
                            long double eps, std::vector<TLineStep>* steps = nullptr);
// The smallest n >= 3 with F(n) >= length / eps (F(0) = F(1) = 1), or 0 when length <= eps.
int FibonacciCount(long double length, long double eps);
long double ParabolicSearch(const LineFunction1D& phi, long double a, long double b,
                            long double eps, std::vector<TLineStep>* steps = nullptr);
long double BrentSearch(const LineFunction1D& phi, long double a, long double b, long double eps,
                        std::vector<TLineStep>* steps = nullptr);

// Sufficient decrease phi(t) <= phi(0) + c1 t phi'(0), c1 = 1e-4, halving t from t0; 0 when the
// direction does not descend (phi'(0) >= 0) or no trial decreases.
constexpr long double ArmijoC1 = 1e-4L;
constexpr long double WolfeC2 = 0.9L;
long double ArmijoStep(const LineFunction1D& phi, const LineFunction1D& slope, long double t0,
                       std::vector<TLineStep>* steps = nullptr);
// A step that meets the strong Wolfe conditions (c1 = 1e-4, c2 = 0.9), bracketing from t0 by
// doubling up to tMax, then zooming by bisection; 0 when the direction does not descend.
long double WolfeStep(const LineFunction1D& phi, const LineFunction1D& slope, long double t0,
                      long double tMax, std::vector<TLineStep>* steps = nullptr);

}  // namespace metopt::core
