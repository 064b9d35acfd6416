#pragma once
// What every method's run shares: its function with the evaluations counted, the line search
// along a direction, the trace it writes and the checks that end an iteration.
#include <optional>

#include "core/methods/gradientnoise.h"
#include "core/methods/method.h"
#include "core/objective.h"

namespace metopt::core::methods {

using Point = TTracePoint;

long double Dot(long double ax, long double ay, long double bx, long double by);

// p + t·d, each product formed first and then added.
Point Along(Point p, long double t, long double dx, long double dy);

// The function of a run, counting the evaluations that reach it. A value or gradient asked again
// at the point of the last one is given from memory and not counted again. With the descent's
// noise, each gradient evaluated gets its own draw (and one given from memory the same again).
class TCountingObjective final : public TObjective {
  public:
    // The descent's watch is told of each evaluation.
    TCountingObjective(const TObjective& f, const TDescent& descent);
    long double Value(long double x, long double y) const override;
    void Gradient(long double x, long double y, long double& gx, long double& gy) const override;
    void Hessian(long double x, long double y, long double& hxx, long double& hxy,
                 long double& hyy) const override;
    const TMethodCounts& Counts() const { return counts_; }

  private:
    struct Remembered {
        long double x;
        long double y;
        long double first;
        long double second;
    };
    const TObjective& f_;
    const TDescent& descent_;
    mutable TMethodCounts counts_;
    mutable std::optional<Remembered> value_;
    mutable std::optional<Remembered> gradient_;
    mutable std::optional<TNoiseSource> noise_;
};

class TMethodRun {
  public:
    // The descent's parameters are checked; the trace is started at `start` (TraceCount 0, no
    // simplices).
    TMethodRun(TDescent& descent, TStopRule rule, Point start);

    long double Value(Point p) const { return f_.Value(p.X, p.Y); }
    void Gradient(Point p, long double& gx, long double& gy) const {
        f_.Gradient(p.X, p.Y, gx, gy);
    }
    void Hessian(Point p, long double& hxx, long double& hxy, long double& hyy) const {
        f_.Hessian(p.X, p.Y, hxx, hxy, hyy);
    }

    // The point of the line search along d from p: phi(t) = f(p + t·d).
    Point LineSearch(Point p, long double dx, long double dy) const;

    // An iteration begins: TraceCount + 1.
    void Begin();
    // The iteration ends at `point`, which becomes its trace point. True when the run stops: by
    // the stop rule (comparing with `previous`), outside the disc, or at the iteration limit.
    bool End(Point previous, Point point);
    // The same without the stop rule: the methods that stop by their own rule.
    bool EndWithoutRule(Point point);
    // The run stops for `reason` at `point`, the iteration's trace point.
    void StopAt(Point point, TStopReason reason);

    TDescent& Descent() const { return descent_; }
    long double Eps() const { return descent_.EpsValue; }
    long double Step() const { return descent_.StepValue; }
    TMethodOutcome Outcome() const { return {reason_, f_.Counts()}; }

  private:
    bool RuleHolds(Point previous, Point point) const;
    // The checks after the stop rule, at the iteration's trace point: the disc, then the limit.
    bool LeftOrAtLimit(Point point);

    TDescent& descent_;
    TStopRule rule_;
    TCountingObjective f_;
    TStopReason reason_ = TStopReason::Step;
};

// The gradient at a point, as the methods of one step from a point take it.
struct GradientValue {
    long double x;
    long double y;
};

// The loop of the methods that go from point to point: each iteration's step(x, g) gives the
// next point from x(k−1) and its gradient, or nothing when the run stops there (the step has
// said why with StopAt).
template <class Step>
void StepUntilTheEnd(TMethodRun& run, Point start, Step step) {
    Point x = start;
    for (;;) {
        run.Begin();
        GradientValue g{0, 0};
        run.Gradient(x, g.x, g.y);
        const std::optional<Point> next = step(x, g);
        if (!next || run.End(x, *next))
            return;
        x = *next;
    }
}

// The methods of each family, run to their end.
void RunSteepestDescent(TMethodRun& run, Point start);
void RunFixedStep(TMethodRun& run, Point start);
void RunStepHalving(TMethodRun& run, Point start);
void RunCoordinateDescent(TMethodRun& run, Point start);
void RunFletcherReeves(TMethodRun& run, Point start);
void RunPolakRibiere(TMethodRun& run, Point start);
void RunNewton(TMethodRun& run, Point start);
void RunDampedNewton(TMethodRun& run, Point start);
void RunBfgs(TMethodRun& run, Point start);
void RunDfp(TMethodRun& run, Point start);
void RunHookeJeeves(TMethodRun& run, Point start);
void RunNelderMead(TMethodRun& run, Point start);
void RunMomentum(TMethodRun& run, Point start);
void RunNesterov(TMethodRun& run, Point start);
void RunAdaGrad(TMethodRun& run, Point start);
void RunRmsProp(TMethodRun& run, Point start);
void RunAdam(TMethodRun& run, Point start);

}  // namespace metopt::core::methods
