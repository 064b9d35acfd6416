// The samplers and the samples the scan keeps: the values of ValueAtPixel, kept only while they
// belong to the present state, and the same pictures from kept samples as from the function.
#include "render/sampling.h"
#include "support/qt_environment.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cfloat>
#include <optional>
#include <string>
#include <vector>

#include "core/builtinfunctions.h"
#include "core/formula/formula.h"
#include "palette/palette.h"
#include "platform/canvas.h"
#include "render/coordinates.h"
#include "render/fieldtexts.h"
#include "render/fill.h"
#include "render/levellines.h"
#include "render/valuescan.h"
#include "runtime/exceptions.h"
#include "support/expect_error.h"

namespace metopt::render {
namespace {

using testsupport::Region;
using testsupport::SameBits;

long double Sum(long double x, long double y) {
    return x + y;
}

class SamplesTest : public testsupport::RenderStateTest {
  protected:
    void SetUp() override {
        RenderStateTest::SetUp();
        for (int k = 0; k < palette::MapColorCount; ++k)
            SetEntry(k, 10 + 20 * k, 0, 5);
        SetEntry(palette::BackgroundColor, 250, 250, 250);
        SetEntry(palette::GradientLowColor, 200, 0, 0);
        SetEntry(palette::GradientHighColor, 0, 0, 200);
        SetEntry(palette::OutlineColor, 1, 2, 3);
        SetEntry(palette::LevelLineColor, 0, 255, 255);
    }

    void UseArea(int function, int width, int height) {
        plot.CurrentFunc = core::PlottedFunc(function);
        plot.MapCols = width - 2;
        plot.MapRows = height - 2;
    }
};

using testsupport::ErrorOf;

TEST_F(SamplesTest, SamplersGiveValueAtPixelBitForBitAndItsErrors) {
    UseArea(2, 9, 7);
    plot.VisibleRegion = core::TRegion{-1.3L, 1.3L, -0.7L, 0.9L};
    PixelSampler sampler(plot);
    const PixelValues values(plot, samples);
    for (std::int32_t row = 0; row <= plot.MapRows + 1; ++row) {
        const PixelSampler::Row sampled = sampler.RowAt(row);
        const PixelValues::Row valueRow = values.RowAt(row);
        sampler.BeginRow(row);
        for (std::int32_t col = 0; col <= plot.MapCols + 1; ++col) {
            const long double expected = ValueAtPixel(plot, col, row);
            ASSERT_TRUE(SameBits(sampler.ValueIn(sampled, col), expected)) << col << "," << row;
            ASSERT_TRUE(SameBits(sampler.Value(col), expected)) << col << "," << row;
            ASSERT_TRUE(SameBits(values.At(valueRow, col), expected)) << col << "," << row;
        }
    }
    // One row: the y conversion divides by zero. A span of x that overflows comes first, as in
    // ValueAtPixel.
    plot.MapRows = 1;
    const PixelSampler rowFaults(plot);
    EXPECT_EQ(ErrorOf([&] { rowFaults.ValueIn(rowFaults.RowAt(2), 2); }),
              "Floating point division by zero");
    plot.VisibleRegion.Xb = -1e4932L;
    plot.VisibleRegion.Xe = 1e4932L;
    const PixelSampler bothFault(plot);
    const PixelSampler::Row row = bothFault.RowAt(2);
    EXPECT_EQ(ErrorOf([&] { bothFault.ValueIn(row, 2); }), "Floating point overflow");
    EXPECT_EQ(ErrorOf([&] { bothFault.ValueIn(row, 2); }),
              ErrorOf([this] { ValueAtPixel(plot, 2, 2); }));
}

TEST_F(SamplesTest, PureFunctionsAreSampledOnSeveralThreads) {
    for (int i = 0; i < core::FunctionCount; ++i) {
        plot.CurrentFunc = core::PlottedFunc(i);
        EXPECT_TRUE(plot.CurrentFunc.Pure);
        const PixelValues values(plot, samples);
        EXPECT_EQ(values.Threads(5), 5u);
    }
    plot.CurrentFunc = Impure(Sum);
    const PixelValues values(plot, samples);
    EXPECT_EQ(values.Threads(5), 1u);
    EXPECT_GE(SamplingThreads(), 1u);
}

// A function that is not one of the list's own but says it is pure takes the threaded, cached
// path: its samples are kept, and the fill then reads them on several threads.
TEST_F(SamplesTest, AnyPureFunctionIsSampledOnTheRowTeamAndKept) {
    UseArea(2, 21, 17);
    plot.CurrentFunc = {Sum, true, nullptr};
    ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2);
    const long double* kept = KeptSamples(plot, samples);
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(SameBits(kept[0], ValueAtPixel(plot, 1, 1)));
    EXPECT_EQ(PixelValues(plot, samples).Threads(3), 3u);
    plot.CurrentFunc =
        Impure(Sum);  // the same code, but not said to be pure: not the same function
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
}

// A typed function is pure: sampled on the row team and kept, bit for bit the values of the same
// formula in the table; the same text compiled again is another function.
TEST_F(SamplesTest, TypedFunctionIsSampledAndKeptLikeTheTables) {
    UseArea(0, 21, 17);
    ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2);
    const long double* first = KeptSamples(plot, samples);
    const std::vector<long double> item(first, first + 19 * 15);
    plot.CurrentFunc = core::PlottedFunc(core::CompileFormula("x*x+y*y"));
    EXPECT_TRUE(plot.CurrentFunc.Pure);
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
    ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2);
    const long double* typed = KeptSamples(plot, samples);
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed, first);  // the same area's scan samples into the memory it had
    for (std::size_t i = 0; i < item.size(); ++i)
        ASSERT_TRUE(SameBits(typed[i], item[i])) << i;
    EXPECT_EQ(PixelValues(plot, samples).Threads(3), 3u);
    plot.CurrentFunc = core::PlottedFunc(core::CompileFormula("x*x+y*y"));
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
}

