#include "core/minimizer.h"

#include <cmath>

#include "core/builtinfunctions.h"
#include "core/builtinobjective.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::core {

namespace {

// The bracketing scan may take at most this many steps of h_step inside the disc.
// Deliberate: see docs/behaviour.md, "Run limits".
constexpr long double MaxScanSteps = 1000000.0L;

const char* const NoFunctionMessage = "Уравнение не выбрано: выберите его из списка";
const char* const BadEpsMessage = "Точность eps должна быть положительным числом";
const char* const BadStepMessage = "Шаг сканирования h_step должен быть положительным числом";
const char* const TooManyStepsMessage =
    "Слишком много шагов сканирования: уменьшите Uoo или увеличьте h_step";

bool IsTableIndex(std::int32_t index) {
    return index >= 0 && index < FunctionCount;
}

bool FuncIndexValid(const TDescent& descent) {
    return IsTableIndex(descent.FuncIndex) || descent.Typed;
}

// (DomainRadius - StepValue) / StepValue, the number of steps the scan may take. An overflow of
// the quotient (a huge radius over a tiny step) counts as too many and leaves no flag behind.
bool ScanTooLong(const TDescent& descent) {
    runtime::ClearFpuFlags();
    const long double steps = (descent.DomainRadius - descent.StepValue) / descent.StepValue;
    const bool tooLong = steps > MaxScanSteps;  // an overflow gives +inf, also too many
    runtime::ClearFpuFlags();
    return tooLong;
}

// A scan advances only with a positive step, and ends within a bounded number of them.
// Deliberate: see docs/behaviour.md, "Run refusals".
void CheckScanParameters(const TDescent& descent) {
    if (!(descent.StepValue > 0))
        throw runtime::Exception(BadStepMessage);
    if (ScanTooLong(descent))
        throw runtime::Exception(TooManyStepsMessage);
}

// One iteration's move from (xp, yp) by the multiplier t along the antigradient (gx, gy).
void MoveAlongAntigradient(long double xp, long double yp, long double t, long double gx,
                           long double gy, long double& x, long double& y) {
    runtime::ClearFpuFlags();
    x = xp - t * gx;
    y = yp - t * gy;
    runtime::CheckFpu();
}

// The golden-section interval [a, b], its inner point t1 and phi there, p1.
struct GoldenInterval {
    long double a;
    long double b;
    long double t1;
    long double p1;
};

// The new point t2 lies after t1: [a, t1) is cut off when phi is lower at t2 (t2 becoming
// the inner point), else (t2, b].
void KeepWithPointAfter(GoldenInterval& interval, long double t2, long double p2) {
    if (p2 < interval.p1) {
        interval.a = interval.t1;
        interval.t1 = t2;
        interval.p1 = p2;
    } else {
        interval.b = t2;
    }
}

// The new point t2 lies before t1: [a, t2) is cut off when phi is lower at t1, else (t1, b] (t2
// becoming the inner point).
void KeepWithPointBefore(GoldenInterval& interval, long double t2, long double p2) {
    if (interval.p1 < p2) {
        interval.a = t2;
    } else {
        interval.b = interval.t1;
        interval.t1 = t2;
        interval.p1 = p2;
    }
}

// One pass: phi at t1's mirror image in [a, b], and the interval cut on the side of the higher
// value.
// Returns the step as the reports print it.
TLineStep NarrowGolden(const LineFunc& phi, GoldenInterval& interval) {
    const long double t1 = interval.t1;
    const long double p1 = interval.p1;
    const long double t2 = (interval.a + interval.b) - interval.t1;
    const long double p2 = phi(t2);
    if (interval.t1 > t2) {
        KeepWithPointBefore(interval, t2, p2);
        return {interval.a, interval.b, t2, p2, t1, p1};
    }
    KeepWithPointAfter(interval, t2, p2);
    return {interval.a, interval.b, t1, p1, t2, p2};
}

}  // namespace

// Every table access goes through here, so no caller can index the tables out of range.
const TObjective& SelectedObjective(const TDescent& descent) {
    if (IsTableIndex(descent.FuncIndex))
        return BuiltinObjective(descent.FuncIndex);
    if (!descent.Typed)
        throw runtime::Exception(NoFunctionMessage);
    return *descent.Typed;
}

void BeginTrace(TDescent& descent, long double x0, long double y0) {
    descent.TraceStart = TTracePoint{x0, y0};
    descent.TraceFuncIndex = descent.FuncIndex;
    descent.TraceTyped = IsTableIndex(descent.FuncIndex) ? nullptr : descent.Typed;
    descent.InnerTraces.clear();
    descent.OuterViolations.clear();
}

