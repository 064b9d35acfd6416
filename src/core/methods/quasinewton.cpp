// The quasi-Newton methods BFGS and DFP: an estimate B of the inverse Hessian, starting at I,
// updated after every line search.
#include <array>

#include "core/methods/methodrun.h"
#include "runtime/fpu.h"

namespace metopt::core::methods {

namespace {

using Matrix = std::array<std::array<long double, 2>, 2>;
using Vector = std::array<long double, 2>;

constexpr Matrix Identity = {{{1, 0}, {0, 1}}};

Matrix Product(const Matrix& a, const Matrix& b) {
    Matrix p{};
    for (std::size_t i = 0; i < 2; ++i) {
        for (std::size_t j = 0; j < 2; ++j)
            p[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j];
    }
    return p;
}

Vector Product(const Matrix& a, const Vector& v) {
    return {a[0][0] * v[0] + a[0][1] * v[1], a[1][0] * v[0] + a[1][1] * v[1]};
}

// (u·vᵀ)/divisor
Matrix Outer(const Vector& u, const Vector& v, long double divisor) {
    Matrix m{};
    for (std::size_t i = 0; i < 2; ++i) {
        for (std::size_t j = 0; j < 2; ++j)
            m[i][j] = (u[i] * v[j]) / divisor;
    }
    return m;
}

Matrix Plus(const Matrix& a, const Matrix& b, long double sign) {
    Matrix m{};
    for (std::size_t i = 0; i < 2; ++i) {
        for (std::size_t j = 0; j < 2; ++j)
            m[i][j] = a[i][j] + sign * b[i][j];
    }
    return m;
}

// B := (I − s·yᵀ/sy)·B·(I − y·sᵀ/sy) + s·sᵀ/sy when sy > 0.
void UpdateBfgs(Matrix& b, const Vector& s, const Vector& y, long double sy) {
    if (!(sy > 0))
        return;
    const Matrix left = Plus(Identity, Outer(s, y, sy), -1);
    const Matrix right = Plus(Identity, Outer(y, s, sy), -1);
    b = Plus(Product(Product(left, b), right), Outer(s, s, sy), 1);
}

// B := B + s·sᵀ/sy − (B·y)(B·y)ᵀ/(yᵀ·B·y) when sy > 0 and yᵀ·B·y > 0.
void UpdateDfp(Matrix& b, const Vector& s, const Vector& y, long double sy) {
    const Vector by = Product(b, y);
    const long double yby = y[0] * by[0] + y[1] * by[1];
    if (!(sy > 0) || !(yby > 0))
        return;
    b = Plus(Plus(b, Outer(s, s, sy), 1), Outer(by, by, yby), -1);
}

using Update = void (*)(Matrix&, const Vector&, const Vector&, long double);

void RunQuasiNewton(TMethodRun& run, Point start, Update update) {
    Matrix b = Identity;
    Point x = start;
    Vector g{};
    run.Gradient(x, g[0], g[1]);
    for (;;) {
        run.Begin();
        runtime::ClearFpuFlags();
        const Vector d = Product(b, g);
        runtime::CheckFpu();
        const Point next = run.LineSearch(x, -d[0], -d[1]);
        if (run.End(x, next))
            return;
        Vector gNext{};
        run.Gradient(next, gNext[0], gNext[1]);
        runtime::ClearFpuFlags();
        const Vector s{next.X - x.X, next.Y - x.Y};
        const Vector y{gNext[0] - g[0], gNext[1] - g[1]};
        update(b, s, y, s[0] * y[0] + s[1] * y[1]);
        runtime::CheckFpu();
        x = next;
        g = gNext;
    }
}

}  // namespace

void RunBfgs(TMethodRun& run, Point start) {
    RunQuasiNewton(run, start, UpdateBfgs);
}

void RunDfp(TMethodRun& run, Point start) {
    RunQuasiNewton(run, start, UpdateDfp);
}

}  // namespace metopt::core::methods
