// The surface: the projection of the box, the views a drag and the wheel give, the mesh with its
// holes, the round numbers of the axes, and the order the quads are drawn in.
#include "support/qt_environment.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "core/formula/formula.h"
#include "palette/palette.h"
#include "render/sampling.h"
#include "render/surfacedraw.h"
#include "render/surfacemesh.h"
#include "render/surfaceticks.h"
#include "render/surfaceview.h"

namespace metopt::render {
namespace {

// A case's name as a test name: its letters and digits, '_' for the rest.
template <class Case>
std::string NameOf(const ::testing::TestParamInfo<Case>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

constexpr int Side = 400;
// The box's unit on a 400 × 400 picture at zoom 1 (0.27 of the smaller side), and its centre.
constexpr double Unit = 108;
constexpr double Centre = 200;
const double Half3 = std::sqrt(3.0) / 2;

struct CornerCase {
    const char* name;
    double azimuth, elevation;
    double u, v, w;
    double x, y, depth;  // by hand: across = u·(−sin a) + v·cos a, up and depth likewise
};

void PrintTo(const CornerCase& c, std::ostream* os) {
    *os << c.name;
}

class CornerTest : public ::testing::TestWithParam<CornerCase> {};

TEST_P(CornerTest, LandsWhereTheHandComputationPutsIt) {
    const CornerCase& c = GetParam();
    const SurfaceProjection projection({c.azimuth, c.elevation, 1}, Side, Side);
    const TScreenPoint p = projection.Project(c.u, c.v, c.w);
    EXPECT_NEAR(p.x, c.x, 1e-9);
    EXPECT_NEAR(p.y, c.y, 1e-9);
    EXPECT_NEAR(p.depth, c.depth, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Surface, CornerTest,
    ::testing::Values(
        // From above with the azimuth −90°: x to the right, y up, as on the map.
        CornerCase{"top view, near right corner", -90, 90, 1, 1, 0.75, Centre + Unit, Centre - Unit,
                   0.75},
        CornerCase{"top view, far left corner", -90, 90, -1, -1, -0.75, Centre - Unit,
                   Centre + Unit, -0.75},
        // From the side along x: y to the right, z up, x towards the viewer.
        CornerCase{"side view, lid corner", 0, 0, 1, -1, 0.75, Centre - Unit, Centre - 0.75 * Unit,
                   1},
        // The first view: right = (sin 60°, cos 60°, 0), up = (−sin 30° cos 60°, sin 30° sin 60°,
        // cos 30°), towards the viewer = (cos 30° cos 60°, −cos 30° sin 60°, sin 30°).
        CornerCase{"first view, nearest floor corner", -60, 30, 1, -1, -0.75,
                   Centre + Unit*(Half3 - 0.5), Centre - Unit*(-0.25 - Half3 / 2 - 0.75 * Half3),
                   Half3 / 2 + 0.75 - 0.75 * 0.5},
        CornerCase{"first view, farthest lid corner", -60, 30, -1, 1, 0.75,
                   Centre + Unit*(0.5 - Half3), Centre - Unit*(0.25 + Half3 / 2 + 0.75 * Half3),
                   -Half3 / 2 - 0.75 + 0.75 * 0.5}),
    NameOf<CornerCase>);

struct ViewCase {
    const char* name;
    TSurfaceView (*change)(const TSurfaceView&);
    TSurfaceView expected;
};

void PrintTo(const ViewCase& c, std::ostream* os) {
    *os << c.name;
}

class ViewChangeTest : public ::testing::TestWithParam<ViewCase> {};

TEST_P(ViewChangeTest, KeepsTheViewWithinItsBounds) {
    const TSurfaceView view = GetParam().change(TSurfaceView{});
    EXPECT_DOUBLE_EQ(view.azimuth, GetParam().expected.azimuth);
    EXPECT_DOUBLE_EQ(view.elevation, GetParam().expected.elevation);
    EXPECT_DOUBLE_EQ(view.zoom, GetParam().expected.zoom);
}

INSTANTIATE_TEST_SUITE_P(
    Surface, ViewChangeTest,
    ::testing::Values(ViewCase{"drag right turns the front right",
                               [](const TSurfaceView& v) { return RotatedView(v, 20, 0); },
                               {-70, 30, 1}},
                      ViewCase{"drag down looks from higher",
                               [](const TSurfaceView& v) { return RotatedView(v, 0, 20); },
                               {-60, 40, 1}},
                      ViewCase{"elevation held at 90",
                               [](const TSurfaceView& v) { return RotatedView(v, 0, 500); },
                               {-60, 90, 1}},
                      ViewCase{"elevation held at 5",
                               [](const TSurfaceView& v) { return RotatedView(v, 0, -500); },
                               {-60, 5, 1}},
                      ViewCase{"azimuth wraps",
                               [](const TSurfaceView& v) { return ViewAt(v, 200, 30); },
                               {-160, 30, 1}},
                      ViewCase{"azimuth 180 is -180",
                               [](const TSurfaceView& v) { return ViewAt(v, 180, 30); },
                               {-180, 30, 1}},
                      ViewCase{"NaN keeps the view",
                               [](const TSurfaceView& v) { return ViewAt(v, NAN, NAN); },
                               {-60, 30, 1}},
                      ViewCase{"zoom held at the largest",
                               [](const TSurfaceView& v) { return ZoomedView(v, 1000); },
                               {-60, 30, MaxZoom}},
                      ViewCase{"zoom held at the smallest",
                               [](const TSurfaceView& v) { return ZoomedView(v, -1000); },
                               {-60, 30, MinZoom}}),
    NameOf<ViewCase>);

struct TickCase {
    double lo, hi;
    int wanted;
    std::vector<std::string> texts;
};

void PrintTo(const TickCase& c, std::ostream* os) {
    *os << c.lo << ".." << c.hi << " about " << c.wanted;
}

class TickTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(TickTest, RoundNumbersWithinTheRange) {
    const TickCase& c = GetParam();
    const std::vector<double> ticks = RoundTicks(c.lo, c.hi, c.wanted);
    std::vector<std::string> texts;
    for (const double t : ticks)
        texts.push_back(TickText(t, ticks.size() >= 2 ? ticks[1] - ticks[0] : 1));
    EXPECT_EQ(texts, c.texts);
}

INSTANTIATE_TEST_SUITE_P(
    Surface, TickTest,
    ::testing::Values(TickCase{-1.2, 1.2, 5, {"-1.0", "-0.5", "0.0", "0.5", "1.0"}},
                      TickCase{0.3, 0.95, 3, {"0.4", "0.6", "0.8"}},
                      TickCase{-5, 5, 5, {"-4", "-2", "0", "2", "4"}},
                      TickCase{0, 2500, 3, {"0", "1000", "2000"}},
                      TickCase{1e20, 3e20, 2, {"1e+20", "2e+20", "3e+20"}},
                      TickCase{2, 2, 4, {"2"}}, TickCase{0, NAN, 4, {}},
                      TickCase{0, INFINITY, 4, {}}));

long double StepAlongY(long double, long double y) {
    return y < 0 ? 1 : 0;
}
long double StepAlongX(long double x, long double) {
    return x < 0 ? 1 : 0;
}

// A palette whose ten map colours differ.
palette::TPalette TenColours() {
    palette::TPalette Palette{};
    for (int k = 0; k < palette::MapColorCount; ++k)
        Palette[static_cast<std::size_t>(k)].Color = palette::PackColor(25 * k, 250 - 25 * k, 90);
    return Palette;
}

struct OrderCase {
    const char* name;
    core::TObjectiveFunc func;
    double azimuth;
    // A far cell of the floor, and the cell of the step in front of it that covers its centre.
    int farI, farJ, coverI, coverJ;
};

void PrintTo(const OrderCase& c, std::ostream* os) {
    *os << c.name;
}

class DrawOrderTest : public ::testing::TestWithParam<OrderCase> {};

// A two-level step over 3 × 3 quads, looked at from low over the high side: the step's quads,
// nearer, cover the low floor behind them, wherever the quads are drawn from.
TEST_P(DrawOrderTest, ANearerQuadCoversAFartherOne) {
    const OrderCase& c = GetParam();
    const TSurfaceMesh mesh = MakeSurfaceMesh({c.func, true, nullptr}, {-1, 1, -1, 1}, 3);
    const palette::TPalette Palette = TenColours();
    TSurfaceScene scene;
    scene.mesh = &mesh;
    scene.zLow = 0;
    scene.zHigh = 1;
    scene.Palette = &Palette;
    const TSurfaceView view{c.azimuth, 10, 1};
    platform::Canvas canvas(Side, Side);
    DrawSurface(canvas, scene, view);

    const SurfaceProjection projection(view, Side, Side);
    const auto cellCentre = [&](int i, int j, double w) {
        const TScreenPoint p = projection.Project((2 * i + 1) / 3.0 - 1, (2 * j + 1) / 3.0 - 1, w);
        return canvas.GetPixel(static_cast<int>(std::floor(p.x)),
                               static_cast<int>(std::floor(p.y)));
    };
    const std::int32_t coverColour = cellCentre(c.coverI, c.coverJ, 0);
    const std::int32_t behind = cellCentre(c.farI, c.farJ, -BoxHalfHeight);
    EXPECT_EQ(behind, coverColour);
    // The step's colour is the middle class's, shaded; the floor's would be class 0's.
    const auto red = [](std::int32_t colour) { return colour & 0xFF; };
    EXPECT_GT(red(behind), red(Palette[0].Color));
}

INSTANTIATE_TEST_SUITE_P(
    Surface, DrawOrderTest,
    ::testing::Values(OrderCase{"step along y seen from -y", StepAlongY, -90, 1, 2, 1, 1},
                      OrderCase{"step along x seen from -x", StepAlongX, 180, 2, 1, 1, 1}),
    NameOf<OrderCase>);

// Where ln(x·y) is not defined (x·y ≤ 0), the mesh has holes, and the picture keeps its
// background there.
TEST(SurfaceMeshTest, PointsWhereTheFunctionIsNotDefinedAreHoles) {
    const core::TPlottedFunc func = core::PlottedFunc(core::CompileFormula("ln(x*y)"));
    const TSurfaceMesh mesh = MakeSurfaceMesh(func, {-1, 1, -1, 1}, 4);
    ASSERT_EQ(mesh.heights.size(), 25u);
    for (std::int32_t j = 0; j <= 4; ++j) {
        for (std::int32_t i = 0; i <= 4; ++i) {
            const bool defined = mesh.X(i) * mesh.Y(j) > 0;
            EXPECT_EQ(!IsUndefined(mesh.Height(i, j)), defined) << i << "," << j;
        }
    }
    const TValueRange range = MeshRange(mesh);
    EXPECT_LE(range.lo, range.hi);
    EXPECT_TRUE(MeshIsFor(mesh, func, {-1, 1, -1, 1}));
    EXPECT_FALSE(MeshIsFor(mesh, func, {-1, 1, -1, 2}));
    EXPECT_FALSE(MeshIsFor(mesh, core::PlottedFunc(0), {-1, 1, -1, 1}));

    // From above, the quarter x < 0 < y shows the floor pane between its grid lines, never a quad's
    // colour.
    const palette::TPalette Palette = TenColours();
    TSurfaceScene scene{&mesh, range.lo, range.hi, &Palette, FillMode::Discrete, 0, {}, {}};
    platform::Canvas canvas(Side, Side);
    DrawSurface(canvas, scene, {-90, 90, 1});
    EXPECT_EQ(canvas.GetPixel(static_cast<int>(Centre - 0.6 * Unit),
                              static_cast<int>(Centre - 0.4 * Unit)),
              SurfacePaneColor);
}

TEST(SurfaceMeshTest, NoMeshOverARegionThatCannotCarryOne) {
    for (const core::TRegion& region :
         {core::TRegion{1, 1, 0, 1}, core::TRegion{0, 1, 2, 1}, core::TRegion{0, INFINITY, 0, 1},
          core::TRegion{-1e4932L, 1e4932L, 0, 1}}) {
        const TSurfaceMesh mesh = MakeSurfaceMesh(core::PlottedFunc(0), region);
        EXPECT_EQ(mesh.cols, 0);
        EXPECT_TRUE(mesh.heights.empty());
    }
}

}  // namespace
}  // namespace metopt::render
