// The general chart: what it keeps of the series and marks, the whole view over the points it can
// show, its picture at any size, and the user's zoom and drag with the way back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/plotchart.h"
#include "support/qt_environment.h"

namespace metopt::platform {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr std::int32_t Red = 0x0000FF, Blue = 0xFF0000;
using Style = PlotChart::Style;
using View = PlotChart::View;

PlotChart::Series SeriesOf(std::vector<QPointF> points, Style style = Style::Line,
                           std::int32_t color = Red) {
    return {QStringLiteral("f"), color, style, std::move(points), {}};
}

void ExpectView(const View& got, const View& expected) {
    const auto near = [](double a, double b) {
        return std::abs(a - b) <= 1e-9 * std::abs(b) + 1e-12;
    };
    EXPECT_TRUE(near(got.xLow, expected.xLow)) << got.xLow << " " << expected.xLow;
    EXPECT_TRUE(near(got.xHigh, expected.xHigh)) << got.xHigh << " " << expected.xHigh;
    EXPECT_TRUE(near(got.yLow, expected.yLow)) << got.yLow << " " << expected.yLow;
    EXPECT_TRUE(near(got.yHigh, expected.yHigh)) << got.yHigh << " " << expected.yHigh;
}

// Every row shows one series and some marks; the whole view is 5 % more than the span of what it
// can show (a unit range about a single value, a decade on a logarithmic axis).
TEST(PlotChartTest, TheWholeViewHoldsWhatCanBeShown) {
    const double p = std::pow(10.0, 0.2), r = std::sqrt(10.0);
    struct Row {
        const char* what;
        bool xLog, yLog;
        std::vector<QPointF> points;
        std::vector<double> marks;
        View view;
    };
    const std::vector<Row> rows = {
        {"two points", false, false, {{0, 0}, {10, 5}}, {}, {-0.5, 10.5, -0.25, 5.25}},
        {"not finite ones left out",
         false,
         false,
         {{0, 0}, {NaN, 3}, {10, Inf}, {10, 5}, {-Inf, 1}, {1e300, 1}},
         {NaN, Inf},
         {-0.5, 10.5, -0.25, 5.25}},
        {"not positive on a log axis",
         false,
         true,
         {{1, 1e-3}, {2, 0}, {3, -1}, {4, 10}},
         {},
         {0.85, 4.15, 1e-3 / p, 10 * p}},
        {"a single point", false, false, {{3, 7}}, {}, {2.5, 3.5, 6.5, 7.5}},
        {"a single point, log x",
         true,
         false,
         {{100, 2}, {-1, 5}},
         {},
         {100 / r, 100 * r, 1.5, 2.5}},
        {"marks alone", false, false, {}, {2, 4}, {1.9, 4.1, 0, 1}},
        {"a mark beyond the points",
         false,
         false,
         {{0, 0}, {1, 1}},
         {3},
         {-0.15, 3.15, -0.05, 1.05}},
        {"nothing", false, true, {}, {}, {0, 1, 1, 10}},
    };
    PlotChart chart;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<PlotChart::Mark> marks;
        for (const double x : row.marks)
            marks.push_back({x, Blue, QStringLiteral("t")});
        chart.Show({QStringLiteral("x"), row.xLog}, {QStringLiteral("y"), row.yLog},
                   {SeriesOf(row.points)}, marks);
        ASSERT_EQ(chart.Shown().size(), 1u);
        EXPECT_EQ(chart.Shown()[0].points.size(), row.points.size());
        EXPECT_EQ(chart.Marks().size(), row.marks.size());
        EXPECT_TRUE(chart.Text().isEmpty());
        ExpectView(chart.ShownView(), row.view);
        ExpectView(chart.WholeView(), row.view);
    }
}

int PixelsNear(const QImage& image, std::int32_t bgr) {
    const QColor c(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            count += std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) +
                         std::abs(p.blue() - c.blue()) <
                     60;
        }
    }
    return count;
}

// The picture has the size asked for and the series' colours; it is the same whatever the widget's
// own size, shown or not.
TEST(PlotChartTest, RendersAtTheSizeAskedWithTheSeriesColours) {
    PlotChart chart;
    chart.resize(200, 150);
    chart.Show({QStringLiteral("t"), false}, {QStringLiteral("φ(t)"), true},
               {SeriesOf({{0, 1}, {1, 0.1}, {2, 0.01}}),
                SeriesOf({{0.5, 0.5}, {1.5, 0.05}}, Style::Points, Blue)},
               {{1, 0x00FF00, QStringLiteral("t*")}});
    for (const QSize size : {QSize(300, 200), QSize(800, 500)}) {
        SCOPED_TRACE(size.width());
        const QImage hidden = chart.Render(size);
        EXPECT_EQ(hidden.size(), size);
        EXPECT_GT(PixelsNear(hidden, Red), size.width() / 10);
        EXPECT_GT(PixelsNear(hidden, Blue), 20);
        EXPECT_GT(PixelsNear(hidden, 0x00FF00), size.height() / 2);
        chart.resize(size / 2 + QSize(37, 11));
        chart.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(chart.Render(size), hidden);
        chart.hide();
    }
    EXPECT_TRUE(chart.Render(QSize(0, 10)).isNull());
    chart.ShowText(QStringLiteral("Нет точек"));
    EXPECT_EQ(chart.Text(), QStringLiteral("Нет точек"));
    EXPECT_TRUE(chart.Shown().empty());
    const QImage text = chart.Render(QSize(300, 200));
    EXPECT_EQ(PixelsNear(text, Red), 0);
    EXPECT_GT(PixelsNear(text.copy(100, 80, 100, 40), 0), 10);
}

// The wheel zooms about the pointer and a drag moves the view; a double-click or ResetZoom shows
// the whole view again.
TEST(PlotChartTest, TheWheelZoomsADragMovesAndBothGoBack) {
    PlotChart chart;
    chart.resize(400, 300);
    chart.Show({QStringLiteral("x"), false}, {QStringLiteral("y"), false},
               {SeriesOf({{0, 0}, {10, 10}})});
    chart.show();
    QCoreApplication::processEvents();
    const View whole = chart.WholeView();
    const QPoint centre(200, 150);
    QWidget* plot = chart.childAt(centre);
    ASSERT_NE(plot, nullptr);
    const auto wheel = [&] {
        QWheelEvent event(centre, plot->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &event);
    };
    wheel();
    EXPECT_LT(chart.ShownView().xHigh - chart.ShownView().xLow, whole.xHigh - whole.xLow);
    EXPECT_GT(chart.ShownView().yLow, whole.yLow);
    chart.ResetZoom();
    ExpectView(chart.ShownView(), whole);
    wheel();
    QTest::mouseDClick(plot, Qt::LeftButton, Qt::NoModifier, centre);
    ExpectView(chart.ShownView(), whole);
    QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseMove(plot, centre + QPoint(40, 0));
    QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, centre + QPoint(40, 0));
    EXPECT_LT(chart.ShownView().xLow, whole.xLow);
    EXPECT_NEAR(chart.ShownView().xHigh - chart.ShownView().xLow, whole.xHigh - whole.xLow, 1e-9);
    chart.ResetZoom();
    ExpectView(chart.ShownView(), whole);
}

}  // namespace
}  // namespace metopt::platform
