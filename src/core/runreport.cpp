#include "core/runreport.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>

#include "core/builtinfunctions.h"
#include "core/constrained/constrainedrun.h"
#include "core/minimizer.h"
#include "runtime/exceptions.h"
#include "runtime/numformat.h"
#include "runtime/numparse.h"

namespace metopt::core {

// Deliberate: see docs/behaviour.md, "Run limits".
const char* const IterationLimitLine = "Спуск остановлен: достигнут предел в 10000 итераций";

namespace {

// The stop of a run cut after its given number of iterations.
std::string StepLimitText(std::uint32_t steps) {
    return "выполнено " + runtime::FormatInteger(steps) + " шагов";
}

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

const char* const BadSeedMessage = "Зерно шума должно быть целым числом от 0 до 4294967295";

std::string CountsLine(const TMethodCounts& counts) {
    const auto text = [](std::uint64_t n) { return FormatInteger(static_cast<std::int64_t>(n)); };
    return "Вычислено: f — " + text(counts.values) + ", градиент — " + text(counts.gradients) +
           ", матрица Гессе — " + text(counts.hessians);
}

// The noise's seed: a whole number of 32 bits.
std::uint32_t ReadSeed(const std::string& text) {
    const long double seed = runtime::ParseNumber(text);
    if (!(seed >= 0 && seed <= 4294967295.0L && seed == std::floor(seed)))
        throw runtime::Exception(BadSeedMessage);
    return static_cast<std::uint32_t>(seed);
}

}  // namespace

TTracePoint ReadRunParameters(TDescent& descent, const DescentFields& fields) {
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
    descent.LineSearchMethod = fields.lineSearch;
    descent.StepLimit = fields.stepLimit;
    descent.Noise.sigma = runtime::ParseNumber(fields.noise);
    if (descent.Noise.sigma > 0)
        descent.Noise.seed = ReadSeed(fields.seed);
    return {x0, y0};
}

void ReadLearningParameters(TDescent& descent, const DescentFields& fields) {
    TLearningParameters& p = descent.Learning;
    p.rate = runtime::ParseNumber(fields.learningRate);
    p.momentum = runtime::ParseNumber(fields.momentum);
    p.decay = runtime::ParseNumber(fields.decay);
    p.beta1 = runtime::ParseNumber(fields.beta1);
    p.beta2 = runtime::ParseNumber(fields.beta2);
    p.biasCorrection = fields.biasCorrection;
}

namespace {

// The lines before the run's results: an empty one, the typed function, the region, the start.
std::vector<std::string> ReportHead(const TDescent& descent, const DescentFields& fields,
                                    const TRegion& visible) {
    std::vector<std::string> lines;
    lines.emplace_back();
    if (&SelectedObjective(descent) == descent.Typed.get())
        lines.push_back("Функция: z = " + fields.formula);
    lines.push_back(RegionLine(visible));
    // Deliberate: see docs/behaviour.md, "Report texts".
    lines.push_back("Начальная точка: x0 = " + fields.x0 + ", y0 = " + fields.y0);
    if (fields.lineSearch != TLineSearch::Golden)
        lines.push_back(std::string("Одномерный поиск: ") +
                        LineSearchCaptions[static_cast<int>(fields.lineSearch)]);
    if (descent.Noise.sigma > 0)
        lines.push_back("Шум градиента: σ = " + fields.noise + ", зерно " + fields.seed);
    return lines;
}

bool AnyLearningMethod(std::span<const TMethod> methods) {
    return std::ranges::any_of(methods, IsLearningMethod);
}

// The line of the parameters that the methods of machine learning among `methods` read, as typed.
void AddLearningLine(std::vector<std::string>& lines, const DescentFields& fields,
                     std::span<const TMethod> methods) {
    if (!AnyLearningMethod(methods))
        return;
    const auto uses = [&](std::initializer_list<TMethod> readers) {
        return std::ranges::any_of(
            methods, [&](TMethod m) { return std::ranges::find(readers, m) != readers.end(); });
    };
    std::string line = "Параметры обучения: α = " + fields.learningRate;
    if (uses({TMethod::Momentum, TMethod::Nesterov}))
        line += ", β = " + fields.momentum;
    if (uses({TMethod::RmsProp}))
        line += ", ρ = " + fields.decay;
    if (uses({TMethod::Adam}))
        line += ", β1 = " + fields.beta1 + ", β2 = " + fields.beta2 +
                (fields.biasCorrection ? ", с поправкой смещения" : ", без поправки смещения");
    lines.push_back(line);
}

std::string TraceLine(const TObjective& f, std::uint32_t k, const TTracePoint& p) {
    return "#" + FormatInteger(k) + ": " + PointText(p.X, p.Y, f.Value(p.X, p.Y));
}

}  // namespace

bool IsConstrainedRun(const DescentFields& fields) {
    return fields.constraintMethod != TConstraintMethod::None && fields.constraints &&
           !fields.constraints->empty();
}

TConstraintSettings ReadConstraintSettings(const DescentFields& fields) {
    TConstraintSettings settings;
    settings.method = fields.constraintMethod;
    settings.r0 = runtime::ParseNumber(fields.penaltyStart);
    settings.growth = runtime::ParseNumber(fields.penaltyGrowth);
    settings.outerEps = runtime::ParseNumber(fields.outerEps);
    return settings;
}

namespace {

std::string CountsCells(const TMethodCounts& counts) {
    const auto text = [](std::uint64_t n) { return FormatInteger(static_cast<std::int64_t>(n)); };
    return text(counts.values) + " | " + text(counts.gradients) + " | " + text(counts.hessians);
}

// The lines that name the constraints and how the run takes them into account.
void AddConstraintLines(std::vector<std::string>& lines, const DescentFields& fields) {
    std::string texts;
    for (const TConstraint& constraint : *fields.constraints)
        texts += (texts.empty() ? "" : "; ") + constraint.text;
    lines.push_back("Ограничения: " + texts);
    lines.push_back(std::string("Учёт ограничений: ") +
                    ConstraintMethodCaption(fields.constraintMethod) +
                    ", r0 = " + fields.penaltyStart + ", C = " + fields.penaltyGrowth);
}

void AddOuterTable(std::vector<std::string>& lines, const TConstrainedOutcome& outcome) {
    lines.emplace_back();
    lines.push_back("Внешние итерации:");
    lines.push_back(OuterIterationsHeader);
    for (std::size_t k = 0; k < outcome.outer.size(); ++k) {
        const TOuterIteration& it = outcome.outer[k];
        lines.push_back(FormatInteger(static_cast<std::int64_t>(k + 1)) + " | " +
                        FormatGeneral(it.r) + " | " + FormatGeneral(it.point.X) + " | " +
                        FormatGeneral(it.point.Y) + " | " + FormatGeneral(it.value) + " | " +
                        FormatGeneral(it.violation) + " | " + FormatInteger(it.innerIterations) +
                        " | " + CountsCells(it.inner.counts));
    }
}

void AddInnerTraces(std::vector<std::string>& lines, const TObjective& f, const TDescent& descent,
                    const TConstrainedOutcome& outcome) {
    for (std::size_t k = 0; k < descent.InnerTraces.size(); ++k) {
        lines.emplace_back();
        lines.push_back("Внешняя итерация " + FormatInteger(static_cast<std::int64_t>(k + 1)) +
                        ", r = " + FormatGeneral(outcome.outer[k].r) + ":");
        const std::vector<TTracePoint>& path = descent.InnerTraces[k];
        for (std::size_t i = 1; i < path.size(); ++i)
            lines.push_back(TraceLine(f, static_cast<std::uint32_t>(i), path[i]));
    }
}

std::vector<std::string> RunConstrainedAndReport(TDescent& descent, const DescentFields& fields,
                                                 const TRegion& visible, TTracePoint start) {
    const TConstraintSettings settings = ReadConstraintSettings(fields);
    if (!fields.method)
        throw runtime::Exception(NoMethodMessage);
    const TConstrainedOutcome outcome = RunConstrained(
        descent, *fields.method, fields.stopRule, *fields.constraints, settings, start.X, start.Y);
    const TObjective& f = SelectedObjective(descent);
    const TOuterIteration& last = outcome.outer.back();

    std::vector<std::string> lines = ReportHead(descent, fields, visible);
    AddLearningLine(lines, fields, {&*fields.method, 1});
    AddConstraintLines(lines, fields);
    lines.push_back("Точка минимума: zmin = " + PointText(last.point.X, last.point.Y, last.value));
    lines.push_back(std::string(MethodReportName(*fields.method)) + " прошел за " +
                    FormatInteger(descent.TraceCount) + " внешних итерац., внутренних итераций: " +
                    FormatInteger(outcome.innerIterations));
    lines.push_back(std::string("Остановка: ") + (outcome.stop == TOuterStop::StepLimit
                                                      ? StepLimitText(descent.StepLimit)
                                                      : OuterStopText(outcome.stop)));
    lines.push_back("Наибольшее нарушение ограничений: " + FormatGeneral(last.violation));
    lines.push_back(CountsLine(outcome.counts));
    AddOuterTable(lines, outcome);
    lines.emplace_back();
    lines.push_back("Трасса спуска:");
    for (std::uint32_t k = 1; k <= descent.TraceCount; ++k)
        lines.push_back(TraceLine(f, k, descent.Trace[k]));
    AddInnerTraces(lines, f, descent, outcome);
    return lines;
}

}  // namespace

const char* const OuterIterationsHeader =
    "k | r | x | y | f | нарушение | итераций | f | градиент | матрица Гессе";

std::vector<std::string> RunDescentAndReport(TDescent& descent, const DescentFields& fields,
                                             const TRegion& visible) {
    const auto [x0, y0] = ReadRunParameters(descent, fields);
    if (fields.method && IsLearningMethod(*fields.method))
        ReadLearningParameters(descent, fields);
    if (IsConstrainedRun(fields))
        return RunConstrainedAndReport(descent, fields, visible, {x0, y0});

    long double xmin = 0;
    long double ymin = 0;
    long double zmin = 0;
    std::optional<TMethodOutcome> outcome;
    // Deliberate: see docs/behaviour.md, "Classic run".
    if (fields.method && IsClassicRun(*fields.method, fields.stopRule, descent.Noise)) {
        zmin = SteepestDescent(descent, x0, y0, xmin, ymin);
    } else {
        if (!fields.method)
            throw runtime::Exception(NoMethodMessage);
        outcome = RunMethod(descent, *fields.method, fields.stopRule, x0, y0);
        xmin = descent.Trace[descent.TraceCount].X;
        ymin = descent.Trace[descent.TraceCount].Y;
        zmin = SelectedObjective(descent).Value(xmin, ymin);
    }
    // The run has checked that there is a function.
    const TObjective& f = SelectedObjective(descent);

    std::vector<std::string> lines = ReportHead(descent, fields, visible);
    if (outcome)
        AddLearningLine(lines, fields, {&*fields.method, 1});
    lines.reserve(11 + descent.TraceCount);
    lines.push_back("Точка минимума: zmin = " + PointText(xmin, ymin, zmin));
    lines.push_back(
        std::string(MethodReportName(outcome ? *fields.method : TMethod::SteepestDescent)) +
        " прошел за " + FormatInteger(descent.TraceCount) + " итерац.");
    if (outcome) {
        lines.push_back(std::string("Остановка: ") + (descent.StoppedAtStepLimit
                                                          ? StepLimitText(descent.StepLimit)
                                                          : StopReasonText(outcome->reason)));
        lines.push_back(CountsLine(outcome->counts));
    }
    lines.emplace_back();
    lines.push_back("Трасса спуска:");
    for (std::uint32_t k = 1; k <= descent.TraceCount; ++k)
        lines.push_back(TraceLine(f, k, descent.Trace[k]));
    if (descent.DescentHitLimit && !outcome)
        lines.push_back(IterationLimitLine);
    if (descent.StoppedAtStepLimit && !outcome)
        lines.push_back("Остановка: " + StepLimitText(descent.StepLimit));
    return lines;
}

namespace {

// A value of a compared run as the report shows it, or "ошибка" when it cannot be computed.
template <class Compute>
std::string OrError(Compute compute) {
    try {
        return compute();
    } catch (const runtime::Exception&) {
        return "ошибка";
    }
}

std::string ComparisonRow(const TObjective& f, const TComparedRun& run) {
    const std::string name = MethodCaption(run.method);
    const std::string count = FormatInteger(run.descent.TraceCount);
    if (!run.outcome)
        return name + " | " + count + " | ошибка: " + run.error + " | — | — | — | — | — | —";
    const auto text = [](std::uint64_t n) { return FormatInteger(static_cast<std::int64_t>(n)); };
    const TTracePoint end = run.descent.Trace[run.descent.TraceCount];
    const TMethodCounts& counts = run.outcome->counts;
    return name + " | " + count + " | " + ComparedStopText(run) + " | " + text(counts.values) +
           " | " + text(counts.gradients) + " | " + text(counts.hessians) + " | " +
           FormatGeneral(end.X) + " | " + FormatGeneral(end.Y) + " | " +
           OrError([&] { return FormatGeneral(f.Value(end.X, end.Y)); });
}

}  // namespace

const char* const ComparisonHeader =
    "Метод | Итераций | Остановка | f | градиент | матрица Гессе | x* | y* | z*";

std::vector<std::string> RunComparisonAndReport(TDescent& descent, TComparison& comparison,
                                                const DescentFields& fields,
                                                std::span<const TMethod> methods,
                                                const TRegion& visible) {
    const TTracePoint start = ReadRunParameters(descent, fields);
    if (AnyLearningMethod(methods))
        ReadLearningParameters(descent, fields);
    std::optional<TConstrainedProblem> problem;
    if (IsConstrainedRun(fields))
        problem.emplace(TConstrainedProblem{*fields.constraints, ReadConstraintSettings(fields)});
    comparison = RunComparison(descent, methods, fields.stopRule, start.X, start.Y,
                               problem ? &*problem : nullptr);
    const TObjective& f = SelectedObjective(descent);
    std::vector<std::string> lines = ReportHead(descent, fields, visible);
    AddLearningLine(lines, fields, methods);
    if (problem)
        AddConstraintLines(lines, fields);
    lines.push_back(std::string("Сравнение методов, остановка ") +
                    StopRuleCaptions[static_cast<int>(fields.stopRule)]);
    lines.push_back(ComparisonHeader);
    for (const TComparedRun& run : comparison.runs)
        lines.push_back(ComparisonRow(f, run));
    for (const TComparedRun& run : comparison.runs) {
        lines.emplace_back();
        lines.push_back(std::string("Трасса: ") + MethodCaption(run.method));
        for (std::uint32_t k = 1; k <= run.descent.TraceCount; ++k) {
            const TTracePoint& p = run.descent.Trace[k];
            lines.push_back(OrError([&] { return TraceLine(f, k, p); }));
        }
    }
    return lines;
}

}  // namespace metopt::core