TEST_F(SamplesTest, SamplesAreKeptOnlyWhileTheyBelongToThePresentState) {
    UseArea(2, 21, 17);
    ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2);
    const long double* kept = KeptSamples(plot, samples);
    ASSERT_NE(kept, nullptr);
    for (std::int32_t row = 1; row <= plot.MapRows; ++row) {
        for (std::int32_t col = 1; col <= plot.MapCols; ++col)
            ASSERT_TRUE(
                SameBits(kept[(row - 1) * plot.MapCols + col - 1], ValueAtPixel(plot, col, row)));
    }

    plot.ZRangeValid = false;
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
    plot.ZRangeValid = true;
    plot.CurrentFunc = core::PlottedFunc(0);
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
    plot.CurrentFunc = core::PlottedFunc(2);
    ++plot.MapCols;
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
    --plot.MapCols;
    ++plot.MapRows;
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
    --plot.MapRows;
    const long double xb = plot.VisibleRegion.Xb;
    plot.VisibleRegion.Xb = -1.3000000000000001L;
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
    plot.VisibleRegion.Xb = xb;
    EXPECT_EQ(KeptSamples(plot, samples), kept);

    // 0 and -0 compare equal but are not the same region.
    GraphFieldTexts zeroLeft;
    zeroLeft.Xb = "0";
    ScanValueRange(plot, samples, progress, zeroLeft, 2);
    ASSERT_NE(KeptSamples(plot, samples), nullptr);
    plot.VisibleRegion.Xb = -0.0L;
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
}

TEST_F(SamplesTest, AnImpureFunctionKeepsNothing) {
    UseArea(2, 21, 17);
    ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2);
    ASSERT_NE(KeptSamples(plot, samples), nullptr);
    plot.CurrentFunc = Impure(Sum);
    ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2);
    EXPECT_TRUE(plot.ZRangeValid);
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
    EXPECT_EQ(plot.MinCol, 1);
    EXPECT_EQ(plot.MinRow, 15);
    plot.CurrentFunc = core::PlottedFunc(2);
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);  // released when the second scan began
}

TEST_F(SamplesTest, AFailedScanKeepsNothing) {
    UseArea(2, 21, 17);
    ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2);
    ASSERT_NE(KeptSamples(plot, samples), nullptr);
    EXPECT_THROW(ScanValueRange(plot, samples, progress, Region("-1e4932", "1e4932", "-1", "1"), 2),
                 runtime::EOverflow);
    plot.ZRangeValid = true;  // as a caller that did not look at the failure would leave it
    EXPECT_EQ(KeptSamples(plot, samples), nullptr);
}

