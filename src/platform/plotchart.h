#pragma once
// A chart of lines and points over two axes (each linear or logarithmic), with a legend, drawn by
// QCustomPlot: the line search's φ(t), a function of one variable with the trial points of its
// methods, the counts of evaluations against eps. No header of the program includes QCustomPlot's.
//
// The user zooms: the mouse wheel zooms about the pointer, a drag with the left button moves the
// view, a double-click shows the whole view again.
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

namespace metopt::platform {

class PlotChart : public QWidget {
  public:
    enum class Style { Line, DashedLine, Points };
    struct Series {
        QString name;        // the legend's entry; empty: none
        std::int32_t color;  // 0x00BBGGRR, as the Canvas takes it
        Style style = Style::Line;
        std::vector<QPointF> points;
        // For Points: a text beside each point (the scan's numbers), or none when empty.
        std::vector<QString> labels;
    };
    // A vertical line across the plot at x (the bracket's ends, the step found), with a text at
    // its top.
    struct Mark {
        double x;
        std::int32_t color;
        QString label;
    };
    struct Axis {
        QString title;
        bool logarithmic = false;
    };
    // The ranges of the axes, low < high.
    struct View {
        double xLow;
        double xHigh;
        double yLow;
        double yHigh;
    };

    explicit PlotChart(QWidget* parent = nullptr);
    ~PlotChart() override;

    // Shows the series and marks, the whole view: every point and mark with a little room (5 % of
    // the span each side; a single value gets a unit range about it, a decade on a logarithmic
    // axis). Points that are not finite or not positive on a logarithmic axis, of a magnitude
    // beyond 1e200 (or below 1e-200 on a logarithmic axis), are left out, and a line breaks
    // there; so are marks whose x is left out.
    void Show(const Axis& x, const Axis& y, const std::vector<Series>& series,
              const std::vector<Mark>& marks = {});
    // An empty chart with a text in its middle (why there is nothing to show).
    void ShowText(const QString& text);

    const std::vector<Series>& Shown() const { return series_; }
    const std::vector<Mark>& Marks() const { return marks_; }
    const QString& Text() const { return text_; }

    // The chart drawn at the given size, whatever the widget's own and whether it is shown, as it
    // is shown.
    QImage Render(QSize size);
    // Back to the whole view.
    void ResetZoom();

    // What the axes show now (zoomed or moved by the user), and the whole view.
    View ShownView() const;
    View WholeView() const { return whole_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Drawing;  // QCustomPlot's widget and what it draws
    void Clear();
    void ShowAxes(bool shown);
    void AddPointLabels(const Series& series, const Axis& x, const Axis& y);
    void AddMarkLabel(const Mark& mark);
    std::unique_ptr<Drawing> drawing_;
    std::vector<Series> series_;
    std::vector<Mark> marks_;
    QString text_;
    View whole_{0, 1, 0, 1};
};

}  // namespace metopt::platform
