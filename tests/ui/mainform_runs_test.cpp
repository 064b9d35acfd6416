// Runs on the worker thread: while a long run computes the window takes its events and shows the
// progress; "Стоп" ends the run and leaves the model, the report and the picture as before it;
// closing the window ends it too.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <string>
#include <vector>

#include "support/mainform_fixture.h"
#include "support/qt_environment.h"

namespace metopt::ui {
namespace {

using testsupport::MainFormTest;

// A flat minimum and a fine scan step in a wide disc: each iteration's scan may take a million
// steps, so the run computes for minutes.
constexpr const char* LongFormula = "0.5+(sin(x^2-y^2)^2-0.5)/(1+0.001*(x^2+y^2))^2";

// How long the window may take to stop a run or to close; the run ends at its next evaluation,
// milliseconds at most, so the bound leaves room for a loaded machine.
constexpr qint64 StopBoundMs = 500;

enum class RunKind { Descent, Comparison };

struct RunCase {
    const char* name;
    RunKind kind;
    const char* progressPrefix;
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

const RunCase RunCases[] = {
    {"Descent", RunKind::Descent, "Итерация "},
    {"Comparison", RunKind::Comparison, "Метод 1 из 2: Скорейший спуск, итерация "},
};

class WindowRunTest : public MainFormTest, public ::testing::WithParamInterface<RunCase> {
  protected:
    // The map of the long run's function, then the run started.
    void StartLongRun(RunKind kind) {
        CreateForm();
        form->show();
        form->coEquat->TypeText(LongFormula);
        form->coEquat->FinishEditing();
        form->meBeg_Xr->SetText("0.01");
        form->meBeg_Yr->SetText("0.02");
        form->meCnsEps->SetText("1e-9");
        form->meCnsHst->SetText("0.001");
        form->meCnsUoo->SetText("1000");
        form->seTimFrm->SetValue(0);
        form->bbDrMpCl->click();
        reportBefore = Report();
        statusBefore = form->StatusText();
        traceCountBefore = form->Descent.TraceCount;
        pictureBefore = Area().Image().copy();
        if (kind == RunKind::Descent)
            form->bbIterat->click();
        else
            form->Compare({0, 4});
        ASSERT_TRUE(form->Running());
    }

    // Lets the window take its events for `ms` milliseconds.
    static void LetEventsThrough(int ms) { QTest::qWait(ms); }

    qint64 MillisecondsToStop() {
        QElapsedTimer clock;
        clock.start();
        form->bbStopIt->click();
        form->AwaitRunEnd();
        return clock.elapsed();
    }

    std::vector<std::string> reportBefore;
    std::string statusBefore;
    std::uint32_t traceCountBefore = 0;
    QImage pictureBefore;
};

TEST_P(WindowRunTest, TheWindowStaysLiveAndStopEndsTheRunLeavingTheModel) {
    StartLongRun(GetParam().kind);
    bool timerFired = false;
    QTimer::singleShot(50, [&] { timerFired = true; });
    form->pcMnPage->SetActivePage(form->tsReport);
    LetEventsThrough(400);
    EXPECT_TRUE(timerFired);
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsReport);
    ASSERT_TRUE(form->Running()) << "the long run ended by itself";
    EXPECT_EQ(form->StatusText().rfind(GetParam().progressPrefix, 0), 0u) << form->StatusText();

    // What would start another command or change the run's inputs waits; Stop and the colour
    // editor do not.
    for (QWidget* control :
         {static_cast<QWidget*>(form->bbDrMpCl), static_cast<QWidget*>(form->bbIterat),
          static_cast<QWidget*>(form->gbBegPar), static_cast<QWidget*>(form->gbLstSet)})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_FALSE(form->mmdWkCmpR->isEnabled());
    EXPECT_TRUE(form->bbStopIt->isEnabled());
    EXPECT_TRUE(form->gbColors->isEnabled());