// The picture of one command, with its status texts and its error.
struct Picture {
    QImage image;
    std::vector<std::string> statuses;
    std::optional<std::string> error;
};

class KeptPicturesTest : public SamplesTest, public ::testing::WithParamInterface<int> {
  protected:
    // The command run on a canvas showing `start`, after a scan of the area of that size.
    template <typename Command>
    Picture Draw(const platform::Canvas& start, Command command) {
        platform::Canvas canvas = start;
        statuses.clear();
        Picture picture;
        try {
            command(canvas);
        } catch (const runtime::Exception& e) {
            picture.error = e.Message();
        }
        picture.image = canvas.Image();
        picture.statuses = statuses;
        return picture;
    }

    // The command on kept samples with 1 and 2 threads, then evaluating with 1 and 3: all four
    // give the same picture, texts and error.
    template <typename Command>
    Picture ExpectSameEveryWay(const platform::Canvas& start, Command command) {
        const Picture kept = Draw(start, [&](platform::Canvas& c) { command(c, 1u); });
        EXPECT_NE(KeptSamples(plot, samples), nullptr);
        const Picture keptThreads = Draw(start, [&](platform::Canvas& c) { command(c, 2u); });
        const ScanState scan = Save();
        ReleaseKeptSamples(samples);
        const Picture evaluated = Draw(start, [&](platform::Canvas& c) { command(c, 1u); });
        const Picture evaluatedThreads = Draw(start, [&](platform::Canvas& c) { command(c, 3u); });
        Restore(scan);
        for (const Picture* other : {&keptThreads, &evaluated, &evaluatedThreads}) {
            EXPECT_TRUE(other->image == kept.image);
            EXPECT_EQ(other->statuses, kept.statuses);
            EXPECT_EQ(other->error, kept.error);
        }
        return kept;
    }

    struct ScanState {
        long double zMin, zMax;
    };
    ScanState Save() const { return {plot.ZMin, plot.ZMax}; }
    void Restore(const ScanState& s) {
        plot.ZMin = s.zMin;
        plot.ZMax = s.zMax;
        ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2);  // the samples kept again
        plot.ZMin = s.zMin;
        plot.ZMax = s.zMax;
    }

    // Stop is pressed as the n-th status text is shown.
    void StopAtStatus(std::size_t n) {
        progress.onStatus = [this, n] {
            if (statuses.size() == n)
                progress.stop = true;
        };
    }

    platform::Canvas ScannedArea(int width, int height) {
        UseArea(GetParam(), width, height);
        ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2);
        return platform::Canvas(width, height, 0);
    }

    platform::Canvas Map(const platform::Canvas& area) {
        platform::Canvas map = area;
        FillSurface(map, Drawing(), FillModeOf(0), 30, 1);
        return map;
    }
};

TEST_P(KeptPicturesTest, FillsAreTheSame) {
    const platform::Canvas area = ScannedArea(64, 50);
    for (const std::int32_t mode : {0, 1, -1}) {
        SCOPED_TRACE(mode);
        ExpectSameEveryWay(area, [&, mode](platform::Canvas& c, unsigned threads) {
            FillSurface(c, Drawing(), FillModeOf(mode), 7, threads);
        });
    }
    const Picture map =
        Draw(area, [&](platform::Canvas& c) { FillSurface(c, Drawing(), FillModeOf(0), 30, 2); });
    EXPECT_EQ(map.statuses.size(), 48u);
    EXPECT_EQ(map.statuses.back(), "Прорисовка карты высот: 100%");
    // The smallest sample is in class 0 and the largest in class 9.
    EXPECT_EQ(platform::FromQRgb(map.image.pixel(plot.MinCol, plot.MinRow)), Palette[0].Color);
}

TEST_P(KeptPicturesTest, FillsFailingAtTheFirstPixelAreTheSame) {
    const platform::Canvas area = ScannedArea(40, 30);
    ExpectSameEveryWay(area, [&](platform::Canvas& c, unsigned threads) {
        FillSurface(c, Drawing(), FillModeOf(1), 1,
                    threads);  // one gradient colour: division by zero
    });
    plot.ZMin = -LDBL_MAX;
    plot.ZMax = LDBL_MAX;
    ExpectSameEveryWay(area, [&](platform::Canvas& c, unsigned threads) {
        FillSurface(c, Drawing(), FillModeOf(0), 30, threads);  // the scale's span overflows
    });
}

