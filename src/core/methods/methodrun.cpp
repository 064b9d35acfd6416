#include "core/methods/methodrun.h"

#include <cmath>

#include "runtime/fpu.h"

namespace metopt::core::methods {

long double Dot(long double ax, long double ay, long double bx, long double by) {
    runtime::ClearFpuFlags();
    const long double d = ax * bx + ay * by;
    runtime::CheckFpu();
    return d;
}

Point Along(Point p, long double t, long double dx, long double dy) {
    runtime::ClearFpuFlags();
    const long double tx = t * dx;
    const long double ty = t * dy;
    const Point q{p.X + tx, p.Y + ty};
    runtime::CheckFpu();
    return q;
}

// --- Counting ---

TCountingObjective::TCountingObjective(const TObjective& f, const TDescent& descent)
    : f_(f), descent_(descent) {
    if (descent.Noise.sigma > 0)
        noise_.emplace(descent.Noise);
}

long double TCountingObjective::Value(long double x, long double y) const {
    if (value_ && value_->x == x && value_->y == y)
        return value_->first;
    WatchEvaluation(descent_);
    ++counts_.values;
    const long double z = f_.Value(x, y);
    value_ = Remembered{x, y, z, 0};
    return z;
}

void TCountingObjective::Gradient(long double x, long double y, long double& gx,
                                  long double& gy) const {
    if (gradient_ && gradient_->x == x && gradient_->y == y) {
        gx = gradient_->first;
        gy = gradient_->second;
        return;
    }
    WatchEvaluation(descent_);
    ++counts_.gradients;
    f_.Gradient(x, y, gx, gy);
    if (noise_)
        noise_->Disturb(gx, gy);
    gradient_ = Remembered{x, y, gx, gy};
}

void TCountingObjective::Hessian(long double x, long double y, long double& hxx, long double& hxy,
                                 long double& hyy) const {
    WatchEvaluation(descent_);
    ++counts_.hessians;
    f_.Hessian(x, y, hxx, hxy, hyy);
}

// --- The run ---

TMethodRun::TMethodRun(TDescent& descent, TStopRule rule, Point start)
    : descent_((CheckRunParameters(descent), descent)),
      rule_(rule),
      f_(SelectedObjective(descent), descent) {
    descent_.DescentHitLimit = false;
    descent_.StoppedAtStepLimit = false;
    descent_.Simplices.clear();
    descent_.StepVectors.clear();
    descent_.TraceCount = 0;
    BeginTrace(descent_, start.X, start.Y);
}

Point TMethodRun::LineSearch(Point p, long double dx, long double dy) const {
    const LineFunc slope = [&](long double s) {
        long double gx = 0;
        long double gy = 0;
        Gradient(Along(p, s, dx, dy), gx, gy);
        return Dot(gx, gy, dx, dy);
    };
    const long double t =
        SearchLine(descent_, [&](long double s) { return Value(Along(p, s, dx, dy)); }, &slope,
                   {p.X, p.Y, dx, dy});
    return Along(p, t, dx, dy);
}

void TMethodRun::Begin() {
    descent_.TraceCount = descent_.TraceCount + 1;
}

bool TMethodRun::RuleHolds(Point previous, Point point) const {
    switch (rule_) {
        case TStopRule::Step:
            return Distance(previous.X, previous.Y, point.X, point.Y) < Eps();
        case TStopRule::Gradient: {
            long double gx = 0;
            long double gy = 0;
            Gradient(point, gx, gy);
            return Distance(0, 0, gx, gy) < Eps();
        }
        default: {
            const long double before = Value(previous);
            const long double after = Value(point);
            runtime::ClearFpuFlags();
            const long double change = std::fabs(after - before);
            runtime::CheckFpu();
            return change < Eps();
        }
    }
}

bool TMethodRun::End(Point previous, Point point) {
    descent_.Trace[descent_.TraceCount] = point;
    if (RuleHolds(previous, point)) {
        // The first three reasons are the rules', in the same order.
        reason_ = static_cast<TStopReason>(rule_);
        return true;
    }
    return LeftOrAtLimit(point);
}

bool TMethodRun::EndWithoutRule(Point point) {
    descent_.Trace[descent_.TraceCount] = point;
    return LeftOrAtLimit(point);
}

bool TMethodRun::LeftOrAtLimit(Point point) {
    if (!InsideDomain(descent_, point.X, point.Y)) {
        reason_ = TStopReason::OutsideDomain;
        return true;
    }
    if (descent_.TraceCount == TraceCapacity) {
        descent_.DescentHitLimit = true;
        reason_ = TStopReason::IterationLimit;
        return true;
    }
    if (descent_.TraceCount == descent_.StepLimit) {
        descent_.StoppedAtStepLimit = true;
        reason_ = TStopReason::StepLimit;
        return true;
    }
    return false;
}

void TMethodRun::StopAt(Point point, TStopReason reason) {
    descent_.Trace[descent_.TraceCount] = point;
    reason_ = reason;
}

}  // namespace metopt::core::methods
