#pragma once
// A chart of how fast runs converge: the iteration k along x, a positive quantity on a logarithmic
// y axis, one line per run in its colour, with a legend. Drawn by Qt Charts, or by the program's
// own painter in a build without Qt Charts (the Windows build, when Debian's Qt Charts sources
// were not at hand); both show the same lines.
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

namespace metopt::platform {

class ConvergenceChart : public QWidget {
  public:
    struct Line {
        QString name;
        std::int32_t color;          // 0x00BBGGRR, as the Canvas takes it
        std::vector<double> values;  // at k = 1, 2, ...
    };
    // A line as it is drawn: (k, value) with the value at least the axis floor.
    struct ShownLine {
        QString name;
        std::int32_t color;
        std::vector<QPointF> points;
    };

    explicit ConvergenceChart(QWidget* parent = nullptr);
    ~ConvergenceChart() override;

    // Shows the lines; values below `floor` (zeros among them) and values that are not finite are
    // drawn at the axis floor.
    void Show(const QString& yTitle, const std::vector<Line>& lines, double floor);
    // The chart drawn at the given size, whatever the widget's own.
    QImage Render(QSize size);

    const std::vector<ShownLine>& Shown() const { return shown_; }
    const QString& YTitle() const { return yTitle_; }
    // The y axis: from the floor to the ceiling, a label at every power of `base`.
    double Floor() const { return floor_; }
    double Ceiling() const { return ceiling_; }
    double LabelBase() const { return base_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Drawing;  // the drawing's own state: Qt Charts' view, or nothing for the painter
    void Redraw();

    std::unique_ptr<Drawing> drawing_;
    std::vector<ShownLine> shown_;
    QString yTitle_;
    double floor_ = 1;
    double ceiling_ = 10;
    double base_ = 10;
};

}  // namespace metopt::platform
