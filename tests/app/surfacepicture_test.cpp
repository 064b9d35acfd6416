// The surface of the session: its paths lie at f(x, y) of the plotted function, the mesh is made
// again only for another function or region, the picture needs a map and writes the session's size.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/surfacepicture.h"
#include "app/workbench.h"
#include "render/comparisontrace.h"
#include "render/sampling.h"
#include "runtime/exceptions.h"
#include "support/error_boxes.h"
#include "support/qt_environment.h"
#include "support/tempfolder.h"

namespace metopt::app {
namespace {

using Button = WindowCommands::Button;

class SurfacePictureTest : public testsupport::ErrorBoxesTest {
  protected:
    void SetUp() override {
        ErrorBoxesTest::SetUp();
        bench = std::make_unique<TWorkbench>(METOPT_DATA_DIR "/Palitr10.dat", 0);
    }
    void Run(Button button) {
        bench->Press(button);
        bench->AwaitRun([](const std::string&) { return false; });
        while (bench->Animating())
            bench->TimerTick();
    }
    const TSession& Session() const { return bench->Session(); }
    TSurfaceStyle Style() const { return SurfaceStyleOf(bench->Settings()); }

    std::unique_ptr<TWorkbench> bench;
};

struct PathCase {
    const char* name;
    std::vector<std::pair<std::string, std::vector<std::string>>> fields;
    std::vector<int> compared;  // none: a descent
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

std::string PathCaseName(const ::testing::TestParamInfo<PathCase>& c) {
    return c.param.name;
}

class SurfacePathTest : public SurfacePictureTest,
                        public ::testing::WithParamInterface<PathCase> {};

// Every path point of the scene is the trace's, with z = f(x, y) of the plotted function, in the
// colours of the map's trace or of the compared methods.
TEST_P(SurfacePathTest, PointsLieAtTheFunctionsValue) {
    for (const auto& [option, values] : GetParam().fields)
        bench->SetOptionFields(option, values);
    Run(Button::Map);
    if (GetParam().compared.empty()) {
        Run(Button::Descent);
    } else {
        bench->Compare(GetParam().compared);
        bench->AwaitRun([](const std::string&) { return false; });
    }
    const auto mesh = SurfaceMeshFor(Session(), nullptr);
    const render::TSurfaceScene scene = SurfaceSceneOf(Session(), *mesh, Style());
    std::vector<const core::TDescent*> descents;
    if (Session().ShowsComparison) {
        for (const core::TComparedRun& run : Session().Comparison.runs)
            descents.push_back(&run.descent);
    } else {
        descents.push_back(&Session().Descent);
    }
    ASSERT_EQ(scene.paths.size(), descents.size());
    const core::TPlottedFunc& f = Session().Plot.CurrentFunc;
    for (std::size_t p = 0; p < descents.size(); ++p) {
        const core::TDescent& d = *descents[p];
        const std::vector<render::TSurfacePoint>& points = scene.paths[p].points;
        ASSERT_GT(d.TraceCount, 0u);
        ASSERT_EQ(points.size(), d.TraceCount + 1);
        EXPECT_EQ(points[0].x, d.TraceStart.X);
        EXPECT_EQ(points[0].y, d.TraceStart.Y);
        for (std::uint32_t k = 1; k <= d.TraceCount; ++k) {
            EXPECT_EQ(points[k].x, d.Trace[k].X) << k;
            EXPECT_EQ(points[k].y, d.Trace[k].Y) << k;
            EXPECT_EQ(points[k].z, f(d.Trace[k].X, d.Trace[k].Y)) << k;
        }
        const std::int32_t colour =
            Session().ShowsComparison ? render::ComparisonColor(Session().Comparison.runs[p].method)
                                      : Session().Palette[palette::TracePenColor].Color;
        EXPECT_EQ(scene.paths[p].lineColor, colour);
    }
    // The range and the smallest sample are the map's.
    EXPECT_EQ(scene.zLow, Session().Plot.ZMin);
    EXPECT_EQ(scene.zHigh, Session().Plot.ZMax);
    ASSERT_TRUE(scene.minimum.has_value());
    EXPECT_EQ(scene.minimum->z, Session().Plot.ZMin);
}

INSTANTIATE_TEST_SUITE_P(
    Surface, SurfacePathTest,
    ::testing::Values(PathCase{"Function1Descent", {{"function", {"1"}}}, {}},
                      PathCase{"TypedFormulaDescent",
                               {{"formula", {"x^2+3*y^2+x*y"}}, {"x0", {"0.8"}}, {"y0", {"-0.6"}}},
                               {}},
                      PathCase{"RosenbrockComparison",
                               {{"function", {"3"}}, {"x0", {"-1.2"}}, {"y0", {"1"}}},
                               {0, 4, 11}}),
    PathCaseName);

TEST_F(SurfacePictureTest, TheMeshIsMadeAgainOnlyForAnotherFunctionOrRegion) {
    Run(Button::Map);
    const auto first = SurfaceMeshFor(Session(), nullptr);
    EXPECT_EQ(first->cols, render::SurfaceQuads);
    EXPECT_EQ(SurfaceMeshFor(Session(), first), first);
    Run(Button::Descent);
    EXPECT_EQ(SurfaceMeshFor(Session(), first), first);
    bench->SetOptionFields("region", {"-2", "2", "-1", "1"});
    Run(Button::Map);
    const auto second = SurfaceMeshFor(Session(), first);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->region.Ye, 1);
    bench->SetOptionFields("function", {"2"});
    Run(Button::Map);
    EXPECT_NE(SurfaceMeshFor(Session(), second), second);
}

// The page's cache: the mesh kept across runs, the paths taken again after each.
TEST_F(SurfacePictureTest, TheCacheKeepsTheMeshAndFollowsTheTraces) {
    TSurfaceCache cache;
    EXPECT_EQ(cache.SceneOf(Session(), Style()).mesh, nullptr);
    Run(Button::Map);
    Run(Button::Descent);
    const render::TSurfaceMesh* mesh = cache.SceneOf(Session(), Style()).mesh;
    ASSERT_NE(mesh, nullptr);
    const auto pointsOfTheScene = [&] {
        const render::TSurfaceScene& scene = cache.SceneOf(Session(), Style());
        EXPECT_EQ(scene.mesh, mesh);
        return scene.paths.at(0).points;
    };
    const auto before = pointsOfTheScene();
    EXPECT_EQ(before.size(), Session().Descent.TraceCount + 1);
    bench->SetOptionFields("x0", {"0.5"});
    Run(Button::Descent);
    const auto after = pointsOfTheScene();
    ASSERT_EQ(after.size(), Session().Descent.TraceCount + 1);
    EXPECT_EQ(after[0].x, 0.5L);
    EXPECT_EQ(after.back().z, SurfaceSceneOf(Session(), *mesh, Style()).paths[0].points.back().z);
    bench->Compare({0, 4});
    bench->AwaitRun([](const std::string&) { return false; });
    EXPECT_EQ(cache.SceneOf(Session(), Style()).paths.size(), 2u);
}

TEST_F(SurfacePictureTest, ThePictureNeedsAMapAndTakesTheSessionsSizeAndView) {
    const testsupport::TempFolder folder("metopt-surface");
    const std::string file = folder.Path() + "/surface.png";
    EXPECT_FALSE(HasSurface(Session()));
    EXPECT_THROW(WriteSurfacePicture(Session(), Style(), file), runtime::Exception);
    Run(Button::Map);
    bench->SizeSurfacePicture(320, 200);
    bench->TurnSurface(30, 200);
    EXPECT_EQ(Session().SurfaceView.azimuth, 30);
    EXPECT_EQ(Session().SurfaceView.elevation, render::MaxElevation);
    WriteSurfacePicture(Session(), Style(), file);
    const QImage written(QString::fromStdString(file));
    EXPECT_EQ(written.size(), QSize(320, 200));
    // The same picture as the one drawn from the session.
    platform::Canvas canvas(320, 200);
    DrawSurfacePicture(canvas, Session(), *SurfaceMeshFor(Session(), nullptr), Style());
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), canvas.Image());
    EXPECT_THROW(WriteSurfacePicture(Session(), Style(), folder.Path() + "/no/such/folder.png"),
                 runtime::Exception);
}

}  // namespace
}  // namespace metopt::app