const TObjective* TraceObjective(const TDescent& descent) {
    if (IsTableIndex(descent.TraceFuncIndex))
        return &BuiltinObjective(descent.TraceFuncIndex);
    return descent.TraceTyped.get();
}

long double Distance(long double x1, long double y1, long double x2, long double y2) {
    runtime::ClearFpuFlags();
    const long double d = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
    runtime::CheckFpu();
    return d;
}

bool InsideDomain(const TDescent& descent, long double x, long double y) {
    return Distance(x, y, 0, 0) <= descent.DomainRadius;
}

long double LineFunction(const TDescent& descent, long double t, long double x, long double y) {
    WatchEvaluation(descent);
    const TObjective& f = SelectedObjective(descent);
    long double gx = 0;
    long double gy = 0;
    f.Gradient(x, y, gx, gy);
    long double xt = 0;
    long double yt = 0;
    MoveAlongAntigradient(x, y, t, gx, gy, xt, yt);
    return f.Value(xt, yt);
}

void BracketScan(const TDescent& descent, const LineFunc& phi, long double& a, long double& b) {
    CheckScanParameters(descent);
    const long double h = descent.StepValue;
    a = 0;
    b = h;
    long double fa = phi(0);
    long double fb = phi(h);
    if (fb > fa)
        return;
    // From here a lags one step behind the scanned point b, and fa holds phi at b - h.
    a = -h;
    // Deliberate: see docs/behaviour.md, "Bracketing scan".
    while (!(fb > fa) && b < descent.DomainRadius - h) {
        a = a + h;
        b = b + h;
        fa = fb;
        fb = phi(b);
    }
}

long double GoldenSearch(const TDescent& descent, const LineFunc& phi, long double a, long double b,
                         long double& t, std::vector<TLineStep>* steps) {
    const long double c1 = (3 - std::sqrt(5.0L)) / 2;
    const long double c2 = (std::sqrt(5.0L) - 1) / 2;
    GoldenInterval interval{a, b, a + c1 * (b - a), 0};
    const long double t2 = a + c2 * (b - a);
    interval.p1 = phi(interval.t1);
    const long double p2 = phi(t2);
    const long double t1 = interval.t1;
    const long double p1 = interval.p1;
    KeepWithPointAfter(interval, t2, p2);
    if (steps)
        steps->push_back({interval.a, interval.b, t1, p1, t2, p2});
    // Deliberate: see docs/behaviour.md, "One eps".
    while (std::fabs(interval.b - interval.a) >= descent.EpsValue) {
        const long double width = std::fabs(interval.b - interval.a);
        const TLineStep step = NarrowGolden(phi, interval);
        if (steps)
            steps->push_back(step);
        // An eps below the spacing of extended numbers here can never be reached: stop once a
        // pass no longer narrows the interval.
        // Deliberate: see docs/behaviour.md, "Golden-section stop".
        if (!(std::fabs(interval.b - interval.a) < width))
            break;
    }
    t = interval.t1;
    return interval.p1;
}

namespace {

long double SearchWith(const TDescent& descent, const LineFunc& phi, const LineFunc* slope,
                       TLineSearchRecord* record) {
    std::vector<TLineStep>* const steps = record ? &record->steps : nullptr;
    const TLineSearch method = descent.LineSearchMethod;
    if (!NarrowsBracket(method) && slope) {
        CheckScanParameters(descent);
        return method == TLineSearch::Armijo
                   ? ArmijoStep(phi, *slope, descent.StepValue, steps)
                   : WolfeStep(phi, *slope, descent.StepValue, descent.DomainRadius, steps);
    }
    long double a = 0;
    long double b = 0;
    if (record) {
        BracketScan(
            descent,
            [&](long double t) {
                const long double value = phi(t);
                record->scan.emplace_back(t, value);
                return value;
            },
            a, b);
        record->a = a;
        record->b = b;
    } else {
        BracketScan(descent, phi, a, b);
    }
    const long double eps = descent.EpsValue;
    switch (method) {
        case TLineSearch::Dichotomy:
            return DichotomySearch(phi, a, b, eps, steps);
        case TLineSearch::Fibonacci:
            return FibonacciSearch(phi, a, b, eps, steps);
        case TLineSearch::Parabolic:
            return ParabolicSearch(phi, a, b, eps, steps);
        case TLineSearch::Brent:
            return BrentSearch(phi, a, b, eps, steps);
        default: {
            long double t = 0;
            GoldenSearch(descent, phi, a, b, t, steps);
            return t;
        }
    }
}

}  // namespace

