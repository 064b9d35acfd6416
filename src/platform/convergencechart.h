#pragma once
// A chart of how fast runs converge: the iteration k along x, a positive quantity on a logarithmic
// y axis, one line per run in its colour (Qt Charts).
#include <QChartView>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

namespace metopt::platform {

class ConvergenceChart : public QChartView {
  public:
    struct Line {
        QString name;
        std::int32_t color;          // 0x00BBGGRR, as the Canvas takes it
        std::vector<double> values;  // at k = 1, 2, ...
    };

    explicit ConvergenceChart(QWidget* parent = nullptr);

    // Shows the lines; values below `floor` (zeros among them) are drawn at the axis floor.
    void Show(const QString& yTitle, const std::vector<Line>& lines, double floor);
    // The chart drawn at the given size, whatever the widget's own.
    QImage Render(QSize size);
};

}  // namespace metopt::platform
