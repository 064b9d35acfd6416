#include "render/pixelrows.h"

namespace metopt::render {

namespace {

// Rows first..last, columns 1..cols, back to `before`'s colours.
void PutBack(const PixelRows& pixels, std::int32_t first, std::int32_t last, std::int32_t cols,
             const ColorBefore& before) {
    for (std::int32_t row = first; row <= last; ++row) {
        for (std::int32_t col = 1; col <= cols; ++col)
            pixels.Set(col, row, before(col, row));
    }
}

}  // namespace

PixelRows::PixelRows(platform::Canvas& canvas)
    : bits_(canvas.Image().bits()),
      bytesPerLine_(canvas.Image().bytesPerLine()),
      width_(canvas.Width()),
      height_(canvas.Height()) {}

std::int32_t RunDrawingPass(std::int32_t rows, unsigned threads, const RowPass& pass,
                            const PixelRows& pixels, std::int32_t cols, const ColorBefore& before) {
    std::int32_t lastVisited = 0;
    RowPass visiting = pass;
    visiting.afterRow = [&](std::int32_t row, bool failed) {
        lastVisited = row;
        if (pass.afterRow)
            pass.afterRow(row, failed);
    };
    std::int32_t stoppedAt = 0;
    try {
        stoppedAt = RunRowPass(rows, threads, visiting);
    } catch (...) {
        if (threads > 1)
            PutBack(pixels, lastVisited + 1, rows, cols, before);
        throw;
    }
    if (stoppedAt != 0 && threads > 1)
        PutBack(pixels, stoppedAt, rows, cols, before);
    return stoppedAt;
}

}  // namespace metopt::render
