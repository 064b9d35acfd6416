// The general chart drawn by QCustomPlot: each series a curve through its points in their order
// (broken where a point is left out) or discs with their texts, the marks as vertical lines with
// their labels at the top, in rows where they would overlap. The user zooms and moves the view with
// QCustomPlot's own wheel zoom and drag.
#include "platform/plotchart.h"

#include <qcustomplot.h>

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPen>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/chartplot.h"
#include "runtime/numformat.h"

namespace metopt::platform {

namespace {

// The room about the points of the whole view, as a share of their span each side.
constexpr double Room = 0.05;
// The largest magnitude of a coordinate shown (the smallest on a logarithmic axis is its
// inverse), and of an end of the whole view: QCustomPlot takes no range beyond 1e250.
constexpr double Largest = 1e200;
constexpr double Widest = 1e240;
constexpr double LineWidth = 2;
constexpr double PointSize = 6;
// Between two mark labels in a row, and around a label's text.
constexpr double LabelGap = 6;
constexpr int LabelPadding = 2;

using Axis = PlotChart::Axis;
using Series = PlotChart::Series;

bool Shows(double v, bool logarithmic) {
    if (!std::isfinite(v))
        return false;
    return logarithmic ? v >= 1 / Largest && v <= Largest : std::abs(v) <= Largest;
}

bool Shows(const QPointF& point, const Axis& x, const Axis& y) {
    return Shows(point.x(), x.logarithmic) && Shows(point.y(), y.logarithmic);
}

struct Span {
    double low;
    double high;
};

// The whole view of an axis over the coordinates shown on it (log10 of them on a logarithmic
// axis): their span with some room, a unit range about a single value, [0, 1] (or [1, 10]) for
// none.
Span WholeSpan(const std::vector<double>& at, bool logarithmic) {
    if (at.empty())
        return logarithmic ? Span{1, 10} : Span{0, 1};
    const auto [lowest, highest] = std::minmax_element(at.begin(), at.end());
    const auto axis = [logarithmic](double v) { return logarithmic ? std::log10(v) : v; };
    double low = axis(*lowest), high = axis(*highest);
    const double middle = (low + high) / 2;
    if (high - low <= 1e-9 * std::max(1.0, std::abs(middle))) {
        const double half = 0.5 * std::max(1.0, std::abs(middle) * 1e-6);
        low = middle - half;
        high = middle + half;
    } else {
        const double room = (high - low) * Room;
        low -= room;
        high += room;
    }
    if (logarithmic)
        return {std::max(std::pow(10.0, low), 1 / Widest), std::min(std::pow(10.0, high), Widest)};
    return {std::max(low, -Widest), std::min(high, Widest)};
}

// Tick labels with the program's decimal separator.
template <class Ticker>
class SeparatorTicks : public Ticker {
  protected:
    QString getTickLabel(double tick, const QLocale&, QChar format, int precision) override {
        QString label = Ticker::getTickLabel(tick, QLocale::c(), format, precision);
        return label.replace(QLatin1Char('.'), QLatin1Char(runtime::DecimalSeparator()));
    }
};

// Powers of ten over a decade or more; a narrower range, where the powers would leave no label,
// takes round linear steps.
class LogTicks : public SeparatorTicks<QCPAxisTickerLog> {
  protected:
    QVector<double> createTickVector(double step, const QCPRange& range) override {
        if (range.upper < 10 * range.lower)
            return QCPAxisTicker::createTickVector(step, range);
        return QCPAxisTickerLog::createTickVector(step, range);
    }
};

void SetAxis(QCPAxis& axis, const Axis& shown) {
    axis.setLabel(shown.title);
    axis.setNumberPrecision(6);
    if (shown.logarithmic) {
        axis.setScaleType(QCPAxis::stLogarithmic);
        axis.setTicker(QSharedPointer<LogTicks>::create());
    } else {
        axis.setScaleType(QCPAxis::stLinear);
        axis.setTicker(QSharedPointer<SeparatorTicks<QCPAxisTicker>>::create());
    }
}

QCPCurve* NewCurve(QCustomPlot& plot, const Series& series) {
    auto* curve = new QCPCurve(plot.xAxis, plot.yAxis);
    curve->setName(series.name);
    const QColor color = ChartColor(series.color);
    QPen pen(color, LineWidth);
    if (series.style == PlotChart::Style::DashedLine)
        pen.setStyle(Qt::DashLine);
    curve->setPen(pen);
    if (series.style == PlotChart::Style::Points) {
        curve->setLineStyle(QCPCurve::lsNone);
        curve->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, color, color, PointSize));
    }
    return curve;
}

