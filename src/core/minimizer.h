#pragma once
// Steepest descent with a bracketing scan and golden-section line search, and its trace.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/linesearch.h"
#include "core/methods/learningparameters.h"
#include "core/objective.h"
#include "core/runwatch.h"

namespace metopt::core {

struct TTracePoint {
    long double X = 0;
    long double Y = 0;
};

// Deliberate: see docs/behaviour.md, "Run limits".
constexpr std::uint32_t TraceCapacity = 10000;

// One descent: the run parameters the report routine sets before each run, and the trace the run
// writes. The window owns one; a test makes a fresh one.
struct TDescent {
    // Entries 1..TraceCapacity; entry 0 is unused. Entries above TraceCount keep older points.
    // Deliberate: see docs/behaviour.md, "Older trace points".
    std::vector<TTracePoint> Trace = std::vector<TTracePoint>(TraceCapacity + 1);
    std::uint32_t TraceCount = 0;

    // Deliberate: see docs/behaviour.md, "Run parameters kept".
    long double EpsValue = 0;
    long double StepValue = 0;
    long double DomainRadius = 0;
    std::int32_t FuncIndex = 0;
    // The one-dimensional method of every line search of a run.
    TLineSearch LineSearchMethod = TLineSearch::Golden;
    // The function a run uses when FuncIndex is no entry of the tables: a formula typed into the
    // equation list, or one of its classic items. The window's model owns it; a run shares it.
    std::shared_ptr<const TObjective> Typed;

    // The function whose run wrote Trace[1..TraceCount]: a refused run changes FuncIndex but not
    // the trace, so whatever evaluates the trace's points takes this one.
    // Deliberate: see docs/behaviour.md, "Trace CSV function".
    std::int32_t TraceFuncIndex = 0;
    std::shared_ptr<const TObjective> TraceTyped;
    // The start the run that wrote the trace set out from (x0, before Trace[1]).
    TTracePoint TraceStart;

    // True when the last run stopped at the TraceCapacity iteration limit.
    bool DescentHitLimit = false;
    // A run stops after this many iterations (0: no such limit), as the report then says.
    std::uint32_t StepLimit = 0;
    bool StoppedAtStepLimit = false;

    // A run with constraints: the path of each outer iteration's minimisation, from the point
    // it set out from (Trace[k − 1], or the start) to Trace[k]; empty for any other run.
    std::vector<std::vector<TTracePoint>> InnerTraces;
    // And the largest violation of the constraints at each outer point Trace[k] (entry k − 1).
    std::vector<long double> OuterViolations;

    // The simplex after each iteration of a run that has one (entry k - 1 for trace point k);
    // empty for the other methods.
    std::vector<std::array<TTracePoint, 3>> Simplices;

    // The parameters of the methods of machine learning, and the vectors of each of their
    // iterations (entry k - 1 for trace point k; empty for the other methods).
    TLearningParameters Learning;
    std::vector<TStepVectors> StepVectors;
    // The noise every method but the classic run adds to the gradients it evaluates.
    TGradientNoise Noise;

    // Where each line search of a run is told (the page of the line search and its CSV run the
    // run again with one), or nullptr. Not owned.
    TLineRecorder* LineRecords = nullptr;

    // What watches the run while it computes (the run worker's stop and progress), or nullptr.
    // Not owned; a comparison's runs share it.
    TRunWatch* Watch = nullptr;
};

// Tells the descent's watch, if it has one, of an evaluation about to be made.
inline void WatchEvaluation(const TDescent& descent) {
    if (descent.Watch)
        descent.Watch->Evaluating(descent);
}

// The function of a run: FuncIndex's entry of the tables, or Typed when FuncIndex is no entry;
// raises the refusal "no equation chosen" when there is neither.
const TObjective& SelectedObjective(const TDescent& descent);
// Notes the run's function and its start (x0, y0) as those of the trace it writes, which has no
// inner paths until a run with constraints gives it some.
void BeginTrace(TDescent& descent, long double x0, long double y0);
// The function of the run that wrote the trace, or nullptr when there is none.
const TObjective* TraceObjective(const TDescent& descent);

long double Distance(long double x1, long double y1, long double x2, long double y2);
bool InsideDomain(const TDescent& descent, long double x, long double y);
// A function of the line search's multiplier t.
using LineFunc = std::function<long double(long double)>;
// The line search over phi: a scan from 0 by h_step, within the disc, to the first rise of phi,
// then the golden section of that bracket down to eps. Returns the multiplier found. With another
// LineSearchMethod, an interval method narrows the scan's bracket instead, and an inexact one
// steps from h_step with phi's slope (none: the golden section).
void BracketScan(const TDescent& descent, const LineFunc& phi, long double& a, long double& b);
long double GoldenSearch(const TDescent& descent, const LineFunc& phi, long double a, long double b,
                         long double& t, std::vector<TLineStep>* steps = nullptr);
// `origin` is where phi looks, for the descent's LineRecords.
long double SearchLine(const TDescent& descent, const LineFunc& phi, const LineFunc* slope,
                       const TLineOrigin& origin);

// phi(t) = f(x - t*gx, y - t*gy) with the gradient evaluated afresh at (x, y).
long double LineFunction(const TDescent& descent, long double t, long double x, long double y);
void BracketStep(const TDescent& descent, long double x, long double y, long double& a,
                 long double& b);
long double GoldenSection(const TDescent& descent, long double x, long double y, long double a,
                          long double b, long double& t);
long double LineSearch(const TDescent& descent, long double x, long double y);

// Checks the run parameters and raises Exception with the refusal message for a run that could
// not end or would index the tables out of range. Touches nothing.
// Deliberate: see docs/behaviour.md, "Run refusals".
void CheckRunParameters(const TDescent& descent);

// Runs the descent from (x0, y0): checks the parameters (a refused run touches nothing), then
// writes Trace[1..TraceCount] and returns zmin = f(xmin, ymin). TraceCount is 0 at the start and
// +1 as each iteration begins, so a failing run leaves it at the iteration under way.
long double SteepestDescent(TDescent& descent, long double x0, long double y0, long double& xmin,
                            long double& ymin);

}  // namespace metopt::core
