// The convergence chart's view: the whole view ends at the longest line, the wheel and a dragged
// rectangle zoom, a double-click or new lines show the whole view again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRubberBand>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "platform/convergencechart.h"
#include "support/qt_environment.h"

namespace metopt::platform {
namespace {

using Range = ConvergenceChart::Range;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

ConvergenceChart::Line LineOf(int points) {
    ConvergenceChart::Line line{QStringLiteral("run"), 0x0000FF, {}};
    for (int k = 0; k < points; ++k)
        line.values.push_back(std::pow(10.0, 2 - k / 10.0));
    return line;
}

// The chart at the window's size with a line of 100 points, from 1e2 down to 1e-8.
class ConvergenceChartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chart.resize(440, 250);
        chart.Show(QStringLiteral("y"), {LineOf(100), LineOf(30)}, 1e-9);
        chart.show();
        QCoreApplication::processEvents();
        ASSERT_FALSE(chart.PlotArea().isEmpty());
    }
    // The widget pixel at fractions of the plot's width and height (up from its bottom).
    QPointF At(double across, double up) const {
        const QRectF plot = chart.PlotArea();
        return {plot.left() + across * plot.width(), plot.bottom() - up * plot.height()};
    }
    ConvergenceChart chart;
};

// Each row zooms the whole view; the ranges shown are given as fractions of the whole one (of
// log10 y), so that the point under the pointer keeps its values.
TEST_F(ConvergenceChartTest, ZoomsAboutThePointerToARectangleAndWithinSaneLimits) {
    const double minK = 1e-3 / 99, minY = std::log10(1.0001) / std::log10(1e2 * 10 / 1e-9);
    struct Row {
        const char* what;
        std::function<void()> zoom;
        Range k, y;
    };
    const std::vector<Row> rows = {
        {"a notch in at the centre",
         [&] { chart.ZoomAbout(At(0.5, 0.5), 1.25); },
         {0.1, 0.9},
         {0.1, 0.9}},
        {"a notch in off the centre",
         [&] { chart.ZoomAbout(At(0.25, 0.75), 1.25); },
         {0.05, 0.85},
         {0.15, 0.95}},
        {"out beyond the whole view",
         [&] { chart.ZoomAbout(At(0.25, 0.75), 0.5); },
         {0, 1},
         {0, 1}},
        {"a rectangle",
         [&] { chart.ZoomTo(QRectF(At(0.6, 0.1), At(0.2, 0.5))); },
         {0.2, 0.6},
         {0.1, 0.5}},
        {"a rectangle beyond the plot",
         [&] { chart.ZoomTo(QRectF(At(-1, 2), At(0.5, 0.5))); },
         {0, 0.5},
         {0.5, 1}},
        {"and back",
         [&] {
             chart.ZoomTo(QRectF(At(0.2, 0.2), At(0.4, 0.4)));
             chart.ResetZoom();
         },
         {0, 1},
         {0, 1}},
        {"a rectangle of no size",
         [&] { chart.ZoomTo(QRectF(At(0.5, 0.5), QSizeF(0, 0))); },
         {0.5 - minK / 2, 0.5 + minK / 2},
         {0.5 - minY / 2, 0.5 + minY / 2}},
        {"a thousand notches in",
         [&] { chart.ZoomAbout(At(0, 1), std::pow(1.25, 1000)); },
         {0, minK},
         {1 - minY, 1}},
        {"factors of no use",
         [&] {
             for (double f : {0.0, -2.0, NaN, HUGE_VAL})
                 chart.ZoomAbout(At(0.5, 0.5), f);
         },
         {0, 1},
         {0, 1}},
        {"points of no use",
         [&] {
             chart.ZoomAbout(QPointF(NaN, 0), 2);
             chart.ZoomTo(QRectF(NaN, 0, 1, HUGE_VAL));
         },
         {0, 1},
         {0, 1}},
    };
    const Range k = chart.WholeKRange(), y{std::log10(chart.Floor()), std::log10(chart.Ceiling())};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        chart.ResetZoom();
        row.zoom();
        const Range shownK = chart.ShownKRange(), shownY = chart.ShownYRange();
        EXPECT_NEAR((shownK.low - k.low) / (k.high - k.low), row.k.low, 1e-9);
        EXPECT_NEAR((shownK.high - k.low) / (k.high - k.low), row.k.high, 1e-9);
        EXPECT_NEAR((std::log10(shownY.low) - y.low) / (y.high - y.low), row.y.low, 1e-9);
        EXPECT_NEAR((std::log10(shownY.high) - y.low) / (y.high - y.low), row.y.high, 1e-9);
    }
}

