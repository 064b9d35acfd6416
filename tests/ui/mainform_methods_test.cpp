// The method list and the stop rules of the menu as a user chooses them: the refusal without a
// method, and batch mode's options. (Each method's run and report: tests/app/commands_test.cpp.)
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
