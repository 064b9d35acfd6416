// The window's commands as a user clicks them: the map, level lines, grid and descent, the report,
// the animation and its Stop rules, and the error boxes of commands that fail.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPoint>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <cstdint>
#include <string>
#include <vector>

#include "core/minimizer.h"
#include "palette/palette.h"
#include "platform/dropdown.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/systemlocale.h"
#include "platform/textfield.h"
#include "render/coordinates.h"
#include "runtime/errorreport.h"
#include "runtime/numformat.h"
#include "support/mainform_fixture.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::ui {
namespace {

// --- Commands ---

TEST_F(MainFormTest, MapCommandScansSwitchesPageFillsAndSaves) {
    CreateForm();
    form->bbDrMpCl->click();
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsDraw);
    EXPECT_EQ(form->StatusText(), "Прорисовка карты высот: 100%");
    EXPECT_TRUE(form->Plot.ZRangeValid);
    EXPECT_EQ(form->Plot.VisibleRegion.Xb, -1.3L);
    // Frame in the outline colour; the smallest sample in map colour 0; the largest, at the
    // bottom corners of x*x and y, in colour 9.
    EXPECT_EQ(Area().GetPixel(0, 0), Colour(palette::OutlineColor));
    EXPECT_EQ(Area().GetPixel(447, 411), Colour(palette::OutlineColor));
    EXPECT_EQ(Area().GetPixel(form->Plot.MinCol, form->Plot.MinRow), Colour(0));
    EXPECT_EQ(Area().GetPixel(1, 410), Colour(9));
    ASSERT_TRUE(form->SavedPicture.BackingImage);
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
}

// On a shown window a status text may repaint the window in the middle of a command; that repaint
// must not put the last saved picture back over what the command is drawing.
TEST_F(MainFormTest, RepaintsDuringACommandKeepWhatItDraws) {
    CreateForm();
    form->show();
    // Each status text repaints the window and lets its events through.
    QObject::connect(form->sbMessag, &QStatusBar::messageChanged, form.get(), [this] {
        form->sbMessag->repaint();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    form->bbDrMpCl->click();
    form->bbDrGrid->click();
    ASSERT_GT(CountPixels(Area(), Colour(palette::BigGridColor)), 0);
    form->bbDrMpCl->click();  // the map wipes the grid everywhere
    EXPECT_EQ(CountPixels(Area(), Colour(palette::BigGridColor)), 0);
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
    IterateAtOnce();  // every trace point shows a status text
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
    const QPoint last(
        render::XToColumn(form->Plot, form->Descent.Trace[form->Descent.TraceCount].X, 448),
        render::YToRow(form->Plot, form->Descent.Trace[form->Descent.TraceCount].Y, 412));
    EXPECT_EQ(form->SavedPicture.BackingImage->GetPixel(last.x() - 4, last.y()),
              Colour(palette::TracePenColor));
}

TEST_F(MainFormTest, GradientFillUsesTheGradientEnds) {
    CreateForm();
    form->coFill->ChooseItem(1);
    form->bbDrMpCl->click();
    EXPECT_EQ(Area().GetPixel(form->Plot.MinCol, form->Plot.MinRow),
              Colour(palette::GradientLowColor));
    EXPECT_EQ(Area().GetPixel(1, 410), Colour(palette::GradientHighColor));
}

TEST_F(MainFormTest, LevelLineCommandDrawsLinesOverTheBackground) {
    CreateForm();
    form->bbDrMpLL->click();
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsDraw);
    EXPECT_EQ(form->StatusText(), "Построение линий уровня: 100%");
    EXPECT_TRUE(form->Plot.ZRangeValid);
    // Over the map its colour borders become lines.
    form->bbDrMpCl->click();
    form->bbDrMpLL->click();
    EXPECT_TRUE(form->Plot.ZRangeValid);
    const int lines = CountPixels(Area(), Colour(palette::LevelLineColor));
    const int background = CountPixels(Area(), Colour(palette::BackgroundColor));
    EXPECT_GT(lines, 0);
    EXPECT_GT(background, 0);
    EXPECT_EQ(lines + background, 446 * 410);
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
}

TEST_F(MainFormTest, GridCommandDrawsTheCheckedLayersWithoutAScan) {
    CreateForm();
    form->bbDrMpCl->click();
    form->pcMnPage->SetActivePage(form->tsParam);
    form->meSrXc->SetText("0");
    form->ShowStatus("before");
    form->bbDrGrid->click();
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsDraw);
    EXPECT_FALSE(form->Plot.ZRangeValid);
    EXPECT_EQ(form->StatusText(), "before");
    for (int role : {palette::AxesColor, palette::BigGridColor, palette::SmallGridColor,
                     palette::NumberTextColor}) {
        EXPECT_GT(CountPixels(Area(), Colour(role)), 0) << "role " << role;
    }
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());

    // With every box unchecked the grid draws nothing.
    form->bbDrMpCl->click();
    ASSERT_TRUE(form->Plot.ZRangeValid);
    const QImage map = Area().Image().copy();
    for (QCheckBox* check : {form->cbDrSmal, form->cbDrBig, form->cbDrAxis, form->cbDrNumb}) {
        check->setChecked(false);
    }
    form->bbDrGrid->click();
    EXPECT_EQ(Area().Image(), map);
}

