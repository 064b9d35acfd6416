#include "platform/convergencechart.h"

#include <QChart>
#include <QColor>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace metopt::platform {

namespace {

constexpr double MaxLabels = 8;

QColor ColorOf(std::int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

}  // namespace

ConvergenceChart::ConvergenceChart(QWidget* parent) : QChartView(parent) {}

void ConvergenceChart::Show(const QString& yTitle, const std::vector<Line>& lines, double floor) {
    // A new chart, built whole before it is shown: every series added to a shown chart lays
    // out all the series before it again.
    auto* c = new QChart;
    c->legend()->setAlignment(Qt::AlignRight);
    c->setMargins(QMargins(4, 4, 4, 4));
    auto* kAxis = new QValueAxis;
    kAxis->setTitleText(QStringLiteral("k"));
    kAxis->setLabelFormat(QStringLiteral("%d"));
    auto* yAxis = new QLogValueAxis;
    yAxis->setTitleText(yTitle);
    yAxis->setLabelFormat(QStringLiteral("%.0e"));
    yAxis->setMinorTickCount(0);
    c->addAxis(kAxis, Qt::AlignBottom);
    c->addAxis(yAxis, Qt::AlignLeft);
    double top = floor;
    std::size_t longest = 1;
    for (const Line& line : lines) {
        auto* series = new QLineSeries;
        series->setName(line.name);
        QPen pen(ColorOf(line.color), 1);
        pen.setCosmetic(true);
        series->setPen(pen);
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(line.values.size()));
        for (std::size_t k = 0; k < line.values.size(); ++k) {
            const double v =
                std::isfinite(line.values[k]) ? std::max(line.values[k], floor) : floor;
            points.append(QPointF(static_cast<double>(k + 1), v));
            top = std::max(top, v);
        }
        // One replace instead of a signal per appended point.
        series->replace(points);
        longest = std::max(longest, line.values.size());
        c->addSeries(series);
        series->attachAxis(kAxis);
        series->attachAxis(yAxis);
    }
    kAxis->setRange(1, static_cast<double>(std::max<std::size_t>(longest, 2)));
    kAxis->applyNiceNumbers();
    const double ceiling = std::max(top * 10, floor * 10);
    // At most about eight labels: a wide range takes a label every few decades.
    const double decades = std::log10(ceiling / floor);
    yAxis->setBase(std::pow(10.0, std::max(1.0, std::ceil(decades / MaxLabels))));
    yAxis->setRange(floor, ceiling);
    QChart* old = chart();
    setChart(c);
    delete old;
}

QImage ConvergenceChart::Render(QSize size) {
    QChart* c = chart();
    const QSizeF kept = c->size();
    const QPointF at = c->pos();
    c->setPos(0, 0);
    c->resize(size);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        scene()->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)),
                        QRectF(QPointF(0, 0), QSizeF(size)));
    }
    c->resize(kept);
    c->setPos(at);
    return image;
}

}  // namespace metopt::platform
