#include "app/linesteptable.h"

#include <cmath>
#include <cstdint>

#include "runtime/numformat.h"

namespace metopt::app {

namespace {

std::string Number(long double value) {
    return std::isnan(value) ? std::string() : runtime::FormatGeneral(value);
}

bool TwoPointSteps(core::TLineSearch method) {
    return method == core::TLineSearch::Golden || method == core::TLineSearch::Dichotomy ||
           method == core::TLineSearch::Fibonacci;
}

}  // namespace

std::vector<std::string> LineStepColumns(core::TLineSearch method) {
    if (TwoPointSteps(method))
        return {"n", "a", "b", "t1", "t2", "φ(t1)", "φ(t2)", "b − a"};
    if (method == core::TLineSearch::Armijo)
        return {"n", "t", "φ(t)"};
    if (method == core::TLineSearch::Wolfe)
        return {"n", "t", "φ(t)", "a", "b"};
    return {"n", "t", "φ(t)", "a", "b", "b − a"};
}

std::vector<std::vector<std::string>> LineStepRows(core::TLineSearch method,
                                                   const std::vector<core::TLineStep>& steps) {
    std::vector<std::vector<std::string>> rows;
    for (std::size_t n = 0; n < steps.size(); ++n) {
        const core::TLineStep& s = steps[n];
        const std::string number = runtime::FormatInteger(static_cast<std::int64_t>(n + 1));
        const std::string width = std::isnan(s.a) ? std::string() : Number(s.b - s.a);
        if (TwoPointSteps(method))
            rows.push_back({number, Number(s.a), Number(s.b), Number(s.t1), Number(s.t2),
                            Number(s.phi1), Number(s.phi2), width});
        else if (method == core::TLineSearch::Armijo)
            rows.push_back({number, Number(s.t1), Number(s.phi1)});
        else if (method == core::TLineSearch::Wolfe)
            rows.push_back({number, Number(s.t1), Number(s.phi1), Number(s.a), Number(s.b)});
        else
            rows.push_back({number, Number(s.t1), Number(s.phi1), Number(s.a), Number(s.b), width});
    }
    return rows;
}

}  // namespace metopt::app
