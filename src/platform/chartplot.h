#pragma once
// What the program's charts share over QCustomPlot: the plot widget made up the same way (white,
// in the chart font, the legend in a column on the right), laid out for a size, and drawn into an
// image of any size. Only the charts' own sources include QCustomPlot's header.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>
#include <cstdint>

class QCustomPlot;
class QWidget;

namespace metopt::platform {

// The charts' texts: Liberation Sans at a pixel size, the same on every system.
QFont ChartFont();
// A colour packed as 0x00BBGGRR, as the Canvas takes it.
QColor ChartColor(std::int32_t bgr);

// A plot widget for a chart: white, every text in the chart font, no interactions, the legend
// (hidden) in a column on the right of the axes.
QCustomPlot* MakeChartPlot(QWidget* parent);

// The plot's layout (the axes' margins and pixels) for a drawing of `size`.
void LayOutChartPlot(QCustomPlot& plot, QSize size);

// The plot drawn at `size` on white, as it is laid out for that size; the layout for the widget's
// own size is made again after. A null image for an empty size.
QImage RenderChartPlot(QCustomPlot& plot, QSize size);

// The legend's column shown (when some plottable has an entry) or taken away, so that an empty
// legend takes no room.
void ShowChartLegend(QCustomPlot& plot, bool shown);

}  // namespace metopt::platform
