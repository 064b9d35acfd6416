// The comparison of methods as a user runs it: the menu, the report's table, the paths, the
// page "Сходимость" with its chart and table, and what batch mode writes of it.
#include <gtest/gtest.h>

#include <QAction>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/comparisonexports.h"
#include "core/methods/comparison.h"
#include "core/runreport.h"
#include "platform/convergencechart.h"
#include "platform/dropdown.h"
#include "platform/pagecontrol.h"
#include "render/comparisontrace.h"
#include "runtime/errorreport.h"
#include "support/mainform_fixture.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::ui {
using namespace app;

namespace {

class WindowComparisonTest : public MainFormTest {
  protected:
    void CompareAtOnce(const std::vector<int>& methods) {
        form->seTimFrm->SetValue(0);
        form->Compare(methods);
        form->AwaitRunEnd();
    }
    const std::vector<platform::ConvergenceChart::ShownLine>& Lines() const {
        return form->chConv->Shown();
    }
};

// The steepest descent alone: the same path as "Начать итерации", in the first comparison colour,
// and a table row that agrees with the single run's report.
TEST_F(WindowComparisonTest, SteepestDescentAloneIsTheSingleRun) {
    CreateForm();
    form->bbDrMpCl->click();
    IterateAtOnce();
    const std::vector<std::string> single = Report();
    const core::TDescent descent = form->Descent;
    CompareAtOnce({0});
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsDraw);
    const core::TComparison& comparison = form->Session().Comparison;
    ASSERT_EQ(comparison.runs.size(), 1u);
    const core::TDescent& run = comparison.runs[0].descent;
    ASSERT_EQ(run.TraceCount, descent.TraceCount);
    for (std::uint32_t k = 1; k <= run.TraceCount; ++k)
        EXPECT_EQ(run.Trace[k].X, descent.Trace[k].X);
    // The row: name | iterations | reason | counts | x* | y* | z*, the point as the single
    // report's.
    const std::vector<std::string> report = Report();
    ASSERT_GE(report.size(), 6u);
    EXPECT_EQ(report[4], core::ComparisonHeader);
    const std::string& row = report[5];
    EXPECT_EQ(row.rfind("Скорейший спуск (градиентный метод) | 43 | шаг меньше eps | ", 0), 0u);
    const std::string point = single[3].substr(single[3].find("z( ") + 3);
    const std::string x = point.substr(0, point.find(','));
    const std::string z = point.substr(point.find(" = ") + 3);
    EXPECT_NE(row.find(" | " + x + " | "), std::string::npos) << row;
    EXPECT_EQ(row.substr(row.size() - z.size()), z);
    EXPECT_EQ(form->twCompare->rowCount(), 1);
}

// Every row of the window's table is its method's run; the chart has a line per method with a
// point per iteration, at the values of the report.
TEST_F(WindowComparisonTest, TableAndChartShowEveryRun) {
    CreateForm();
    form->bbDrMpCl->click();
    const std::vector<int> methods = {0, 4, 6, 8, 11};
    CompareAtOnce(methods);
    const core::TComparison& comparison = form->Session().Comparison;
    ASSERT_EQ(form->twCompare->rowCount(), static_cast<int>(methods.size()));
    const auto& lines = Lines();
    ASSERT_EQ(lines.size(), methods.size());
    const ConvergenceLines expected = ConvergenceOfSession(form->Session(), ConvergenceKind::Value);
    for (std::size_t i = 0; i < methods.size(); ++i) {
        const core::TComparedRun& run = comparison.runs[i];
        const auto rows = form->twCompare->findItems(
            QString::fromUtf8(core::MethodCaption(run.method)), Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(form->twCompare->item(rows[0]->row(), 1)->text().toUInt(),
                  run.descent.TraceCount);
        ASSERT_EQ(lines[i].points.size(), run.descent.TraceCount);
        for (std::size_t k = 0; k < lines[i].points.size(); ++k) {
            EXPECT_EQ(lines[i].points[k].x(), static_cast<double>(k + 1));
            EXPECT_EQ(lines[i].points[k].y(),
                      std::max(expected.lines[i].values[k], expected.floor));
        }
        EXPECT_EQ(lines[i].color, render::ComparisonColor(run.method));
    }
    // Another quantity redraws the chart; sorting by iterations orders the rows.
    form->coConvKind->ChooseItem(1);
    EXPECT_EQ(form->chConv->YTitle(), "|∇f(x(k))|");
    EXPECT_GT(form->chConv->Ceiling(), form->chConv->Floor());
    EXPECT_EQ(form->chConv->Render(QSize(800, 500)).size(), QSize(800, 500));
    form->twCompare->sortItems(1);
    for (int r = 1; r < form->twCompare->rowCount(); ++r)
        EXPECT_LE(form->twCompare->item(r - 1, 1)->text().toUInt(),
                  form->twCompare->item(r, 1)->text().toUInt());
}

TEST_F(WindowComparisonTest, NothingCheckedRefusesAndTheAnimationReplaysTheComparison) {
    CreateForm();
    form->bbDrMpCl->click();
    form->seTimFrm->SetValue(5);
    form->Compare({1, 10});
    form->AwaitRunEnd();
    EXPECT_TRUE(form->tmTimer->isActive());
    while (form->tmTimer->isActive())
        form->TimerTick();
    EXPECT_EQ(form->StatusText(),
              "Точка трассы #" + std::to_string(render::LongestTrace(form->Session().Comparison)) +
                  " из " + std::to_string(render::LongestTrace(form->Session().Comparison)));
    ASSERT_TRUE(form->Session().TraceStart.Comparison.has_value());
    const std::vector<std::string> report = Report();
    form->Compare({});
    form->AwaitRunEnd();
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{
                               runtime::ErrorBoxText("Для сравнения не выбран ни один метод")});
    EXPECT_EQ(Report(), report);
}

// The comparison's CSV: a header and a row per method, quoted where a name holds a comma.
TEST_F(WindowComparisonTest, ComparisonCsvHasARowPerMethod) {
    CreateForm();
    form->bbDrMpCl->click();
    CompareAtOnce({1, 6});
    const std::string csv = ComparisonCsv(form->Session().Comparison);
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "method,iterations,stop,f_evals,grad_evals,hess_evals,x,y,z");
    EXPECT_NE(csv.find("\n\"Градиентный спуск, постоянный шаг\","), std::string::npos);
    EXPECT_NE(csv.find("\nМетод Ньютона,"), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
}

}  // namespace
}  // namespace metopt::ui
