// The method list and the stop rules of the menu as a user chooses them: the run and report of
// each method, the refusal without a method, and the same report from batch mode's options.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <string>
#include <vector>

#include "core/methods/method.h"
#include "platform/dropdown.h"
#include "runtime/errorreport.h"
#include "support/mainform_fixture.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::ui {
namespace {

// Every method under every stop rule: the line of its iterations, and for every run but the
// classic one the lines of the reason and the counts after it.
TEST_F(MainFormTest, EachMethodAndStopRuleRunsAndReports) {
    CreateForm();
    form->bbDrMpCl->click();
    QAction* const rules[] = {form->mmdWkStSt, form->mmdWkStGr, form->mmdWkStFn};
    for (int rule = 0; rule < core::StopRuleCount; ++rule) {
        rules[rule]->trigger();
        for (int method = 0; method < core::MethodCount; ++method) {
            SCOPED_TRACE(std::string(core::MethodCaptions[method]) + ", rule " +
                         std::to_string(rule));
            form->coMetOpt->ChooseItem(method);
            IterateAtOnce();
            EXPECT_TRUE(TakeBoxes().empty());
            const std::vector<std::string> report = Report();
            const std::uint32_t count = form->Descent.TraceCount;
            const bool classic = method == 0 && rule == 0;
            ASSERT_EQ(report.size(), (classic ? 7u : 9u) + count);
            EXPECT_EQ(report[4], std::string(core::MethodReportName(*core::MethodOfItem(method))) +
                                     " прошел за " + std::to_string(count) + " итерац.");
            EXPECT_EQ(report[5].rfind("Остановка: ", 0) == 0, !classic);
            EXPECT_EQ(report[6].rfind("Вычислено: f — ", 0) == 0, !classic);
            EXPECT_EQ(form->Descent.Simplices.empty(), method != 11);
        }
    }
}

TEST_F(MainFormTest, NoMethodChosenRefusesTheRunAndKeepsTheReport) {
    CreateForm();
    form->bbDrMpCl->click();
    IterateAtOnce();
    const std::vector<std::string> report = Report();
    form->coMetOpt->TypeText("Метод");
    IterateAtOnce();
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{runtime::ErrorBoxText(
                               "Метод оптимизации не выбран: выберите его из списка")});
    EXPECT_EQ(Report(), report);
}

// Batch mode's --method and --stop-rule choose what the list and the menu choose.
TEST_F(MainFormTest, BatchOptionsChooseTheMethodAndTheRule) {
    CreateForm();
    form->SetOptionFields("method", {"8"});
    form->ChooseStopRule(core::TStopRule::Value);
    EXPECT_EQ(form->coMetOpt->ItemIndex(), 8);
    EXPECT_TRUE(form->mmdWkStFn->isChecked());
    EXPECT_FALSE(form->mmdWkStSt->isChecked());
}

}  // namespace
}  // namespace metopt::ui
