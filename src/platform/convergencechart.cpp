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

ConvergenceChart::ConvergenceChart(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignRight);
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

void ConvergenceChart::Show(const QString& yTitle, const std::vector<Line>& lines, double floor) {
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes())
        c->removeAxis(axis);
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
        series->setPen(QPen(ColorOf(line.color), 2));
        for (std::size_t k = 0; k < line.values.size(); ++k) {
            const double v =
                std::isfinite(line.values[k]) ? std::max(line.values[k], floor) : floor;
            series->append(static_cast<double>(k + 1), v);
            top = std::max(top, v);
        }
        longest = std::max(longest, line.values.size());
        c->addSeries(series);
        series->attachAxis(kAxis);
        series->attachAxis(yAxis);
    }
    kAxis->setRange(1, static_cast<double>(std::max<std::size_t>(longest, 2)));
    const double ceiling = std::max(top * 10, floor * 10);
    // At most about eight labels: a wide range takes a label every few decades.
    const double decades = std::log10(ceiling / floor);
    yAxis->setBase(std::pow(10.0, std::max(1.0, std::ceil(decades / MaxLabels))));
    yAxis->setRange(floor, ceiling);
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
        painter.setRenderHint(QPainter::Antialiasing);
        scene()->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)),
                        QRectF(QPointF(0, 0), QSizeF(size)));
    }
    c->resize(kept);
    c->setPos(at);
    return image;
}

}  // namespace metopt::platform