long double SearchLine(const TDescent& descent, const LineFunc& phi, const LineFunc* slope,
                       const TLineOrigin& origin) {
    if (!descent.LineRecords || descent.LineRecords->Full())
        return SearchWith(descent, phi, slope, nullptr);
    // Recorded as far as it got, also when it raises.
    TLineRecorder& recorder = *descent.LineRecords;
    recorder.records.push_back(
        {descent.TraceCount, descent.LineSearchMethod, origin, {}, 0, 0, {}, 0});
    TLineSearchRecord& record = recorder.records.back();
    struct Counted {
        TLineRecorder& recorder;
        const TLineSearchRecord& record;
        ~Counted() { recorder.points += record.scan.size() + record.steps.size() + 1; }
    } counted{recorder, record};
    record.t = SearchWith(descent, phi, slope, &record);
    return record.t;
}

namespace {

LineFunc AlongAntigradient(const TDescent& descent, long double x, long double y) {
    return [&descent, x, y](long double t) { return LineFunction(descent, t, x, y); };
}

}  // namespace

void BracketStep(const TDescent& descent, long double x, long double y, long double& a,
                 long double& b) {
    BracketScan(descent, AlongAntigradient(descent, x, y), a, b);
}

long double GoldenSection(const TDescent& descent, long double x, long double y, long double a,
                          long double b, long double& t) {
    return GoldenSearch(descent, AlongAntigradient(descent, x, y), a, b, t);
}

namespace {

// The antigradient at (x, y) as the origin of a recorded line search (phi evaluates the same
// gradient first); nothing is evaluated when no record is kept.
TLineOrigin AntigradientOrigin(const TDescent& descent, long double x, long double y) {
    TLineOrigin origin{x, y, 0, 0};
    if (descent.LineRecords) {
        SelectedObjective(descent).Gradient(x, y, origin.dx, origin.dy);
        origin.dx = -origin.dx;
        origin.dy = -origin.dy;
    }
    return origin;
}

}  // namespace

long double LineSearch(const TDescent& descent, long double x, long double y) {
    if (NarrowsBracket(descent.LineSearchMethod))
        return SearchLine(descent, AlongAntigradient(descent, x, y), nullptr,
                          AntigradientOrigin(descent, x, y));
    // The slope of phi along the antigradient g at (x, y): -grad f(x - t g) . g.
    const TObjective& f = SelectedObjective(descent);
    long double gx = 0;
    long double gy = 0;
    f.Gradient(x, y, gx, gy);
    const LineFunc slope = [&](long double t) {
        long double hx = 0;
        long double hy = 0;
        long double xt = 0;
        long double yt = 0;
        MoveAlongAntigradient(x, y, t, gx, gy, xt, yt);
        f.Gradient(xt, yt, hx, hy);
        return -(hx * gx + hy * gy);
    };
    return SearchLine(descent, AlongAntigradient(descent, x, y), &slope, {x, y, -gx, -gy});
}

// Deliberate: see docs/behaviour.md, "Run refusals".
void CheckRunParameters(const TDescent& descent) {
    if (!FuncIndexValid(descent))
        throw runtime::Exception(NoFunctionMessage);
    if (!(descent.EpsValue > 0))
        throw runtime::Exception(BadEpsMessage);
    CheckScanParameters(descent);
}

long double SteepestDescent(TDescent& descent, long double x0, long double y0, long double& xmin,
                            long double& ymin) {
    CheckRunParameters(descent);
    descent.DescentHitLimit = false;
    descent.StoppedAtStepLimit = false;
    descent.Simplices.clear();
    descent.StepVectors.clear();
    const TObjective& f = SelectedObjective(descent);
    BeginTrace(descent, x0, y0);
    std::uint32_t& count = descent.TraceCount;
    count = 0;
    long double x = x0;
    long double y = y0;
    for (;;) {
        count = count + 1;
        const long double xp = x;
        const long double yp = y;
        long double gx = 0;
        long double gy = 0;
        f.Gradient(xp, yp, gx, gy);
        const long double t = LineSearch(descent, xp, yp);
        MoveAlongAntigradient(xp, yp, t, gx, gy, x, y);
        // Deliberate: see docs/behaviour.md, "Trace without start".
        descent.Trace[count] = TTracePoint{x, y};
        // Deliberate: see docs/behaviour.md, "One eps".
        if (Distance(xp, yp, x, y) < descent.EpsValue)
            break;
        // Deliberate: see docs/behaviour.md, "Outside the disc".
        if (!InsideDomain(descent, x, y))
            break;
        // Deliberate: see docs/behaviour.md, "Run limits".
        if (count == TraceCapacity) {
            descent.DescentHitLimit = true;
            break;
        }
        if (count == descent.StepLimit) {
            descent.StoppedAtStepLimit = true;
            break;
        }
    }
    xmin = x;
    ymin = y;
    return f.Value(xmin, ymin);
}

}  // namespace metopt::core
