#include "platform/chartplot.h"

#include <qcustomplot.h>

#include <QBrush>
#include <QPen>
#include <QRect>

namespace metopt::platform {

namespace {

constexpr int FontPixels = 12;
// Between the legend's texts and the chart's right edge.
constexpr int LegendMargin = 6;

// QCustomPlot with its layout at hand, and the legend's column, which stays the plot's own while
// it is out of the layout.
class ChartPlot : public QCustomPlot {
  public:
    explicit ChartPlot(QWidget* parent) : QCustomPlot(parent) {}
    ~ChartPlot() override {
        // Back in the layout, which QCustomPlot deletes with the legend.
        if (legendColumn != nullptr && legendColumn->layout() == nullptr)
            plotLayout()->addElement(0, 1, legendColumn);
    }
    ChartPlot(const ChartPlot&) = delete;
    ChartPlot& operator=(const ChartPlot&) = delete;

    void LayOut(QSize size) {
        setViewport(QRect(QPoint(0, 0), size));
        updateLayout();
    }

    QCPLayoutGrid* legendColumn = nullptr;
};

void StyleAxis(QCPAxis& axis) {
    axis.setTickLabelFont(ChartFont());
    axis.setLabelFont(ChartFont());
    axis.setSelectedTickLabelFont(ChartFont());
    axis.setSelectedLabelFont(ChartFont());
    axis.setSubTicks(false);
    axis.setNumberFormat(QStringLiteral("g"));  // "1e-05" as it is, not as a power of ten
    axis.grid()->setPen(QPen(QColor(0xE0, 0xE0, 0xE0), 0));
    axis.grid()->setZeroLinePen(Qt::NoPen);
    axis.grid()->setSubGridVisible(false);
}

// The legend between two spacers, in the middle of the column on the right.
void PlaceLegend(ChartPlot& plot) {
    QCPLegend& legend = *plot.legend;
    legend.setFont(ChartFont());
    legend.setSelectedFont(ChartFont());
    legend.setBorderPen(Qt::NoPen);
    legend.setIconSize(24, 12);
    legend.setVisible(false);
    auto* column = new QCPLayoutGrid;
    plot.plotLayout()->addElement(0, 1, column);
    column->addElement(0, 0, new QCPLayoutElement(&plot));
    column->addElement(1, 0, &legend);
    column->addElement(2, 0, new QCPLayoutElement(&plot));
    column->setRowStretchFactor(1, 0.001);
    column->setMargins(QMargins(0, 0, LegendMargin, 0));
    plot.legendColumn = column;
}

}  // namespace

QFont ChartFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(FontPixels);
    // Hinted the same on every system: Linux's default comes from fontconfig, Windows' from Qt's
    // FreeType engine, and their glyphs and advances differ.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QColor ChartColor(std::int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QCustomPlot* MakeChartPlot(QWidget* parent) {
    auto* plot = new ChartPlot(parent);
    plot->setFont(ChartFont());
    plot->setBackground(QBrush(Qt::white));
    plot->setInteractions(QCP::Interactions());
    StyleAxis(*plot->xAxis);
    StyleAxis(*plot->yAxis);
    PlaceLegend(*plot);
    ShowChartLegend(*plot, false);
    return plot;
}

void LayOutChartPlot(QCustomPlot& plot, QSize size) {
    static_cast<ChartPlot&>(plot).LayOut(size);
}

QImage RenderChartPlot(QCustomPlot& plot, QSize size) {
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    {
        QCPPainter painter(&image);
        plot.toPainter(&painter, size.width(), size.height());
    }
    LayOutChartPlot(plot, plot.size());
    return image;
}

void ShowChartLegend(QCustomPlot& plot, bool shown) {
    QCPLayoutGrid* column = static_cast<ChartPlot&>(plot).legendColumn;
    const bool placed = column->layout() != nullptr;
    if (shown && !placed) {
        plot.plotLayout()->addElement(0, 1, column);
        plot.plotLayout()->setColumnStretchFactor(1, 0.001);
    } else if (!shown && placed) {
        plot.plotLayout()->take(column);
        plot.plotLayout()->simplify();
    }
    plot.legend->setVisible(shown);
}

}  // namespace metopt::platform
