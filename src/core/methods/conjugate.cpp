// Conjugate gradients: Fletcher–Reeves and Polak–Ribière, restarted every second iteration.
#include <algorithm>

#include "core/methods/methodrun.h"
#include "runtime/fpu.h"

namespace metopt::core::methods {

namespace {

enum class Beta { FletcherReeves, PolakRibiere };

long double BetaOf(Beta kind, long double gx, long double gy, long double px, long double py) {
    const long double previous = Dot(px, py, px, py);
    runtime::ClearFpuFlags();
    const long double beta = kind == Beta::FletcherReeves
                                 ? (gx * gx + gy * gy) / previous
                                 : std::max(0.0L, gx * (gx - px) + gy * (gy - py)) / previous;
    runtime::CheckFpu();
    return beta;
}

void RunConjugate(TMethodRun& run, Point start, Beta kind) {
    Point x = start;
    long double gx = 0;
    long double gy = 0;
    run.Gradient(x, gx, gy);
    long double dx = -gx;
    long double dy = -gy;
    for (int k = 1;; ++k) {
        run.Begin();
        const Point next = run.LineSearch(x, dx, dy);
        if (run.End(x, next))
            return;
        const long double px = gx;
        const long double py = gy;
        run.Gradient(next, gx, gy);
        if (k % 2 == 0 || Dot(px, py, px, py) == 0) {
            dx = -gx;
            dy = -gy;
        } else {
            const long double beta = BetaOf(kind, gx, gy, px, py);
            runtime::ClearFpuFlags();
            dx = -gx + beta * dx;
            dy = -gy + beta * dy;
            runtime::CheckFpu();
        }
        x = next;
    }
}

}  // namespace

void RunFletcherReeves(TMethodRun& run, Point start) {
    RunConjugate(run, start, Beta::FletcherReeves);
}

void RunPolakRibiere(TMethodRun& run, Point start) {
    RunConjugate(run, start, Beta::PolakRibiere);
}

}  // namespace metopt::core::methods