TEST_F(ConvergenceChartTest, TheWholeViewEndsAtTheLongestLineWithLabelsThatFit) {
    EXPECT_EQ(chart.WholeKRange().high, 100);
    chart.Show(QStringLiteral("y"), {LineOf(7), LineOf(1234), LineOf(40)}, 1e-9);
    EXPECT_EQ(chart.ShownKRange().low, 1);
    EXPECT_EQ(chart.ShownKRange().high, 1234);
    chart.Show(QStringLiteral("y"), {LineOf(1)}, 1e-9);
    EXPECT_EQ(chart.ShownKRange().high, 2);
    // Integer steps; each label whole in its share of the axis with 12 pixels to spare, yet a label
    // every four labels' width or so.
    for (const double pixels : {0.0, 40.0, 175.0, 560.0, 5000.0}) {
        const double step = ConvergenceChart::KTickStep({1, 10000}, pixels, 35);
        const double ticks = std::floor(10000 / step);
        EXPECT_EQ(step, std::round(step));
        EXPECT_TRUE(ticks <= 1 || ticks * (35 + 12) <= pixels) << pixels;
        EXPECT_GE(ticks * 4 * 35, pixels) << pixels;
    }
}

TEST_F(ConvergenceChartTest, TheWheelAndADragZoomADoubleClickShowsTheWholeView) {
    const QPoint centre = At(0.5, 0.5).toPoint();
    QWheelEvent wheel(centre, chart.mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &wheel);
    EXPECT_NEAR(chart.ShownKRange().high - chart.ShownKRange().low, 99 / 1.25, 1e-9);
    QTest::mouseDClick(&chart, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(chart.ShownKRange().high, 100);
    EXPECT_EQ(chart.ShownYRange().low, chart.Floor());
    // A drag of 3 pixels does nothing; a longer one shows its band, then zooms to it.
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, centre + QPoint(3, 3));
    EXPECT_EQ(chart.ShownKRange().high, 100);
    QTest::mousePress(&chart, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseMove(&chart, centre + QPoint(40, 30));
    QRubberBand* band = chart.findChild<QRubberBand*>();
    ASSERT_NE(band, nullptr);
    EXPECT_TRUE(band->isVisible());
    QTest::mouseRelease(&chart, Qt::LeftButton, Qt::NoModifier, centre + QPoint(40, 30));
    EXPECT_FALSE(band->isVisible());
    EXPECT_LT(chart.ShownKRange().high, 100);
    chart.Show(QStringLiteral("y"), {LineOf(50)}, 1e-9);
    EXPECT_EQ(chart.ShownKRange().high, 50);
}

// The picture is the same at a size whatever the widget's own, shown or not, zoomed too, and
// draws the lines in their own colour.
TEST(ConvergenceChartRenderTest, ThePictureDependsOnItsSizeAlone) {
    const auto pixelsOf = [](const QImage& image, QRgb color) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == color;
        }
        return count;
    };
    ConvergenceChart hidden, shown;
    for (ConvergenceChart* chart : {&hidden, &shown})
        chart->Show(QStringLiteral("y"), {LineOf(100)}, 1e-9);
    // Its size held and the window shown before the zoom, which takes the plot area's centre: a
    // size that a busy window system gives only later would move that centre.
    shown.setFixedSize(300, 200);
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    QCoreApplication::processEvents();
    for (const bool zoomed : {false, true}) {
        SCOPED_TRACE(zoomed);
        for (ConvergenceChart* chart : {&hidden, &shown}) {
            if (zoomed)
                chart->ZoomAbout(chart->PlotArea().center(), 2);
        }
        const QImage picture = hidden.Render(QSize(800, 500));
        ASSERT_EQ(picture.size(), QSize(800, 500));
        EXPECT_EQ(shown.Render(QSize(800, 500)), picture);
        EXPECT_GT(pixelsOf(picture, qRgb(0xFF, 0, 0)), zoomed ? 250 : 500);
        EXPECT_EQ(hidden.Render(QSize(640, 400)).size(), QSize(640, 400));
    }
    EXPECT_TRUE(hidden.Render(QSize(0, 0)).isNull());
}

}  // namespace
}  // namespace metopt::platform
