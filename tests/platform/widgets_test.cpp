// The window's other widgets: the event guard with its error box, the paint box, the page
// control, and the locale's decimal separator.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTabBar>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/eventguard.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/systemlocale.h"
#include "runtime/errorreport.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "support/error_boxes.h"
#include "support/qt_environment.h"

namespace metopt::platform {
namespace {

// --- Event guard ---

using EventGuardTest = testsupport::ErrorBoxesTest;

TEST_F(EventGuardTest, ShowsTheMessageWithTheDotRuleAndTheApplicationTitle) {
    RunEvent([] { throw runtime::EInOutError(2); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first,
              runtime::ApplicationTitle(QCoreApplication::applicationFilePath().toStdString()));
    EXPECT_EQ(boxes[0].second, runtime::ErrorBoxText("File not found"));
}

TEST_F(EventGuardTest, AbortIsSilentAndOtherExceptionsAreShownToo) {
    RunEvent([] { throw runtime::EAbort(); });
    EXPECT_TRUE(boxes.empty());
    RunEvent([] { throw std::runtime_error("low level"); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, runtime::ErrorBoxText("low level"));
}

TEST_F(EventGuardTest, ClearsTheFloatingPointFlagsBeforeTheHandler) {
    volatile long double zero = 0;
    volatile long double quotient = 1 / zero;  // raises the divide-by-zero flag
    (void)quotient;
    RunEvent([] { runtime::CheckFpu(); });
    EXPECT_TRUE(boxes.empty());
}

// --- Paint box ---

using PaintBoxTest = testsupport::ErrorBoxesTest;

TEST_F(PaintBoxTest, SurfaceFollowsTheSizeAndOnPaintDrawsBeforeItIsShown) {
    PaintBox box(nullptr);
    box.resize(30, 20);
    EXPECT_EQ(box.Surface().Width(), 30);
    EXPECT_EQ(box.Surface().Height(), 20);
    int paints = 0;
    box.OnPaint = [&] {
        ++paints;
        box.Surface().SetPixel(3, 4, 0x0000FF);  // red
    };
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(shown.pixel(3, 4), qRgb(255, 0, 0));
}

TEST_F(PaintBoxTest, AFailingPaintIsReportedOnceAfterThePaint) {
    PaintBox box(nullptr);
    box.resize(10, 10);
    box.OnPaint = [] { throw runtime::EOverflow(); };
    box.grab();
    EXPECT_TRUE(boxes.empty());  // never inside the paint
    QCoreApplication::processEvents();
    box.grab();
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, runtime::ErrorBoxText("Floating point overflow"));
}

TEST_F(PaintBoxTest, MouseMovesReachTheHandlerWithThePosition) {
    PaintBox box(nullptr);
    box.resize(50, 50);
    std::vector<std::pair<int, int>> seen;
    box.OnMouseMove = [&](int x, int y) { seen.emplace_back(x, y); };
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 3), QPointF(12, 3), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &move);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::make_pair(12, 3));
}

// --- Page control ---

using PageControlTest = testsupport::ErrorBoxesTest;

TEST_F(PageControlTest, EveryPageGetsTheAreaSizeAlsoWhenHidden) {
    PageControl pages(nullptr);
    std::vector<QWidget*> resized;
    pages.OnPageResize = [&](QWidget* page) { resized.push_back(page); };
    QWidget* first = pages.AddPage("first");
    QWidget* second = pages.AddPage("second");
    resized.clear();
    pages.setGeometry(0, 0, 456, 440);
    pages.LayoutPages();
    EXPECT_EQ(first->size(), QSize(448, 412));
    EXPECT_EQ(second->size(), QSize(448, 412));
    EXPECT_EQ(resized, (std::vector<QWidget*>{first, second}));
    pages.LayoutPages();
    EXPECT_EQ(resized.size(), 2u);  // no change, no call
}

TEST_F(PageControlTest, ShowsOnePageAtATime) {
    PageControl pages(nullptr);
    QWidget* first = pages.AddPage("first");
    QWidget* second = pages.AddPage("second");
    EXPECT_EQ(pages.ActivePage(), first);
    pages.SetActivePage(second);
    EXPECT_EQ(pages.ActivePage(), second);
    EXPECT_TRUE(second->isVisibleTo(&pages));
    EXPECT_FALSE(first->isVisibleTo(&pages));
    EXPECT_EQ(pages.TabBar()->currentIndex(), 1);
}

// --- Decimal separator ---

TEST(SystemLocaleTest, SeparatorIsTheLocalesOneAsciiCharacterElseAPoint) {
    struct Row {
        QString decimalPoint;
        char separator;
    };
    const Row rows[] = {{".", '.'},
                        {",", ','},
                        {"", '.'},
                        {",,", '.'},
                        {QString(QChar(0x066B)), '.'},  // Arabic decimal separator
                        {" ", '.'}};
    for (const Row& row : rows) {
        EXPECT_EQ(SeparatorFromDecimalPoint(row.decimalPoint), row.separator)
            << row.decimalPoint.toStdString();
    }
}

}  // namespace
}  // namespace metopt::platform