    EXPECT_LT(MillisecondsToStop(), StopBoundMs);
    EXPECT_FALSE(form->Running());
    EXPECT_EQ(form->StatusText().rfind("Расчет остановлен на итерации ", 0), 0u)
        << form->StatusText();
    EXPECT_EQ(Report(), reportBefore);
    EXPECT_EQ(form->Descent.TraceCount, traceCountBefore);
    EXPECT_TRUE(Area().Image() == pictureBefore) << "the minimum marker stayed on the picture";
    EXPECT_TRUE(form->bbIterat->isEnabled());
    EXPECT_TRUE(form->mmdWkCmpR->isEnabled());
    EXPECT_FALSE(form->tmTimer->isActive());
}

TEST_P(WindowRunTest, ClosingTheWindowEndsTheRun) {
    StartLongRun(GetParam().kind);
    LetEventsThrough(100);
    QElapsedTimer clock;
    clock.start();
    form->close();
    EXPECT_LT(clock.elapsed(), StopBoundMs);
    EXPECT_FALSE(form->Running());
    LetEventsThrough(50);  // the queued end of the run is dropped
    EXPECT_EQ(Report(), reportBefore);
}

INSTANTIATE_TEST_SUITE_P(Runs, WindowRunTest, ::testing::ValuesIn(RunCases),
                         [](const ::testing::TestParamInfo<RunCase>& row) {
                             return std::string(row.param.name);
                         });

// --- Maps on the worker thread ---

// Three hundred terms: each sample costs microseconds, so a map of the whole area takes seconds.
std::string SlowFormula() {
    std::string text = "sin(x*y)";
    for (int k = 1; k < 300; ++k)
        text += "+sin(x*y+" + std::to_string(k) + ")";
    return text;
}

struct MapCase {
    const char* name;
    QPushButton* const testsupport::TestWindow::*button;
    int level;  // the level-line method
};

void PrintTo(const MapCase& c, std::ostream* os) {
    *os << c.name;
}

const MapCase MapCases[] = {
    {"Map", &testsupport::TestWindow::bbDrMpCl, 0},
    {"LevelLinesByAnalysis", &testsupport::TestWindow::bbDrMpLL, 0},
    {"LevelLinesByThreshold", &testsupport::TestWindow::bbDrMpLL, 1},
};

class WindowMapTest : public MainFormTest, public ::testing::WithParamInterface<MapCase> {
  protected:
    // The window with a map drawn, the level-line method chosen, the next map on the worker
    // thread when `onWorker`.
    void CreateFormFor(bool onWorker) {
        CreateForm();
        form->coLevel->SetItemIndex(GetParam().level);
        form->bbDrMpCl->click();
        if (onWorker)
            form->SetSynchronousMapTime(std::chrono::milliseconds(0));
    }
    void Press() { (form.get()->*GetParam().button)->click(); }
};

// What a map drawn on the worker leaves is what one drawn at once leaves: the picture, the range,
// the status line and the page shown.
TEST_P(WindowMapTest, AMapOnTheWorkerEndsAsOneDrawnAtOnce) {
    struct Outcome {
        QImage picture;
        long double zMin, zMax;
        std::string status;
        QWidget* page;
    };
    const auto draw = [this](bool onWorker) {
        CreateFormFor(onWorker);
        form->pcMnPage->SetActivePage(form->tsParam);
        form->meSrXe->SetText("2");  // a stale range: the map scans again
        Press();
        form->AwaitRunEnd();
        return Outcome{form->SavedPicture.BackingImage->Image().copy(), form->Plot.ZMin,
                       form->Plot.ZMax, form->StatusText(),
                       form->pcMnPage->ActivePage() == form->tsDraw ? form->tsDraw : nullptr};
    };
    const Outcome here = draw(false);
    const Outcome worker = draw(true);
    EXPECT_TRUE(worker.picture == here.picture);
    EXPECT_EQ(worker.zMin, here.zMin);
    EXPECT_EQ(worker.zMax, here.zMax);
    EXPECT_EQ(worker.status, here.status);
    EXPECT_NE(worker.page, nullptr);
    EXPECT_TRUE(form->Plot.ZRangeValid);
}

// A long map lets the window take its events with its progress in the status line; Stop ends it
// and leaves the picture and the range as before it.
TEST_P(WindowMapTest, StopEndsALongMapLeavingThePicture) {
    CreateFormFor(true);
    form->show();
    form->coEquat->TypeText(SlowFormula());
    form->coEquat->FinishEditing();
    const QImage pictureBefore = Area().Image().copy();
    Press();
    ASSERT_TRUE(form->Running());
    bool timerFired = false;
    QTimer::singleShot(50, [&] { timerFired = true; });
    QTest::qWait(300);
    EXPECT_TRUE(timerFired);
    ASSERT_TRUE(form->Running()) << "the long map ended by itself";
    EXPECT_EQ(form->StatusText().rfind("Расчет значений функции: ", 0), 0u) << form->StatusText();
    EXPECT_FALSE(form->bbDrGrid->isEnabled());

    QElapsedTimer clock;
    clock.start();
    form->bbStopIt->click();
    form->AwaitRunEnd();
    EXPECT_LT(clock.elapsed(), StopBoundMs);
    EXPECT_EQ(form->StatusText(), "Прорисовка остановлена");
    EXPECT_TRUE(Area().Image() == pictureBefore);
    EXPECT_FALSE(form->Plot.ZRangeValid);
    EXPECT_TRUE(form->bbDrGrid->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Maps, WindowMapTest, ::testing::ValuesIn(MapCases),
                         [](const ::testing::TestParamInfo<MapCase>& row) {
                             return std::string(row.param.name);
                         });

// The keyboard focus stays on the button pressed: a quick map disables nothing, and a run gives
// it back at its end.
TEST_F(MainFormTest, TheFocusStaysOnTheButtonPressed) {
    CreateForm();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->seTimFrm->SetValue(0);
    for (QPushButton* button : {form->bbDrMpCl, form->bbIterat}) {
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        form->AwaitRunEnd();
        EXPECT_TRUE(button->hasFocus()) << button->objectName().toStdString();
    }
}

// A region field changed while a map draws on the worker thread makes its range stale again.
TEST_F(MainFormTest, ARegionChangedDuringAMapMakesItsRangeStale) {
    CreateForm();
    form->SetSynchronousMapTime(std::chrono::milliseconds(0));
    form->bbDrMpCl->click();
    form->meSrXe->SetText("2");
    form->AwaitRunEnd();
    EXPECT_FALSE(form->Plot.ZRangeValid);
}

// A run that ends by itself shows its outcome once its end comes through the event loop, and the
// status line is left as before it.
TEST_F(MainFormTest, ARunThatEndsShowsItsReportThroughTheEventLoop) {
    CreateForm();
    form->bbDrMpCl->click();
    form->seTimFrm->SetValue(0);
    form->bbIterat->click();
    QTRY_VERIFY_WITH_TIMEOUT(!form->Running(), 5000);
    const std::vector<std::string> report = Report();
    ASSERT_EQ(report.size(), 50u);
    EXPECT_EQ(report[4], "Скорейший спуск прошел за 43 итерац.");
    EXPECT_EQ(form->StatusText(), "Точка трассы #43 из 43");
    EXPECT_TRUE(form->bbIterat->isEnabled());
}

// The window repaints while a run computes; the picture the run's end saves is still the one a
// run with no repaint saves: the minimum marker stays in it.
TEST_F(MainFormTest, RepaintsDuringARunLeaveThePictureAsWithout) {
    const auto run = [this](bool shown) -> QImage {
        CreateForm();
        if (shown)
            form->show();
        form->bbDrMpCl->click();
        form->seTimFrm->SetValue(0);
        form->bbIterat->click();
        for (int waited = 0; shown && form->Running() && waited < 5000; waited += 10)
            QTest::qWait(10);
        form->AwaitRunEnd();
        QImage saved = form->SavedPicture.BackingImage->Image().copy();
        form.reset();
        return saved;
    };
    const QImage unshown = run(false);
    EXPECT_TRUE(run(true) == unshown);
}

}  // namespace
}  // namespace metopt::ui
