#include "core/linesearch.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace metopt::core {

const char* const LineSearchCaptions[LineSearchCount] = {
    "Золотое сечение",
    "Дихотомия",
    "Фибоначчи",
    "Параболическая интерполяция",
    "Метод Брента",
    "Армихо (дробление шага)",
    "Сильные условия Вольфе",
};

namespace {

// Enough passes for any eps the extended type can resolve; a guard against a function that
// never lets the interval narrow.
constexpr int MaxPasses = 10000;

const long double Golden = (3 - std::sqrt(5.0L)) / 2;  // 0.381966...

constexpr long double None = NAN;

void Note(std::vector<TLineStep>* steps, const TLineStep& step) {
    if (steps)
        steps->push_back(step);
}

}  // namespace

long double DichotomySearch(const LineFunction1D& phi, long double a, long double b,
                            long double eps, std::vector<TLineStep>* steps) {
    const long double delta = eps / 3;
    for (int pass = 0; pass < MaxPasses && b - a >= eps; ++pass) {
        const long double width = b - a;
        const long double middle = a + width / 2;
        const long double t1 = middle - delta / 2;
        const long double t2 = middle + delta / 2;
        const long double f1 = phi(t1);
        const long double f2 = phi(t2);
        if (f1 < f2)
            b = t2;
        else
            a = t1;
        Note(steps, {a, b, t1, f1, t2, f2});
        if (!(b - a < width))
            break;
    }
    return a + (b - a) / 2;
}

int FibonacciCount(long double length, long double eps) {
    if (!(length > eps))
        return 0;
    long double previous = 1;
    long double current = 1;
    int n = 1;
    while (current < length / eps || n < 3) {
        const long double next = previous + current;
        previous = current;
        current = next;
        ++n;
        if (n > 20000)
            break;  // beyond any ratio of extended numbers
    }
    return n;
}

long double FibonacciSearch(const LineFunction1D& phi, long double a, long double b,
                            long double eps, std::vector<TLineStep>* steps) {
    const int n = FibonacciCount(b - a, eps);
    if (n == 0)
        return a + (b - a) / 2;
    std::vector<long double> F(static_cast<std::size_t>(n) + 1);
    F[0] = F[1] = 1;
    for (std::size_t k = 2; k < F.size(); ++k)
        F[k] = F[k - 1] + F[k - 2];
    const auto at = [&](int k) { return F[static_cast<std::size_t>(k)]; };
    // The last two points would meet in the middle: the second stands this far beside it.
    const long double delta = eps / 10;
    long double t1 = a + at(n - 2) / at(n) * (b - a);
    long double t2 = a + at(n - 1) / at(n) * (b - a);
    long double f1 = phi(t1);
    long double f2 = phi(t2);
    // Each step: the interval the two points leave, with them; then the next point.
    for (int k = 1;; ++k) {
        const bool keepsFirst = f1 <= f2;
        if (keepsFirst)
            b = t2;
        else
            a = t1;
        Note(steps, {a, b, t1, f1, t2, f2});
        if (k == n - 1)
            break;
        const bool last = k == n - 2;
        if (keepsFirst) {
            t2 = t1;
            f2 = f1;
            t1 = last ? t2 - delta : a + at(n - k - 2) / at(n - k) * (b - a);
            f1 = phi(t1);
        } else {
            t1 = t2;
            f1 = f2;
            t2 = last ? t1 + delta : a + at(n - k - 1) / at(n - k) * (b - a);
            f2 = phi(t2);
        }
    }
    return a + (b - a) / 2;
}

// Three points a < x < b with phi(x) below both ends' (or the lowest seen), the vertex of the
// parabola through the lowest three taken when it lies well inside, else a golden-section step
// into the larger side.
long double ParabolicSearch(const LineFunction1D& phi, long double a, long double b,
                            long double eps, std::vector<TLineStep>* steps) {
    long double x = a + (b - a) / 2;
    long double fx = phi(x);
    long double fa = phi(a);
    long double fb = phi(b);
    for (int pass = 0; pass < MaxPasses && b - a >= eps; ++pass) {
        const long double width = b - a;
        const long double p = (x - a) * (x - a) * (fx - fb) - (x - b) * (x - b) * (fx - fa);
        const long double q = 2 * ((x - a) * (fx - fb) - (x - b) * (fx - fa));
        long double u = q != 0 ? x - p / q : NAN;
        const long double room = eps / 4;
        if (!(u > a + room && u < b - room) || std::fabs(u - x) < room)
            u = x - a > b - x ? x - Golden * (x - a) : x + Golden * (b - x);
        const long double fu = phi(u);
        if (fu <= fx) {
            if (u < x) {
                b = x;
                fb = fx;
            } else {
                a = x;
                fa = fx;
            }
            x = u;
            fx = fu;
        } else if (u < x) {
            a = u;
            fa = fu;
        } else {
            b = u;
            fb = fu;
        }
        Note(steps, {a, b, u, fu, None, None});
        if (!(b - a < width))
            break;
    }
    return x;
}

