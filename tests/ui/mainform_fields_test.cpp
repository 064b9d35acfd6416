// The window's fields: which of them mark the value range stale, the batch options that set them,
// the size of the drawing area, and the mouse readout over it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointF>
#include <QPushButton>
#include <QSize>
#include <string>
#include <vector>

#include "core/functions.h"
#include "palette/palette.h"
#include "platform/dropdown.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "render/fieldtexts.h"
#include "render/grid.h"
#include "runtime/numformat.h"
#include "support/mainform_fixture.h"
#include "support/qt_environment.h"
#include "ui/mainform.h"
#include "ui/windowfields.h"

namespace metopt::ui {
namespace {

// --- Invalidation ---

TEST_F(MainFormTest, TypedEquationTextKeepsTheFunctionButMarksTheRangeStale) {
    CreateForm();
    form->bbDrMpCl->click();
    ASSERT_TRUE(form->Plot.ZRangeValid);
    form->coEquat->TypeText("x*x");
    EXPECT_EQ(form->coEquat->ItemIndex(), -1);
    EXPECT_EQ(form->Plot.CurrentFunc, core::ObjectiveFuncs[1]);
    EXPECT_FALSE(form->Plot.ZRangeValid);
}

TEST_F(MainFormTest, EveryGraphicsFieldMarksTheRangeStale) {
    CreateForm();
    TfmMnForm& f = *form;
    for (platform::TextField* field :
         {f.meSrXb, f.meSrXe, f.meSrYb, f.meSrYe, f.meSrXc, f.meSrYc, f.meSrXs, f.meSrYs, f.meSgXs,
          f.meSgYs, f.meWkSzX, f.meWkSzY}) {
        form->Plot.ZRangeValid = true;
        field->SetText(field->Text() + "0");
        EXPECT_FALSE(form->Plot.ZRangeValid);
    }
    // The run parameters do not.
    form->Plot.ZRangeValid = true;
    f.meBeg_Xr->SetText("1.0");
    f.meStLeLi->SetText("2.0");
    EXPECT_TRUE(form->Plot.ZRangeValid);
}

// Batch options set the fields as a user would: values typed in order, items chosen (their
// handler runs), check boxes turned from their start state; the commands read them back.
TEST_F(MainFormTest, FieldOptionsSetTheFieldsTheCommandsRead) {
    CreateForm();
    TfmMnForm& f = *form;
    SetOptionFields(f, "region", {"-2", "2", "-1", "1"});
    SetOptionFields(f, "function", {"0"});
    SetOptionFields(f, "colors", {"7"});
    SetOptionFields(f, "no-axes", {});
    SetOptionFields(f, "transparent", {});
    const render::GraphFieldTexts graph = ReadGraphFieldTexts(f);
    EXPECT_EQ(std::vector<std::string>({graph.Xb, graph.Xe, graph.Yb, graph.Ye}),
              std::vector<std::string>({"-2", "2", "-1", "1"}));
    EXPECT_EQ(form->Plot.CurrentFunc, core::ObjectiveFuncs[0]);
    EXPECT_EQ(ReadDescentFields(f).funcIndex, 0);
    EXPECT_EQ(f.seScoGrd->Value(), 7);
    const render::GridLayers layers = ReadGridLayers(f);
    EXPECT_FALSE(layers.axes);
    EXPECT_TRUE(layers.small && layers.big && layers.numbers);
    EXPECT_TRUE(ReadLevelLineOptions(f).transparent);
}

TEST_F(MainFormTest, ResizingTheDrawingAreaMarksTheRangeStaleAndShowsTheSize) {
    CreateForm();
    form->bbDrMpCl->click();
    ASSERT_TRUE(form->Plot.ZRangeValid);
    form->LayoutForDrawingArea(300, 200);
    EXPECT_EQ(form->pbDrawAr->size(), QSize(300, 200));
    EXPECT_EQ(form->Plot.MapCols, 298);
    EXPECT_EQ(form->Plot.MapRows, 198);
    EXPECT_EQ(form->meWkSzX->Text(), "300");
    EXPECT_EQ(form->meWkSzY->Text(), "200");
    EXPECT_FALSE(form->Plot.ZRangeValid);
    form->bbDrMpCl->click();
    EXPECT_EQ(Area().Width(), 300);
    EXPECT_EQ(Area().GetPixel(299, 199), Colour(palette::OutlineColor));
}

// --- Mouse readout ---

TEST_F(MainFormTest, MouseReadoutOverTheDrawingArea) {
    CreateForm();
    form->bbDrMpCl->click();
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(form->pbDrawAr, &move);
    EXPECT_EQ(form->lbTraceX->text(), "x=-1.3");
    EXPECT_EQ(form->lbTraceY->text(), "y=1.3");
    EXPECT_EQ(form->lbTraceZ->text().toStdString(),
              "z=" + runtime::FormatGeneral(core::ObjectiveFuncs[1](-1.3L, 1.3L)));
    form->pbDrawArMouseMove(0, 5);
    EXPECT_EQ(form->lbTraceZ->text(), "Out of range");
}

}  // namespace
}  // namespace metopt::ui