TEST_F(MainFormTest, ReportForTheDefaultsAfterAMap) {
    CreateForm();
    form->bbDrMpCl->click();
    form->bbIterat->click();
    form->AwaitRunEnd();
    const std::vector<std::string> report = Report();
    ASSERT_EQ(report.size(), 50u);
    EXPECT_EQ(report[0], "");
    EXPECT_EQ(report[1], "Видимая область: x = -1.3 .. 1.3, y=-1.3 .. 1.3");
    EXPECT_EQ(report[2], "Начальная точка: x0 = 30.0, y0 = -30.0");
    EXPECT_EQ(report[4], "Скорейший спуск прошел за 43 итерац.");
    EXPECT_EQ(report[5], "");
    EXPECT_EQ(report[6], "Трасса спуска:");
    EXPECT_EQ(report[7].rfind("#1: z( ", 0), 0u);
    EXPECT_EQ(report[49].rfind("#43: z( ", 0), 0u);
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsDraw);
    // A second run replaces the report.
    IterateAtOnce();
    EXPECT_EQ(Report().size(), 50u);
}

TEST_F(MainFormTest, LocaleChangeReadsTheSeparatorAgain) {
    CreateForm();
    runtime::SetDecimalSeparator(',');
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(form.get(), &change);
    EXPECT_EQ(runtime::DecimalSeparator(), platform::SystemDecimalSeparator());
}

TEST_F(MainFormTest, AFailingTickEndsTheAnimationWithOneBox) {
    CreateForm();
    form->bbIterat->click();
    form->AwaitRunEnd();
    EXPECT_TRUE(form->tmTimer->isActive());
    form->TimerTick();
    EXPECT_EQ(TakeBoxes(),
              std::vector<std::string>{runtime::ErrorBoxText("Floating point division by zero")});
    EXPECT_FALSE(form->tmTimer->isActive());
    EXPECT_EQ(form->AnimStep, 1);
}

TEST_F(MainFormTest, ARefusedRunLeavesReportAndTrace) {
    CreateForm();
    form->bbDrMpCl->click();
    IterateAtOnce();
    const std::vector<std::string> report = Report();
    const std::uint32_t count = form->Descent.TraceCount;
    form->coEquat->TypeText("");  // no text: no function
    IterateAtOnce();
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], runtime::ErrorBoxText("Уравнение не выбрано: выберите его из списка"));
    EXPECT_EQ(Report(), report);
    EXPECT_EQ(form->Descent.TraceCount, count);
}

// --- Animation ---