// The runs of shown points that a line joins; Points are one run of every shown point.
std::vector<std::pair<QVector<double>, QVector<double>>> Runs(const Series& series, const Axis& x,
                                                              const Axis& y) {
    std::vector<std::pair<QVector<double>, QVector<double>>> runs(1);
    for (const QPointF& point : series.points) {
        if (Shows(point, x, y)) {
            runs.back().first.push_back(point.x());
            runs.back().second.push_back(point.y());
        } else if (series.style != PlotChart::Style::Points && !runs.back().first.empty()) {
            runs.emplace_back();
        }
    }
    if (runs.size() > 1 && runs.back().first.empty())
        runs.pop_back();
    return runs;
}

void AddMarkLine(QCustomPlot& plot, const PlotChart::Mark& mark) {
    auto* line = new QCPItemStraightLine(&plot);
    line->setPen(QPen(ChartColor(mark.color), 1));
    line->setAntialiased(false);  // one column of the mark's colour
    for (QCPItemPosition* end : {line->point1, line->point2}) {
        end->setTypeX(QCPItemPosition::ptPlotCoords);
        end->setTypeY(QCPItemPosition::ptAxisRectRatio);
    }
    line->point1->setCoords(mark.x, 0);
    line->point2->setCoords(mark.x, 1);
}

QCPItemText* NewText(QCustomPlot& plot, const QString& text, const QColor& color) {
    auto* item = new QCPItemText(&plot);
    item->setText(text);
    item->setFont(ChartFont());
    item->setColor(color);
    item->setPadding(QMargins(LabelPadding, 0, LabelPadding, 0));
    item->position->setType(QCPItemPosition::ptAbsolute);  // placed after each layout
    return item;
}

}  // namespace

struct PlotChart::Drawing {
    QCustomPlot* plot = nullptr;
    struct Label {
        QCPItemText* text;
        QPointF at;  // the point's, or the mark's x
    };
    std::vector<Label> pointLabels;
    std::vector<Label> markLabels;

    double Width(const QCPItemText& text) const {
        return QFontMetricsF(text.font()).horizontalAdvance(text.text()) + 2 * LabelPadding;
    }

    // A point's text on its right and above it, or on its left or below it where the plot's edge
    // would cut it.
    void PlacePointLabels() const {
        const QRect axes = plot->axisRect()->rect();
        const double height = QFontMetricsF(ChartFont()).height();
        for (const Label& label : pointLabels) {
            const QPointF at(plot->xAxis->coordToPixel(label.at.x()),
                             plot->yAxis->coordToPixel(label.at.y()));
            const bool left = at.x() + PointSize + Width(*label.text) > axes.left() + axes.width();
            const bool below = at.y() - PointSize - height < axes.top();
            label.text->setPositionAlignment((left ? Qt::AlignRight : Qt::AlignLeft) |
                                             (below ? Qt::AlignTop : Qt::AlignBottom));
            label.text->position->setCoords(at + QPointF(left ? -PointSize / 2 : PointSize / 2,
                                                         below ? PointSize / 2 : -PointSize / 2));
        }
    }

