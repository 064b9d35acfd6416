// The map under the mouse in the window: wheel notches zoom about the pointer, a drag moves the
// region, "Подобрать область" fits it to the last path and "Вернуть область" steps back; each
// sets the region's fields and draws again what the picture showed. On the page "Поверхность" a
// drag turns the surface.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <string>

#include "app/surfacepicture.h"
#include "platform/canvas.h"
#include "platform/surfacebox.h"
#include "render/coordinates.h"
#include "runtime/numparse.h"
#include "support/mainform_fixture.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::ui {
namespace {

class WindowViewTest : public MainFormTest {
  protected:
    void Wheel(int x, int y, int notches) {
        QWheelEvent wheel(QPointF(x, y), QPointF(x, y), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form->pbDrawAr, &wheel);
    }
    void Drag(Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint from, QPoint to) {
        QMouseEvent press(QEvent::MouseButtonPress, from, from, button, button, keys);
        QApplication::sendEvent(form->pbDrawAr, &press);
        QMouseEvent move(QEvent::MouseMove, to, to, Qt::NoButton, button, keys);
        QApplication::sendEvent(form->pbDrawAr, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, to, button, Qt::NoButton, keys);
        QApplication::sendEvent(form->pbDrawAr, &release);
    }
    long double Field(platform::TextField* field) { return runtime::ParseNumber(field->Text()); }
    // The region's fields, x from .. to, y from .. to.
    std::string Region() {
        return form->meSrXb->Text() + " " + form->meSrXe->Text() + " " + form->meSrYb->Text() +
               " " + form->meSrYe->Text();
    }
};

// Three notches in about a pixel keep its point under the pointer and show the map, level lines
// and grid drawn again over the new region, with the trace.
TEST_F(WindowViewTest, WheelZoomsAboutThePointerAndDrawsTheLayersAgain) {
    CreateForm();
    form->SetOptionFields("frame-time", {"0"});
    form->bbDrMpCl->click();
    form->cbTrnpLL->setChecked(true);
    form->bbDrMpLL->click();
    form->bbDrGrid->click();
    IterateAtOnce();
    const app::TShownLayers shown = form->Session().Shown;
    EXPECT_TRUE(shown.map && shown.levelLines && shown.grid && shown.trace);
    const QImage before = form->SavedPicture.BackingImage->Image().copy();
    const long double x = render::ColumnToX(form->Plot, 100);
    const long double y = render::RowToY(form->Plot, 300);
    Wheel(100, 300, 3);
    EXPECT_TRUE(TakeBoxes().empty());
    const long double width = Field(form->meSrXe) - Field(form->meSrXb);
    EXPECT_NEAR(static_cast<double>(width), 2.6 / (1.25 * 1.25 * 1.25), 0.01);
    const long double pixel = width / 445;
    EXPECT_NEAR(static_cast<double>(render::ColumnToX(form->Plot, 100)), static_cast<double>(x),
                static_cast<double>(pixel));
    EXPECT_NEAR(static_cast<double>(render::RowToY(form->Plot, 300)), static_cast<double>(y),
                static_cast<double>(pixel));
    EXPECT_EQ(form->meSrXs->Text(), "0.1");
    EXPECT_EQ(form->Session().Shown, shown);
    EXPECT_NE(form->SavedPicture.BackingImage->Image(), before);
    // Back, the fields and the picture are as before the wheel.
    form->mmdWkBckR->trigger();
    EXPECT_EQ(Region(), "-1.3 1.3 -1.3 1.3");
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), before);
}

