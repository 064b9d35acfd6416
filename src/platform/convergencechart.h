#pragma once
// A chart of how fast runs converge: the iteration k along x, a positive quantity on a logarithmic
// y axis, one line per run in its colour, with a legend on the right. Drawn by QCustomPlot, on
// every system alike.
//
// The user zooms: the mouse wheel zooms both axes about the pointer, a rectangle dragged with the
// left button zooms to it, a double-click shows the whole view again.
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class QRubberBand;

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
    // A range of an axis, low < high.
    struct Range {
        double low;
        double high;
    };

    // How much one notch of the mouse wheel zooms.
    static constexpr double WheelZoom = 1.25;
    // A drag shorter than this, both ways, is no rectangle.
    static constexpr int MinimumDrag = 4;

    explicit ConvergenceChart(QWidget* parent = nullptr);
    ~ConvergenceChart() override;

    // Shows the lines, the whole view; values below `floor` (zeros among them) and values that are
    // not finite are drawn at the axis floor.
    void Show(const QString& yTitle, const std::vector<Line>& lines, double floor);
    // The chart drawn at the given size, whatever the widget's own and whether it is shown, as it
    // is shown (zoomed too).
    QImage Render(QSize size);

    const std::vector<ShownLine>& Shown() const { return shown_; }
    const QString& YTitle() const { return yTitle_; }
    // The y axis of the whole view: from the floor to the ceiling.
    double Floor() const { return floor_; }
    double Ceiling() const { return ceiling_; }
    // The y labels: one at every power of this base within the shown range.
    double LabelBase() const;

    // The whole view: k from 1 to the longest line's last k (to 2 for a single point), y from the
    // floor to the ceiling.
    Range WholeKRange() const;
    Range WholeYRange() const { return {floor_, ceiling_}; }
    // What is shown now: the whole view or a part of it.
    Range ShownKRange() const { return kShown_; }
    Range ShownYRange() const { return yShown_; }
    // The lines' area in the widget's pixels: the shown k range from its left to its right edge,
    // log10 of the shown y range from its bottom to its top. Empty while the widget is too small.
    QRectF PlotArea() const;

    // Zooms both axes by `factor` (above 1 in, below 1 out) about the widget pixel `at`, which
    // keeps its values (a pixel off the lines' area counts as the nearest one on it).
    void ZoomAbout(QPointF at, double factor);
    // Shows what the rectangle of widget pixels covers of the lines' area.
    void ZoomTo(const QRectF& pixels);
    void ResetZoom();

    // A round step for the k labels: integers, each label `labelWidth` wide with room between
    // them, over `pixels` of the shown k range.
    static double KTickStep(Range k, double pixels, double labelWidth);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    struct Drawing;     // QCustomPlot's widget, which fills the chart and takes no mouse events
    void Redraw();      // the lines changed
    void ShowRanges();  // the shown ranges changed
    void SetShown(Range k, Range y);
    static double LabelBaseOf(Range y);

    std::unique_ptr<Drawing> drawing_;
    std::vector<ShownLine> shown_;
    QString yTitle_;
    double floor_ = 1;
    double ceiling_ = 10;
    Range kShown_{1, 2};
    Range yShown_{1, 10};
    QRubberBand* band_ = nullptr;
    QPoint dragStart_;
    bool dragging_ = false;
};

}  // namespace metopt::platform