    // Each shown mark's label at the top of the plot, centred on the mark and within the plot, in
    // the first row where it overlaps no other label.
    void PlaceMarkLabels() const {
        const QRect axes = plot->axisRect()->rect();
        const double height = QFontMetricsF(ChartFont()).height();
        std::vector<std::pair<double, const Label*>> shown;
        for (const Label& label : markLabels) {
            const double x = plot->xAxis->coordToPixel(label.at.x());
            const bool inside = x >= axes.left() && x <= axes.left() + axes.width();
            label.text->setVisible(inside);
            if (inside)
                shown.emplace_back(x, &label);
        }
        std::sort(shown.begin(), shown.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<double> rowEnds;
        for (const auto& [x, label] : shown) {
            const double half = Width(*label->text) / 2;
            const double centre =
                std::max(axes.left() + half, std::min(x, axes.left() + axes.width() - half));
            std::size_t row = 0;
            while (row < rowEnds.size() && rowEnds[row] + LabelGap > centre - half)
                ++row;
            if (row == rowEnds.size())
                rowEnds.push_back(0);
            rowEnds[row] = centre + half;
            label->text->position->setCoords(centre,
                                             axes.top() + static_cast<double>(row) * height);
        }
    }
};

void PlotChart::AddPointLabels(const Series& series, const Axis& x, const Axis& y) {
    if (series.style != Style::Points)
        return;
    const std::size_t count = std::min(series.points.size(), series.labels.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (Shows(series.points[i], x, y) && !series.labels[i].isEmpty())
            drawing_->pointLabels.push_back(
                {NewText(*drawing_->plot, series.labels[i], ChartColor(series.color)),
                 series.points[i]});
    }
}

void PlotChart::AddMarkLabel(const Mark& mark) {
    QCPItemText* label = NewText(*drawing_->plot, mark.label, ChartColor(mark.color));
    label->setBrush(QBrush(Qt::white));
    label->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
    drawing_->markLabels.push_back({label, QPointF(mark.x, 0)});
}

PlotChart::PlotChart(QWidget* parent) : QWidget(parent), drawing_(std::make_unique<Drawing>()) {
    QCustomPlot* plot = MakeChartPlot(this);
    plot->setAutoAddPlottableToLegend(false);
    plot->setNoAntialiasingOnDrag(true);
    plot->setGeometry(rect());
    drawing_->plot = plot;
    QObject::connect(plot, &QCustomPlot::afterLayout, plot, [this] {
        drawing_->PlacePointLabels();
        drawing_->PlaceMarkLabels();
    });
    QObject::connect(plot, &QCustomPlot::mouseDoubleClick, plot, [this](QMouseEvent* event) {
        if (event->button() == Qt::LeftButton)
            ResetZoom();
    });
    ShowText(QString());
}

// The plot goes before the drawing state that its signals reach.
PlotChart::~PlotChart() {
    delete drawing_->plot;
}

void PlotChart::Clear() {
    drawing_->pointLabels.clear();
    drawing_->markLabels.clear();
    drawing_->plot->clearItems();
    drawing_->plot->clearPlottables();
}

void PlotChart::ShowAxes(bool shown) {
    QCustomPlot& plot = *drawing_->plot;
    for (QCPAxis* axis : {plot.xAxis, plot.yAxis}) {
        axis->setVisible(shown);
        axis->grid()->setVisible(shown);
    }
    plot.setInteractions(shown ? QCP::iRangeZoom | QCP::iRangeDrag : QCP::Interactions());
}

void PlotChart::Show(const Axis& x, const Axis& y, const std::vector<Series>& series,
                     const std::vector<Mark>& marks) {
    Clear();
    series_ = series;
    marks_ = marks;
    text_.clear();
    QCustomPlot& plot = *drawing_->plot;
    ShowAxes(true);
    SetAxis(*plot.xAxis, x);
    SetAxis(*plot.yAxis, y);
    std::vector<double> xs, ys;
    bool named = false;
    for (const Series& one : series_) {
        const auto runs = Runs(one, x, y);
        for (std::size_t r = 0; r < runs.size(); ++r) {
            QCPCurve* curve = NewCurve(plot, one);
            curve->setData(runs[r].first, runs[r].second);
            if (r == 0 && !one.name.isEmpty())
                named = curve->addToLegend() || named;
            xs.insert(xs.end(), runs[r].first.begin(), runs[r].first.end());
            ys.insert(ys.end(), runs[r].second.begin(), runs[r].second.end());
        }
    }
    for (const Mark& mark : marks_) {
        if (Shows(mark.x, x.logarithmic)) {
            AddMarkLine(plot, mark);
            xs.push_back(mark.x);
        }
    }
    // The texts over every line.
    for (const Series& one : series_)
        AddPointLabels(one, x, y);
    for (const Mark& mark : marks_) {
        if (Shows(mark.x, x.logarithmic))
            AddMarkLabel(mark);
    }
    const Span wholeX = WholeSpan(xs, x.logarithmic), wholeY = WholeSpan(ys, y.logarithmic);
    whole_ = {wholeX.low, wholeX.high, wholeY.low, wholeY.high};
    ShowChartLegend(plot, named);
    ResetZoom();
}

void PlotChart::ShowText(const QString& text) {
    Clear();
    series_.clear();
    marks_.clear();
    text_ = text;
    QCustomPlot& plot = *drawing_->plot;
    ShowAxes(false);
    ShowChartLegend(plot, false);
    QCPItemText* item = NewText(plot, text, Qt::black);
    item->setClipToAxisRect(false);
    item->position->setType(QCPItemPosition::ptViewportRatio);
    item->position->setCoords(0.5, 0.5);
    item->setPositionAlignment(Qt::AlignCenter);
    item->setTextAlignment(Qt::AlignCenter);
    whole_ = {0, 1, 0, 1};
    ResetZoom();
}

PlotChart::View PlotChart::ShownView() const {
    const QCPRange x = drawing_->plot->xAxis->range(), y = drawing_->plot->yAxis->range();
    return {x.lower, x.upper, y.lower, y.upper};
}

QImage PlotChart::Render(QSize size) {
    return RenderChartPlot(*drawing_->plot, size);
}

void PlotChart::ResetZoom() {
    drawing_->plot->xAxis->setRange(whole_.xLow, whole_.xHigh);
    drawing_->plot->yAxis->setRange(whole_.yLow, whole_.yHigh);
    drawing_->plot->replot(QCustomPlot::rpQueuedReplot);
}

void PlotChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    drawing_->plot->setGeometry(rect());
}

}  // namespace metopt::platform
