// The colour editor of the window and the palette file it shows: an entry's components and
// sample, clamping, typed and empty values, the legend, and a missing or the program's own file.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFocusEvent>
#include <QPushButton>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "palette/palette.h"
#include "platform/canvas.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "runtime/errorreport.h"
#include "support/mainform_fixture.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::ui {
namespace {

// --- Colour editor ---

TEST_F(MainFormTest, ChoosingAnEntryShowsItsComponentsAndSample) {
    CreateForm();
    form->seDiNmCl->SetValue(7);
    EXPECT_EQ(form->seDiColR->Text(), "75");
    EXPECT_EQ(form->seDiColG->Text(), "61");
    EXPECT_EQ(form->seDiColB->Text(), "201");
    platform::Canvas& sample = form->pbDiClEx->Surface();
    EXPECT_EQ(sample.GetPixel(0, 0), Colour(palette::OutlineColor));
    EXPECT_EQ(sample.GetPixel(30, 30), Colour(7));
}

TEST_F(MainFormTest, ComponentAboveTheRangeIsClampedForDisplayAndStoredBack) {
    CreateFormWith({{3, 300}});
    ASSERT_EQ(form->Palette[3].R, 300);
    form->seDiNmCl->SetValue(3);
    EXPECT_EQ(form->seDiColR->Text(), "255");
    EXPECT_EQ(form->Palette[3].R, 255);
    EXPECT_EQ(form->Palette[3].Color, 255 + G(3) * 256 + B(3) * 65536);
}

TEST_F(MainFormTest, ComponentAboveTheRangeStaysWhenTheFieldAlreadyShowsTheClampedValue) {
    CreateFormWith({{4, 255}, {3, 300}});
    form->seDiNmCl->SetValue(4);
    ASSERT_EQ(form->seDiColR->Text(), "255");
    form->seDiNmCl->SetValue(3);
    EXPECT_EQ(form->seDiColR->Text(), "255");
    EXPECT_EQ(form->Palette[3].R, 300);
}

TEST_F(MainFormTest, TypedComponentIsStoredAsTypedUntilTheFieldIsLeft) {
    CreateForm();
    form->seDiNmCl->SetValue(5);
    form->seDiColR->SetText("300");
    EXPECT_EQ(form->Palette[5].R, 300);
    EXPECT_EQ(form->Palette[5].Color, palette::PackColor(300, G(5), B(5)));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form->seDiColR, &leave);
    EXPECT_EQ(form->seDiColR->Text(), "255");
    EXPECT_EQ(form->Palette[5].R, 255);
}

TEST_F(MainFormTest, EmptyTextsSelectTheMinimum) {
    CreateForm();
    form->seDiNmCl->SetValue(6);
    form->seDiColG->SetText("");
    EXPECT_EQ(form->Palette[6].G, 0);
    EXPECT_EQ(form->Palette[6].Color, palette::PackColor(R(6), 0, B(6)));
    form->seDiNmCl->SetText("");
    EXPECT_EQ(form->seDiColR->Text(), "5");  // entry 0
    EXPECT_EQ(form->seDiColB->Text(), "250");
}

TEST_F(MainFormTest, AnIndexOutsideTheTableChangesNothing) {
    CreateForm();
    form->seDiNmCl->SetValue(8);
    form->seDiNmCl->SetText("25");
    EXPECT_EQ(form->seDiColR->Text(), "85");
    form->seDiColR->SetText("9");
    form->seDiNmCl->SetText("-1");
    form->seDiColG->SetText("9");
    for (int i = 0; i < palette::PaletteSize; ++i) {
        EXPECT_EQ(form->Palette[static_cast<std::size_t>(i)].Color, Colour(i)) << "entry " << i;
    }
}

TEST_F(MainFormTest, AChangedMapColourShowsInTheLegendAtOnceButNotInTheGraph) {
    CreateForm();
    form->bbDrMpCl->click();
    const std::int32_t before = Area().GetPixel(form->Plot.MinCol, form->Plot.MinRow);
    ASSERT_EQ(before, Colour(0));
    form->seDiNmCl->SetValue(0);
    form->seDiColR->SetValue(123);
    EXPECT_EQ(form->Palette[0].Color, palette::PackColor(123, G(0), B(0)));
    EXPECT_EQ(form->pbColMap->Surface().GetPixel(9, 8), form->Palette[0].Color);
    EXPECT_EQ(Area().GetPixel(form->Plot.MinCol, form->Plot.MinRow), before);
    form->bbDrMpCl->click();
    EXPECT_EQ(Area().GetPixel(form->Plot.MinCol, form->Plot.MinRow), form->Palette[0].Color);
}

TEST_F(MainFormTest, MissingPaletteFileShowsOneBoxAndTheEditorShowsEntryTwoAsZero) {
    CreateForm(false);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{runtime::ErrorBoxText("File not found")});
    EXPECT_EQ(form->seDiNmCl->Text(), "2");
    EXPECT_EQ(form->seDiColR->Text(), "0");
    EXPECT_EQ(form->seDiColG->Text(), "0");
    EXPECT_EQ(form->seDiColB->Text(), "0");
    // The window works, every colour black.
    form->bbDrMpCl->click();
    EXPECT_EQ(Area().GetPixel(5, 5), 0);
}

TEST_F(MainFormTest, ThePaletteFileOfTheProgramLoads) {
    QFile::copy(QStringLiteral(METOPT_DATA_DIR "/Palitr10.dat"),
                QString::fromUtf8(palette::PaletteFileName));
    form = std::make_unique<testsupport::TestWindow>();
    EXPECT_EQ(form->seDiNmCl->Text(), "0");
    EXPECT_EQ(form->seDiColR->Value(), std::min(form->Palette[0].R, 255));
}

}  // namespace
}  // namespace metopt::ui
