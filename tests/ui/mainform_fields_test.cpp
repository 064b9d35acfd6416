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
#include <algorithm>
#include <string>
#include <vector>

#include "app/fieldtable.h"
#include "core/builtinfunctions.h"
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
#include "support/test_window.h"

namespace metopt::ui {
namespace {

// --- Invalidation ---

TEST_F(MainFormTest, TypedEquationTextKeepsTheFunctionButMarksTheRangeStale) {
    CreateForm();
    form->bbDrMpCl->click();
    ASSERT_TRUE(form->Plot.ZRangeValid);
    form->coEquat->TypeText("x*x");
    EXPECT_EQ(form->coEquat->ItemIndex(), -1);
    EXPECT_EQ(form->Plot.CurrentFunc, core::PlottedFunc(1));
    EXPECT_FALSE(form->Plot.ZRangeValid);
}

TEST_F(MainFormTest, EveryGraphicsFieldMarksTheRangeStale) {
    CreateForm();
    testsupport::TestWindow& f = *form;
    for (platform::TextField* field :
         {f.meSrXb, f.meSrXe, f.meSrYb, f.meSrYe, f.meSrXc, f.meSrYc, f.meSrXs, f.meSrYs, f.meSgXs,
          f.meSgYs, f.meWkSzX, f.meWkSzY}) {
        form->bbDrMpCl->click();  // a scan makes the range valid
        ASSERT_TRUE(form->Plot.ZRangeValid);
        field->SetText(field->Text() + "0");
        EXPECT_FALSE(form->Plot.ZRangeValid);
    }
    // The run parameters do not.
    form->bbDrMpCl->click();
    f.meBeg_Xr->SetText("1.0");
    f.meStLeLi->SetText("2.0");
    EXPECT_TRUE(form->Plot.ZRangeValid);
}

// Batch options set the fields as a user would: values typed in order, items chosen (their
// handler runs), check boxes turned from their start state; the commands read them back.
TEST_F(MainFormTest, FieldOptionsSetTheFieldsTheCommandsRead) {
    CreateForm();
    testsupport::TestWindow& f = *form;
    f.SetOptionFields("region", {"-2", "2", "-1", "1"});
    f.SetOptionFields("function", {"0"});
    f.SetOptionFields("colors", {"7"});
    f.SetOptionFields("no-axes", {});
    f.SetOptionFields("transparent", {});
    f.SetOptionFields("transparent", {});  // sets the box, does not toggle it
    EXPECT_EQ(std::vector<std::string>(
                  {f.meSrXb->Text(), f.meSrXe->Text(), f.meSrYb->Text(), f.meSrYe->Text()}),
              std::vector<std::string>({"-2", "2", "-1", "1"}));
    EXPECT_EQ(form->Plot.CurrentFunc, core::PlottedFunc(0));
    EXPECT_EQ(f.coEquat->ItemIndex(), 0);
    EXPECT_EQ(f.seScoGrd->Value(), 7);
    EXPECT_FALSE(f.cbDrAxis->isChecked());
    EXPECT_TRUE(f.cbDrSmal->isChecked() && f.cbDrBig->isChecked() && f.cbDrNumb->isChecked());
    EXPECT_TRUE(f.cbTrnpLL->isChecked());
    // The commands read what the fields hold: the map scans the region typed.
    f.bbDrMpCl->click();
    EXPECT_EQ(form->Plot.VisibleRegion.Xb, -2.0L);
    EXPECT_EQ(form->Plot.VisibleRegion.Ye, 1.0L);
}

// Every option made from the field table sets one field for each of its values (check boxes take
// none): fewer or more values than fields are refused.
TEST_F(MainFormTest, EveryFieldOptionHasAFieldForEachOfItsValues) {
    CreateForm();
    for (const app::FieldRow& row : app::FieldTable()) {
        SCOPED_TRACE(std::string(row.name));
        const std::string value = row.rule.integer ? std::to_string(row.rule.minValue) : "1";
        const auto count = static_cast<std::size_t>(
            std::ranges::count_if(row.settings, [](const app::SettingRef& setting) {
                return !std::holds_alternative<app::CheckSetting>(setting);
            }));
        EXPECT_NO_THROW(form->SetOptionFields(row.name, std::vector(count, value)));
        EXPECT_ANY_THROW(form->SetOptionFields(row.name, std::vector(count + 1, value)));
        if (count > 0) {
            EXPECT_ANY_THROW(form->SetOptionFields(row.name, std::vector(count - 1, value)));
        }
    }
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
    QMouseEvent onTheFrame(QEvent::MouseMove, QPointF(0, 5), QPointF(0, 5), Qt::NoButton,
                           Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form->pbDrawAr, &onTheFrame);
    EXPECT_EQ(form->lbTraceZ->text(), "Out of range");
}

// A click on the picture after a map sets the start point there, as if typed; before a map, and
// on the frame, it does nothing.
TEST_F(MainFormTest, AClickOnTheMapSetsTheStartPoint) {
    CreateForm();
    const auto click = [this](int x, int y) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, y), QPointF(x, y), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form->pbDrawAr, &press);
    };
    click(1, 1);
    EXPECT_EQ(form->meBeg_Xr->Text(), "30.0");
    form->bbDrMpCl->click();
    click(1, 1);
    EXPECT_EQ(form->meBeg_Xr->Text(), "-1.3");
    EXPECT_EQ(form->meBeg_Yr->Text(), "1.3");
    EXPECT_EQ(form->StatusText(), "Начальная точка: x0 = -1.3, y0 = 1.3");
    click(0, 5);
    EXPECT_EQ(form->meBeg_Xr->Text(), "-1.3");
}

}  // namespace
}  // namespace metopt::ui
