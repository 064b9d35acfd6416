#include "app/minimize1dcharts.h"

#include <QImage>
#include <QSize>
#include <cmath>

#include "app/exports.h"
#include "render/comparisontrace.h"
#include "runtime/exceptions.h"

namespace metopt::app {

namespace {

using Series = platform::PlotChart::Series;
using Style = platform::PlotChart::Style;

constexpr std::int32_t FunctionColor = 0x000000;

QString Caption(core::TLineSearch method) {
    return QString::fromUtf8(core::LineSearchCaptions[static_cast<int>(method)]);
}

// The colour of a method's points and line: a comparison path's, one per interval method.
std::int32_t ColorOf(core::TLineSearch method) {
    return render::ComparisonColors[static_cast<int>(method) % render::ComparisonColorCount];
}

QPointF Point(long double x, long double y) {
    return {static_cast<double>(x), static_cast<double>(y)};
}

// f at x, or NaN where it cannot be evaluated.
long double ValueOrNan(const core::TFormula1D& f, long double x) {
    try {
        return f.Value(x);
    } catch (const runtime::Exception&) {
        return NAN;
    }
}

Series FunctionLine(const TMinimize1D& lab) {
    Series line{QStringLiteral("f(x)"), FunctionColor, Style::Line, {}, {}};
    const auto [a, b, eps] = lab.interval;
    for (int i = 0; i < FunctionSamples; ++i) {
        const long double x =
            i == FunctionSamples - 1 ? b : a + (b - a) * i / (FunctionSamples - 1);
        line.points.push_back(Point(x, ValueOrNan(*lab.function, x)));
    }
    return line;
}

Series TrialPoints(const core::TMinimum1D& result) {
    Series points{Caption(result.method), ColorOf(result.method), Style::Points, {}, {}};
    for (const core::TTrial& trial : result.trials)
        points.points.push_back(Point(trial.x, trial.value));
    return points;
}

double LgEps(const core::TCountRow& row) {
    return static_cast<double>(std::log10(row.eps));
}

Series TheoryLine(QString name, core::TLineSearch method, const std::vector<core::TCountRow>& rows,
                  int core::TCountRow::*count) {
    Series line{std::move(name), ColorOf(method), Style::DashedLine, {}, {}};
    for (const core::TCountRow& row : rows)
        line.points.emplace_back(LgEps(row), row.*count);
    return line;
}

}  // namespace

TChart1D FunctionChart(const TMinimize1D& lab) {
    TChart1D chart{{QStringLiteral("x"), false}, {QStringLiteral("f(x)"), false}, {}};
    chart.series.push_back(FunctionLine(lab));
    for (const core::TMinimum1D& result : lab.results)
        chart.series.push_back(TrialPoints(result));
    return chart;
}

TChart1D CountsChart(const std::vector<core::TLineSearch>& methods,
                     const std::vector<core::TCountRow>& rows) {
    TChart1D chart{{QStringLiteral("lg eps"), false}, {QStringLiteral("вычислений f"), false}, {}};
    for (std::size_t m = 0; m < methods.size(); ++m) {
        Series line{Caption(methods[m]), ColorOf(methods[m]), Style::Line, {}, {}};
        for (const core::TCountRow& row : rows) {
            const std::optional<std::size_t>& count = row.evaluations.at(m);
            line.points.emplace_back(LgEps(row), count ? static_cast<double>(*count) : NAN);
        }
        chart.series.push_back(std::move(line));
    }
    chart.series.push_back(TheoryLine(QStringLiteral("Золотое сечение (теория)"),
                                      core::TLineSearch::Golden, rows,
                                      &core::TCountRow::goldenTheory));
    chart.series.push_back(TheoryLine(QStringLiteral("Фибоначчи (теория)"),
                                      core::TLineSearch::Fibonacci, rows,
                                      &core::TCountRow::fibonacciTheory));
    return chart;
}

void WriteChartPicture(const TChart1D& chart, const std::string& fileName) {
    platform::PlotChart plot;
    plot.Show(chart.x, chart.y, chart.series);
    WritePng(plot.Render(QSize(Minimize1DChartWidth, Minimize1DChartHeight)), fileName);
}

void WriteFunctionPicture(const TMinimize1D& lab, const std::string& fileName) {
    WriteChartPicture(FunctionChart(lab), fileName);
}

void WriteCountsPicture(const TMinimize1D& lab, const std::string& fileName) {
    WriteChartPicture(CountsChart(MethodsOfLab(lab), CountsOfLab(lab)), fileName);
}

}  // namespace metopt::app
