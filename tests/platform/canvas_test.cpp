#include "platform/canvas.h"
#include "support/qt_environment.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <climits>
#include <cmath>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace metopt::platform {
namespace {

constexpr std::int32_t Blank = 0x000000;
constexpr std::int32_t Pen = 0x0000FF;
constexpr std::int32_t Brush = 0x00FF00;

// The canvas as rows of characters: '.' blank, 'o' pen, '#' brush, '?' anything else.
std::vector<std::string> Picture(const Canvas& canvas) {
    const std::map<std::int32_t, char> symbols{{Blank, '.'}, {Pen, 'o'}, {Brush, '#'}};
    std::vector<std::string> rows;
    for (int y = 0; y < canvas.Height(); ++y) {
        std::string row;
        for (int x = 0; x < canvas.Width(); ++x) {
            const auto found = symbols.find(canvas.GetPixel(x, y));
            row += found == symbols.end() ? '?' : found->second;
        }
        rows.push_back(row);
    }
    return rows;
}

Canvas PenAndBrushCanvas(int width, int height) {
    Canvas canvas(width, height, Blank);
    canvas.SetPenColor(Pen);
    canvas.SetBrushColor(Brush);
    return canvas;
}

TEST(CanvasColour, PackedValueRoundTripsThroughThePixel) {
    Canvas canvas(3, 2, Blank);
    struct Case {
        std::int32_t written;
        std::int32_t read;
    };
    const Case cases[] = {
        {0x123456, 0x123456}, {0xFFFFFF, 0xFFFFFF},
        {0x000001, 0x000001}, {0x7F123456, 0x123456},  // bits above 24 are dropped
        {-1, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        canvas.SetPixel(1, 1, c.written);
        EXPECT_EQ(canvas.GetPixel(1, 1), c.read) << std::hex << c.written;
    }
}

TEST(CanvasColour, RedIsTheLowByte) {
    EXPECT_EQ(ToQRgb(0x0000FF), qRgb(255, 0, 0));
    EXPECT_EQ(ToQRgb(0x00FF00), qRgb(0, 255, 0));
    EXPECT_EQ(ToQRgb(0xFF0000), qRgb(0, 0, 255));
    EXPECT_EQ(FromQRgb(qRgb(1, 2, 3)), 1 + 2 * 256 + 3 * 65536);
}

TEST(CanvasSurface, ConstructionResizeAndFill) {
    Canvas canvas(4, 3, 0x010203);
    EXPECT_EQ(canvas.Width(), 4);
    EXPECT_EQ(canvas.Height(), 3);
    EXPECT_EQ(canvas.Image().format(), QImage::Format_RGB32);
    EXPECT_EQ(canvas.GetPixel(3, 2), 0x010203);
    canvas.Resize(6, 5, 0x0A0B0C);
    EXPECT_EQ(canvas.Width(), 6);
    EXPECT_EQ(canvas.Height(), 5);
    EXPECT_EQ(canvas.GetPixel(5, 4), 0x0A0B0C);
    canvas.Fill(0x112233);
    EXPECT_EQ(canvas.GetPixel(0, 0), 0x112233);
    canvas.Resize(-3, 2, 0);
    EXPECT_EQ(canvas.Width(), 0);
    canvas.LineTo(5, 5);  // nothing to draw on, nothing happens
    canvas.Rectangle(0, 0, 3, 3);
    EXPECT_EQ(canvas.GetPixel(0, 0), Canvas::InvalidColor);
}

TEST(CanvasPixel, OutsideIsIgnoredAndReadsInvalid) {
    Canvas canvas(3, 3, Blank);
    const int outside[][2] = {{-1, 0}, {0, -1}, {3, 0}, {0, 3}, {INT_MIN, INT_MAX}};
    for (const auto& p : outside) {
        canvas.SetPixel(p[0], p[1], Pen);
        EXPECT_EQ(canvas.GetPixel(p[0], p[1]), Canvas::InvalidColor);
    }
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{"...", "...", "..."}));
}

struct ShapeCase {
    const char* name;
    int width, height;
    int x1, y1, x2, y2;
    std::vector<std::string> expected;
};

void PrintTo(const ShapeCase& c, std::ostream* os) {
    *os << c.name;
}

