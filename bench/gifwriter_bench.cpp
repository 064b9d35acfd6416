// The cost of writing an animated trace: a 448x412 ten-colour map, then 43 frames each with one
// more small cross on it, as the drawing area shows a descent step by step; and the window's own
// animation of the default run (map, level lines, grid, descent of function 1: 43 points),
// replayed and written. The file's size is reported with the time.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <array>
#include <cstddef>
#include <string>

#include "app/exports.h"
#include "platform/gifwriter.h"
#include "ui/mainform.h"

namespace {

using metopt::platform::GifWriter;

constexpr int Width = 448;
constexpr int Height = 412;
constexpr int Steps = 43;
constexpr int Delay = 10;  // hundredths of a second
constexpr QRgb TraceColour = 0xFF000000u;

// Nine bands of z = x^2 + 2 y^2 about the middle of the area, in the colours of a height map.
QImage Map() {
    static constexpr std::array<QRgb, 9> Bands = {0xFF0000A0u, 0xFF0040FFu, 0xFF00A0FFu,
                                                  0xFF00FFA0u, 0xFF40FF00u, 0xFFA0FF00u,
                                                  0xFFFFFF00u, 0xFFFFA000u, 0xFFFF4000u};
    QImage picture(Width, Height, QImage::Format_RGB32);
    for (int y = 0; y < Height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            const int dx = x - Width / 2;
            const int dy = y - Height / 2;
            row[x] = Bands[static_cast<std::size_t>((dx * dx + 2 * dy * dy) / 5000 % 9)];
        }
    }
    return picture;
}

// A cross five pixels across at (x, y).
void DrawCross(QImage& picture, int x, int y) {
    for (int d = -2; d <= 2; ++d) {
        picture.setPixel(x + d, y, TraceColour);
        picture.setPixel(x, y + d, TraceColour);
    }
}

void WriteTrace(benchmark::State& state) {
    const QImage map = Map();
    QTemporaryDir dir;
    const std::string fileName = dir.filePath("trace.gif").toStdString();
    for (auto _ : state) {
        QImage picture = map.copy();
        GifWriter writer;
        bool written = writer.Open(fileName) && writer.AddFrame(picture, Delay);
        for (int k = 0; k < Steps && written; ++k) {
            DrawCross(picture, 30 + 9 * k, 360 - 7 * k);
            written = writer.AddFrame(picture, Delay);
        }
        if (!written || !writer.Finish()) {
            state.SkipWithError(writer.Error().c_str());
            break;
        }
    }
    state.counters["bytes"] =
        static_cast<double>(QFileInfo(QString::fromStdString(fileName)).size());
}

void WriteDefaultAnimation(benchmark::State& state) {
    metopt::ui::TfmMnForm window(nullptr, METOPT_PALETTE_FILE);
    using Button = metopt::app::WindowCommands::Button;
    for (const Button button : {Button::Map, Button::LevelLines, Button::Grid, Button::Descent})
        window.Press(button);
    while (window.Animating())
        window.TimerTick();
    QTemporaryDir dir;
    const std::string fileName = dir.filePath("descent.gif").toStdString();
    for (auto _ : state)
        metopt::app::WriteAnimation(window.Session(), window.FrameTime(), fileName);
    state.counters["bytes"] =
        static_cast<double>(QFileInfo(QString::fromStdString(fileName)).size());
}

BENCHMARK(WriteTrace)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteDefaultAnimation)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