TEST_F(MainFormTest, TheTimerTicksOncePerPointAndOnceMore) {
    CreateForm();
    form->bbDrMpCl->click();
    form->bbIterat->click();
    form->AwaitRunEnd();
    EXPECT_TRUE(form->tmTimer->isActive());
    EXPECT_EQ(form->tmTimer->interval(), 100);
    EXPECT_EQ(form->AnimStep, 1);
    ASSERT_EQ(form->Descent.TraceCount, 43u);
    int ticks = 0;
    while (form->tmTimer->isActive() && ticks < 1000) {
        form->TimerTick();
        ++ticks;
        if (ticks == 43) {
            EXPECT_EQ(form->StatusText(), "Точка трассы #43 из 43");
            EXPECT_TRUE(form->tmTimer->isActive());
        }
    }
    EXPECT_EQ(ticks, 44);
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
}

TEST_F(MainFormTest, StopDuringTheAnimationDrawsExactlyOneMorePoint) {
    CreateForm();
    form->bbDrMpCl->click();
    form->bbIterat->click();
    form->AwaitRunEnd();
    form->TimerTick();
    form->TimerTick();
    form->bbStopIt->click();
    EXPECT_TRUE(form->StopRequested);
    EXPECT_TRUE(form->tmTimer->isActive());
    form->TimerTick();
    EXPECT_EQ(form->StatusText(), "Точка трассы #3 из 43");
    EXPECT_EQ(form->AnimStep, 4);
    EXPECT_FALSE(form->tmTimer->isActive());
}

TEST_F(MainFormTest, AnotherCommandAfterStopCancelsTheStop) {
    CreateForm();
    form->bbDrMpCl->click();
    form->bbIterat->click();
    form->AwaitRunEnd();
    form->TimerTick();
    form->bbStopIt->click();
    form->bbDrGrid->click();
    EXPECT_FALSE(form->StopRequested);
    form->TimerTick();
    EXPECT_TRUE(form->tmTimer->isActive());
    EXPECT_EQ(form->AnimStep, 3);
}

TEST_F(MainFormTest, FrameTimeZeroDrawsTheWholeTraceAndSavesItWithoutTheTimer) {
    CreateForm();
    form->bbDrMpCl->click();
    IterateAtOnce();
    EXPECT_FALSE(form->tmTimer->isActive());
    EXPECT_EQ(form->StatusText(), "Точка трассы #43 из 43");
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
    EXPECT_GT(CountPixels(Area(), Colour(palette::TraceFillColor)), 0);
}

TEST_F(MainFormTest, AFrameTimeThatIsNotANumberCountsAsZero) {
    CreateForm();
    form->bbDrMpCl->click();
    form->seTimFrm->SetText("abc");
    form->bbIterat->click();
    form->AwaitRunEnd();
    EXPECT_FALSE(form->tmTimer->isActive());
    EXPECT_EQ(form->StatusText(), "Точка трассы #43 из 43");
}

TEST_F(MainFormTest, ExitClosesTheWindowDuringAnAnimation) {
    CreateForm();
    form->show();
    form->bbDrMpCl->click();
    form->bbIterat->click();
    form->AwaitRunEnd();
    form->mmdFexit->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->tmTimer->isActive());
}
// --- Errors ---

TEST_F(MainFormTest, ABadCountFieldFailsTheGridButNotTheRepaint) {
    CreateForm();
    form->meSgXs->SetText("x");
    form->bbDrGrid->click();
    EXPECT_EQ(TakeBoxes(),
              std::vector<std::string>{runtime::ErrorBoxText("'x' is not a valid integer value")});
    form->pbDrawAr->grab();
    QCoreApplication::processEvents();
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(MainFormTest, RepaintPutsBackTheLastSavedPicture) {
    CreateForm();
    form->bbDrMpCl->click();
    const QImage saved = form->SavedPicture.BackingImage->Image().copy();
    Area().SetPixel(10, 10, 0x123456);  // drawn, not saved
    const QImage shown = form->pbDrawAr->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(10, 10), saved.pixel(10, 10));
    EXPECT_EQ(Area().Image(), saved);
}

}  // namespace
}  // namespace metopt::ui
