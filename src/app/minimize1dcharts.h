#pragma once
// The one-dimensional lab's two charts for platform::PlotChart: the function over [a, b] with each
// method's trial points, and the counts of values against lg eps with the theory's; and their
// pictures.
#include <string>
#include <vector>

#include "app/minimize1d.h"
#include "platform/plotchart.h"

namespace metopt::app {

// The pictures' size.
constexpr int Minimize1DChartWidth = 800;
constexpr int Minimize1DChartHeight = 500;
// The function's samples over [a, b], both ends among them.
constexpr int FunctionSamples = 400;

struct TChart1D {
    platform::PlotChart::Axis x;
    platform::PlotChart::Axis y;
    std::vector<platform::PlotChart::Series> series;
};

// f as a line through its samples (a point where f cannot be evaluated left out, the line broken
// there), then each method's trial points in its colour (a comparison path's colour).
TChart1D FunctionChart(const TMinimize1D& lab);
// One line per method through its counts against lg eps (a count that failed left out), then the
// golden section's and Fibonacci's theoretical counts as dashed lines in those methods' colours.
TChart1D CountsChart(const std::vector<core::TLineSearch>& methods,
                     const std::vector<core::TCountRow>& rows);

// The chart drawn at 800 × 500 as a PNG picture; raises the program's error when it cannot be
// written.
void WriteChartPicture(const TChart1D& chart, const std::string& fileName);
void WriteFunctionPicture(const TMinimize1D& lab, const std::string& fileName);
void WriteCountsPicture(const TMinimize1D& lab, const std::string& fileName);

}  // namespace metopt::app