class CanvasRectangle : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(CanvasRectangle, OutlineWithPenInsideWithBrushRightAndBottomExcluded) {
    const ShapeCase& c = GetParam();
    Canvas canvas = PenAndBrushCanvas(c.width, c.height);
    canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(Picture(canvas), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CanvasRectangle,
    ::testing::Values(
        ShapeCase{"Plain",
                  8,
                  6,
                  2,
                  1,
                  7,
                  5,
                  {"........", "..ooooo.", "..o###o.", "..o###o.", "..ooooo.", "........"}},
        ShapeCase{"OneByOne", 3, 3, 1, 1, 2, 2, {"...", ".o.", "..."}},
        ShapeCase{"TwoByTwoHasNoInside", 4, 4, 1, 1, 3, 3, {"....", ".oo.", ".oo.", "...."}},
        ShapeCase{"EmptyWidth", 4, 3, 2, 0, 2, 3, {"....", "....", "...."}},
        ShapeCase{"EmptyHeight", 4, 3, 0, 2, 4, 2, {"....", "....", "...."}},
        ShapeCase{"Reversed", 4, 3, 3, 2, 1, 0, {"....", "....", "...."}},
        ShapeCase{"ClippedTopLeft", 4, 4, -2, -2, 3, 3, {"##o.", "##o.", "ooo.", "...."}},
        ShapeCase{"Huge", 3, 3, INT_MIN, INT_MIN, INT_MAX, INT_MAX, {"###", "###", "###"}}),
    [](const auto& row) { return std::string(row.param.name); });

struct PolygonCase {
    const char* name;
    std::vector<double> xs, ys;
    std::vector<std::string> expected;
};

void PrintTo(const PolygonCase& c, std::ostream* os) {
    *os << c.name;
}

class CanvasPolygon : public ::testing::TestWithParam<PolygonCase> {};

// The pixels whose centres lie inside, in the brush; no outline.
TEST_P(CanvasPolygon, FillsThePixelsWhoseCentresLieInside) {
    const PolygonCase& c = GetParam();
    Canvas canvas = PenAndBrushCanvas(6, 5);
    canvas.FillPolygon(c.xs.data(), c.ys.data(), static_cast<int>(c.xs.size()));
    EXPECT_EQ(Picture(canvas), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CanvasPolygon,
    ::testing::Values(
        PolygonCase{"Square",
                    {1, 4, 4, 1},
                    {1, 1, 4, 4},
                    {"......", ".###..", ".###..", ".###..", "......"}},
        PolygonCase{"Fractions",
                    {0.6, 3.4, 3.4, 0.6},
                    {0.6, 0.6, 2.4, 2.4},
                    {"......", ".##...", "......", "......", "......"}},
        PolygonCase{
            "Triangle", {0, 6, 0}, {0, 0, 6}, {"#####.", "####..", "###...", "##....", "#....."}},
        PolygonCase{"ClippedAtEveryEdge",
                    {-9, 20, 20, -9},
                    {-9, -9, 20, 20},
                    {"######", "######", "######", "######", "######"}},
        PolygonCase{"ConcaveNotch",
                    {0, 6, 6, 3, 0},
                    {0, 0, 5, 2, 5},
                    {"######", "######", "##.###", "#...##", ".....#"}},
        PolygonCase{"NotFinite",
                    {0, NAN, 6},
                    {0, 0, 6},
                    {"......", "......", "......", "......", "......"}},
        PolygonCase{
            "TwoCorners", {0, 6}, {0, 5}, {"......", "......", "......", "......", "......"}}),
    [](const auto& row) { return std::string(row.param.name); });

struct LineCase {
    const char* name;
    int width, height;
    int x0, y0, x1, y1;
    std::vector<std::string> expected;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class CanvasLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(CanvasLine, EndPixelNotSet) {
    const LineCase& c = GetParam();
    Canvas canvas = PenAndBrushCanvas(c.width, c.height);
    canvas.MoveTo(c.x0, c.y0);
    canvas.LineTo(c.x1, c.y1);
    EXPECT_EQ(Picture(canvas), c.expected);
}

// The minor coordinate at step i is i * minor / major rounded to nearest, halves towards the start.
INSTANTIATE_TEST_SUITE_P(
    Cases, CanvasLine,
    ::testing::Values(
        LineCase{"Horizontal", 6, 2, 0, 0, 4, 0, {"oooo..", "......"}},
        LineCase{"HorizontalLeftwards", 6, 2, 4, 1, 0, 1, {"......", ".oooo."}},
        LineCase{"Vertical", 2, 4, 1, 0, 1, 3, {".o", ".o", ".o", ".."}},
        LineCase{"VerticalUpwards", 2, 4, 0, 3, 0, 0, {"..", "o.", "o.", "o."}},
        LineCase{"Diagonal", 4, 4, 0, 0, 3, 3, {"o...", ".o..", "..o.", "...."}},
        LineCase{
            "Steep", 4, 7, 1, 0, 3, 6, {".o..", ".o..", "..o.", "..o.", "..o.", "...o", "...."}},
        LineCase{"SteepUpwardsLeft",
                 4,
                 7,
                 3,
                 6,
                 1,
                 0,
                 {"....", ".o..", "..o.", "..o.", "..o.", "...o", "...o"}},
        LineCase{"ShallowNegativeSlope", 5, 3, 4, 0, 0, 2, {"...oo", ".oo..", "....."}},
        LineCase{"SinglePointDrawsNothing", 3, 3, 1, 1, 1, 1, {"...", "...", "..."}},
        LineCase{"ClippedLongHorizontal", 4, 3, -1000000, 1, 1000000, 1, {"....", "oooo", "...."}},
        LineCase{"ClippedExtremeDiagonal",
                 3,
                 3,
                 INT_MIN,
                 INT_MIN,
                 INT_MAX,
                 INT_MAX,
                 {"o..", ".o.", "..o"}},
        LineCase{"EntirelyOutside", 3, 3, -5, -1, 10, -1, {"...", "...", "..."}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CanvasLineBothWays, SetsBothEnds) {
    Canvas canvas = PenAndBrushCanvas(6, 4);
    canvas.MoveTo(0, 0);
    canvas.LineTo(5, 3);
    canvas.LineTo(0, 0);
    EXPECT_EQ(canvas.GetPixel(0, 0), Pen);
    EXPECT_EQ(canvas.GetPixel(5, 3), Pen);
}

TEST(CanvasLineTo, MovesTheCurrentPosition) {
    Canvas canvas = PenAndBrushCanvas(5, 1);
    canvas.MoveTo(0, 0);
    canvas.LineTo(2, 0);
    canvas.LineTo(4, 0);  // continues from (2, 0)
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{"oooo."}));
}

TEST(CanvasEllipse, NineByNineBoxGivesACircleNineAcross) {
    Canvas canvas = PenAndBrushCanvas(11, 11);
    canvas.Ellipse(1, 1, 10, 10);
    const std::vector<std::string> expected{
        "...........",  //
        "....ooo....",  //
        "..oo###oo..",  //
        "..o#####o..",  //
        ".o#######o.",  //
        ".o#######o.",  //
        ".o#######o.",  //
        "..o#####o..",  //
        "..oo###oo..",  //
        "....ooo....",  //
        "...........",
    };
    EXPECT_EQ(Picture(canvas), expected);
}

TEST(CanvasEllipse, ClippedAtTheCornerKeepsTheVisibleQuarter) {
    Canvas canvas = PenAndBrushCanvas(5, 5);
    canvas.Ellipse(-4, -4, 5, 5);
    EXPECT_EQ(Picture(canvas),
              (std::vector<std::string>{"####o", "####o", "###o.", "##oo.", "oo..."}));
}

class CanvasEllipseShape : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(CanvasEllipseShape, SymmetricAndTouchingEverySideOfItsBox) {
    const auto [w, h] = GetParam();
    Canvas canvas = PenAndBrushCanvas(w + 4, h + 4);
    canvas.Ellipse(2, 2, 2 + w, 2 + h);
    const std::vector<std::string> picture = Picture(canvas);
    const auto line = [&picture](int y) -> const std::string& {
        return picture[static_cast<std::size_t>(y)];
    };
    const auto at = [&line](int x, int y) { return line(y)[static_cast<std::size_t>(x)]; };
    for (int y = 0; y < h + 4; ++y) {
        for (int x = 0; x < w + 4; ++x) {
            const char here = at(x, y);
            EXPECT_EQ(here, at(w + 3 - x, y)) << "left/right at " << x << "," << y;
            EXPECT_EQ(here, at(x, h + 3 - y)) << "top/bottom at " << x << "," << y;
            const bool inBox = x >= 2 && x < 2 + w && y >= 2 && y < 2 + h;
            if (!inBox) {
                EXPECT_EQ(here, '.') << "outside the box at " << x << "," << y;
            }
        }
    }
    EXPECT_NE(line(2).find('o'), std::string::npos);          // top row
    EXPECT_NE(line(h + 1).find('o'), std::string::npos);      // bottom row
    EXPECT_EQ(at(2, 2 + h / 2), 'o');                         // left column
    EXPECT_EQ(at(w + 1, 2 + h / 2), 'o');                     // right column
    EXPECT_EQ(line(2 + h / 2).find('?'), std::string::npos);  // only pen and brush
}

INSTANTIATE_TEST_SUITE_P(Boxes, CanvasEllipseShape,
                         ::testing::Values(std::pair{1, 1}, std::pair{2, 2}, std::pair{9, 9},
                                           std::pair{10, 6}, std::pair{7, 12}, std::pair{31, 17}));

TEST(CanvasEllipse, EmptyBoxDrawsNothing) {
    Canvas canvas = PenAndBrushCanvas(4, 4);
    canvas.Ellipse(2, 0, 2, 4);
    canvas.Ellipse(0, 3, 4, 1);
    canvas.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // far too large: refused, no hang
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{"....", "....", "....", "...."}));
}

TEST(CanvasCopyRect, CopiesOnlyTheRectanglePixelForPixel) {
    Canvas source(5, 4, Blank);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            source.SetPixel(x, y, 0x10000 * y + x + 1);
        }
    }
    Canvas target(5, 4, 0xABCDEF);
    target.CopyRect(source, 1, 2, 3, 1);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const bool inside = y == 2 && x >= 1 && x < 4;
            EXPECT_EQ(target.GetPixel(x, y), inside ? source.GetPixel(x, y) : 0xABCDEF)
                << x << "," << y;
        }
    }
}