// A drag with the middle button, or the left with Ctrl, moves the content with the pointer; a
// plain left press stays a click.
TEST_F(WindowViewTest, DragsMoveTheRegion) {
    CreateForm();
    form->bbDrMpCl->click();
    const std::string start = Region();
    for (const auto& [button, keys] : {std::pair{Qt::MiddleButton, Qt::KeyboardModifiers()},
                                       {Qt::LeftButton, Qt::ControlModifier}}) {
        const long double xb = Field(form->meSrXb);
        const long double yb = Field(form->meSrYb);
        const auto xStep = static_cast<double>(render::ColumnToX(form->Plot, 2) -
                                               render::ColumnToX(form->Plot, 1));
        const auto yStep =
            static_cast<double>(render::RowToY(form->Plot, 1) - render::RowToY(form->Plot, 2));
        // Right by 40 pixels and up by 20: the region goes left and down.
        Drag(button, keys, {200, 200}, {240, 180});
        EXPECT_NEAR(static_cast<double>(Field(form->meSrXb)), static_cast<double>(xb) - 40 * xStep,
                    xStep);
        EXPECT_NEAR(static_cast<double>(Field(form->meSrYb)), static_cast<double>(yb) - 20 * yStep,
                    yStep);
        EXPECT_TRUE(form->Plot.ZRangeValid);
    }
    EXPECT_NE(Region(), start);
    form->mmdWkBckR->trigger();
    form->mmdWkBckR->trigger();
    EXPECT_EQ(Region(), start);
    // Nothing more to go back to.
    form->mmdWkBckR->trigger();
    EXPECT_EQ(Region(), start);
}

// After a Himmelblau run, the fitted region holds the start and every point of the path, square in
// scale.
TEST_F(WindowViewTest, FitShowsTheWholePath) {
    CreateForm();
    form->coEquat->ChooseItem(4);
    form->SetOptionFields("region", {"-1", "1", "-1", "1"});
    form->SetOptionFields("frame-time", {"0"});
    form->bbDrMpCl->click();
    IterateAtOnce();
    form->mmdWkFitR->trigger();
    EXPECT_TRUE(TakeBoxes().empty());
    const core::TDescent& d = form->Descent;
    ASSERT_GE(d.TraceCount, 2u);
    const int W = form->pbDrawAr->width();
    const int H = form->pbDrawAr->height();
    for (std::uint32_t i = 0; i <= d.TraceCount; ++i) {
        const core::TTracePoint p = i == 0 ? d.TraceStart : d.Trace[i];
        EXPECT_TRUE(render::IsSampledPixel(render::XToColumn(form->Plot, p.X, W),
                                           render::YToRow(form->Plot, p.Y, H), W, H))
            << "point " << i;
    }
    const double xScale = static_cast<double>(Field(form->meSrXe) - Field(form->meSrXb)) / (W - 2);
    const double yScale = static_cast<double>(Field(form->meSrYe) - Field(form->meSrYb)) / (H - 2);
    EXPECT_NEAR(xScale / yScale, 1, 0.01);
    EXPECT_TRUE(form->Session().Shown.trace);
}

// The page "Поверхность": a drag with the left button turns the surface, the wheel zooms it, a
// double-click gives the first view back; the page shows what the session draws, its mesh kept.
TEST_F(WindowViewTest, TheSurfaceTurnsZoomsAndComesBack) {
    CreateForm();
    form->SetOptionFields("frame-time", {"0"});
    form->bbDrMpCl->click();
    IterateAtOnce();
    form->pcMnPage->SetActivePage(form->tsSurf);
    form->resize(form->width(), form->height());
    QApplication::processEvents();
    platform::SurfaceBox* box = form->sbSurf;
    const QImage first = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    platform::Canvas drawn(box->width(), box->height());
    app::DrawSurfacePicture(drawn, form->Session(), *app::SurfaceMeshFor(form->Session(), nullptr),
                            app::SurfaceStyleOf(form->Lab().settings));
    EXPECT_EQ(first, drawn.Image());

    const QPoint from(100, 100);
    QMouseEvent press(QEvent::MouseButtonPress, from, from, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    for (const QPoint to : {QPoint(110, 104), QPoint(120, 108)}) {
        QMouseEvent move(QEvent::MouseMove, to, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, QPoint(120, 108), QPoint(120, 108),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &release);
    EXPECT_EQ(form->Session().SurfaceView.azimuth, -70);
    EXPECT_EQ(form->Session().SurfaceView.elevation, 34);
    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &wheel);
    EXPECT_GT(form->Session().SurfaceView.zoom, 1);
    EXPECT_NE(box->grab().toImage().convertToFormat(QImage::Format_RGB32), first);
    QTest::mouseDClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(60, 60));
    EXPECT_EQ(form->Session().SurfaceView, render::TSurfaceView{});
    EXPECT_EQ(box->grab().toImage().convertToFormat(QImage::Format_RGB32), first);
    EXPECT_TRUE(TakeBoxes().empty());
}

}  // namespace
}  // namespace metopt::ui
