#pragma once
// What the page "Одномерный поиск" shows of a line search of the last run (or of the run stepped
// through): φ(t) along the search's direction over its trials and a little beyond, the scan's
// points numbered, the bracket [a, b], the narrowing steps' trial points and the t taken, and the
// table of its steps as a lab report prints it; or why there is none.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/linesteptable.h"
#include "app/session.h"
#include "platform/plotchart.h"

namespace metopt::app {

struct TLinePage {
    std::string heading;  // "Итерация k, поиск j из m: <the method's caption>"
    std::string text;     // why nothing is shown, when nothing is
    platform::PlotChart::Axis x;
    platform::PlotChart::Axis y;
    std::vector<platform::PlotChart::Series> series;
    std::vector<platform::PlotChart::Mark> marks;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

// How many samples of φ the chart draws.
constexpr int LinePageSamples = 400;

// The last iteration with a line search kept (0: none), and how many searches iteration k has.
std::uint32_t LineSearchIterations(const TSession& session);
std::size_t LineSearchesAt(const TSession& session, std::uint32_t iteration);

// The page for search `search` (0-based) of iteration `iteration`.
TLinePage LinePageOf(const TSession& session, std::uint32_t iteration, std::size_t search);

}  // namespace metopt::app
