#include "core/report.h"

#include <optional>

#include "core/functions.h"
#include "core/minimizer.h"
#include "runtime/numformat.h"
#include "runtime/numparse.h"

namespace metopt::core {

// Deliberate: see docs/behaviour.md, "Run limits".
const char* const IterationLimitLine = "Спуск остановлен: достигнут предел в 10000 итераций";

namespace {

using runtime::FormatGeneral;
using runtime::FormatInteger;

// Deliberate: see docs/behaviour.md, "Locale separator".
std::string PointText(long double x, long double y, long double z) {
    return "z( " + FormatGeneral(x) + ", " + FormatGeneral(y) + " ) = " + FormatGeneral(z);
}

// Deliberate: see docs/behaviour.md, "Report texts".
std::string RegionLine(const TRegion& visible) {
    return "Видимая область: x = " + FormatGeneral(visible.Xb) + " .. " +
           FormatGeneral(visible.Xe) + ", y=" + FormatGeneral(visible.Yb) + " .. " +
           FormatGeneral(visible.Ye);
}

std::string CountsLine(const TMethodCounts& counts) {
    const auto text = [](std::uint64_t n) { return FormatInteger(static_cast<std::int64_t>(n)); };
    return "Вычислено: f — " + text(counts.values) + ", градиент — " + text(counts.gradients) +
           ", матрица Гессе — " + text(counts.hessians);
}

}  // namespace

std::vector<std::string> RunDescentAndReport(TDescent& descent, const DescentFields& fields,
                                             const TRegion& visible) {
    // Each parameter is set as soon as it is read, so a field that fails to parse leaves the
    // ones before it set.
    // Deliberate: see docs/behaviour.md, "Lenient numbers".
    const long double x0 = runtime::ParseNumber(fields.x0);
    const long double y0 = runtime::ParseNumber(fields.y0);
    // Deliberate: see docs/behaviour.md, "Run parameters kept".
    descent.EpsValue = runtime::ParseNumber(fields.eps);
    descent.StepValue = runtime::ParseNumber(fields.step);
    descent.DomainRadius = runtime::ParseNumber(fields.radius);
    descent.FuncIndex = fields.funcIndex;
    descent.Typed = fields.typed;

    long double xmin = 0;
    long double ymin = 0;
    long double zmin = 0;
    std::optional<TMethodOutcome> outcome;
    // Deliberate: see docs/behaviour.md, "Classic run".
    if (IsClassicRun(fields.method, fields.stopRule)) {
        zmin = SteepestDescent(descent, x0, y0, xmin, ymin);
    } else {
        outcome = RunMethod(descent, fields.method, fields.stopRule, x0, y0);
        xmin = descent.Trace[descent.TraceCount].X;
        ymin = descent.Trace[descent.TraceCount].Y;
        zmin = SelectedObjective(descent).Value(xmin, ymin);
    }
    // The run has checked that there is a function.
    const TObjective& f = SelectedObjective(descent);

    std::vector<std::string> lines;
    lines.reserve(11 + descent.TraceCount);
    lines.emplace_back();
    if (&f == descent.Typed.get())
        lines.push_back("Функция: z = " + fields.formula);
    lines.push_back(RegionLine(visible));
    // Deliberate: see docs/behaviour.md, "Report texts".
    lines.push_back("Начальная точка: x0 = " + fields.x0 + ", y0 = " + fields.y0);
    lines.push_back("Точка минимума: zmin = " + PointText(xmin, ymin, zmin));
    lines.push_back(std::string(MethodReportName(outcome ? fields.method : 0)) + " прошел за " +
                    FormatInteger(descent.TraceCount) + " итерац.");
    if (outcome) {
        lines.push_back(std::string("Остановка: ") + StopReasonText(outcome->reason));
        lines.push_back(CountsLine(outcome->counts));
    }
    lines.emplace_back();
    lines.push_back("Трасса спуска:");
    for (std::uint32_t k = 1; k <= descent.TraceCount; ++k) {
        const TTracePoint& p = descent.Trace[k];
        lines.push_back("#" + FormatInteger(k) + ": " + PointText(p.X, p.Y, f.Value(p.X, p.Y)));
    }
    if (descent.DescentHitLimit && !outcome)
        lines.push_back(IterationLimitLine);
    return lines;
}

}  // namespace metopt::core
