#pragma once
// Steepest descent with a bracketing scan and golden-section line search, and its trace.
#include <cstdint>

namespace metopt::core {

struct TTracePoint {
    long double X = 0;
    long double Y = 0;
};

// Deliberate: see docs/behaviour.md, "Run limits".
constexpr std::uint32_t TraceCapacity = 10000;

// Entries 1..TraceCapacity; entry 0 is unused. Entries above TraceCount keep older points.
// Deliberate: see docs/behaviour.md, "Older trace points".
extern TTracePoint Trace[TraceCapacity + 1];
extern std::uint32_t TraceCount;

// Run parameters, set by the report routine before each run.
// Deliberate: see docs/behaviour.md, "Run parameters kept".
extern long double EpsValue;
extern long double StepValue;
extern long double DomainRadius;
extern std::int32_t FuncIndex;

// The function whose run wrote Trace[1..TraceCount]: a refused run changes FuncIndex but not the
// trace, so whatever evaluates the trace's points takes this one.
// Deliberate: see docs/behaviour.md, "Trace CSV function".
extern std::int32_t TraceFuncIndex;

// True when the last run stopped at the TraceCapacity iteration limit.
extern bool DescentHitLimit;

// Resets the trace, its count and the run parameters to their start values (tests).
void ResetMinimizer();

long double Distance(long double x1, long double y1, long double x2, long double y2);
bool InsideDomain(long double x, long double y);
// phi(t) = f(x - t*gx, y - t*gy) with the gradient evaluated afresh at (x, y).
long double LineFunction(long double t, long double x, long double y);
void BracketStep(long double x, long double y, long double& a, long double& b);
long double GoldenSection(long double x, long double y, long double a, long double b,
                          long double& t);
long double LineSearch(long double x, long double y);

// Checks the run parameters and raises Exception with the refusal message for a run that could
// not end or would index the tables out of range. Touches nothing.
// Deliberate: see docs/behaviour.md, "Run refusals".
void CheckRunParameters();

// Runs the descent from (x0, y0): checks the parameters, then writes Trace[1..count] and returns
// zmin = f(xmin, ymin). count is updated in place (0 at the start, +1 as each iteration begins);
// callers pass TraceCount itself.
long double SteepestDescent(long double x0, long double y0, long double& xmin, long double& ymin,
                            std::uint32_t& count);

}  // namespace metopt::core
