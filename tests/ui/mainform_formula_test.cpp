// A function typed into the equation list, and the list's classic items: compiled on leaving the
// text, on Enter and by each command; the pictures, the report, the readout and the refusals.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "core/equationitems.h"
#include "core/builtinfunctions.h"
#include "platform/dropdown.h"
#include "platform/pagecontrol.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "render/coordinates.h"
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

// --- Pictures: the typed texts of items 0 and 1 draw the items' pictures ---

struct PictureCase {
    int item;
    bool levelLines;  // else the map
    int method;       // of coFill or coLevel
    int width, height;
};

void PrintTo(const PictureCase& c, std::ostream* os) {
    *os << "item " << c.item << (c.levelLines ? " level lines " : " map ") << c.method << ", "
        << c.width << "x" << c.height;
}

class TypedPictureTest : public FormulaFormTest, public ::testing::WithParamInterface<PictureCase> {
  protected:
    // In a window of its own, so that both pictures start from the same one.
    QImage Draw(const PictureCase& c, const std::string& typed) {
        form.reset();
        CreateForm();
        if (typed.empty())
            form->coEquat->ChooseItem(c.item);
        else
            Type(typed);
        form->LayoutForDrawingArea(c.width, c.height);
        (c.levelLines ? form->coLevel : form->coFill)->ChooseItem(c.method);
        (c.levelLines ? form->bbDrMpLL : form->bbDrMpCl)->click();
        return Saved();
    }
};

const PictureCase PictureCases[] = {
    {0, false, 0, 448, 412}, {0, false, 1, 448, 412}, {0, true, 0, 448, 412},
    {0, true, 1, 448, 412},  {0, false, 0, 301, 257}, {0, true, 1, 301, 257},
    {1, false, 0, 448, 412}, {1, false, 1, 448, 412}, {1, true, 0, 448, 412},
    {1, true, 1, 448, 412},  {1, false, 1, 301, 257}, {1, true, 0, 301, 257},
};

TEST_P(TypedPictureTest, TypedTextDrawsTheItemsPicture) {
    const PictureCase& c = GetParam();
    const QImage item = Draw(c, "");
    const QImage typed = Draw(c, std::string(core::FunctionCaptions[c.item]).substr(1));
    ASSERT_NE(form->Plot.CurrentFunc.Typed, nullptr);
    EXPECT_EQ(typed, item);
}

INSTANTIATE_TEST_SUITE_P(Table, TypedPictureTest, ::testing::ValuesIn(PictureCases));

// Item 2's text differs from the built-in only near the origin, where the built-in takes the
// limit 1 below r = 1e-5 and the formula computes sin(r)/r: 0/0 at the origin itself.
struct RadialCase {
    int width, height;
    const char* range;  // of x and y
    const char* error;  // the typed text's map, when it fails
};

void PrintTo(const RadialCase& c, std::ostream* os) {
    *os << c.width << "x" << c.height << " over +-" << c.range;
}

class TypedRadialTest : public FormulaFormTest, public ::testing::WithParamInterface<RadialCase> {
  protected:
    QImage Map(const RadialCase& c, const std::string& typed) {
        form.reset();
        CreateForm();
        if (typed.empty())
            form->coEquat->ChooseItem(2);
        else
            Type(typed);
        form->LayoutForDrawingArea(c.width, c.height);
        const std::string low = std::string("-") + c.range;
        form->SetOptionFields("region", {low, c.range, low, c.range});
        form->bbDrMpCl->click();
        return Saved();
    }
};

const RadialCase RadialCases[] = {
    {448, 412, "1.3", ""},                                  // no pixel samples the origin
    {301, 257, "1.3", "Invalid floating point operation"},  // one does
    {448, 412, "0.00003", ""},
};

