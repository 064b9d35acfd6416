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

QColor ColorOf(std::int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

struct Chart {
    const std::vector<ConvergenceChart::ShownLine>& lines;
    const QString& yTitle;
    ConvergenceChart::Range k;  // shown
    ConvergenceChart::Range y;
    double base;
    ConvergenceChart::Range wholeK;  // for the layout, which zooming keeps
};

// The widest label of each axis.
int YLabelWidth(const QFontMetrics& metrics) {
    return metrics.horizontalAdvance(QStringLiteral("1e-300"));
}
int KLabelWidth(const QFontMetrics& metrics, ConvergenceChart::Range k) {
    return metrics.horizontalAdvance(QString::number(std::llround(std::max(1.0, k.high))));
}

int LegendWidth(const QFontMetrics& metrics, const Chart& chart) {
    int width = 0;
    for (const auto& line : chart.lines)
        width = std::max(width, metrics.horizontalAdvance(line.name));
    return width + LegendSwatch + 4 * Margin;
}

// The lines' area: the y title and labels on its left, half a y label above it (the top label
// is centred on its edge), half a k label and the legend on its right, the k labels and title
// below it.
QRectF PlotRect(QSize size, const QFontMetrics& metrics, const Chart& chart) {
    const int left = Margin + metrics.height() + Margin / 2 + YLabelWidth(metrics) + Margin;
    const int top = std::max(Margin, metrics.height() / 2 + 2);
    const int right = KLabelWidth(metrics, chart.wholeK) / 2 + LegendWidth(metrics, chart);
    const int bottom = Margin / 2 + 2 * metrics.height() + Margin;
    const QRectF plot(left, top, size.width() - left - right, size.height() - top - bottom);
    return plot.width() > 0 && plot.height() > 0 ? plot : QRectF();
}

void PaintChart(QPainter& painter, QSize size, const Chart& chart) {
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRectF plot = PlotRect(size, metrics, chart);
    if (plot.isEmpty())
        return;
    const double low = std::log10(chart.y.low);
    const double high = std::log10(chart.y.high);
    const auto x = [&](double k) {
        return plot.left() + (k - chart.k.low) / (chart.k.high - chart.k.low) * plot.width();
    };
    const auto y = [&](double v) {
        return plot.bottom() - (std::log10(v) - low) / (high - low) * plot.height();
    };
    const QColor grid(0xE0, 0xE0, 0xE0);
    const double labelHeight = metrics.height();

    // A label at every power of the base, k labels at the multiples of a round step.
    const int yLabelWidth = YLabelWidth(metrics);
    const double decades = std::log10(chart.base);
    const auto firstPower = static_cast<long long>(std::ceil(low / decades - 1e-9));
    const auto lastPower = static_cast<long long>(std::floor(high / decades + 1e-9));
    for (long long n = firstPower; n <= lastPower; ++n) {
        const double e = static_cast<double>(n) * decades;
        const double row = std::clamp(y(std::pow(10.0, e)), plot.top(), plot.bottom());
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), row), QPointF(plot.right(), row));
        painter.setPen(Qt::black);
        const QString label = QString::asprintf("1e%+03d", static_cast<int>(std::lround(e)));
        painter.drawText(QRectF(plot.left() - yLabelWidth - Margin, row - labelHeight / 2,
                                yLabelWidth, labelHeight),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    const int kLabelWidth = KLabelWidth(metrics, chart.k);
    const double step = ConvergenceChart::KTickStep(chart.k, plot.width(), kLabelWidth);
    const auto firstTick = static_cast<long long>(std::ceil(chart.k.low / step - 1e-9));
    const auto lastTick = static_cast<long long>(std::floor(chart.k.high / step + 1e-9));
    for (long long n = firstTick; n <= lastTick; ++n) {
        const double k = static_cast<double>(n) * step;
        const double column = std::clamp(x(k), plot.left(), plot.right());
        painter.setPen(grid);
        painter.drawLine(QPointF(column, plot.top()), QPointF(column, plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(column - kLabelWidth, plot.bottom() + Margin / 2.0,
                                2.0 * kLabelWidth, labelHeight),
                         Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(static_cast<long long>(k)));
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    painter.drawText(QRectF(plot.left(), plot.bottom() + Margin / 2.0 + labelHeight + Margin / 2.0,
                            plot.width(), labelHeight),
                     Qt::AlignCenter, QStringLiteral("k"));
    painter.save();
    painter.translate(Margin + labelHeight / 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -labelHeight / 2, plot.height(), labelHeight),
                     Qt::AlignCenter, chart.yTitle);
    painter.restore();

    // The lines, the part of each within the shown k range (a point beyond each end joins it).
    painter.setClipRect(plot);
    for (const auto& line : chart.lines) {
        const auto from = std::lower_bound(line.points.begin(), line.points.end(), chart.k.low,
                                           [](const QPointF& p, double k) { return p.x() < k; });
        const auto to = std::upper_bound(from, line.points.end(), chart.k.high,
                                         [](double k, const QPointF& p) { return k < p.x(); });
        QPolygonF polyline;
        for (auto p = from == line.points.begin() ? from : from - 1;
             p != line.points.end() && p <= to; ++p)
            polyline << QPointF(x(p->x()), y(p->y()));
        QPen pen(ColorOf(line.color), 1);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawPolyline(polyline);
    }
    painter.setClipping(false);

    const int rows = static_cast<int>(chart.lines.size());
    int row = static_cast<int>(plot.center().y()) - rows * metrics.height() / 2;
    const int left =
        static_cast<int>(plot.right()) + KLabelWidth(metrics, chart.wholeK) / 2 + 2 * Margin;
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

void ConvergenceChart::ShowRanges() {
    update();
}

QRectF ConvergenceChart::PlotArea() const {
    return PlotRect(size(), fontMetrics(),
                    {shown_, yTitle_, kShown_, yShown_, LabelBase(), WholeKRange()});
}

QImage ConvergenceChart::Render(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    painter.setFont(font());
    PaintChart(painter, size, {shown_, yTitle_, kShown_, yShown_, LabelBase(), WholeKRange()});
    return image;
}

void ConvergenceChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintChart(painter, size(), {shown_, yTitle_, kShown_, yShown_, LabelBase(), WholeKRange()});
}

}  // namespace metopt::platform
