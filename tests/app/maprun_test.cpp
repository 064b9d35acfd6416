// A map run's end: the model takes what the run drew unless it was stopped, made stale again by a
// region changed or an area resized meanwhile; a failed run leaves its picture unsaved.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <ostream>
#include <string>

#include "app/commands.h"
#include "app/maprun.h"
#include "core/equationitems.h"
#include "palette/palette.h"
#include "render/savedpicture.h"
#include "runtime/exceptions.h"
#include "support/expect_error.h"
#include "support/qt_environment.h"
#include "support/render_state.h"

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

// Wait ticks while the job runs and returns once it has ended, or false at its limit with the
// job still running.
TEST(RunWorkerTest, WaitTicksUntilTheEndOrTheLimit) {
    using std::chrono::milliseconds;
    TRunWorker worker;
    std::atomic<bool> release{false};
    const auto job = [&release](core::TRunWatch&) { release.wait(false); };
    const auto releaseJob = [&release] {
        release.store(true);
        release.notify_all();
    };
    int ticks = 0;
    worker.Start(job, nullptr);
    EXPECT_TRUE(worker.Wait(
        [&] {
            if (++ticks == 3)
                releaseJob();
        },
        milliseconds(1)));
    EXPECT_GE(ticks, 3);
    EXPECT_FALSE(worker.Finish().stopped);

    release.store(false);
    worker.Start(job, nullptr);
    EXPECT_FALSE(worker.Wait([] {}, milliseconds(1000), milliseconds(5)));
    EXPECT_TRUE(worker.Busy());
    releaseJob();
    EXPECT_TRUE(worker.Wait([] {}, milliseconds(1000)));
    const TRunEnd end = worker.Finish();
    EXPECT_FALSE(end.stopped);
    EXPECT_EQ(end.error, nullptr);
}

// --- A typed function defined in part of the region ---

struct StatusCase {
    const char* name;
    int item;  // of the equation list; -1: the formula typed
    const char* formula;
    const char* low;  // of x and y, with high; "" keeps -1.3 .. 1.3
    const char* high;
    MapPass pass;
    int level;           // the level-line method
    const char* status;  // the last status text of the run
    const char* error;
};

void PrintTo(const StatusCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr const char* Undefined91430 = "Функция не определена в 91430 точках области";

const StatusCase StatusCases[] = {
    // y <= 0 from row 206 of 410 on: 205 rows of 446 samples are left out.
    {"TypedMap", -1, "x^2+ln(y)", "", "", MapPass::Fill, 0, Undefined91430, ""},
    {"AnalysisLines", -1, "x^2+ln(y)", "", "", MapPass::LevelLines, 0, Undefined91430, ""},
    {"ThresholdLines", -1, "x^2+ln(y)", "", "", MapPass::LevelLines, 1, Undefined91430, ""},
    {"GradientMap", -1, "x^2+ln(y)", "", "", MapPass::Fill, 1, Undefined91430, ""},
    {"TypedDefinedEverywhere", -1, "x^2+ln(y*y+1)", "", "", MapPass::Fill, 0,
     "Прорисовка карты высот: 100%", ""},
    {"ClassicItem", 7, "", "", "", MapPass::LevelLines, 1, "Построение линий уровня: 100%", ""},
    {"ItemDefinedEverywhere", 0, "", "", "", MapPass::Fill, 0, "Прорисовка карты высот: 100%", ""},
    // The scan fails at its first sample, as it always did.
    {"NothingDefined", -1, "ln(-y*y-1)", "", "", MapPass::Fill, 0, "Расчет значений функции: 0%",
     "Invalid floating point operation"},
    // The items stop at their first fault (their typed texts would leave it out).
    {"Item0Stops", 0, "", "0", "2e2466", MapPass::Fill, 0, "Расчет значений функции: 0%",
     "Floating point overflow"},
    {"Item1Stops", 1, "", "0", "2e2466", MapPass::LevelLines, 1, "Расчет значений функции: 0%",
     "Floating point overflow"},
    {"Item2Stops", 2, "", "0", "2e2466", MapPass::Fill, 0, "Расчет значений функции: 0%",
     "Floating point overflow"},
    {"Item2TextLeavesPointsOut", -1, "(sin(r))/r, r=sqrt(x*x+y*y)", "0", "2e2466", MapPass::Fill, 0,
     "", ""},
};

class MapRunStatusTest : public ::testing::TestWithParam<StatusCase> {
  protected:
    MapRunStatusTest() {
        DrawingAreaResized(session, area.Width(), area.Height());
        for (int k = 0; k < palette::PaletteSize; ++k)
            session.Palette[static_cast<std::size_t>(k)].Color = 0x010101 * (k + 1);
    }

    // A run of the pass over the case's function and region, its status texts recorded.
    void Run(const StatusCase& c, MapPass pass) {
        settings.equationItem = c.item;
        settings.equationText =
            c.item < 0 ? c.formula : core::EquationItems()[static_cast<std::size_t>(c.item)];
        settings.fill = settings.level = c.level;
        if (*c.low != 0) {
            settings.xb = settings.yb = c.low;
            settings.xe = settings.ye = c.high;
        }
        CompileEquation(session, settings);
        const std::shared_ptr<TMapRun> run = PrepareMapRun(session, settings, area, pass);
        progress.statuses.clear();
        TRunEnd end;
        try {
            run->Run(progress);
        } catch (...) {
            end.error = std::current_exception();
        }
        error = testsupport::ErrorOf([&] {
                    EndMapRun(session, settings, area, *run, end);
                }).value_or("");
    }

    TSession session;
    TSettings settings;
    platform::Canvas area{DrawingAreaWidth, DrawingAreaHeight, 0x808080};
    testsupport::RecordingProgress progress;
    std::string error;
};

TEST_P(MapRunStatusTest, EndsWithTheCountOfTheUndefinedSamples) {
    const StatusCase& c = GetParam();
    Run(c, c.pass);
    EXPECT_EQ(error, c.error);
    // The count is that of the samples the function cannot be evaluated at; the items count none.
    const std::int64_t undefined = testsupport::CountUndefined(session.Plot);
    EXPECT_EQ(session.Plot.UndefinedCount, core::IsBuiltinItem(c.item) ? 0 : undefined);
    EXPECT_EQ(progress.statuses.back(), *c.status ? c.status : UndefinedPointsText(undefined));
}

INSTANTIATE_TEST_SUITE_P(Cases, MapRunStatusTest, ::testing::ValuesIn(StatusCases),
                         [](const ::testing::TestParamInfo<StatusCase>& row) {
                             return std::string(row.param.name);
                         });

// x^2 + ln(y) over -1.3 .. 1.3: the upper half is drawn, the lower half keeps the background;
// level lines over it, with the range valid, end with the same count.
TEST_F(MapRunStatusTest, TheLowerHalfOfTheLogarithmKeepsTheBackground) {
    Run(StatusCases[0], MapPass::Fill);
    const std::int32_t background = session.Palette[palette::BackgroundColor].Color;
    for (int row = 1; row <= 410; ++row) {
        for (int col = 1; col <= 446; ++col) {
            const std::int32_t colour = area.GetPixel(col, row);
            ASSERT_EQ(colour == background, row >= 206) << col << "," << row;
            ASSERT_TRUE(row >= 206 || colour <= 0x0A0A0A) << col << "," << row;  // map colours
        }
    }
    Run(StatusCases[2], MapPass::LevelLines);
    EXPECT_EQ(progress.statuses.front(), "Построение линий уровня: 0%");
    EXPECT_EQ(progress.statuses.back(), Undefined91430);
}

}  // namespace
}  // namespace metopt::app
