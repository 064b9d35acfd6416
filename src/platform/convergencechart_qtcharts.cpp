// The convergence chart drawn by Qt Charts, in a chart view that fills the widget.
#include <QChart>
#include <QChartView>
#include <QColor>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "platform/convergencechart.h"

namespace metopt::platform {

struct ConvergenceChart::Drawing {
    QChartView* view = nullptr;
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
    layout->addWidget(drawing_->view);
}

ConvergenceChart::~ConvergenceChart() = default;

// A new chart, built whole before it is shown: every series added to a shown chart lays out all
// the series before it again (half a second for twelve runs of 10000 points).
void ConvergenceChart::Redraw() {
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* kAxis = new QValueAxis;
    kAxis->setTitleText(QStringLiteral("k"));
    kAxis->setLabelFormat(QStringLiteral("%d"));
    auto* yAxis = new QLogValueAxis;
    yAxis->setTitleText(yTitle_);
    yAxis->setLabelFormat(QStringLiteral("%.0e"));
    yAxis->setMinorTickCount(0);
    chart->addAxis(kAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    std::size_t longest = 1;
    for (const ShownLine& line : shown_) {
        auto* series = new QLineSeries;
        series->setName(line.name);
        QPen pen(ColorOf(line.color), 1);
        pen.setCosmetic(true);
        series->setPen(pen);
        series->replace(QList<QPointF>(line.points.begin(), line.points.end()));
        longest = std::max(longest, line.points.size());
        chart->addSeries(series);
        series->attachAxis(kAxis);
        series->attachAxis(yAxis);
    }
    kAxis->setRange(1, static_cast<double>(std::max<std::size_t>(longest, 2)));
    kAxis->applyNiceNumbers();
    yAxis->setBase(base_);
    yAxis->setRange(floor_, ceiling_);
    QChart* old = drawing_->view->chart();
    drawing_->view->setChart(chart);
    delete old;
}

QImage ConvergenceChart::Render(QSize size) {
    QChart* chart = drawing_->view->chart();
    const QSizeF kept = chart->size();
    const QPointF at = chart->pos();
    chart->setPos(0, 0);
    chart->resize(size);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
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
