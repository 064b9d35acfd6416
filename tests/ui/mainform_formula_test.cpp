// A function typed into the equation list, and the list's classic items: compiled on leaving the
// text, on Enter and by each command; the readout and the refusals. (The pictures and runs of
// typed texts and classic items: tests/app/commands_test.cpp.)
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "core/builtinfunctions.h"
#include "core/equationitems.h"
#include "platform/dropdown.h"
#include "platform/pagecontrol.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "runtime/errorreport.h"
#include "runtime/numformat.h"
#include "support/mainform_fixture.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::ui {
namespace {

class FormulaFormTest : public MainFormTest {
  protected:
    void Type(const std::string& text) {
        form->coEquat->TypeText(text);
        form->coEquat->FinishEditing();
    }
    QImage Saved() const { return form->SavedPicture.BackingImage->Image().copy(); }
};

// --- When the text is compiled ---

TEST_F(FormulaFormTest, LeavingTheTextOrEnterCompilesIt) {
    CreateForm();
    form->bbDrMpCl->click();
    form->coEquat->TypeText("x+y");
    EXPECT_EQ(form->Plot.CurrentFunc, core::PlottedFunc(1));  // typing alone changes nothing
    QTest::keyClick(form->coEquat->lineEdit(), Qt::Key_Return);
    ASSERT_NE(form->Plot.CurrentFunc.Typed, nullptr);
    EXPECT_EQ(form->Plot.CurrentFunc(2, 3), 5);
    EXPECT_FALSE(form->Plot.ZRangeValid);

    form->bbDrMpCl->click();
    const core::TPlottedFunc compiled = form->Plot.CurrentFunc;
    form->coEquat->FinishEditing();  // the same text again: the same function, the range kept
    form->bbDrMpCl->click();
    EXPECT_EQ(form->Plot.CurrentFunc, compiled);
    EXPECT_TRUE(form->Plot.ZRangeValid);

    form->coEquat->TypeText("x-y");
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form->coEquat->lineEdit(), &leave);
    EXPECT_EQ(form->Plot.CurrentFunc(2, 3), -1);
}

TEST_F(FormulaFormTest, EachCommandCompilesTheTextFirst) {
    CreateForm();
    form->coEquat->TypeText("2*x");
    form->bbDrMpCl->click();
    ASSERT_NE(form->Plot.CurrentFunc.Typed, nullptr);
    EXPECT_EQ(form->Plot.CurrentFunc(3, 0), 6);
    EXPECT_TRUE(form->Plot.ZRangeValid);
}

TEST_F(FormulaFormTest, AnItemsOwnTextIsTheItem) {
    CreateForm();
    Type(core::FunctionCaptions[0]);
    EXPECT_EQ(form->Plot.CurrentFunc, core::PlottedFunc(0));
    Type(core::EquationItems()[9]);
    ASSERT_NE(form->Plot.CurrentFunc.Typed, nullptr);
    EXPECT_EQ(form->Plot.CurrentFunc(1, 2), 401);
    // A classic item's text edited keeps its name, and an error counts the name's characters.
    Type(" Овраг: x*x+100*y*y)");
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{runtime::ErrorBoxText(
                               "Ошибка в формуле, знак 20: лишние знаки после конца формулы")});
}

TEST_F(FormulaFormTest, BadFormulaShowsItsBoxAndTheCommandDoesNotRun) {
    CreateForm();
    Type("x*(y");
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{
                               runtime::ErrorBoxText("Ошибка в формуле, знак 4: ожидается \")\"")});
    EXPECT_EQ(form->Plot.CurrentFunc, core::PlottedFunc(1));
    for (QPushButton* button : {form->bbDrMpCl, form->bbDrMpLL, form->bbIterat}) {
        button->click();
        EXPECT_EQ(TakeBoxes().size(), 1u);
        EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsParam);
        EXPECT_FALSE(form->Plot.ZRangeValid);
        EXPECT_EQ(form->StatusText(), "");
        EXPECT_TRUE(Report().empty());
    }
}

TEST_F(FormulaFormTest, EmptyTextKeepsTheRefusalOfTheRun) {
    CreateForm();
    Type("   ");
    EXPECT_EQ(form->Plot.CurrentFunc, core::PlottedFunc(1));
    IterateAtOnce();
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{runtime::ErrorBoxText(
                               "Уравнение не выбрано: выберите его из списка")});
}

// --- The classic items ---

TEST_F(FormulaFormTest, ClassicItemsFollowTheThree) {
    CreateForm();
    ASSERT_EQ(form->coEquat->count(), core::EquationItemCount);
    for (int i = 0; i < core::FunctionCount; ++i)
        EXPECT_EQ(form->coEquat->itemText(i).toStdString(), core::FunctionCaptions[i]);
    for (int i = 0; i < core::ClassicFunctionCount; ++i)
        EXPECT_EQ(
            form->coEquat->itemText(3 + i).toStdString(),
            std::string(" ") + core::ClassicFunctionNames[i] + ":" + core::ClassicFormulas[i]);
}

// Choosing a classic item sets its region and start, each minimum inside its region; the three
// built-in items and typed text change no field.
TEST_F(FormulaFormTest, AClassicItemBringsItsRegionAndStart) {
    CreateForm();
    form->coEquat->ChooseItem(4);
    EXPECT_EQ(form->meSrXb->Text(), "-5");
    EXPECT_EQ(form->meSrYe->Text(), "5");
    EXPECT_EQ(form->meSrXs->Text(), "1");
    EXPECT_EQ(form->meBeg_Xr->Text(), "0");
    form->meSrXb->SetText("-6");
    form->coEquat->ChooseItem(0);
    Type("x*x");
    EXPECT_EQ(form->meSrXb->Text(), "-6");
    const core::TTracePoint minima[] = {{1, 1}, {3, 2}, {1, 3}, {0, 0}, {3, 0.5}, {0, 0}, {0, 0}};
    for (int i = 0; i < core::ClassicFunctionCount; ++i) {
        const core::ClassicView& view = core::ClassicViews[i];
        SCOPED_TRACE(core::ClassicFunctionNames[i]);
        EXPECT_LT(std::stold(view.xb), minima[i].X);
        EXPECT_GT(std::stold(view.xe), minima[i].X);
        EXPECT_LT(std::stold(view.yb), minima[i].Y);
        EXPECT_GT(std::stold(view.ye), minima[i].Y);
    }
}

TEST_F(FormulaFormTest, MouseReadoutShowsTheTypedFunction) {
    CreateForm();
    Type("2*x+y");
    form->bbDrMpCl->click();
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(form->pbDrawAr, &move);
    EXPECT_EQ(form->lbTraceZ->text().toStdString(),
              "z=" + runtime::FormatGeneral(2 * -1.3L + 1.3L));
}

}  // namespace
}  // namespace metopt::ui
