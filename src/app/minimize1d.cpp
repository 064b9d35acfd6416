#include "app/minimize1d.h"

#include "runtime/exceptions.h"
#include "runtime/numparse.h"

namespace metopt::app {

namespace {

const char* const NoMethodMessage = "Не выбран ни один метод одномерной минимизации";

}  // namespace

core::LineFunction1D FunctionOf(const TMinimize1D& lab) {
    return [function = lab.function](long double x) { return function->Value(x); };
}

TMinimize1D RunMinimize1D(const TMinimize1DFields& fields) {
    TMinimize1D lab;
    lab.function = core::CompileFormula1D(fields.formula);
    lab.formula = core::TrimmedFormula(fields.formula);
    // Deliberate: see docs/behaviour.md, "Lenient numbers".
    lab.interval.a = runtime::ParseNumber(fields.a);
    lab.interval.b = runtime::ParseNumber(fields.b);
    lab.interval.eps = runtime::ParseNumber(fields.eps);
    core::CheckInterval(lab.interval);
    if (fields.methods.empty())
        throw runtime::Exception(NoMethodMessage);
    lab.results = core::MinimizeWithEach(FunctionOf(lab), fields.methods, lab.interval);
    return lab;
}

std::vector<core::TLineSearch> MethodsOfLab(const TMinimize1D& lab) {
    std::vector<core::TLineSearch> methods;
    for (const core::TMinimum1D& result : lab.results)
        methods.push_back(result.method);
    return methods;
}

std::vector<core::TCountRow> CountsOfLab(const TMinimize1D& lab) {
    return core::CountEvaluations(FunctionOf(lab), MethodsOfLab(lab), lab.interval.a,
                                  lab.interval.b);
}

}  // namespace metopt::app
