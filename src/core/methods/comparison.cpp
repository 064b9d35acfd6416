#include "core/methods/comparison.h"

#include "runtime/exceptions.h"

namespace metopt::core {

namespace {

const char* const EmptyComparisonMessage = "Для сравнения не выбран ни один метод";

const char* const ShortNames[MethodCount] = {
    "Скорейший спуск", "Постоянный шаг", "Дробление шага", "Покоординатный", "Флетчер–Ривс",
    "Полак–Рибьер",    "Ньютон",         "Ньютон с шагом", "BFGS",           "DFP",
    "Хук–Дживс",       "Нелдер–Мид",     "Момент",         "Нестеров",       "AdaGrad",
    "RMSProp",         "Adam",
};

TDescent WithParameters(const TDescent& parameters) {
    TDescent run;
    run.EpsValue = parameters.EpsValue;
    run.StepValue = parameters.StepValue;
    run.DomainRadius = parameters.DomainRadius;
    run.LineSearchMethod = parameters.LineSearchMethod;
    run.StepLimit = parameters.StepLimit;
    run.FuncIndex = parameters.FuncIndex;
    run.Typed = parameters.Typed;
    run.Watch = parameters.Watch;
    run.Learning = parameters.Learning;
    run.Noise = parameters.Noise;
    return run;
}

}  // namespace

const TMethod DefaultComparedMethods[5] = {TMethod::SteepestDescent, TMethod::FletcherReeves,
                                           TMethod::Newton, TMethod::Bfgs, TMethod::NelderMead};

const char* ComparedStopText(const TComparedRun& run) {
    return run.constrained ? OuterStopText(run.constrained->stop)
                           : StopReasonText(run.outcome->reason);
}

const char* MethodShortName(TMethod method) {
    return ShortNames[ItemOf(method)];
}

TComparison RunComparison(const TDescent& parameters, std::span<const TMethod> methods,
                          TStopRule rule, long double x0, long double y0,
                          const TConstrainedProblem* problem) {
    // The parameters first, as the window's command has always refused them.
    CheckRunParameters(parameters);
    if (methods.empty())
        throw runtime::Exception(EmptyComparisonMessage);
    if (problem)
        CheckConstrainedStart(problem->constraints, problem->settings, x0, y0);
    TComparison comparison{rule, {}};
    comparison.runs.reserve(methods.size());
    for (const TMethod method : methods) {
        if (parameters.Watch)
            parameters.Watch->MethodBegins(method, comparison.runs.size() + 1, methods.size());
        TComparedRun& run = comparison.runs.emplace_back();
        run.method = method;
        run.descent = WithParameters(parameters);
        try {
            if (problem) {
                run.constrained = RunConstrained(run.descent, method, rule, problem->constraints,
                                                 problem->settings, x0, y0);
                run.outcome = TMethodOutcome{TStopReason::Step, run.constrained->counts};
            } else {
                run.outcome = RunMethod(run.descent, method, rule, x0, y0);
            }
        } catch (const runtime::EAbort&) {
            // A stopped comparison ends whole.
            throw;
        } catch (const runtime::Exception& e) {
            // Deliberate: see docs/behaviour.md, "Compared runs".
            run.error = e.Message();
            // The trace keeps the iterations that completed.
            if (run.descent.TraceCount > 0)
                run.descent.TraceCount = run.descent.TraceCount - 1;
        }
    }
    return comparison;
}

TConvergence ConvergenceOf(const TObjective& f, const TDescent& run) {
    TConvergence series;
    TTracePoint previous = run.TraceStart;
    try {
        for (std::uint32_t k = 1; k <= run.TraceCount && k <= TraceCapacity; ++k) {
            const TTracePoint p = run.Trace[k];
            long double gx = 0;
            long double gy = 0;
            f.Gradient(p.X, p.Y, gx, gy);
            const long double value = f.Value(p.X, p.Y);
            const long double norm = Distance(0, 0, gx, gy);
            const long double step = Distance(previous.X, previous.Y, p.X, p.Y);
            series.value.push_back(value);
            series.gradientNorm.push_back(norm);
            series.step.push_back(step);
            previous = p;
        }
    } catch (const runtime::Exception&) {
        // The series ends at the point that cannot be evaluated.
    }
    return series;
}

}  // namespace metopt::core