// Brent's method as Numerical Recipes gives it, with the absolute tolerance eps / 4, so that it
// stops once its bracket is shorter than about eps.
long double BrentSearch(const LineFunction1D& phi, long double a, long double b, long double eps,
                        std::vector<TLineStep>* steps) {
    const long double tol = eps / 4;
    long double x = a + Golden * (b - a);
    long double w = x;
    long double v = x;
    long double fx = phi(x);
    long double fw = fx;
    long double fv = fx;
    long double d = 0;
    long double e = 0;
    for (int pass = 0; pass < MaxPasses; ++pass) {
        const long double middle = a + (b - a) / 2;
        if (std::fabs(x - middle) <= 2 * tol - (b - a) / 2)
            break;
        bool golden = true;
        if (std::fabs(e) > tol) {
            const long double r = (x - w) * (fx - fv);
            long double q = (x - v) * (fx - fw);
            long double p = (x - v) * q - (x - w) * r;
            q = 2 * (q - r);
            if (q > 0)
                p = -p;
            q = std::fabs(q);
            const long double before = e;
            e = d;
            if (std::fabs(p) < std::fabs(q * before / 2) && p > q * (a - x) && p < q * (b - x)) {
                d = p / q;
                const long double u = x + d;
                if (u - a < 2 * tol || b - u < 2 * tol)
                    d = middle > x ? tol : -tol;
                golden = false;
            }
        }
        if (golden) {
            e = x >= middle ? a - x : b - x;
            d = Golden * e;
        }
        const long double u = std::fabs(d) >= tol ? x + d : x + (d > 0 ? tol : -tol);
        const long double fu = phi(u);
        if (fu <= fx) {
            (u >= x ? a : b) = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            (u < x ? a : b) = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
        Note(steps, {a, b, u, fu, None, None});
    }
    return x;
}

long double ArmijoStep(const LineFunction1D& phi, const LineFunction1D& slope, long double t0,
                       std::vector<TLineStep>* steps) {
    const long double f0 = phi(0);
    const long double g0 = slope(0);
    if (!(g0 < 0) || !(t0 > 0))
        return 0;
    long double t = t0;
    for (int halving = 0; halving < 200; ++halving, t /= 2) {
        const long double ft = phi(t);
        Note(steps, {None, None, t, ft, None, None});
        if (ft <= f0 + ArmijoC1 * t * g0)
            return t;
    }
    return 0;
}

namespace {

// Nocedal and Wright's Algorithm 3.6 with bisection between lo and hi.
long double Zoom(const LineFunction1D& phi, const LineFunction1D& slope, long double f0,
                 long double g0, long double lo, long double flo, long double hi,
                 std::vector<TLineStep>* steps) {
    for (int pass = 0; pass < 200; ++pass) {
        const long double t = lo + (hi - lo) / 2;
        const long double ft = phi(t);
        Note(steps, {std::min(lo, hi), std::max(lo, hi), t, ft, None, None});
        if (ft > f0 + ArmijoC1 * t * g0 || ft >= flo) {
            hi = t;
            continue;
        }
        const long double gt = slope(t);
        if (std::fabs(gt) <= -WolfeC2 * g0)
            return t;
        if (gt * (hi - lo) >= 0)
            hi = lo;
        lo = t;
        flo = ft;
    }
    return lo;
}

}  // namespace

long double WolfeStep(const LineFunction1D& phi, const LineFunction1D& slope, long double t0,
                      long double tMax, std::vector<TLineStep>* steps) {
    const long double f0 = phi(0);
    const long double g0 = slope(0);
    if (!(g0 < 0) || !(t0 > 0))
        return 0;
    long double previous = 0;
    long double fPrevious = f0;
    long double t = std::min(t0, tMax);
    // Nocedal and Wright's Algorithm 3.5, the trial doubled each pass.
    for (int pass = 0; pass < 200; ++pass) {
        const long double ft = phi(t);
        Note(steps, {None, None, t, ft, None, None});
        if (ft > f0 + ArmijoC1 * t * g0 || (pass > 0 && ft >= fPrevious))
            return Zoom(phi, slope, f0, g0, previous, fPrevious, t, steps);
        const long double gt = slope(t);
        if (std::fabs(gt) <= -WolfeC2 * g0)
            return t;
        if (gt >= 0)
            return Zoom(phi, slope, f0, g0, t, ft, previous, steps);
        if (t >= tMax)
            return t;
        previous = t;
        fPrevious = ft;
        t = std::min(2 * t, tMax);
    }
    return t;
}

}  // namespace metopt::core