TEST_P(KeptPicturesTest, FillsStoppedAfterTheSecondRowAreTheSame) {
    const platform::Canvas area = ScannedArea(40, 30);
    StopAtStatus(2);
    const Picture stopped = ExpectSameEveryWay(area, [&](platform::Canvas& c, unsigned threads) {
        progress.stop = false;
        FillSurface(c, Drawing(), FillModeOf(0), 30, threads);
    });
    EXPECT_EQ(stopped.statuses.size(), 2u);
    const QRgb background = platform::ToQRgb(Palette[palette::BackgroundColor].Color);
    for (int col = 1; col <= plot.MapCols; ++col) {
        EXPECT_EQ(stopped.image.pixel(col, 3), background) << col;
        EXPECT_EQ(stopped.image.pixel(col, plot.MapRows), background) << col;
    }
}

TEST_P(KeptPicturesTest, StoppedFillOnACanvasSmallerThanTheAreaKeepsItsFrame) {
    UseArea(GetParam(), 42, 32);
    ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2);
    const platform::Canvas small(30, 20, 0);
    StopAtStatus(2);
    const Picture stopped = ExpectSameEveryWay(small, [&](platform::Canvas& c, unsigned threads) {
        progress.stop = false;
        FillSurface(c, Drawing(), FillModeOf(0), 30, threads);
    });
    const QRgb outline = platform::ToQRgb(Palette[palette::OutlineColor].Color);
    // The frame's right column: drawn over by the map in rows 1 and 2, the frame below them.
    for (int row = 0; row < 20; ++row) {
        const bool drawn = row == 1 || row == 2;
        EXPECT_EQ(stopped.image.pixel(29, row) == outline, !drawn) << row;
    }
}

TEST_P(KeptPicturesTest, ThresholdLinesAreTheSame) {
    const platform::Canvas area = ScannedArea(64, 50);
    const platform::Canvas map = Map(area);
    for (const bool transparent : {false, true}) {
        LevelLineOptions options;
        options.transparent = transparent;
        ExpectSameEveryWay(map, [&](platform::Canvas& c, unsigned threads) {
            LevelLinesByThreshold(c, Drawing(), options, threads);
        });
    }
}

TEST_P(KeptPicturesTest, ThresholdLinesFailingMidwayAreTheSame) {
    const platform::Canvas area = ScannedArea(64, 50);
    const platform::Canvas map = Map(area);
    // Levels this dense put z * S beyond the 64-bit range wherever z > 0.9.
    LevelLineOptions options;
    options.stepText = "1.0248e19";
    ExpectSameEveryWay(map, [&](platform::Canvas& c, unsigned threads) {
        LevelLinesByThreshold(c, Drawing(), options, threads);
    });
}

TEST_P(KeptPicturesTest, AnalysisLinesAreTheSame) {
    const platform::Canvas map = Map(ScannedArea(64, 50));
    for (const bool transparent : {false, true}) {
        LevelLineOptions options;
        options.transparent = transparent;
        const Picture one =
            Draw(map, [&](platform::Canvas& c) { LevelLinesByAnalysis(c, Drawing(), options, 1); });
        const Picture three =
            Draw(map, [&](platform::Canvas& c) { LevelLinesByAnalysis(c, Drawing(), options, 3); });
        EXPECT_TRUE(one.image == three.image);
        EXPECT_EQ(one.statuses, three.statuses);
        EXPECT_FALSE(one.image == map.Image());
    }

    StopAtStatus(3);
    std::vector<QImage> stopped;
    for (const unsigned threads : {1u, 2u}) {
        progress.stop = false;
        stopped.push_back(Draw(map, [&](platform::Canvas& c) {
                              LevelLinesByAnalysis(c, Drawing(), LevelLineOptions{}, threads);
                          }).image);
        EXPECT_EQ(statuses.size(), 3u);
    }
    EXPECT_TRUE(stopped[0] == stopped[1]);
    // Rows from the fourth down are untouched.
    EXPECT_TRUE(stopped[1].copy(0, 4, 64, 46) == map.Image().copy(0, 4, 64, 46));
}

INSTANTIATE_TEST_SUITE_P(Functions, KeptPicturesTest, ::testing::Values(0, 1, 2),
                         [](const auto& row) { return "f" + std::to_string(row.param); });

}  // namespace
}  // namespace metopt::render
