#include "platform/gifwriter.h"
#include "support/gif_decoder.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <vector>

namespace metopt::platform {
namespace {

using testsupport::Decode;
using testsupport::Decoded;

// A picture of ten colour bands (rings about a corner), as a height map is drawn.
QImage Bands(int w, int h) {
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y,
                             qRgb(25 * ((x * x + 2 * y * y) * 10 / (w * w + 2 * h * h)), 90, 0));
    return picture;
}

// The picture with a small cross at (x, y), as a trace step draws one.
QImage WithCross(QImage picture, int x, int y) {
    for (int d = -2; d <= 2; ++d) {
        picture.setPixel(x + d, y, qRgb(255, 0, 0));
        picture.setPixel(x, y + d, qRgb(255, 0, 0));
    }
    return picture;
}

// A picture whose pixels all differ in colour (for sides up to 256).
QImage Gradient(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x * y) % 256));
    return picture;
}

std::vector<QImage> TraceFrames(int steps) {
    std::vector<QImage> frames{Bands(448, 412)};
    for (int k = 0; k < steps; ++k)
        frames.push_back(WithCross(frames.back(), 40 + 8 * k, 300 - 5 * k));
    return frames;
}

class GifWriterTest : public ::testing::Test {
  protected:
    std::string FileName() const { return dir_.filePath("picture.gif").toStdString(); }
    bool Exists() const { return QFileInfo::exists(QString::fromStdString(FileName())); }

    // Writes the frames to fileName (FileName() when empty), frame k shown for delay + k.
    bool Write(GifWriter& writer, const std::vector<QImage>& frames, int delay = 10,
               std::string fileName = {}) {
        bool written = writer.Open(fileName.empty() ? FileName() : fileName);
        for (std::size_t k = 0; k < frames.size(); ++k)
            written = writer.AddFrame(frames[k], delay + static_cast<int>(k)) && written;
        return writer.Finish() && written;
    }

    QTemporaryDir dir_;
};

// Mean difference of two pictures of one size, per primary and pixel.
double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int shift : {0, 8, 16})
                sum +=
                    std::abs(int(a.pixel(x, y) >> shift & 255) - int(b.pixel(x, y) >> shift & 255));
    return sum / (3.0 * a.width() * a.height());
}

// Every frame as given, after each earlier frame drawn over the one before, with its delay. A
// first frame of more than 256 colours comes back close; the trace's later frames hold only the
// crosses that changed.
TEST_F(GifWriterTest, DecodedFramesGiveBackEveryPictureAndDelay) {
    const struct {
        const char* name;
        std::vector<QImage> frames;
        bool quantized;
        qint64 maxBytes;
    } rows[] = {
        {"one frame", {Bands(30, 20)}, false, 1000},
        {"one pixel", {QImage(1, 1, QImage::Format_RGB32)}, false, 100},
        {"trace of 43 steps", TraceFrames(43), false, 30 * 1024},
        {"unchanged and changed back",
         {Bands(9, 7), Bands(9, 7), WithCross(Bands(9, 7), 4, 3), Bands(9, 7)},
         false,
         1000},
        {"256 colours", {Gradient(16, 16)}, false, 2000},
        {"more than 256 colours", {Gradient(200, 100)}, true, 40000},
        {"exact frame after a mapped one", {Gradient(64, 64), Bands(64, 64)}, true, 8000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        GifWriter writer;
        ASSERT_TRUE(Write(writer, row.frames)) << writer.Error();
        EXPECT_EQ(writer.Quantized(), row.quantized);
        EXPECT_EQ(writer.FrameCount(), static_cast<int>(row.frames.size()));
        EXPECT_LE(QFileInfo(QString::fromStdString(FileName())).size(), row.maxBytes);
        const Decoded decoded = Decode(FileName());
        EXPECT_TRUE(decoded.loopsForever);
        ASSERT_EQ(decoded.pictures.size(), row.frames.size());
        for (std::size_t k = 0; k < row.frames.size(); ++k) {
            EXPECT_EQ(decoded.delays[k], 10 + static_cast<int>(k)) << k;
            if (row.quantized && k == 0) {
                EXPECT_LT(MeanDifference(decoded.pictures[k], row.frames[k]), 12.0);
            } else {
                EXPECT_EQ(decoded.pictures[k], row.frames[k]) << k;
            }
        }
    }
}

// Each fault is refused with a text that names it; the animation is dropped, no file left.
TEST_F(GifWriterTest, FaultsAreReportedAndLeaveNoFile) {
    const struct {
        const char* name;
        std::vector<QImage> frames;
        int delay;
        const char* fileName;
        const char* mentioned;
    } rows[] = {
        {"missing folder", {Bands(8, 8)}, 5, "/no/such/folder/a.gif", "/no/such/folder/a.gif"},
        {"size mismatch", {Bands(8, 8), Bands(9, 8)}, 5, "", "9x8"},
        {"empty frame", {QImage()}, 5, "", "empty"},
        {"zero-size frame", {QImage(0, 4, QImage::Format_RGB32)}, 5, "", "empty"},
        {"delay below 0", {Bands(8, 8)}, -1, "", "delay -1"},
        {"delay above 65535", {Bands(8, 8), Bands(8, 8)}, 65535, "", "delay 65536"},
        {"no frames", {}, 5, "", "no frames"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        GifWriter writer;
        EXPECT_FALSE(Write(writer, row.frames, row.delay, row.fileName));
        EXPECT_NE(writer.Error().find(row.mentioned), std::string::npos) << writer.Error();
        EXPECT_FALSE(writer.IsWriting());
        EXPECT_FALSE(Exists());
    }
}

// Frames before opening or after finishing are refused; an unfinished animation leaves no file,
// a finished one stays as written.
TEST_F(GifWriterTest, OnlyAFinishedAnimationLeavesAFile) {
    GifWriter writer;
    EXPECT_FALSE(writer.AddFrame(Bands(8, 8), 5));
    EXPECT_NE(writer.Error().find("open"), std::string::npos);
    {
        GifWriter unfinished;
        ASSERT_TRUE(unfinished.Open(FileName()) && unfinished.AddFrame(Bands(8, 8), 5));
    }
    EXPECT_FALSE(Exists());
    ASSERT_TRUE(Write(writer, {Bands(8, 8)}));
    EXPECT_FALSE(writer.AddFrame(Bands(8, 8), 5));
    EXPECT_NE(writer.Error().find("finished"), std::string::npos);
    EXPECT_EQ(Decode(FileName()).pictures.size(), 1u);
}

}  // namespace
}  // namespace metopt::platform