TEST_P(TypedRadialTest, DiffersOnlyWhereTheValueDoes) {
    const RadialCase& c = GetParam();
    const QImage item = Map(c, "");
    const QImage typed = Map(c, "(sin(r))/r, r=sqrt(x*x+y*y)");
    if (*c.error != 0) {
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{runtime::ErrorBoxText(c.error)});
        return;
    }
    // The samples differ only below the built-in's threshold r = 1e-5 ...
    const core::TPlottedFunc& formula = form->Plot.CurrentFunc;
    for (int row = 1; row <= form->Plot.MapRows; ++row) {
        for (int col = 1; col <= form->Plot.MapCols; ++col) {
            const long double x = render::ColumnToX(form->Plot, col);
            const long double y = render::RowToY(form->Plot, row);
            if (std::sqrt(x * x + y * y) >= 1e-5L) {
                ASSERT_EQ(formula(x, y), core::ObjectiveFuncs[2](x, y)) << col << ", " << row;
            }
        }
    }
    // ... where the built-in gives 1 and the formula 1 - r^2/6: so the top of the colour scale
    // moves by some 1e-11, and only the pixels that lie that close to a colour boundary change.
    int differing = 0;
    for (int row = 0; row < item.height(); ++row) {
        for (int col = 0; col < item.width(); ++col)
            differing += item.pixel(col, row) != typed.pixel(col, row) ? 1 : 0;
    }
    std::cout << c.width << "x" << c.height << " over +-" << c.range << ": " << differing
              << " pixels differ\n";
    EXPECT_LE(differing, item.width() * item.height() / 10000);
}

INSTANTIATE_TEST_SUITE_P(Table, TypedRadialTest, ::testing::ValuesIn(RadialCases));

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
    Type(core::ClassicFunctionCaptions[6]);
    ASSERT_NE(form->Plot.CurrentFunc.Typed, nullptr);
    EXPECT_EQ(form->Plot.CurrentFunc(1, 2), 401);
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
    for (int i = 0; i < core::ClassicFunctionCount; ++i) {
        EXPECT_EQ(form->coEquat->itemText(3 + i).toStdString(), core::ClassicFunctionCaptions[i]);
        EXPECT_EQ(core::ClassicFunctionCaptions[i][0], ' ');
    }
}

struct ClassicDescentCase {
    int item;
    const char* x0;
    const char* y0;
    const char* functionLine;
};

void PrintTo(const ClassicDescentCase& c, std::ostream* os) {
    *os << "item " << c.item << " from (" << c.x0 << ", " << c.y0 << ")";
}

class ClassicDescentTest : public FormulaFormTest,
                           public ::testing::WithParamInterface<ClassicDescentCase> {};

const ClassicDescentCase ClassicDescents[] = {
    {3, "-1.2", "1", "Функция: z = 100*(y-x*x)^2+(1-x)^2"},
    {4, "0", "0", "Функция: z = (x*x+y-11)^2+(x+y*y-7)^2"},
};

TEST_P(ClassicDescentTest, RunsReportsAndAnimates) {
    const ClassicDescentCase& c = GetParam();
    CreateForm();
    form->coEquat->ChooseItem(c.item);
    form->meBeg_Xr->SetText(c.x0);
    form->meBeg_Yr->SetText(c.y0);
    form->bbDrMpCl->click();
    form->seTimFrm->SetValue(1);
    form->bbIterat->click();
    form->AwaitRunEnd();
    const std::vector<std::string> report = Report();
    ASSERT_GE(report.size(), 9u);
    EXPECT_EQ(report[0], "");
    EXPECT_EQ(report[1], c.functionLine);
    EXPECT_EQ(report[2], "Видимая область: x = -1.3 .. 1.3, y=-1.3 .. 1.3");
    int ticks = 0;
    while (form->Animating() && ticks < 20000) {
        form->TimerTick();
        ++ticks;
    }
    EXPECT_EQ(static_cast<std::uint32_t>(ticks), form->Descent.TraceCount + 1);
}

INSTANTIATE_TEST_SUITE_P(Table, ClassicDescentTest, ::testing::ValuesIn(ClassicDescents));

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
