// The convergence chart drawn by the program's own painter, for a build without Qt Charts: the
// same lines, axes with their titles and labels, and a legend on the right.
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "platform/convergencechart.h"

namespace metopt::platform {

struct ConvergenceChart::Drawing {};

namespace {

constexpr int Margin = 8;
constexpr int LegendSwatch = 10;
constexpr int XTicks = 5;

QColor ColorOf(std::int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// A round step for about `ticks` labels over [0, span].
double NiceStep(double span, int ticks) {
    const double raw = span / ticks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double nice : {1.0, 2.0, 5.0, 10.0}) {
        if (nice * magnitude >= raw)
            return nice * magnitude;
    }
    return 10 * magnitude;
}

struct Chart {
    const std::vector<ConvergenceChart::ShownLine>& lines;
    const QString& yTitle;
    double floor;
    double ceiling;
    double base;
};

void PaintChart(QPainter& painter, QSize size, const Chart& chart) {
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    int legendWidth = 0;
    for (const auto& line : chart.lines)
        legendWidth = std::max(legendWidth, metrics.horizontalAdvance(line.name));
    legendWidth += LegendSwatch + 3 * Margin;
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("1e-300"));
    const QRect plot(Margin + metrics.height() + labelWidth + Margin, Margin,
                     size.width() - legendWidth - labelWidth - metrics.height() - 3 * Margin,
                     size.height() - 2 * metrics.height() - 3 * Margin);
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    std::size_t longest = 2;
    for (const auto& line : chart.lines)
        longest = std::max(longest, line.points.size());
    const double kStep = NiceStep(static_cast<double>(longest - 1), XTicks);
    const double kEnd =
        std::max(1 + kStep, std::ceil(static_cast<double>(longest) / kStep) * kStep);
    const double low = std::log10(chart.floor);
    const double high = std::log10(chart.ceiling);
    const auto x = [&](double k) { return plot.left() + (k - 1) / (kEnd - 1) * plot.width(); };
    const auto y = [&](double v) {
        return plot.bottom() - (std::log10(v) - low) / (high - low) * plot.height();
    };

    painter.setPen(QColor(0xE0, 0xE0, 0xE0));
    const double decade = std::log10(chart.base);
    for (double e = std::ceil(low / decade) * decade; e <= high + 1e-9; e += decade) {
        const double row = y(std::pow(10.0, e));
        painter.drawLine(QPointF(plot.left(), row), QPointF(plot.right(), row));
        painter.setPen(Qt::black);
        const QString label = QString::asprintf("1e%+03d", static_cast<int>(std::lround(e)));
        painter.drawText(QRectF(plot.left() - labelWidth - Margin, row - metrics.height() / 2.0,
                                labelWidth, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
    }
    for (double k = 0; k <= kEnd; k += kStep) {
        const double column = x(std::max(1.0, k));
        painter.drawLine(QPointF(column, plot.top()), QPointF(column, plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(column - labelWidth / 2.0, plot.bottom() + Margin / 2.0, labelWidth,
                                metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(static_cast<long long>(std::max(1.0, k))));
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    painter.drawText(QRect(plot.left(), size.height() - metrics.height() - Margin, plot.width(),
                           metrics.height()),
                     Qt::AlignCenter, QStringLiteral("k"));
    painter.save();
    painter.translate(Margin + metrics.height() / 2.0, plot.center().y());
    painter.rotate(-90);
    painter.drawText(
        QRectF(-plot.height() / 2.0, -metrics.height() / 2.0, plot.height(), metrics.height()),
        Qt::AlignCenter, chart.yTitle);
    painter.restore();

    painter.setClipRect(plot);
    for (const auto& line : chart.lines) {
        QPolygonF polyline;
        for (const QPointF& p : line.points)
            polyline << QPointF(x(p.x()), y(p.y()));
        painter.setPen(QPen(ColorOf(line.color), 1));
        painter.drawPolyline(polyline);
    }
    painter.setClipping(false);

    int row = plot.center().y() - static_cast<int>(chart.lines.size()) * metrics.height() / 2;
    const int left = plot.right() + 2 * Margin;
    for (const auto& line : chart.lines) {
        painter.fillRect(
            QRect(left, row + (metrics.height() - LegendSwatch) / 2, LegendSwatch, LegendSwatch),
            ColorOf(line.color));
        painter.setPen(Qt::black);
        painter.drawText(QPoint(left + LegendSwatch + Margin, row + metrics.ascent()), line.name);
        row += metrics.height();
    }
}

}  // namespace

ConvergenceChart::ConvergenceChart(QWidget* parent)
    : QWidget(parent), drawing_(std::make_unique<Drawing>()) {}

ConvergenceChart::~ConvergenceChart() = default;

void ConvergenceChart::Redraw() {
    update();
}

QImage ConvergenceChart::Render(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setFont(font());
    PaintChart(painter, size, {shown_, yTitle_, floor_, ceiling_, base_});
    return image;
}

void ConvergenceChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintChart(painter, size(), {shown_, yTitle_, floor_, ceiling_, base_});
}

}  // namespace metopt::platform
