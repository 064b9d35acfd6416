// The convergence chart drawn by Qt Charts, in a chart view that fills the widget. The mouse goes
// through the view to the chart widget, which zooms; the view shows the zoomed ranges.
#include <QChart>
#include <QChartView>
#include <QColor>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMarginsF>
#include <QPainter>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "platform/convergencechart.h"

namespace metopt::platform {

struct ConvergenceChart::Drawing {
    QChartView* view = nullptr;
    QChart* chart = nullptr;  // the lines', shown by the view once laid out
    QValueAxis* kAxis = nullptr;
    QLogValueAxis* yAxis = nullptr;
    bool layingOut = false;
    QMarginsF margins;  // around the plot, in the whole view

    // The ranges, and the k labels' step for the plot's width: as many labels as fit whole.
    void SetRanges(Range k, Range y, double base) const {
        SetAxisRanges(k, y, base);
        const QString widest = QString::number(std::llround(std::max(1.0, k.high)));
        const double step = KTickStep(k, chart->plotArea().width(),
                                      QFontMetricsF(kAxis->labelsFont()).horizontalAdvance(widest));
        if (kAxis->tickInterval() != step)
            kAxis->setTickInterval(step);
        chart->layout()->activate();  // the labels at once, for a picture taken now
    }
    void SetAxisRanges(Range k, Range y, double base) const {
        yAxis->setBase(base);
        const Range k0{kAxis->min(), kAxis->max()};
        const Range y0{yAxis->min(), yAxis->max()};
        // Qt Charts' domain takes a new range only when an end moves by more than 1e-12: a range
        // of tiny values goes there by way of one that is not.
        const auto near = [](double a, double b) { return std::abs(a - b) <= 1e-12; };
        const bool tiny = near(y0.low, y.low) && near(y0.high, y.high);
        // Each axis's new range maps all the points again; a zoom to the rectangle of both
        // ranges maps them once (and leaves the exact ranges below nothing to do, or little).
        const QRectF plot = chart->plotArea();
        if (!tiny && chart->scene() != nullptr && !plot.isEmpty() && k0.high > k0.low &&
            y0.high > y0.low) {
            const double decades = std::log10(y0.high / y0.low);
            const auto x = [&](double v) {
                return plot.left() + (v - k0.low) / (k0.high - k0.low) * plot.width();
            };
            const auto up = [&](double v) {
                return plot.bottom() - std::log10(v / y0.low) / decades * plot.height();
            };
            chart->zoomIn(QRectF(QPointF(x(k.low), up(y.high)), QPointF(x(k.high), up(y.low))));
        }
        kAxis->setRange(k.low, k.high);
        if (tiny && (y0.low != y.low || y0.high != y.high))
            yAxis->setRange(1, 10);
        yAxis->setRange(y.low, y.high);
    }

    // The plot's area for the chart's size: where Qt Charts lays it out for the whole view; a
    // zoomed view keeps the whole view's margins (its labels would move the plot, and the point
    // under the pointer with it).
    void LayOut(const ConvergenceChart& owner) {
        if (kAxis == nullptr || layingOut)
            return;
        layingOut = true;
        const QRectF all(QPointF(0, 0), chart->size());
        const auto same = [](Range a, Range b) { return a.low == b.low && a.high == b.high; };
        const bool zoomed =
            !same(owner.kShown_, owner.WholeKRange()) || !same(owner.yShown_, owner.WholeYRange());
        chart->setPlotArea(zoomed ? all.marginsRemoved(margins) : QRectF());
        SetRanges(owner.kShown_, owner.yShown_, owner.LabelBase());
        chart->layout()->invalidate();
        chart->layout()->activate();
        SetRanges(owner.kShown_, owner.yShown_, owner.LabelBase());  // the k step for that width
        if (!zoomed) {
            const QRectF plot = chart->plotArea();
            margins = QMarginsF(plot.left() - all.left(), plot.top() - all.top(),
                                all.right() - plot.right(), all.bottom() - plot.bottom());
            chart->setPlotArea(plot);
        }
        chart->layout()->activate();
        layingOut = false;
    }
};

namespace {

QColor ColorOf(std::int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

}  // namespace

ConvergenceChart::ConvergenceChart(QWidget* parent)
    : QWidget(parent), drawing_(std::make_unique<Drawing>()) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    drawing_->view = new QChartView(this);
    drawing_->view->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(drawing_->view);
}

// The view and its chart go before the drawing state that the chart's signals reach.
ConvergenceChart::~ConvergenceChart() {
    delete drawing_->view;
}

// A new chart, built whole before it is shown: every series added to a shown chart lays out all
// the series before it again (half a second for twelve runs of 10000 points).
void ConvergenceChart::Redraw() {
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* kAxis = new QValueAxis;
    kAxis->setTitleText(QStringLiteral("k"));
    kAxis->setLabelFormat(QStringLiteral("%d"));
    kAxis->setTickType(QValueAxis::TicksDynamic);
    kAxis->setTickAnchor(0);
    auto* yAxis = new QLogValueAxis;
    yAxis->setTitleText(yTitle_);
    yAxis->setLabelFormat(QStringLiteral("%.0e"));
    yAxis->setMinorTickCount(0);
    chart->addAxis(kAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    for (const ShownLine& line : shown_) {
        auto* series = new QLineSeries;
        series->setName(line.name);
        QPen pen(ColorOf(line.color), 1);
        pen.setCosmetic(true);
        series->setPen(pen);
        series->replace(QList<QPointF>(line.points.begin(), line.points.end()));
        chart->addSeries(series);
        series->attachAxis(kAxis);
        series->attachAxis(yAxis);
    }
    QChart* old = drawing_->view->chart();
    drawing_->chart = chart;
    drawing_->kAxis = kAxis;
    drawing_->yAxis = yAxis;
    // The ranges cost little before the chart has a size.
    drawing_->SetAxisRanges(kShown_, yShown_, LabelBase());
    drawing_->view->setChart(chart);
    delete old;
    QObject::connect(chart, &QGraphicsWidget::geometryChanged, chart,
                     [this] { drawing_->LayOut(*this); });
    drawing_->LayOut(*this);
}

void ConvergenceChart::ShowRanges() {
    if (drawing_->kAxis != nullptr)
        drawing_->SetRanges(kShown_, yShown_, LabelBase());
}

QRectF ConvergenceChart::PlotArea() const {
    const QChartView* view = drawing_->view;
    const QRectF inScene = view->chart()->mapRectToScene(view->chart()->plotArea());
    const QRectF inViewport = view->viewportTransform().mapRect(inScene);
    return inViewport.translated(view->viewport()->mapTo(this, QPoint(0, 0)));
}

QImage ConvergenceChart::Render(QSize size) {
    QChart* chart = drawing_->view->chart();
    const QSizeF kept = chart->size();
    const QPointF at = chart->pos();
    chart->setPos(0, 0);
    chart->resize(size);  // laid out for this size at once
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!image.isNull()) {
        QPainter painter(&image);
        drawing_->view->scene()->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)),
                                        QRectF(QPointF(0, 0), QSizeF(size)));
    }
    chart->resize(kept);
    chart->setPos(at);
    return image;
}

// The chart view paints itself.
void ConvergenceChart::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
}

}  // namespace metopt::platform
