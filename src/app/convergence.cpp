#include "app/convergence.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/comparisontrace.h"
#include "runtime/exceptions.h"

namespace metopt::app {

namespace {

// The floor of the log axis when no value shown is positive.
constexpr double EmptyFloor = 1e-20;

}  // namespace

std::vector<ConvergenceSeries> SeriesOfSession(const TSession& session) {
    std::vector<ConvergenceSeries> all;
    const auto add = [&all](core::TMethod method, const core::TDescent& run) {
        const core::TObjective* f = core::TraceObjective(run);
        ConvergenceSeries series;
        series.method = core::MethodCaption(method);
        if (f != nullptr)
            series.values = core::ConvergenceOf(*f, run);
        for (std::size_t k = 1; k <= series.values.value.size(); ++k)
            series.points.push_back(run.Trace[k]);
        all.push_back(std::move(series));
    };
    if (session.ShowsComparison) {
        for (const core::TComparedRun& run : session.Comparison.runs)
            add(run.method, run.descent);
    } else if (session.TraceStart.Picture) {
        add(session.RunMethod, session.Descent);
    }
    return all;
}

ConvergenceLines ConvergenceOfSession(const TSession& session, ConvergenceKind kind) {
    const std::vector<ConvergenceSeries> all = SeriesOfSession(session);
    long double best = std::numeric_limits<long double>::infinity();
    for (const ConvergenceSeries& series : all) {
        for (const long double z : series.values.value)
            best = std::min(best, z);
    }
    ConvergenceLines result;
    double smallest = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const core::TConvergence& v = all[i].values;
        const core::TDescent& run =
            session.ShowsComparison ? session.Comparison.runs[i].descent : session.Descent;
        platform::ConvergenceChart::Line line;
        const core::TMethod method =
            session.ShowsComparison ? session.Comparison.runs[i].method : session.RunMethod;
        line.name = QString::fromUtf8(core::MethodShortName(method));
        line.color = render::ComparisonColor(method);
        const std::size_t count = kind == ConvergenceKind::Violation
                                      ? std::min(v.value.size(), run.OuterViolations.size())
                                      : v.value.size();
        for (std::size_t k = 0; k < count; ++k) {
            const long double y = kind == ConvergenceKind::Violation      ? run.OuterViolations[k]
                                  : kind == ConvergenceKind::Value        ? v.value[k] - best
                                  : kind == ConvergenceKind::GradientNorm ? v.gradientNorm[k]
                                                                          : v.step[k];
            const auto shown = static_cast<double>(y);
            if (shown > 0 && std::isfinite(shown))
                smallest = std::min(smallest, shown);
            line.values.push_back(shown);
        }
        result.lines.push_back(std::move(line));
    }
    result.floor = std::isfinite(smallest) ? smallest / 10 : EmptyFloor;
    return result;
}

std::vector<ComparisonRowData> ComparisonRows(const core::TComparison& comparison) {
    std::vector<ComparisonRowData> rows;
    for (const core::TComparedRun& run : comparison.runs) {
        ComparisonRowData row;
        row.name = core::MethodCaption(run.method);
        row.iterations = run.descent.TraceCount;
        if (run.outcome) {
            row.stop = core::ComparedStopText(run);
            row.counted = true;
            row.counts = run.outcome->counts;
            const core::TTracePoint end = run.descent.Trace[run.descent.TraceCount];
            if (const core::TObjective* f = core::TraceObjective(run.descent)) {
                try {
                    row.z = f->Value(end.X, end.Y);
                    row.hasPoint = true;
                } catch (const runtime::Exception&) {
                    row.hasPoint = false;
                }
            }
            row.x = end.X;
            row.y = end.Y;
        } else {
            row.stop = "ошибка: " + run.error;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace metopt::app