TEST(CanvasCopyRect, ClippedToBothSurfaces) {
    Canvas source(3, 2, Pen);
    Canvas target(4, 4, Blank);
    target.CopyRect(source, -5, -5, 100, 100);
    EXPECT_EQ(Picture(target), (std::vector<std::string>{"ooo.", "ooo.", "....", "...."}));
    target.CopyRect(source, INT_MAX - 1, 0, INT_MAX, 5);  // no overflow, nothing in range
    target.CopyRect(target, 0, 0, 4, 4);                  // onto itself: unchanged
    EXPECT_EQ(Picture(target), (std::vector<std::string>{"ooo.", "ooo.", "....", "...."}));
}

TEST(CanvasFont, DefaultIsLiberationSansElevenPixelsWithoutAntialiasing) {
    const QFont font = Canvas::DefaultFont();
    EXPECT_EQ(font.family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_EQ(font.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));  // installed
    Canvas canvas(1, 1);
    EXPECT_EQ(canvas.Font(), font);
}

TEST(CanvasText, OpaqueBoxOfBrushColourWithTextInFontColourOnly) {
    constexpr std::int32_t Ink = 0x0000FF;
    constexpr std::int32_t Paper = 0x00FF00;
    Canvas canvas(60, 30, Blank);
    canvas.SetFontColor(Ink);
    canvas.SetBrushColor(Paper);
    canvas.SetPenColor(0x123456);
    canvas.TextOut(5, 7, "-0.00");
    const int w = canvas.TextWidth("-0.00");
    const int h = canvas.TextHeight("-0.00");
    ASSERT_EQ(h, QFontMetrics(Canvas::DefaultFont()).height());
    ASSERT_GT(w, canvas.TextWidth("0.00"));
    int ink = 0;
    int paper = 0;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const std::int32_t pixel = canvas.GetPixel(x, y);
            if (x >= 5 && x < 5 + w && y >= 7 && y < 7 + h) {
                ASSERT_TRUE(pixel == Ink || pixel == Paper) << x << "," << y;
                (pixel == Ink ? ink : paper) += 1;
            } else {
                ASSERT_EQ(pixel, Blank) << x << "," << y;
            }
        }
    }
    EXPECT_GT(ink, 10);
    EXPECT_GT(paper, ink);
    // The box's first column is before the glyphs start and the top row is above them.
    EXPECT_EQ(canvas.GetPixel(5, 7), Paper);
}

}  // namespace
}  // namespace metopt::platform
