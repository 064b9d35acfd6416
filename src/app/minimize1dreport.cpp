#include "app/minimize1dreport.h"

#include <cstdint>
#include <optional>

#include "app/exports.h"
#include "runtime/numformat.h"

namespace metopt::app {

namespace {

// Between the interval's ends: "; " where the decimal separator is a comma, as in [0,1; 4].
std::string EndsSeparator() {
    return runtime::DecimalSeparator() == ',' ? "; " : ", ";
}

using runtime::FormatGeneral;

constexpr const char* Separator = " | ";

// Whether the method's steps have two trial points each (else one, the new trial t).
bool TwoTrialsAStep(core::TLineSearch method) {
    return method != core::TLineSearch::Parabolic && method != core::TLineSearch::Brent;
}

std::string Row(const std::vector<std::string>& cells) {
    std::string row;
    for (const std::string& cell : cells)
        row += (row.empty() ? "" : Separator) + cell;
    return row;
}

std::string ColumnsLine(core::TLineSearch method) {
    if (TwoTrialsAStep(method))
        return Row({"n", "a", "b", "t1", "t2", "φ(t1)", "φ(t2)", "b − a"});
    return Row({"n", "t", "φ(t)", "a", "b", "b − a"});
}

std::string StepLine(core::TLineSearch method, std::size_t n, const core::TLineStep& s) {
    const std::string k = runtime::FormatInteger(static_cast<std::int64_t>(n));
    const std::string width = FormatGeneral(s.b - s.a);
    if (TwoTrialsAStep(method)) {
        return Row({k, FormatGeneral(s.a), FormatGeneral(s.b), FormatGeneral(s.t1),
                    FormatGeneral(s.t2), FormatGeneral(s.phi1), FormatGeneral(s.phi2), width});
    }
    return Row({k, FormatGeneral(s.t1), FormatGeneral(s.phi1), FormatGeneral(s.a),
                FormatGeneral(s.b), width});
}

std::string ResultLine(const core::TMinimum1D& result) {
    const std::string count =
        "вычислений f: " + runtime::FormatInteger(static_cast<std::int64_t>(result.Evaluations()));
    if (!result.error.empty())
        return "Ошибка: " + result.error + ", " + count;
    return "x* = " + FormatGeneral(result.x) + ", f(x*) = " + FormatGeneral(result.value) + ", " +
           count;
}

std::string Cell(const std::optional<std::size_t>& count) {
    return count ? std::to_string(*count) : std::string();
}

}  // namespace

std::vector<std::string> Minimize1DReport(const TMinimize1D& lab) {
    const core::TInterval1D& interval = lab.interval;
    std::vector<std::string> lines = {
        "Функция: f(x) = " + lab.formula,
        "Отрезок: [" + FormatGeneral(interval.a) + EndsSeparator() + FormatGeneral(interval.b) +
            "], eps = " + FormatGeneral(interval.eps),
    };
    for (const core::TMinimum1D& result : lab.results) {
        lines.emplace_back();
        lines.emplace_back(core::LineSearchCaptions[static_cast<int>(result.method)]);
        lines.push_back(ColumnsLine(result.method));
        for (std::size_t n = 0; n < result.steps.size(); ++n)
            lines.push_back(StepLine(result.method, n + 1, result.steps[n]));
        lines.push_back(ResultLine(result));
    }
    return lines;
}

void WriteMinimize1DReport(const TMinimize1D& lab, const std::string& fileName) {
    WriteReport(Minimize1DReport(lab), fileName);
}

std::string CountsCsv(const std::vector<core::TLineSearch>& methods,
                      const std::vector<core::TCountRow>& rows) {
    std::string csv = "eps";
    for (const core::TLineSearch method : methods)
        csv += "," + std::string(core::LineSearchWords[static_cast<int>(method)]);
    csv += ",golden-theory,fibonacci-theory\n";
    for (const core::TCountRow& row : rows) {
        csv += RoundTrip(row.eps);
        for (const std::optional<std::size_t>& count : row.evaluations)
            csv += "," + Cell(count);
        csv += "," + std::to_string(row.goldenTheory) + "," + std::to_string(row.fibonacciTheory) +
               "\n";
    }
    return csv;
}

void WriteCountsCsv(const TMinimize1D& lab, const std::string& fileName) {
    WriteText(fileName, CountsCsv(MethodsOfLab(lab), CountsOfLab(lab)));
}

}  // namespace metopt::app
