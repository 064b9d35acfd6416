#pragma once
// What the page "Сходимость" and its exports show of the last run or comparison: the chart's
// lines for one quantity, and the rows of the comparison's table.
#include <string>
#include <vector>

#include "app/session.h"
#include "platform/convergencechart.h"

namespace metopt::app {

// The quantities of the chart, in the order of its list.
// Violation: the largest violation of the constraints at each outer point of a run with
// constraints (no line for any other run).
enum class ConvergenceKind { Value, GradientNorm, Step, Violation };
constexpr const char* ConvergenceKindItems[] = {"f(x(k)) − f*", "|∇f(x(k))|", "|x(k) − x(k−1)|",
                                                "наибольшее нарушение ограничений"};

struct ConvergenceLines {
    std::vector<platform::ConvergenceChart::Line> lines;
    double floor = 0;  // the log axis's floor: a tenth of the smallest positive value shown
};

// The lines of the last completed run or comparison: for f(x(k)) − f*, f* is the smallest value
// any of its runs reached.
ConvergenceLines ConvergenceOfSession(const TSession& session, ConvergenceKind kind);

// The series of every run of the last run or comparison, one per trace point.
struct ConvergenceSeries {
    std::string method;  // the method's caption
    std::vector<core::TTracePoint> points;
    core::TConvergence values;
};
std::vector<ConvergenceSeries> SeriesOfSession(const TSession& session);

// The comparison's table, a row per method: name, iterations, stop reason (or "ошибка: …"),
// evaluations of f, of the gradient, of the Hessian, x*, y*, z* ("" where a run has none).
struct ComparisonRowData {
    std::string name;
    std::uint32_t iterations = 0;
    std::string stop;
    bool counted = false;
    core::TMethodCounts counts;
    bool hasPoint = false;
    long double x = 0;
    long double y = 0;
    long double z = 0;
};
std::vector<ComparisonRowData> ComparisonRows(const core::TComparison& comparison);

}  // namespace metopt::app
