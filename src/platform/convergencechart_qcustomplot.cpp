// The convergence chart drawn by QCustomPlot, whose widget fills the chart and lets the mouse
// through to it. The k axis has integer labels at a round step; the y axis is log10 of the values
// on a linear axis, labelled at the powers of the label base: QCustomPlot's logarithmic axis takes
// no range beyond 1e±250, and the values reach the ends of double. Before each drawing the chart
// lays the plot out for its size: the whole view's margins first, which a zoomed view keeps (its
// labels would move the plot, and the point under the pointer with it), then the k labels' step
// for the plot's width.
#include <qcustomplot.h>

#include <QFontMetricsF>
#include <QMap>
#include <QMargins>
#include <QPen>
#include <QResizeEvent>
#include <QSharedPointer>
#include <algorithm>
#include <cmath>

#include "platform/chartplot.h"
#include "platform/convergencechart.h"

namespace metopt::platform {

namespace {

using Range = ConvergenceChart::Range;

// QCustomPlot's own least margin of the axes, and the room between the last k label and the
// legend.
constexpr int MinimumMargin = 15;
constexpr int LegendGap = 8;

QString KLabel(double k) {
    return QString::number(std::llround(std::max(1.0, k)));
}

// Labels at the multiples of `step` within `k`.
QMap<double, QString> KTicks(Range k, double step) {
    QMap<double, QString> ticks;
    const double first = std::ceil(k.low / step - 1e-9);
    const double last = std::floor(k.high / step + 1e-9);
    for (double n = first; n <= last; ++n)
        ticks.insert(n * step, KLabel(n * step));
    return ticks;
}

// Labels "1e-05" at the powers of `base` within the decades `logY`.
QMap<double, QString> YTicks(Range logY, double base) {
    QMap<double, QString> ticks;
    const double decades = std::log10(base);
    const double first = std::ceil(logY.low / decades - 1e-9);
    const double last = std::floor(logY.high / decades + 1e-9);
    for (double n = first; n <= last; ++n) {
        const auto exponent = std::llround(n * decades);
        ticks.insert(static_cast<double>(exponent), QString::asprintf("1e%+03lld", exponent));
    }
    return ticks;
}

Range Decades(Range y) {
    return {std::log10(y.low), std::log10(y.high)};
}

QSharedPointer<QCPAxisTickerText> TextTicker() {
    auto ticker = QSharedPointer<QCPAxisTickerText>::create();
    ticker->setSubTickCount(0);
    return ticker;
}

}  // namespace

struct ConvergenceChart::Drawing {
    QCustomPlot* plot = nullptr;
    QSharedPointer<QCPAxisTickerText> kTicks = TextTicker();
    QSharedPointer<QCPAxisTickerText> yTicks = TextTicker();

    void SetRanges(Range k, Range y) const {
        plot->xAxis->setRange(k.low, k.high);
        const Range logY = Decades(y);
        plot->yAxis->setRange(logY.low, logY.high);
    }

    void Arrange(const ConvergenceChart& chart, QSize size) const {
        QCPAxisRect& rect = *plot->axisRect();
        const QFontMetricsF metrics(ChartFont());
        const Range wholeK = chart.WholeKRange();
        const QString widest = KLabel(wholeK.high);
        const int right = std::max(
            MinimumMargin,
            static_cast<int>(std::ceil(metrics.horizontalAdvance(widest) / 2)) + LegendGap);
        kTicks->setTicks(QMap<double, QString>{{wholeK.low, widest}});
        yTicks->setTicks(YTicks(Decades(chart.WholeYRange()), LabelBaseOf(chart.WholeYRange())));
        SetRanges(wholeK, chart.WholeYRange());
        rect.setAutoMargins(QCP::msLeft | QCP::msTop | QCP::msBottom);
        rect.setMargins(QMargins(0, 0, right, 0));
        LayOutChartPlot(*plot, size);

        const auto same = [](Range a, Range b) { return a.low == b.low && a.high == b.high; };
        if (!same(chart.kShown_, wholeK) || !same(chart.yShown_, chart.WholeYRange())) {
            const QMargins whole = rect.margins();
            rect.setAutoMargins(QCP::msNone);
            rect.setMargins(whole);
        }
        yTicks->setTicks(YTicks(Decades(chart.yShown_), chart.LabelBase()));
        SetRanges(chart.kShown_, chart.yShown_);
        LayOutChartPlot(*plot, size);
        const double step = KTickStep(chart.kShown_, rect.width(),
                                      metrics.horizontalAdvance(KLabel(chart.kShown_.high)));
        kTicks->setTicks(KTicks(chart.kShown_, step));
    }
};

ConvergenceChart::ConvergenceChart(QWidget* parent)
    : QWidget(parent), drawing_(std::make_unique<Drawing>()) {
    QCustomPlot* plot = MakeChartPlot(this);
    plot->setAttribute(Qt::WA_TransparentForMouseEvents);
    plot->xAxis->setTicker(drawing_->kTicks);
    plot->yAxis->setTicker(drawing_->yTicks);
    plot->xAxis->setLabel(QStringLiteral("k"));
    plot->setGeometry(rect());
    drawing_->plot = plot;
    QObject::connect(plot, &QCustomPlot::beforeReplot, plot,
                     [this] { drawing_->Arrange(*this, size()); });
    Redraw();
}

// The plot goes before the drawing state that its signal reaches.
ConvergenceChart::~ConvergenceChart() {
    delete drawing_->plot;
}

void ConvergenceChart::Redraw() {
    QCustomPlot& plot = *drawing_->plot;
    plot.clearGraphs();
    for (const ShownLine& line : shown_) {
        QCPGraph* graph = plot.addGraph();
        graph->setName(line.name);
        QPen pen(ChartColor(line.color), 1);
        pen.setCosmetic(true);
        graph->setPen(pen);
        graph->setAntialiased(false);  // every pixel of a line in the line's own colour
        QVector<double> k, decades;
        k.reserve(static_cast<qsizetype>(line.points.size()));
        decades.reserve(static_cast<qsizetype>(line.points.size()));
        for (const QPointF& point : line.points) {
            k.push_back(point.x());
            decades.push_back(std::log10(point.y()));
        }
        graph->setData(k, decades, true);
    }
    plot.yAxis->setLabel(yTitle_);
    ShowChartLegend(plot, !shown_.empty());
    plot.replot(QCustomPlot::rpQueuedReplot);
}

void ConvergenceChart::ShowRanges() {
    drawing_->plot->replot(QCustomPlot::rpQueuedReplot);
}

// QCustomPlot maps the range's ends to the axis rectangle's left and left + width, and to its
// bottom (top + height - 1) and that less the height.
QRectF ConvergenceChart::PlotArea() const {
    drawing_->Arrange(*this, size());
    const QRect axes = drawing_->plot->axisRect()->rect();
    if (axes.width() <= 0 || axes.height() <= 0 || !rect().contains(axes))
        return {};
    return QRectF(axes.left(), axes.top() - 1, axes.width(), axes.height());
}

QImage ConvergenceChart::Render(QSize size) {
    drawing_->Arrange(*this, size);
    const QImage image = RenderChartPlot(*drawing_->plot, size);
    drawing_->Arrange(*this, this->size());
    return image;
}

void ConvergenceChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    drawing_->plot->setGeometry(rect());
}

}  // namespace metopt::platform
