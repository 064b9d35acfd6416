// A map run's end: the model takes what the run drew unless it was stopped, made stale again by a
// region changed or an area resized meanwhile; a failed run leaves its picture unsaved.
#include <gtest/gtest.h>

#include <exception>
#include <ostream>
#include <string>

#include "app/commands.h"
#include "app/maprun.h"
#include "render/savedpicture.h"
#include "runtime/exceptions.h"
#include "support/expect_error.h"
#include "support/qt_environment.h"

namespace metopt::app {
namespace {

struct EndCase {
    const char* name;
    bool stopped;
    bool failed;
    bool regionChanged;
    bool resized;
    // What follows.
    bool drawn;       // EndMapRun says the picture was drawn
    bool rangeValid;  // the model's range afterwards
};

void PrintTo(const EndCase& c, std::ostream* os) {
    *os << c.name;
}

const EndCase EndCases[] = {
    {"Completed", false, false, false, false, true, true},
    {"Stopped", true, false, false, false, false, false},
    {"RegionChangedMeanwhile", false, false, true, false, true, false},
    {"ResizedMeanwhile", false, false, false, true, true, false},
    {"Failed", false, true, false, false, false, true},
};

class MapRunEndTest : public ::testing::TestWithParam<EndCase> {
  protected:
    MapRunEndTest() {
        DrawingAreaResized(session, area.Width(), area.Height());
        render::SaveBackingImage(session.SavedPicture, area);
        CompileEquation(session, settings);
    }

    TSession session;
    TSettings settings;
    platform::Canvas area{DrawingAreaWidth, DrawingAreaHeight, 0x808080};
};

TEST_P(MapRunEndTest, TheModelTakesWhatTheRunDrew) {
    const EndCase& c = GetParam();
    const QImage before = area.Image().copy();
    const std::shared_ptr<TMapRun> run = PrepareMapRun(session, settings, area, MapPass::Fill);
    render::SilentProgress progress;
    run->Run(progress);
    ASSERT_TRUE(run->scanned);
    ASSERT_FALSE(run->area.Image() == before);

    TSettings now = settings;
    if (c.regionChanged)
        now.xe = "2";
    if (c.resized)
        area.Resize(300, 200, 0x808080);
    TRunEnd end;
    end.stopped = c.stopped;
    if (c.failed)
        end.error =
            std::make_exception_ptr(runtime::Exception("Invalid floating point operation."));
    bool drawn = false;
    const auto finish = [&] { drawn = EndMapRun(session, now, area, *run, end); };
    if (c.failed)
        testsupport::ExpectError(finish, "Invalid floating point operation.");
    else
        finish();

    EXPECT_EQ(drawn, c.drawn);
    EXPECT_EQ(session.Plot.ZRangeValid, c.rangeValid);
    // The area shows the run's picture unless it was stopped or has a new size.
    const bool showsRun = !c.stopped && !c.resized;
    EXPECT_EQ(area.Image() == run->area.Image(), showsRun);
    if (c.stopped) {
        EXPECT_TRUE(area.Image() == before);
    }
    // Only a drawn picture is saved; a resized area shows the saved picture at its corner.
    EXPECT_EQ(session.SavedPicture.BackingImage->Image() == run->area.Image(), c.drawn);
    if (c.resized) {
        EXPECT_EQ(session.Plot.MapCols, 298);
        EXPECT_EQ(area.GetPixel(10, 10), run->area.GetPixel(10, 10));
    }
}

INSTANTIATE_TEST_SUITE_P(Ends, MapRunEndTest, ::testing::ValuesIn(EndCases),
                         [](const ::testing::TestParamInfo<EndCase>& row) {
                             return std::string(row.param.name);
                         });

// Stop ends a map at the next status text of any of its passes; the last text stays readable.
TEST(MapProgressTest, StopRaisesAtTheNextStatusText) {
    TRunWorker worker;
    TMapProgress progress(worker);
    EXPECT_EQ(progress.Text(), "");
    progress.ShowStatus("Расчет значений функции: 5%");
    worker.RequestStop();
    EXPECT_TRUE(worker.StopAsked());
    EXPECT_THROW(progress.ShowStatus("Расчет значений функции: 6%"), runtime::EAbort);
    EXPECT_EQ(progress.Text(), "Расчет значений функции: 5%");
    EXPECT_FALSE(progress.StopRequested());
}

}  // namespace
}  // namespace metopt::app
