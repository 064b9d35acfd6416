#include "app/comparisonexports.h"

#include <charconv>

#include "app/exports.h"
#include "platform/convergencechart.h"
#include "runtime/exceptions.h"

namespace metopt::app {

namespace {

constexpr int CsvDigits = 18;

std::string Digits(long double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, CsvDigits);
    return std::string(buffer, result.ptr);
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string ComparisonCsv(const core::TComparison& comparison) {
    std::string csv = "method,iterations,stop,f_evals,grad_evals,hess_evals,x,y,z\n";
    for (const ComparisonRowData& row : ComparisonRows(comparison)) {
        csv += Field(row.name) + ',' + std::to_string(row.iterations) + ',' + Field(row.stop);
        if (row.counted) {
            csv += ',' + std::to_string(row.counts.values) + ',' +
                   std::to_string(row.counts.gradients) + ',' +
                   std::to_string(row.counts.hessians) + ',' + Digits(row.x) + ',' + Digits(row.y) +
                   ',' + (row.hasPoint ? Digits(row.z) : "");
        } else {
            csv += ",,,,,,";
        }
        csv += '\n';
    }
    return csv;
}

void WriteComparisonCsv(const TSession& session, const std::string& fileName) {
    if (!session.ShowsComparison)
        throw runtime::Exception("--comparison needs a --compare before it");
    WriteText(fileName, ComparisonCsv(session.Comparison));
}

std::string ConvergenceCsv(const TSession& session) {
    std::string csv = "method,k,x,y,z,grad_norm,step\n";
    for (const ConvergenceSeries& series : SeriesOfSession(session)) {
        const core::TConvergence& v = series.values;
        for (std::size_t k = 0; k < v.value.size(); ++k) {
            csv += Field(series.method) + ',' + std::to_string(k + 1) + ',' +
                   Digits(series.points[k].X) + ',' + Digits(series.points[k].Y) + ',' +
                   Digits(v.value[k]) + ',' + Digits(v.gradientNorm[k]) + ',' + Digits(v.step[k]) +
                   '\n';
        }
    }
    return csv;
}

void WriteConvergenceCsv(const TSession& session, const std::string& fileName) {
    WriteText(fileName, ConvergenceCsv(session));
}

void WriteConvergencePicture(const TSession& session, ConvergenceKind kind,
                             const std::string& fileName) {
    const ConvergenceLines lines = ConvergenceOfSession(session, kind);
    platform::ConvergenceChart chart;
    chart.Show(QString::fromUtf8(ConvergenceKindItems[static_cast<int>(kind)]), lines.lines,
               lines.floor);
    WritePng(chart.Render(QSize(ConvergenceWidth, ConvergenceHeight)), fileName);
}

}  // namespace metopt::app
