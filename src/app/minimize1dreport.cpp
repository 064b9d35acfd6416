#include "app/minimize1dreport.h"

#include <cstdint>
#include <optional>

#include "app/exports.h"
#include "app/linesteptable.h"
#include "runtime/numformat.h"

namespace metopt::app {

namespace {

// Between the interval's ends: "; " where the decimal separator is a comma, as in [0,1; 4].
std::string EndsSeparator() {
    return runtime::DecimalSeparator() == ',' ? "; " : ", ";
}

using runtime::FormatGeneral;

constexpr const char* Separator = " | ";

std::string Row(const std::vector<std::string>& cells) {
    std::string row;
    for (const std::string& cell : cells)
        row += (row.empty() ? "" : Separator) + cell;
    return row;
}

std::string Cell(const std::optional<std::size_t>& count) {
    return count ? std::to_string(*count) : std::string();
}

}  // namespace

std::string Minimize1DResultLine(const core::TMinimum1D& result) {
    const std::string count =
        "вычислений f: " + runtime::FormatInteger(static_cast<std::int64_t>(result.Evaluations()));
    if (!result.error.empty())
        return "Ошибка: " + result.error + ", " + count;
    return "x* = " + FormatGeneral(result.x) + ", f(x*) = " + FormatGeneral(result.value) + ", " +
           count;
}

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
        lines.push_back(Row(LineStepColumns(result.method)));
        for (const std::vector<std::string>& row : LineStepRows(result.method, result.steps))
            lines.push_back(Row(row));
        lines.push_back(Minimize1DResultLine(result));
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
