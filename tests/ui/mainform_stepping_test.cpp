// "По шагам" in the window: each press one iteration further, the same points as the whole run's,
// the report left for the run's end; and the page "Одномерный поиск" showing the line search of
// the iteration chosen.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <string>
#include <vector>

#include "core/methods/method.h"
#include "support/mainform_fixture.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::ui {
namespace {

class WindowSteppingTest : public MainFormTest {
  protected:
    void Step() {
        form->bbStepIt->click();
        form->AwaitRunEnd();
    }
    std::vector<core::TTracePoint> Trace() {
        return {form->Descent.Trace.begin() + 1,
                form->Descent.Trace.begin() + 1 + form->Descent.TraceCount};
    }
};

class WindowStepsEveryMethod : public WindowSteppingTest,
                               public ::testing::WithParamInterface<int> {};

// Press k gives the run's first k points, the status line their k; the report waits.
TEST_P(WindowStepsEveryMethod, AsTheWholeRunsFirstIterations) {
    CreateForm();
    form->SetOptionFields("method", {std::to_string(GetParam())});
    form->bbDrMpCl->click();
    const std::vector<std::string> report = Report();
    std::vector<std::vector<core::TTracePoint>> stepped;
    for (std::uint32_t k = 1; k <= 4; ++k) {
        Step();
        stepped.push_back(Trace());
        if (!form->Descent.StoppedAtStepLimit) {
            EXPECT_NE(Report(), report);  // the run ended on its own: its report is written
            break;
        }
        EXPECT_EQ(form->Descent.TraceCount, k);
        EXPECT_EQ(form->StatusText().rfind("Итерация " + std::to_string(k) + ": x = ", 0), 0u)
            << form->StatusText();
        EXPECT_EQ(Report(), report);
    }
    IterateAtOnce();
    const std::vector<core::TTracePoint> whole = Trace();
    for (const std::vector<core::TTracePoint>& points : stepped) {
        ASSERT_LE(points.size(), whole.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].X, whole[i].X) << i;
            EXPECT_EQ(points[i].Y, whole[i].Y) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, WindowStepsEveryMethod, ::testing::Range(0, core::MethodCount),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return "Method" + std::to_string(param.param);
                         });

// A changed field starts again at iteration 1; another command ends the stepping too.
TEST_F(WindowSteppingTest, AFieldChangedOrACommandStartsAgain) {
    CreateForm();
    form->bbDrMpCl->click();
    Step();
    Step();
    EXPECT_EQ(form->Descent.TraceCount, 2u);
    form->meBeg_Xr->SetText("0.5");
    Step();
    EXPECT_EQ(form->Descent.TraceCount, 1u);
    Step();
    form->bbDrGrid->click();
    Step();
    EXPECT_EQ(form->Descent.TraceCount, 1u);
    form->mmdWkStep->trigger();  // F8
    form->AwaitRunEnd();
    EXPECT_EQ(form->Descent.TraceCount, 2u);
}

// The page shows the last stepped iteration's golden section: φ(t), the scan numbered, the bracket
// and t*, and a row per step; any iteration of the run can be chosen; a method without a line
// search says why.
TEST_F(WindowSteppingTest, ThePageShowsTheLineSearchOfTheIterationChosen) {
    CreateForm();
    form->bbDrMpCl->click();
    Step();
    Step();
    EXPECT_EQ(form->seLnIter->value(), 2);
    EXPECT_EQ(form->lbLnHead->text().toStdString().rfind("Итерация 2, поиск 1 из 1: ", 0), 0u);
    const std::vector<platform::PlotChart::Series>& series = form->chLine->Shown();
    ASSERT_EQ(series.size(), 4u);
    EXPECT_GT(series[0].points.size(), 100u);                     // φ(t), sampled
    EXPECT_EQ(series[1].labels.size(), series[1].points.size());  // the scan, numbered
    EXPECT_EQ(form->chLine->Marks().size(), 3u);                  // a, b, t*
    EXPECT_EQ(form->twLnStep->columnCount(), 8);
    EXPECT_EQ(form->twLnStep->horizontalHeaderItem(7)->text(), "b − a");
    const int rows = form->twLnStep->rowCount();
    EXPECT_GT(rows, 3);
    form->seLnIter->setValue(1);
    EXPECT_EQ(form->lbLnHead->text().toStdString().rfind("Итерация 1, ", 0), 0u);
    // Each step narrows the bracket.
    for (int r = 1; r < form->twLnStep->rowCount(); ++r)
        EXPECT_LT(form->twLnStep->item(r, 7)->text().toDouble(),
                  form->twLnStep->item(r - 1, 7)->text().toDouble());

    form->SetOptionFields("method", {std::to_string(core::ItemOf(core::TMethod::HookeJeeves))});
    IterateAtOnce();
    EXPECT_TRUE(form->chLine->Shown().empty());
    EXPECT_NE(form->chLine->Text().toStdString().find("одномерного поиска нет"), std::string::npos);
    EXPECT_EQ(form->twLnStep->rowCount(), 0);
}

// "Минимизировать" on the page: the function with each checked method's trial points, a count
// line per method and the two theoretical ones, and the steps of the method chosen.
TEST_F(WindowSteppingTest, TheOneVariableLabShowsEachCheckedMethod) {
    CreateForm();
    auto* formula = form->findChild<platform::TextField*>("meLbFunc");
    auto* run = form->findChild<QPushButton*>("bbLbRun");
    auto* steps = form->findChild<QTableWidget*>("twLbStep");
    auto* function = form->findChild<platform::PlotChart*>("chLbFunc");
    auto* counts = form->findChild<platform::PlotChart*>("chLbCnt");
    ASSERT_TRUE(formula && run && steps && function && counts);
    formula->SetText("abs(t-1)+0.5");
    form->findChild<QCheckBox*>("cbLbMeth1")->setChecked(false);
    run->click();
    EXPECT_TRUE(TakeBoxes().empty());
    ASSERT_EQ(function->Shown().size(), 5u);  // f and four methods' trials
    EXPECT_EQ(counts->Shown().size(), 6u);    // four methods and the two theories
    EXPECT_EQ(counts->Shown()[4].style, platform::PlotChart::Style::DashedLine);
    EXPECT_EQ(steps->columnCount(), 8);  // the golden section's steps
    EXPECT_GT(steps->rowCount(), 5);
    formula->SetText("x+y");
    run->click();
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Ошибка в формуле, знак 3"), std::string::npos) << boxes[0];
}

}  // namespace
}  // namespace metopt::ui
