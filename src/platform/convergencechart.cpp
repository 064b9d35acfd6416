#include "platform/convergencechart.h"

#include <algorithm>
#include <cmath>

namespace metopt::platform {

namespace {

// At most about this many labels on the y axis: a wide range takes a label every few decades.
constexpr double MaxLabels = 8;

}  // namespace

void ConvergenceChart::Show(const QString& yTitle, const std::vector<Line>& lines, double floor) {
    yTitle_ = yTitle;
    shown_.clear();
    double top = floor;
    for (const Line& line : lines) {
        ShownLine shown{line.name, line.color, {}};
        shown.points.reserve(line.values.size());
        for (std::size_t k = 0; k < line.values.size(); ++k) {
            const double v =
                std::isfinite(line.values[k]) ? std::max(line.values[k], floor) : floor;
            shown.points.emplace_back(static_cast<double>(k + 1), v);
            top = std::max(top, v);
        }
        shown_.push_back(std::move(shown));
    }
    floor_ = floor;
    ceiling_ = std::max(top * 10, floor * 10);
    const double decades = std::log10(ceiling_ / floor_);
    base_ = std::pow(10.0, std::max(1.0, std::ceil(decades / MaxLabels)));
    Redraw();
}

}  // namespace metopt::platform
